#include "ReadHelpers.h"

#include <gtest/gtest.h>

namespace kvelo::test {
namespace {

std::string CellText(const TCellObj& cell) {
    std::string text;
    for (const auto& b : cell.Content.Blocks)
        if (b->IsParagraph())
            text += (text.empty() ? "" : "|") + static_cast<const TSection&>(*b).Text;
    return text;
}

// Row texts with "_" for placeholders.
std::vector<Strings> Grid(const TRtfTable& table) {
    std::vector<Strings> grid;
    for (const auto& row : table.Rows) {
        Strings cells;
        for (const auto& cell : row->Cells)
            cells.push_back(cell->IsPlaceholder() ? "_" : CellText(*cell));
        grid.push_back(cells);
    }
    return grid;
}

TEST(TableReader, ColumnEdgesSnapAndSpanTheirColumns) {
    auto doc = Read(
        "{\\rtf1\\trowd\\cellx1000\\cellx2050\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell\\row"
        "\\trowd\\cellx1020\\cellx3000\\pard\\intbl d\\cell e\\cell\\row\\pard after}");
    ASSERT_EQ(Texts(*doc), (Strings{"<table>", "after"}));
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_EQ(Grid(t), (std::vector<Strings>{{"a", "b", "c"}, {"d", "e", "_"}}));
    const TCellList& second = *t.Rows[1];
    EXPECT_EQ(second[0].RightBoundaryTwips, 1000); // snapped onto the first edge
    EXPECT_EQ(second[0].ColSpan, 1);
    EXPECT_EQ(second[1].ColSpan, 2);
    EXPECT_EQ(second[1].SpecifiedWidthPx, (3000 - 1000) / 15 - 4);
    EXPECT_EQ((*t.Rows[0])[1].SpecifiedWidthPx, (2050 - 1000) / 15 - 2);
    EXPECT_EQ(t.ColumnCount, 3);
    EXPECT_TRUE(t.WidthIsPercent);
    EXPECT_EQ(t.SpecifiedWidth, 100);
    EXPECT_EQ(t.Alignment, TAlignment::Center);
    EXPECT_EQ(DocumentText(*doc), "a\tb\tc\nd\te\nafter\n");
}

TEST(TableReader, StarAfterTrowdMakesAPixelWidthTableAndIsNotShown) {
    auto doc = Read("{\\rtf1\\trowd\\trleft150\\trgaph216\\cellx1650*\\pard\\intbl x\\cell\\row"
                    "\\pard a*b}");
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_FALSE(t.WidthIsPercent);
    EXPECT_EQ(t.SpecifiedWidth, (1650 - 150) / 15);
    EXPECT_EQ(t.CellPaddingPx, 2);
    EXPECT_EQ(t.LeftIndentPx, 7);
    EXPECT_EQ(Grid(t), (std::vector<Strings>{{"x"}}));
    EXPECT_EQ(Para(*doc, 1).Text, "a*b");
}

TEST(TableReader, LineInCellDoesNothingAndParSplitsCellParagraphs) {
    auto doc = Read(
        "{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\line b\\par c\\cell\\cell\\row}");
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_EQ(Grid(t), (std::vector<Strings>{{"ab|c", ""}}));
    EXPECT_EQ(doc->Count(), 1u);
}

TEST(TableReader, VerticalMergeOverThreeRows) {
    const std::string rowDef = "\\trowd\\clvmgf\\cellx1000\\cellx2000";
    const std::string merged = "\\trowd\\clvmrg\\cellx1000\\cellx2000";
    auto doc =
        Read("{\\rtf1" + rowDef + "\\pard\\intbl top\\cell a\\cell\\row" + merged +
             "\\pard\\intbl\\cell b\\cell\\row" + merged + "\\pard\\intbl\\cell c\\cell\\row}");
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_EQ((*t.Rows[0])[0].RowSpan, 3);
    EXPECT_EQ(Grid(t), (std::vector<Strings>{{"top", "a"}, {"_", "b"}, {"_", "c"}}));
    EXPECT_EQ((*t.Rows[1])[0].RightBoundaryTwips, 1000);
    EXPECT_TRUE((*t.Rows[2])[0].IsRowSpanPlaceholder());
}

TEST(TableReader, RowDefinitionRepeatedBeforeRowRedefinesTheCells) {
    const std::string def = "\\trowd\\trrh300\\clbrdrt\\clbrdrb\\cellx1000\\clcbpat1\\cellx2000";
    auto doc = Read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}" + def +
                    "\\pard\\intbl a\\cell b\\cell\\pard\\intbl{" + def + "\\row}\\pard z}");
    const TRtfTable& t = TableAt(*doc, 0);
    ASSERT_EQ(Grid(t), (std::vector<Strings>{{"a", "b"}}));
    EXPECT_TRUE((*t.Rows[0])[0].BorderTop);
    EXPECT_TRUE((*t.Rows[0])[0].BorderBottom);
    EXPECT_FALSE((*t.Rows[0])[0].BorderLeft);
    EXPECT_TRUE((*t.Rows[0])[1].Content.HasBackground);
    EXPECT_EQ((*t.Rows[0])[1].Content.Background, RgbColor(255, 0, 0));
    EXPECT_EQ((*t.Rows[0])[0].SpecifiedHeight, 15);
    EXPECT_EQ(t.Rows[0]->RowHeightTwips, 300);
}

TEST(TableReader, IntblWithoutDefinitionRepeatsTheLastRow) {
    auto doc = Read("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                    "\\pard\\intbl c\\cell d\\cell\\row}");
    EXPECT_EQ(Grid(TableAt(*doc, 0)), (std::vector<Strings>{{"a", "b"}, {"c", "d"}}));
}

TEST(TableReader, UnfinishedTableAtTheEndIsKept) {
    auto doc = Read("{\\rtf1 x\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b}");
    ASSERT_EQ(Texts(*doc), (Strings{"x", "<table>"}));
    EXPECT_EQ(Grid(TableAt(*doc, 1)), (std::vector<Strings>{{"a", "b"}}));
}

TEST(TableReader, TextAfterRowWithoutPardIsOutsideTheTable) {
    auto doc = Read("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row after}");
    EXPECT_EQ(Texts(*doc), (Strings{"<table>", "after"}));
}

TEST(TableReader, WideTablesAreReadButNotCompleted) {
    std::string rtf = "{\\rtf1\\trowd";
    for (int i = 1; i <= 60; ++i)
        rtf += "\\cellx" + std::to_string(i * 200);
    rtf += "\\pard\\intbl";
    for (int i = 1; i <= 60; ++i)
        rtf += " c\\cell";
    rtf += "\\row}";
    auto doc = Read(rtf);
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_TRUE(t.TooManyColumns());
    EXPECT_EQ(t.Rows[0]->Count(), 60u);
}

TEST(TableReader, ManyDistinctBoundariesStayFast) {
    // 20,000 rows of one cell each at its own boundary: the column walk must
    // not be quadratic.
    std::string rtf = "{\\rtf1";
    for (int i = 1; i <= 20000; ++i)
        rtf += "\\trowd\\cellx" + std::to_string(i % 30000 * 100 % 32000 + 90) +
               "\\intbl x\\cell\\row";
    rtf += "}";
    auto doc = Read(rtf);
    const TRtfTable& t = TableAt(*doc, 0);
    EXPECT_EQ(t.Rows.size(), 20000u);
}

} // namespace
} // namespace kvelo::test
