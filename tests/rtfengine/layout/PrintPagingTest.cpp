// Page ends while printing: cut lines, page breaks and tables move to the next page.
#include "LayoutTestSupport.h"

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

using namespace testing;

std::string words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "wordy ";
    return text;
}

TEST(Printing, ALineThePageEndWouldCutStartsTheNextPage) {
    LaidOutDocument d(60);
    d.add({words(20)}); // twenty lines of 18 px
    EXPECT_EQ(d.layout.pageEnd(0, 100), 5 * kMonoLinePx);
    EXPECT_EQ(d.layout.pageEnd(90, 100), 90 + 5 * kMonoLinePx);
    EXPECT_EQ(d.layout.pageEnd(0, 180), 180);         // exactly full
    EXPECT_EQ(d.layout.pageEnd(300, 100), 300 + 100); // the last page: nothing cut
}

TEST(Printing, ALineTallerThanThePageIsCutRatherThanRepeated) {
    LaidOutDocument d(60);
    d.add({"x"});
    EXPECT_EQ(d.layout.pageEnd(0, 10), 10);
}

TEST(Printing, APageBreakEndsThePageUnlessItIsAtItsTop) {
    LaidOutDocument d(300);
    d.add({"a"});
    d.doc.Add(std::make_unique<TPage>());
    d.add({"b"});
    d.add({"c"});
    EXPECT_EQ(d.layout.pageEnd(0, 500), kMonoLinePx);
    EXPECT_EQ(d.layout.pageEnd(kMonoLinePx, 500), kMonoLinePx + 500); // at the top: ignored
}

TEST(Printing, ATableStartingInTheLowerHalfThatDoesNotFitMovesWhole) {
    LaidOutDocument d(300);
    for (int i = 0; i < 4; ++i)
        d.add({"line"});
    auto table = std::make_unique<TRtfTable>();
    table->CellSpacingPx = 0;
    for (int r = 0; r < 3; ++r) {
        auto row = std::make_unique<TCellList>();
        auto cell = std::make_unique<TCellObj>();
        cell->Content.Add(makeParagraph({"cell"}));
        row->Cells.push_back(std::move(cell));
        table->Rows.push_back(std::move(row));
    }
    d.doc.Add(std::move(table)); // at 72 px, 3 x 21 px high
    EXPECT_EQ(d.layout.pageEnd(0, 120), 4 * kMonoLinePx);
    EXPECT_EQ(d.layout.pageEnd(0, 200), 200); // fits
    EXPECT_EQ(d.layout.pageEnd(0, 140), 140); // starts in the upper half: cut
}

} // namespace
} // namespace kvelo::layout
