// Hit tests (index, link, point, character) and find.
#include "LayoutTestSupport.h"

#include "platform/Cp1251.h"

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

using namespace testing;

class RoundTrip : public ::testing::TestWithParam<TAlignment> {};

TEST_P(RoundTrip, PointOfAndIndexAtAgreeForEveryCharacter) {
    const std::string first = "aaaa bbbb cc dd eeeeee f", second = "second paragraph here";
    LaidOutDocument d(100);
    d.add({first, GetParam()});
    d.add({second, GetParam(), 200, 200});
    const std::string all = first + second;
    ASSERT_EQ(d.doc.NextIndex(), int(all.size()));
    for (int i = 0; i < int(all.size()); ++i) {
        QPoint p;
        ASSERT_TRUE(d.layout.pointOf(i, p)) << i;
        EXPECT_EQ(d.layout.indexAt(p + QPoint(1, 1)), i) << "index " << i;
        EXPECT_EQ(d.layout.charAt(i), static_cast<unsigned char>(all[i])) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(HitTests, RoundTrip,
                         ::testing::Values(TAlignment::Left, TAlignment::Center, TAlignment::Right,
                                           TAlignment::Justify));

TEST(HitTests, IndexAtRoundsToTheNearerCharacterEdge) {
    LaidOutDocument d(200);
    d.add({"abcdef"});
    EXPECT_EQ(d.layout.indexAt({14, 5}), 1);  // left half of "b"
    EXPECT_EQ(d.layout.indexAt({16, 5}), 2);  // right half of "b"
    EXPECT_EQ(d.layout.indexAt({500, 5}), 6); // right of the line: its end
}

TEST(HitTests, LeftOfTheIndentGivesTheLineStartAndBelowTheTextNothing) {
    LaidOutDocument d(200);
    d.add({"abc def", TAlignment::Left, 1440});
    EXPECT_EQ(d.layout.indexAt({3, 5}), 0);
    EXPECT_EQ(d.layout.indexAt({3, kMonoLinePx + 40}), -1);
}

TEST(HitTests, LinkAtGivesTheTargetOfTheRunUnderThePoint) {
    LaidOutDocument d(300);
    auto p = makeParagraph({"see "});
    p->StartLink("doc.rtf#Part 2", monoFont());
    p->AppendText("here");
    p->EndLink(monoFont());
    p->AppendText(" end");
    d.doc.Add(std::move(p));
    EXPECT_EQ(d.layout.linkAt({45, 5}), "doc.rtf#Part 2");
    EXPECT_EQ(d.layout.linkAt({15, 5}), "");
    EXPECT_EQ(d.layout.linkAt({95, 5}), "");
    EXPECT_EQ(d.layout.linkAt({250, 5}), ""); // right of the line's end
}

TEST(HitTests, PointOfTheEndOfAParagraphIsAfterItsLastCharacter) {
    LaidOutDocument d(300);
    d.add({"abc"});
    QPoint p;
    ASSERT_TRUE(d.layout.pointOf(3, p));
    EXPECT_EQ(p, QPoint(30, 0));
    EXPECT_FALSE(d.layout.pointOf(99, p));
}

class Find : public ::testing::Test {
protected:
    void SetUp() override {
        d.add({"Hello world, hello"});
        d.add({cp1251::fromUtf8("Привет МИР")});
    }
    int find(int from, const std::string& utf8, bool matchCase) {
        return d.layout.findText(from, cp1251::fromUtf8(utf8), matchCase);
    }
    LaidOutDocument d{300};
};

TEST_F(Find, MatchCaseIsAnExactByteSearch) {
    EXPECT_EQ(find(0, "hello", true), 13);
    EXPECT_EQ(find(0, "WORLD", true), -1);
    EXPECT_EQ(find(0, "МИР", true), 18 + 7);
}

TEST_F(Find, WithoutMatchCaseLettersOfBothAlphabetsCompareIgnoringCase) {
    EXPECT_EQ(find(0, "HELLO", false), 0);
    EXPECT_EQ(find(1, "HELLO", false), 13);
    EXPECT_EQ(find(0, "мир", false), 18 + 7);
    EXPECT_EQ(find(0, "пРИВЕТ", false), 18);
}

TEST_F(Find, AHitNeverSpansTwoParagraphs) {
    EXPECT_EQ(find(0, "hello Привет", false), -1);
    EXPECT_EQ(find(0, "", false), -1);
    EXPECT_EQ(find(100, "hello", false), -1);
}

} // namespace
} // namespace kvelo::layout
