// The layout of a table: column widths from the cells' minimum and maximum
// widths, row heights from the laid-out cell contents (row spans included),
// placement in the box, painting of backgrounds, contents and borders, and
// hit tests passed on to the cells.
#pragma once

#include "rtfengine/layout/BlockLayout.h"
#include "rtfengine/layout/FlowLayout.h"

#include <QColor>
#include <QRect>

#include <memory>
#include <string>
#include <vector>

namespace kvelo {
class TCell;
class TCellObj;
class TRtfTable;
} // namespace kvelo

namespace kvelo::layout {

class TableLayout : public BlockLayout {
public:
    static constexpr int kMinTableWidthPx = 20;

    // Completes the table's grid when the reader did not. A table with too
    // many columns fails in layout() with EProcessError.
    TableLayout(TRtfTable& table, const TCell& container, LayoutContext& ctx);

    int layout(LayoutContext& ctx, int yPx, IndentManager& indents) override;
    void paint(PaintContext& ctx, int originXPx, int originYPx) const override;
    WidthRangePx widthRange() const override;
    int widestNeedPx() const override { return xOffsetPx_ + outerWidthPx_; }

    int indexAt(int xPx, int yPx) const override;
    std::string_view linkAt(int xPx, int yPx) const override;
    bool pointOf(int index, QPoint& point) const override;
    int charAt(int index) const override;
    int findText(int fromIndex, const TextQuery& query) const override;

    // Geometry, in px (cell boxes in the frame of the list holding the table).
    struct CellBox {
        TCellObj* cell = nullptr;
        int row = 0;
        int column = 0;
        int columnSpan = 1;
        int rowSpan = 1;
        int xPx = 0;             // left of the cell's columns
        int yPx = 0;             // top of its first row
        int widthPx = 0;         // sum of its columns
        int heightPx = 0;        // sum of its rows
        int contentOffsetPx = 0; // vertical alignment
        int contentXPx = 0;
        int contentYPx = 0;
        bool hasBackground = false;
        QColor background;
        std::unique_ptr<FlowLayout> content;

        QRect fillRect(int spacingPx) const;
    };
    const std::vector<int>& columnWidthsPx() const { return columnWidthsPx_; }
    const std::vector<int>& rowHeightsPx() const { return rowHeightsPx_; }
    const std::vector<CellBox>& cells() const { return cells_; }
    int gridXPx() const { return gridXPx_; }
    int gridWidthPx() const { return gridWidthPx_; }
    int cellExtraPx() const;

private:
    void collectCells(const TCell& container);
    void computeColumnNeeds();
    int tableWidthPx(int availablePx) const;
    void layoutRows(LayoutContext& ctx);
    void placeCells(int availablePx, int leftEdgePx);
    void collectUncoveredArea();
    void paintCell(PaintContext& ctx, const CellBox& box, int originXPx, int originYPx) const;
    const CellBox* cellAtPoint(int xPx, int yPx) const;
    const CellBox* cellHolding(int index) const;

    TRtfTable& table_;
    std::string error_;          // set when the table cannot be laid out
    std::vector<CellBox> cells_; // row by row, placeholders left out
    std::vector<int> minPx_, maxPx_, percent_;
    std::vector<int> columnWidthsPx_;
    std::vector<int> rowHeightsPx_;
    std::vector<int> rowTopsPx_;                // in the frame, one per row
    std::vector<std::vector<QRect>> uncovered_; // per row, areas no cell covers
    int xOffsetPx_ = 0;
    int gridXPx_ = 0;
    int gridWidthPx_ = 0;
    int outerWidthPx_ = 0;
};

} // namespace kvelo::layout
