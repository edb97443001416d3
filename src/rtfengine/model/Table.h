// Tables: rows (TCellList) of cells (TCellObj), each cell owning its content
// (TCell). The reader builds rows and cells, computes the column spans and
// cell widths, merges vertical spans and completes the grid (CompleteGrid).
#pragma once

#include "rtfengine/model/Blocks.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kvelo {

// More columns than this cannot be laid out ("Table has too many Columns").
constexpr int32_t kMaxTableColumns = 50;

enum class TCellVAlign : uint8_t { Top = 0, Center = 1, Bottom = 2 };

class TCellObj {
public:
    TCellObj() = default;
    TCellObj(const TCellObj&) = delete;
    TCellObj& operator=(const TCellObj&) = delete;

    // A copy of the cell's properties and (deep) content.
    std::unique_ptr<TCellObj> Clone() const;
    // A copy of the properties only (used when a row definition is repeated).
    void CopyPropertiesFrom(const TCellObj& other);

    // A placeholder of a column span (ColSpan 0) or of a row span (ColSpan 0 and
    // RowSpan 0); placeholders have no content of their own.
    bool IsPlaceholder() const { return ColSpan == 0; }
    bool IsRowSpanPlaceholder() const { return ColSpan == 0 && RowSpan == 0; }

    int32_t ColSpan = 1;
    int32_t RowSpan = 1;
    int32_t MergeMarker = 0;     // negative while reading: rows still to merge into the cell above
    int32_t SpecifiedHeight = 0; // \trrh div 20
    TCellVAlign VAlign = TCellVAlign::Top;
    int32_t SpecifiedWidthPx = 0; // from the column computation
    bool WidthIsPercent = false;
    bool BorderTop = false;
    bool BorderLeft = false;
    bool BorderRight = false;
    bool BorderBottom = false;
    TCell Content;                  // background in Content.HasBackground / Content.Background
    int32_t RightBoundaryTwips = 0; // \cellx; 0 for column-span placeholders
};

// One table row.
class TCellList {
public:
    TCellList() = default;
    TCellList(const TCellList&) = delete;
    TCellList& operator=(const TCellList&) = delete;

    std::unique_ptr<TCellList> Clone() const;
    size_t Count() const { return Cells.size(); }
    TCellObj& operator[](size_t i) const { return *Cells[i]; }

    std::vector<std::unique_ptr<TCellObj>> Cells;
    // From \trowd: row height (\trrh), half the gap between cells (\trgaph) and
    // the left edge (\trleft, clamped at 0), all in twips; the writer uses them.
    int32_t RowHeightTwips = 0;
    int32_t GapTwips = 0;
    int32_t LeftEdgeTwips = 0;
};

class TRtfTable : public TSectionBase {
public:
    TRtfTable() : TSectionBase(TBlockKind::Table) {}

    std::unique_ptr<TSectionBase> Clone() const override;
    int32_t Length() const override;

    // Inserts the placeholders of column and row spans (once; sets
    // GridComplete) and sets ColumnCount. When the grid would be wider than
    // kMaxTableColumns nothing is inserted and ColumnCount tells the width, so
    // the layout can refuse the table.
    void CompleteGrid();
    bool TooManyColumns() const { return ColumnCount > kMaxTableColumns; }

    // Calls f(cell) for every cell that has content of its own (no
    // placeholders), row by row.
    template <class F> void ForEachContentCell(F&& f) const {
        for (const auto& row : Rows)
            for (const auto& cell : row->Cells)
                if (!cell->IsPlaceholder()) f(*cell);
    }

    std::vector<std::unique_ptr<TCellList>> Rows;
    bool GridComplete = false;
    bool Border = true;
    bool CaptionOnTop = true;
    TAlignment Alignment = TAlignment::Left;
    int32_t ColumnCount = 0;
    // 0 = none; percent when WidthIsPercent (100 for full-width tables), else pixels.
    int32_t SpecifiedWidth = 0;
    bool WidthIsPercent = false;
    int32_t CellPaddingPx = 2;
    int32_t CellSpacingPx = 3;
    int32_t LeftIndentPx = 0;   // max(\trleft div 20, 0); not used for placement
    bool HasBackground = false; // colour of the area no cell covers
    TColor Background = clBlack;

private:
    int32_t ColumnSpanWidth() const;
    void InsertColumnSpanPlaceholders();
    void InsertRowSpanPlaceholders();
};

} // namespace kvelo
