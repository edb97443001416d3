#include "rtfengine/model/Table.h"

#include <algorithm>

namespace kvelo {

void TCellObj::CopyPropertiesFrom(const TCellObj& other) {
    ColSpan = other.ColSpan;
    RowSpan = other.RowSpan;
    MergeMarker = other.MergeMarker;
    SpecifiedHeight = other.SpecifiedHeight;
    VAlign = other.VAlign;
    SpecifiedWidthPx = other.SpecifiedWidthPx;
    WidthIsPercent = other.WidthIsPercent;
    BorderTop = other.BorderTop;
    BorderLeft = other.BorderLeft;
    BorderRight = other.BorderRight;
    BorderBottom = other.BorderBottom;
    Content.HasBackground = other.Content.HasBackground;
    Content.Background = other.Content.Background;
    RightBoundaryTwips = other.RightBoundaryTwips;
}

std::unique_ptr<TCellObj> TCellObj::Clone() const {
    auto copy = std::make_unique<TCellObj>();
    copy->CopyPropertiesFrom(*this);
    Content.CloneInto(copy->Content);
    return copy;
}

std::unique_ptr<TCellList> TCellList::Clone() const {
    auto copy = std::make_unique<TCellList>();
    copy->RowHeightTwips = RowHeightTwips;
    copy->GapTwips = GapTwips;
    copy->LeftEdgeTwips = LeftEdgeTwips;
    copy->Cells.reserve(Cells.size());
    for (const auto& cell : Cells)
        copy->Cells.push_back(cell->Clone());
    return copy;
}

std::unique_ptr<TSectionBase> TRtfTable::Clone() const {
    auto copy = std::make_unique<TRtfTable>();
    CopyBaseTo(*copy);
    for (const auto& row : Rows)
        copy->Rows.push_back(row->Clone());
    copy->GridComplete = GridComplete;
    copy->Border = Border;
    copy->CaptionOnTop = CaptionOnTop;
    copy->Alignment = Alignment;
    copy->ColumnCount = ColumnCount;
    copy->SpecifiedWidth = SpecifiedWidth;
    copy->WidthIsPercent = WidthIsPercent;
    copy->CellPaddingPx = CellPaddingPx;
    copy->CellSpacingPx = CellSpacingPx;
    copy->LeftIndentPx = LeftIndentPx;
    copy->HasBackground = HasBackground;
    copy->Background = Background;
    return copy;
}

int32_t TRtfTable::Length() const {
    int32_t total = 0;
    ForEachContentCell([&](const TCellObj& cell) { total += cell.Content.TotalLength(); });
    return total;
}

namespace {

std::unique_ptr<TCellObj> MakePlaceholder(int32_t rowSpan, int32_t rightBoundaryTwips) {
    auto cell = std::make_unique<TCellObj>();
    cell->ColSpan = 0;
    cell->RowSpan = rowSpan;
    cell->RightBoundaryTwips = rightBoundaryTwips;
    return cell;
}

size_t WidestRow(const std::vector<std::unique_ptr<TCellList>>& rows) {
    size_t widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, row->Cells.size());
    return widest;
}

} // namespace

// Width of the widest row once every cell of span n has n - 1 placeholders.
int32_t TRtfTable::ColumnSpanWidth() const {
    int64_t widest = 0;
    for (const auto& row : Rows) {
        int64_t width = 0;
        for (const auto& cell : row->Cells)
            width += std::max<int32_t>(cell->ColSpan, 1);
        widest = std::max(widest, width);
    }
    return static_cast<int32_t>(std::min<int64_t>(widest, INT32_MAX));
}

void TRtfTable::InsertColumnSpanPlaceholders() {
    for (auto& row : Rows) {
        std::vector<std::unique_ptr<TCellObj>> cells;
        for (auto& cell : row->Cells) {
            const int32_t span = cell->ColSpan;
            const int32_t rowSpan = cell->RowSpan;
            cells.push_back(std::move(cell));
            for (int32_t k = 1; k < span; ++k)
                cells.push_back(MakePlaceholder(rowSpan, 0));
        }
        row->Cells = std::move(cells);
    }
}

// For each cell spanning n rows, one row-span placeholder at the same column
// index in each of the next n - 1 rows (appended to shorter rows). Stops once a
// row gets wider than the widest table that can be laid out.
void TRtfTable::InsertRowSpanPlaceholders() {
    const size_t rowCount = Rows.size();
    for (size_t col = 0; col < WidestRow(Rows); ++col) {
        for (size_t r = 0; r < rowCount; ++r) {
            auto& cells = Rows[r]->Cells;
            if (col >= cells.size()) continue;
            TCellObj& cell = *cells[col];
            const auto rowsLeft = static_cast<int32_t>(rowCount - r);
            if (cell.RowSpan > rowsLeft) cell.RowSpan = rowsLeft;
            for (int32_t k = 1; k < cell.RowSpan; ++k) {
                auto& target = Rows[r + static_cast<size_t>(k)]->Cells;
                auto placeholder = MakePlaceholder(0, cell.RightBoundaryTwips);
                if (col < target.size())
                    target.insert(target.begin() + static_cast<std::ptrdiff_t>(col),
                                  std::move(placeholder));
                else
                    target.push_back(std::move(placeholder));
                if (target.size() > static_cast<size_t>(kMaxTableColumns)) return;
            }
        }
    }
}

void TRtfTable::CompleteGrid() {
    if (GridComplete) return;
    ColumnCount = ColumnSpanWidth();
    if (TooManyColumns()) return;
    InsertColumnSpanPlaceholders();
    InsertRowSpanPlaceholders();
    ColumnCount = static_cast<int32_t>(WidestRow(Rows));
    GridComplete = !TooManyColumns();
}

} // namespace kvelo
