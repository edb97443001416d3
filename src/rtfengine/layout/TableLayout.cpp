#include "rtfengine/layout/TableLayout.h"

#include "rtfengine/layout/LayoutContext.h"
#include "rtfengine/layout/LayoutError.h"
#include "rtfengine/layout/PaintContext.h"
#include "rtfengine/layout/TableGeometry.h"
#include "rtfengine/model/Table.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <numeric>

namespace kvelo::layout {
namespace {

QColor toQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

int sumOf(const std::vector<int>& v, int first, int count) {
    const int end = std::min<int>(first + count, static_cast<int>(v.size()));
    return first >= end ? 0 : std::accumulate(v.begin() + first, v.begin() + end, 0);
}

} // namespace

QRect TableLayout::CellBox::fillRect(int spacingPx) const {
    return QRect(QPoint(xPx + spacingPx, yPx + spacingPx), QPoint(xPx + widthPx, yPx + heightPx));
}

TableLayout::TableLayout(TRtfTable& table, const TCell& container, LayoutContext& ctx)
    : BlockLayout(table), table_(table) {
    if (!table_.GridComplete) table_.CompleteGrid();
    if (table_.TooManyColumns()) {
        error_ = "Table has too many Columns";
        return;
    }
    collectCells(container);
    for (CellBox& box : cells_)
        box.content->prepare(ctx);
    computeColumnNeeds();
}

int TableLayout::cellExtraPx() const {
    return 2 * table_.CellPaddingPx + table_.CellSpacingPx - 1;
}

void TableLayout::collectCells(const TCell& container) {
    const int columns = table_.ColumnCount;
    const int rows = static_cast<int>(table_.Rows.size());
    for (int r = 0; r < rows; ++r) {
        const TCellList& row = *table_.Rows[r];
        for (int c = 0; c < static_cast<int>(row.Cells.size()) && c < columns; ++c) {
            TCellObj& cell = *row.Cells[c];
            if (cell.IsPlaceholder()) continue;
            CellBox box;
            box.cell = &cell;
            box.row = r;
            box.column = c;
            box.columnSpan = std::clamp(cell.ColSpan, 1, columns - c);
            box.rowSpan = std::clamp(cell.RowSpan, 1, rows - r);
            box.hasBackground = cell.Content.HasBackground || container.HasBackground;
            box.background = toQColor(cell.Content.HasBackground ? cell.Content.Background
                                                                 : container.Background);
            box.content = std::make_unique<FlowLayout>(cell.Content);
            cells_.push_back(std::move(box));
        }
    }
}

void TableLayout::computeColumnNeeds() {
    const std::size_t columns = static_cast<std::size_t>(std::max(0, table_.ColumnCount));
    minPx_.assign(columns, 0);
    maxPx_.assign(columns, 0);
    percent_.assign(columns, 0);
    const int extra = cellExtraPx();
    const bool pixelWidth = table_.SpecifiedWidth > 0 && !table_.WidthIsPercent;
    int widestSpan = 1;
    for (const CellBox& box : cells_) {
        widestSpan = std::max(widestSpan, box.columnSpan);
        if (box.columnSpan != 1) continue;
        const WidthRangePx range = box.content->widthRange();
        minPx_[box.column] = std::max(minPx_[box.column], range.narrowest + extra);
        maxPx_[box.column] = std::max(maxPx_[box.column], range.widest + extra);
        if (pixelWidth && box.cell->SpecifiedWidthPx > 0) {
            const int p = std::min(100, box.cell->SpecifiedWidthPx * 100 / table_.SpecifiedWidth);
            percent_[box.column] = std::max(percent_[box.column], p);
        }
    }
    for (int span = 2; span <= widestSpan; ++span) {
        for (const CellBox& box : cells_) {
            if (box.columnSpan != span) continue;
            const WidthRangePx range = box.content->widthRange();
            spreadProportionally(minPx_, box.column, span, range.narrowest + extra);
            spreadProportionally(maxPx_, box.column, span, range.widest + extra);
        }
    }
}

int TableLayout::tableWidthPx(int availablePx) const {
    int width = availablePx;
    if (table_.SpecifiedWidth > 0)
        width = table_.WidthIsPercent ? availablePx * table_.SpecifiedWidth / 100
                                      : table_.SpecifiedWidth;
    return std::max(width - table_.CellSpacingPx, kMinTableWidthPx);
}

void TableLayout::layoutRows(LayoutContext& ctx) {
    const int pad = table_.CellPaddingPx, spacing = table_.CellSpacingPx;
    const int extra = cellExtraPx();
    rowHeightsPx_.assign(table_.Rows.size(), 0);
    int widestSpan = 1;
    for (const CellBox& box : cells_)
        widestSpan = std::max(widestSpan, box.rowSpan);
    for (int span = 1; span <= widestSpan; ++span) {
        for (CellBox& box : cells_) {
            if (box.rowSpan != span) continue;
            box.widthPx = sumOf(columnWidthsPx_, box.column, box.columnSpan);
            const int contentPx = box.content->layoutAll(ctx, box.widthPx - 2 * pad - spacing + 1);
            const int need = std::max(contentPx, box.cell->SpecifiedHeight - 2 * pad + 2) + extra;
            if (span == 1)
                rowHeightsPx_[box.row] = std::max(rowHeightsPx_[box.row], need);
            else
                spreadOverRows(rowHeightsPx_, box.row, span, need);
        }
    }
}

void TableLayout::placeCells(int availablePx, int leftEdgePx) {
    xOffsetPx_ = 0;
    if (outerWidthPx_ < availablePx) {
        if (table_.Alignment == TAlignment::Center) xOffsetPx_ = (availablePx - outerWidthPx_) / 2;
        if (table_.Alignment == TAlignment::Right) xOffsetPx_ = availablePx - outerWidthPx_;
    }
    xOffsetPx_ += leftEdgePx;
    gridXPx_ = xOffsetPx_ + (outerWidthPx_ - gridWidthPx_) / 2;

    rowTopsPx_.assign(rowHeightsPx_.size(), topPx_);
    for (std::size_t r = 1; r < rowHeightsPx_.size(); ++r)
        rowTopsPx_[r] = rowTopsPx_[r - 1] + rowHeightsPx_[r - 1];
    const int pad = table_.CellPaddingPx, spacing = table_.CellSpacingPx;
    const int extra = cellExtraPx();
    for (CellBox& box : cells_) {
        box.xPx = gridXPx_ + sumOf(columnWidthsPx_, 0, box.column);
        box.yPx = rowTopsPx_[box.row];
        box.heightPx = sumOf(rowHeightsPx_, box.row, box.rowSpan);
        const int free = box.heightPx - box.content->heightPx() - extra;
        box.contentOffsetPx = box.cell->VAlign == TCellVAlign::Center   ? free / 2
                              : box.cell->VAlign == TCellVAlign::Bottom ? free
                                                                        : 0;
        box.contentXPx = box.xPx + spacing + pad;
        box.contentYPx = box.yPx + spacing + pad + box.contentOffsetPx;
    }
}

// Per row, the parts of the row's band that no cell covers (the spacing and
// the end of short rows); painted in the table's background colour.
void TableLayout::collectUncoveredArea() {
    uncovered_.assign(rowHeightsPx_.size(), {});
    if (!table_.HasBackground) return;
    const int spacing = table_.CellSpacingPx;
    std::vector<const CellBox*> active;
    std::size_t next = 0;
    for (std::size_t r = 0; r < rowHeightsPx_.size(); ++r) {
        active.erase(
            std::remove_if(active.begin(), active.end(),
                           [&](const CellBox* b) { return b->row + b->rowSpan <= int(r); }),
            active.end());
        while (next < cells_.size() && cells_[next].row == int(r))
            active.push_back(&cells_[next++]);
        const int bottom = r + 1 < rowTopsPx_.size() ? rowTopsPx_[r + 1] : topPx_ + heightPx_;
        QRegion band(QRect(gridXPx_, rowTopsPx_[r], gridWidthPx_, bottom - rowTopsPx_[r]));
        for (const CellBox* box : active)
            band -= QRegion(box->fillRect(spacing));
        for (const QRect& rect : band)
            uncovered_[r].push_back(rect);
    }
}

int TableLayout::layout(LayoutContext& ctx, int yPx, IndentManager& indents) {
    if (!error_.empty()) throw EProcessError(error_);
    topPx_ = yPx;
    const int leftPx = indents.leftEdge(yPx);
    const int availablePx = indents.rightEdge(yPx) - leftPx;
    columnWidthsPx_ = columnWidths({minPx_, maxPx_, percent_}, tableWidthPx(availablePx),
                                   table_.SpecifiedWidth > 0);
    gridWidthPx_ =
        sumOf(columnWidthsPx_, 0, static_cast<int>(columnWidthsPx_.size())) + table_.CellSpacingPx;
    outerWidthPx_ = gridWidthPx_;
    layoutRows(ctx);
    heightPx_ =
        sumOf(rowHeightsPx_, 0, static_cast<int>(rowHeightsPx_.size())) + table_.CellSpacingPx;
    if (cells_.empty()) heightPx_ = 0;
    paintHeightPx_ = heightPx_;
    placeCells(availablePx, leftPx);
    collectUncoveredArea();
    return heightPx_;
}

WidthRangePx TableLayout::widthRange() const {
    const int spacing = table_.CellSpacingPx;
    return {sumOf(minPx_, 0, int(minPx_.size())) + spacing,
            sumOf(maxPx_, 0, int(maxPx_.size())) + spacing};
}

} // namespace kvelo::layout
