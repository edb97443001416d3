// Line breaking, alignment, justification, indents and block heights.
#include "LayoutTestSupport.h"

#include "rtfengine/layout/IndentManager.h"
#include "rtfengine/layout/LayoutError.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvelo::layout {
namespace {

using namespace testing;

std::vector<std::string> lineTexts(const LaidOutDocument& d, std::size_t block = 0) {
    std::vector<std::string> texts;
    const std::string& text = static_cast<const TSection&>(d.doc[block]).Text;
    for (const LineBox& line : d.lines(block))
        texts.push_back(text.substr(line.first, line.count));
    return texts;
}

struct BreakCase {
    const char* name;
    const char* text;
    int widthPx;
    std::vector<std::string> lines;
};

class LineBreaks : public ::testing::TestWithParam<BreakCase> {};

TEST_P(LineBreaks, SplitsAtSpacesAndNeverInsideAWord) {
    const BreakCase& c = GetParam();
    LaidOutDocument d(c.widthPx);
    d.add({c.text});
    EXPECT_EQ(lineTexts(d), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Paragraph, LineBreaks,
    ::testing::Values(
        BreakCase{"fits", "short", 100, {"short"}},
        BreakCase{"spaceEndsFit", "aaaa bbbb cccc", 100, {"aaaa bbbb ", "cccc"}},
        BreakCase{"wordEndsAtFit", "aaaaa bbbbb cc", 110, {"aaaaa bbbbb ", "cc"}},
        BreakCase{"backToLastSpace", "aaa bbbbbbbbb", 100, {"aaa ", "bbbbbbbbb"}},
        BreakCase{"overLongWordStaysWhole", "aaaaaaaaaaaaaaa bb", 100, {"aaaaaaaaaaaaaaa ", "bb"}},
        BreakCase{"overLongWordAfterText", "a bbbbbbbbbbbbbb", 100, {"a ", "bbbbbbbbbbbbbb"}},
        BreakCase{"trailingSpacesStay", "aaaa      bbbb", 60, {"aaaa      ", "bbbb"}},
        BreakCase{"narrowBoxStillProgresses", "ab cd", 1, {"ab ", "cd"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Paragraph, LinesStackByTheirHeight) {
    LaidOutDocument d(100);
    d.add({"aaaa bbbb cccc dddd eeee"});
    const auto& lines = d.lines(0);
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].heightPx, kMonoLinePx);
        EXPECT_EQ(lines[i].topPx, int(i) * kMonoLinePx);
    }
    EXPECT_EQ(d.layout.heightPx(), 3 * kMonoLinePx);
}

TEST(Paragraph, ReaderFillerOfAnEmptyParagraphHasOneLine) {
    LaidOutDocument d(100);
    d.add({"  "});
    EXPECT_EQ(d.layout.heightPx(), kMonoLinePx);
}

TEST(Paragraph, ParagraphWithoutTextHasNoHeight) {
    LaidOutDocument d(100);
    d.add({""});
    EXPECT_EQ(d.layout.heightPx(), 0);
}

struct AlignCase {
    TAlignment alignment;
    const char* text;
    int indentPx;
};

class Alignments : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Alignments, TrailingSpacesDoNotCount) {
    LaidOutDocument d(100);
    d.add({GetParam().text, GetParam().alignment});
    EXPECT_EQ(d.lines(0).at(0).indentPx, GetParam().indentPx);
}

INSTANTIATE_TEST_SUITE_P(Paragraph, Alignments,
                         ::testing::Values(AlignCase{TAlignment::Left, "abc", 0},
                                           AlignCase{TAlignment::Center, "abc", 35},
                                           AlignCase{TAlignment::Center, "abc   ", 35},
                                           AlignCase{TAlignment::Right, "abc", 70},
                                           AlignCase{TAlignment::Right, "abc  ", 70},
                                           AlignCase{TAlignment::Justify, "abc", 0}));

TEST(Paragraph, JustifiedLinesFillTheBoxExceptTheLast) {
    LaidOutDocument d(100);
    d.add({"aa bb cc dd ee", TAlignment::Justify});
    const auto& lines = d.lines(0);
    ASSERT_EQ(lines.size(), 2u);
    // "aa bb cc " is 80 px without its trailing space; two inner spaces share 20 px.
    EXPECT_DOUBLE_EQ(lines[0].gapPx, 10.0);
    const ParagraphLayout& p = d.paragraph(0).lines();
    EXPECT_EQ(p.charX(lines[0], 6), 60 + 20); // the "c" after two widened spaces
    EXPECT_EQ(p.charX(lines[0], 8), 100);     // the line ends at the right edge
    EXPECT_DOUBLE_EQ(lines[1].gapPx, 0.0);
}

TEST(Paragraph, JustificationIgnoresASpaceInTheFirstPosition) {
    LaidOutDocument d(100);
    d.add({" aaa bbbb ccccc", TAlignment::Justify});
    const auto& lines = d.lines(0);
    ASSERT_EQ(lines.size(), 2u);
    // " aaa bbbb " is 90 px without its trailing space; one inner space.
    EXPECT_DOUBLE_EQ(lines[0].gapPx, 10.0);
}

TEST(Paragraph, IndentsOfFirstAndLaterLines) {
    LaidOutDocument d(300);
    d.add({"aaaa bbbb cccc dddd eeee ffff gggg", TAlignment::Left, 1440, 720});
    const auto& lines = d.lines(0);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].indentPx, 108);
    EXPECT_EQ(lines[1].indentPx, 72);
}

TEST(Paragraph, PreformattedTextIsCentredAsSeventySpacesAndNotWrapped) {
    LaidOutDocument d(1000);
    d.add({"12345678901234567890", TAlignment::Left, 0, 0, true});
    EXPECT_EQ(d.lines(0).at(0).indentPx, (1000 - 70 * kMonoCharPx) / 2);

    LaidOutDocument narrow(100);
    narrow.add({std::string(200, 'x') + " " + std::string(50, 'y'), TAlignment::Left, 0, 0, true});
    ASSERT_EQ(narrow.lines(0).size(), 1u);
    EXPECT_EQ(narrow.lines(0)[0].indentPx, 0); // box narrower than 70 spaces: left edge
}

TEST(Paragraph, TallestRunSetsTheLineHeight) {
    LaidOutDocument d(1000);
    auto para = makeParagraph({"small "});
    para->ChangeFont(monoFont(48));
    para->AppendText("big");
    d.doc.Add(std::move(para));
    const LineBox& line = d.lines(0).at(0);
    const MeasuredFont& big = d.fonts.get({"Courier New", 32});
    EXPECT_EQ(line.heightPx, big.lineHeightPx());
    EXPECT_EQ(line.descentPx, big.descentPx());
}

TEST(Paragraph, WidthRangeIsTheWidestWordAndTheWholeText) {
    LaidOutDocument d(1000);
    d.add({"aa bbbb c", TAlignment::Left, 200});
    const WidthRangePx range = d.paragraph(0).widthRange();
    EXPECT_EQ(range.narrowest, 40 + 10);
    EXPECT_EQ(range.widest, 90 + 10);
}

TEST(Paragraph, PreformattedWidthRangeCapsTheNarrowest) {
    LaidOutDocument d(1000);
    d.add({std::string(80, 'x'), TAlignment::Left, 0, 0, true});
    const WidthRangePx range = d.paragraph(0).widthRange();
    EXPECT_EQ(range.widest, 800);
    EXPECT_EQ(range.narrowest, 500);
}

TEST(Blocks, RuleHeightFollowsTheDefaultFontSize) {
    for (const auto& [size, height] :
         std::vector<std::pair<int, int>>{{12, 19}, {24, 39}, {6, 9}}) {
        LaidOutDocument d(100);
        d.doc.Settings.DefFontSize = size;
        d.layout.relayout(100);
        d.doc.Add(std::make_unique<THorzLine>());
        d.layout.relayout(100);
        EXPECT_EQ(d.layout.heightPx(), height) << "size " << size;
    }
}

TEST(Blocks, PageBreakHasNoHeightAndBlocksFollowInOrder) {
    LaidOutDocument d(100);
    d.add({"a"});
    d.doc.Add(std::make_unique<TPage>());
    d.add({"b"});
    EXPECT_EQ(d.layout.flow().block(1).heightPx(), 0);
    EXPECT_EQ(d.layout.flow().block(2).topPx(), kMonoLinePx);
    EXPECT_EQ(d.layout.heightPx(), 2 * kMonoLinePx);
}

TEST(Fonts, DefaultFontSizeScalesEveryRun) {
    for (const auto& [defSize, expectedPx] :
         std::vector<std::pair<int, int>>{{12, 16}, {24, 32}, {6, 8}}) {
        FontCache fonts;
        LayoutContext ctx;
        ctx.fonts = &fonts;
        ctx.defFontSizePt = defSize;
        EXPECT_EQ(ctx.fontOf(monoFont(24)).font().pixelSize(), expectedPx) << defSize;
        EXPECT_EQ(ctx.fontOf(monoFont(25)).font().pixelSize(), expectedPx)
            << "half points truncate";
    }
}

TEST(Fonts, DefaultFontNameReplacesRunNames) {
    FontCache fonts;
    LayoutContext ctx;
    ctx.fonts = &fonts;
    ctx.defFontName = "Arial";
    ctx.preFormattedFontName = "Courier New";
    TMyFont serif = monoFont();
    serif.Name = "Times New Roman";
    EXPECT_EQ(ctx.fontOf(serif).font().family(), QStringLiteral("Liberation Sans"));
    serif.PreFormatted = true;
    EXPECT_EQ(ctx.fontOf(serif).font().family(), QStringLiteral("Liberation Mono"));
}

TEST(Fonts, HostileSizesStayBounded) {
    FontCache fonts;
    LayoutContext ctx;
    ctx.fonts = &fonts;
    EXPECT_EQ(ctx.fontOf(monoFont(32767)).font().pixelSize(), kMaxFontPixelSize);
    EXPECT_GE(ctx.fontOf(monoFont(-5)).font().pixelSize(), 1);
    EXPECT_GT(ctx.fontOf(monoFont(0)).font().pixelSize(), 0);
}

TEST(IndentManagerTest, RaisedIndentsCoverTheirHeightsOnly) {
    IndentManager indents;
    indents.reset(10, 500);
    indents.raiseLeftIndent(40, 100);
    EXPECT_EQ(indents.leftEdge(99), 10);
    EXPECT_EQ(indents.leftEdge(100), 50);
    indents.lowerLeftIndent(200);
    EXPECT_EQ(indents.leftEdge(199), 50);
    EXPECT_EQ(indents.leftEdge(200), 10);
    EXPECT_EQ(indents.rightEdge(150), 500);
}

TEST(Blocks, ImmediateLayoutErrorReachesWhoeverAddsTheBlock) {
    LaidOutDocument d(100);
    auto table = std::make_unique<TRtfTable>();
    auto row = std::make_unique<TCellList>();
    for (int i = 0; i < 51; ++i)
        row->Cells.push_back(std::make_unique<TCellObj>());
    table->Rows.push_back(std::move(row));
    EXPECT_THROW(d.doc.Add(std::move(table)), EProcessError);
}

} // namespace
} // namespace kvelo::layout
