// Table layout: spans, merged rows, column widths, short rows, too many columns.
#include "LayoutTestSupport.h"

#include "rtfengine/layout/LayoutError.h"
#include "rtfengine/layout/TableGeometry.h"
#include "rtfengine/layout/TableLayout.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

using namespace testing;

struct CellSpec {
    std::vector<std::string> paragraphs{"x"};
    int columnSpan = 1;
    int rowSpan = 1;
    int specifiedHeight = 0;
    bool borders = false;
};

// A table the way the reader leaves it: spans set, grid not yet completed.
std::unique_ptr<TRtfTable> makeTable(const std::vector<std::vector<CellSpec>>& rows,
                                     int paddingPx = 2) {
    auto table = std::make_unique<TRtfTable>();
    table->CellPaddingPx = paddingPx;
    table->CellSpacingPx = 0;
    table->SpecifiedWidth = 100;
    table->WidthIsPercent = true;
    table->Alignment = TAlignment::Center;
    for (const auto& rowSpec : rows) {
        auto row = std::make_unique<TCellList>();
        for (const CellSpec& spec : rowSpec) {
            auto cell = std::make_unique<TCellObj>();
            cell->ColSpan = spec.columnSpan;
            cell->RowSpan = spec.rowSpan;
            cell->SpecifiedHeight = spec.specifiedHeight;
            cell->BorderTop = cell->BorderLeft = cell->BorderRight = cell->BorderBottom =
                spec.borders;
            for (const std::string& text : spec.paragraphs)
                cell->Content.Add(makeParagraph({text}));
            row->Cells.push_back(std::move(cell));
        }
        table->Rows.push_back(std::move(row));
    }
    return table;
}

const TableLayout& tableAt(const LaidOutDocument& d, std::size_t i) {
    return dynamic_cast<const TableLayout&>(d.layout.flow().block(i));
}

TEST(Tables, ACellSpanningBothColumnsLeavesAPlaceholderThatIsNotDrawn) {
    LaidOutDocument d(600);
    d.doc.Add(makeTable({{{{"wide"}, 2}}, {{{"a"}}, {{"b"}}}}));
    const TableLayout& t = tableAt(d, 0);
    ASSERT_EQ(t.columnWidthsPx().size(), 2u);
    ASSERT_EQ(t.cells().size(), 3u);
    EXPECT_EQ(t.cells()[0].widthPx, t.columnWidthsPx()[0] + t.columnWidthsPx()[1]);
    EXPECT_EQ(t.cells()[1].row, 1);
    EXPECT_EQ(t.gridWidthPx(), 600); // full width, no spacing
}

TEST(Tables, ACellMergedOverThreeRowsSharesItsExtraHeightWithTheRemainderLast) {
    LaidOutDocument d(600);
    CellSpec tall{std::vector<std::string>(10, "line"), 1, 3};
    CellSpec fixed{{"x"}, 1, 1, 30};
    d.doc.Add(makeTable({{tall, fixed}, {CellSpec{}}, {CellSpec{}}}));
    const TableLayout& t = tableAt(d, 0);
    // Cell extra 2 x 2 + 0 - 1 = 3. Row needs 31 (height 30 - 4 + 2 + 3), 21, 21;
    // the merged cell needs 10 x 18 + 3 = 183: 110 more, 36 each and 2 to the last.
    EXPECT_EQ(t.rowHeightsPx(), (std::vector<int>{31 + 36, 21 + 36, 21 + 38}));
    EXPECT_EQ(t.cells()[0].heightPx, 183);
    EXPECT_EQ(t.heightPx(), 183);
    EXPECT_EQ(t.cells()[2].row, 1); // the second row's own cell follows the placeholder
    EXPECT_EQ(t.cells()[2].column, 1);
}

TEST(TableWidths, FullWidthTableGrowsColumnsByTheirRoom) {
    const ColumnNeeds needs{{100, 50}, {300, 50}, {0, 0}};
    EXPECT_EQ(columnWidths(needs, 600, true), (std::vector<int>{550, 50}));
}

TEST(TableWidths, ColumnsWithoutRoomToGrowShareEqually) {
    const ColumnNeeds needs{{100, 50}, {100, 50}, {0, 0}};
    EXPECT_EQ(columnWidths(needs, 300, true), (std::vector<int>{175, 125}));
}

TEST(TableWidths, MinimumsWiderThanTheTableAreKept) {
    const ColumnNeeds needs{{400, 300}, {500, 300}, {0, 0}};
    EXPECT_EQ(columnWidths(needs, 600, true), (std::vector<int>{400, 300}));
}

TEST(TableWidths, PercentColumnsTakeTheirShareAndGiveBackWhenTooWide) {
    EXPECT_EQ(columnWidths({{10, 10}, {10, 10}, {25, 75}}, 400, true),
              (std::vector<int>{100, 300}));
    EXPECT_EQ(columnWidths({{10, 10}, {10, 10}, {80, 80}}, 100, true), (std::vector<int>{50, 50}));
    EXPECT_EQ(columnWidths({{10, 60}, {10, 60}, {80, 80}}, 100, true),
              (std::vector<int>{40, 60})); // pinned at its minimum, the first takes the rest
}

TEST(TableWidths, WithoutASpecifiedWidthColumnsShareBetweenMinAndMax) {
    const ColumnNeeds needs{{100, 50}, {300, 50}, {0, 0}};
    EXPECT_EQ(columnWidths(needs, 300, false), (std::vector<int>{250, 50}));
    EXPECT_EQ(columnWidths(needs, 900, false), (std::vector<int>{300, 50}));
}

TEST(TableWidths, SpreadingSpanNeeds) {
    std::vector<int> columns{10, 30};
    spreadProportionally(columns, 0, 2, 80);
    EXPECT_EQ(columns, (std::vector<int>{20, 60}));
    std::vector<int> empty{0, 0, 0};
    spreadProportionally(empty, 0, 3, 10);
    EXPECT_EQ(empty[0] + empty[1] + empty[2], 10);
    std::vector<int> rows{10, 10, 10};
    spreadOverRows(rows, 0, 3, 40);
    EXPECT_EQ(rows, (std::vector<int>{13, 13, 14}));
    spreadOverRows(rows, 1, 5, 1); // spans past the end are cut, small needs change nothing
    EXPECT_EQ(rows, (std::vector<int>{13, 13, 14}));
}

QImage render(DocumentLayout& layout, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.paint(painter, image.rect(), {0, 0});
    return image;
}

TEST(Tables, AShortRowLeavesTheRestInTheTableBackground) {
    LaidOutDocument d(200);
    auto table = makeTable({{{{"a"}}, {{"b"}}}, {{{"c"}}}});
    table->HasBackground = true;
    table->Background = RgbColor(255, 0, 0);
    d.doc.Add(std::move(table));
    const TableLayout& t = tableAt(d, 0);
    const QImage image = render(d.layout, {200, 100});
    const int rightColumnX = t.columnWidthsPx()[0] + t.columnWidthsPx()[1] / 2;
    const int secondRowY = t.rowHeightsPx()[0] + t.rowHeightsPx()[1] / 2;
    EXPECT_EQ(image.pixel(rightColumnX, secondRowY), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(rightColumnX, 2), qRgb(255, 255, 255));
}

TEST(Tables, BordersAreDrawnOnlyOnTheSidesNamed) {
    LaidOutDocument d(200);
    auto table = makeTable({{{{"a"}}}});
    table->Rows[0]->Cells[0]->BorderTop = true;
    d.doc.Add(std::move(table));
    const QImage image = render(d.layout, {200, 60});
    EXPECT_EQ(image.pixel(100, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 10), qRgb(255, 255, 255));
}

TEST(Tables, TooManyColumnsDropTheTableInAFullLayoutAndKeepTheRest) {
    FontCache fonts;
    TSectionList doc;
    doc.Add(makeParagraph({"before"}));
    doc.Add(makeTable({std::vector<CellSpec>(51)}));
    doc.Add(makeParagraph({"after"}));
    DocumentLayout layout(doc, fonts);
    std::vector<std::string> errors;
    layout.setBlockErrorHandler([&](const std::string& m) { errors.push_back(m); });
    layout.relayout(600);
    EXPECT_EQ(errors, std::vector<std::string>{"Table has too many Columns"});
    ASSERT_EQ(layout.flow().blockCount(), 2u);
    EXPECT_EQ(layout.flow().block(1).topPx(), kMonoLinePx);
    EXPECT_EQ(layout.heightPx(), 2 * kMonoLinePx);
}

TEST(Tables, FiftyColumnsAreLaidOut) {
    LaidOutDocument d(2000);
    d.doc.Add(makeTable({std::vector<CellSpec>(50)}));
    EXPECT_EQ(tableAt(d, 0).columnWidthsPx().size(), 50u);
}

TEST(Tables, ContentIsAlignedVerticallyInItsCell) {
    LaidOutDocument d(600);
    auto table = makeTable({{{{"a", "b", "c"}}, {{"x"}}, {{"y"}}}});
    table->Rows[0]->Cells[1]->VAlign = TCellVAlign::Center;
    table->Rows[0]->Cells[2]->VAlign = TCellVAlign::Bottom;
    d.doc.Add(std::move(table));
    const auto& cells = tableAt(d, 0).cells();
    EXPECT_EQ(cells[0].contentOffsetPx, 0);
    EXPECT_EQ(cells[1].contentOffsetPx, kMonoLinePx);
    EXPECT_EQ(cells[2].contentOffsetPx, 2 * kMonoLinePx);
}

TEST(Tables, HitTestsAndFindReachTheCells) {
    LaidOutDocument d(600);
    d.add({"intro"});
    d.doc.Add(makeTable({{{{"alpha"}}, {{"beta gamma"}}}}));
    const int beta = d.layout.findText(0, "gamma", true);
    ASSERT_GT(beta, 5);
    EXPECT_EQ(d.layout.charAt(beta), 'g');
    QPoint p;
    ASSERT_TRUE(d.layout.pointOf(beta, p));
    EXPECT_GT(p.x(), tableAt(d, 1).columnWidthsPx()[0]); // in the second column
    EXPECT_EQ(d.layout.indexAt(p + QPoint(1, 1)), beta);
}

} // namespace
} // namespace kvelo::layout
