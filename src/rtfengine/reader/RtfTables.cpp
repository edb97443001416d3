// Tables: row and cell definitions, cell text, and the column computation of
// a finished table.
#include "rtfengine/reader/RtfParser.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace kvelo::rtf {

void TRtfParser::ApplyTableProperty(TProperty property, int32_t value) {
    switch (property) {
    case TProperty::Trowd:
        row_.HeightTwips = row_.RawLeftTwips = row_.LeftTwips = row_.CellNumber = 0;
        row_.CellsDefined = 0;
        rowStarted_ = true;
        return;
    case TProperty::Trgaph:
        row_.GapTwips = value;
        return;
    case TProperty::Trrh:
        row_.HeightTwips = value;
        return;
    case TProperty::Trleft:
        row_.RawLeftTwips = value;
        row_.LeftTwips = std::max(value, 0);
        return;
    case TProperty::CellVAlign:
        cell_.VAlign = static_cast<TCellVAlign>(value);
        return;
    case TProperty::CellVMerge:
        cell_.Merge = true;
        return;
    case TProperty::CellBorder:
        cell_.Borders[value & 3] = true;
        return;
    case TProperty::CellShading:
        cell_.Shaded = true;
        cell_.Shading = ColorAt(value);
        return;
    case TProperty::Cellx:
        DefineCell(value);
        return;
    case TProperty::Intbl:
        EnterTableText();
        return;
    case TProperty::Cell:
        EndCell();
        return;
    case TProperty::Row:
        EndRow();
        return;
    default:
        return;
    }
}

// \cellx: the next cell of the row being defined. A row definition repeated
// after the row's text (as Word writes it before \row) redefines the cells
// that exist instead of adding new ones.
void TRtfParser::DefineCell(int32_t rightBoundaryTwips) {
    if (!currentRow_) CreateRow(false);
    auto& cells = currentRow_->Cells;
    const auto index = static_cast<size_t>(row_.CellsDefined++);
    if (index >= cells.size()) cells.push_back(std::make_unique<TCellObj>());
    TCellObj& cell = *cells[index];
    cell.VAlign = cell_.VAlign;
    cell.RightBoundaryTwips = rightBoundaryTwips;
    cell.SpecifiedHeight = row_.HeightTwips / 20;
    cell.BorderTop = cell_.Borders[0];
    cell.BorderLeft = cell_.Borders[1];
    cell.BorderRight = cell_.Borders[2];
    cell.BorderBottom = cell_.Borders[3];
    cell.MergeMarker = cell_.Merge ? -1 : 0;
    cell.Content.HasBackground = cell_.Shaded;
    cell.Content.Background = cell_.Shaded ? cell_.Shading : clBlack;
    cell_ = TCellProps{};
    currentRow_->RowHeightTwips = row_.HeightTwips;
    currentRow_->GapTwips = row_.GapTwips;
    currentRow_->LeftEdgeTwips = row_.LeftTwips;
}

// A new row; with `copy`, it repeats the cells of the last row of the table
// being built (or of the table finished last), without their content.
void TRtfParser::CreateRow(bool copy) {
    auto row = std::make_unique<TCellList>();
    row->RowHeightTwips = row_.HeightTwips;
    row->GapTwips = row_.GapTwips;
    row->LeftEdgeTwips = row_.LeftTwips;
    const TRtfTable* source = table_ ? table_.get() : lastTable_;
    if (copy && source && !source->Rows.empty()) {
        for (const auto& cell : source->Rows.back()->Cells) {
            if (cell->RightBoundaryTwips <= 0 && cell->IsPlaceholder()) continue;
            auto copyOf = std::make_unique<TCellObj>();
            copyOf->VAlign = cell->VAlign;
            copyOf->RightBoundaryTwips = cell->RightBoundaryTwips;
            copyOf->SpecifiedHeight = cell->SpecifiedHeight;
            copyOf->MergeMarker = cell->MergeMarker;
            copyOf->BorderTop = cell->BorderTop;
            copyOf->BorderLeft = cell->BorderLeft;
            copyOf->BorderRight = cell->BorderRight;
            copyOf->BorderBottom = cell->BorderBottom;
            copyOf->Content.HasBackground = cell->Content.HasBackground;
            copyOf->Content.Background = cell->Content.Background;
            row->Cells.push_back(std::move(copyOf));
        }
    }
    currentRow_ = std::move(row);
}

// \intbl: the text that follows belongs to the cell with the current number.
// Text already collected outside the table stays outside.
void TRtfParser::EnterTableText() {
    inTableText_ = true;
    if (!currentRow_) CreateRow(true);
    const auto number = static_cast<size_t>(row_.CellNumber);
    if (number < currentRow_->Count() && !InsideCell()) {
        if (paragraph_ && !paragraph_->Text.empty()) AddSection();
        outerContainer_ = container_;
        container_ = &(*currentRow_)[number].Content;
    }
}

void TRtfParser::EndCell() {
    inTableText_ = false;
    AddSection();
    ++row_.CellNumber;
    const auto number = static_cast<size_t>(row_.CellNumber);
    if (InsideCell() && currentRow_ && number < currentRow_->Count())
        container_ = &(*currentRow_)[number].Content;
}

void TRtfParser::AppendOpenRow() {
    if (!currentRow_) return;
    if (!table_) {
        table_ = std::make_unique<TRtfTable>();
        table_->LeftIndentPx = std::max(row_.LeftTwips / 20, 0);
        table_->Alignment = para_.Alignment;
        table_->CellSpacingPx = 0;
        table_->CellPaddingPx = row_.GapTwips / 108;
        table_->Border = true;
        table_->HasBackground = true;
        table_->Background = clBlack;
    }
    table_->Rows.push_back(std::move(currentRow_));
    currentRow_.reset();
}

// \row ends the row and leaves its cells: text after it is outside the table.
void TRtfParser::EndRow() {
    inTableText_ = false;
    AddSection();
    AppendOpenRow();
    row_.CellNumber = 0;
    row_.CellsDefined = 0;
    LeaveCell();
}

void TRtfParser::LeaveCell() {
    if (!outerContainer_) return;
    container_ = outerContainer_;
    outerContainer_ = nullptr;
}

void TRtfParser::CheckTable() {
    if (table_ && !InsideCell()) AddTable();
}

void TRtfParser::AddTable() {
    std::unique_ptr<TRtfTable> table = std::move(table_);
    table_.reset();
    ComputeColumns(*table);
    MergeVertically(*table);
    if (fullWidthTable_) {
        table->SpecifiedWidth = 100;
        table->WidthIsPercent = true;
        table->Alignment = TAlignment::Center;
    }
    table->CompleteGrid();
    fullWidthTable_ = true;
    lastTable_ = &static_cast<TRtfTable&>(container_->Add(std::move(table)));
}

namespace {

constexpr int32_t kEdgeSnapTwips = 89;
constexpr int32_t kTwipsPerPixel = 15;

// Column edges: every cell boundary, where one within 89 twips of an edge
// collected before is moved onto that edge (the earliest collected one wins).
std::vector<int32_t> CollectEdges(TRtfTable& table) {
    std::map<int32_t, size_t> order; // edge -> collection order
    for (auto& row : table.Rows)
        for (auto& cell : row->Cells) {
            const int32_t b = cell->RightBoundaryTwips;
            auto best = order.end();
            for (auto it = order.lower_bound(b - kEdgeSnapTwips);
                 it != order.end() && it->first <= b + kEdgeSnapTwips; ++it)
                if (best == order.end() || it->second < best->second) best = it;
            if (best != order.end())
                cell->RightBoundaryTwips = best->first;
            else
                order.emplace(b, order.size());
        }
    std::vector<int32_t> edges;
    edges.reserve(order.size());
    for (const auto& [edge, index] : order)
        edges.push_back(edge);
    return edges;
}

int32_t PixelsBetween(int32_t fromTwips, int32_t toTwips) {
    return static_cast<int32_t>((int64_t{toTwips} - fromTwips) / kTwipsPerPixel);
}

// Column spans and widths of one row, walking the edges left to right.
void ComputeRow(TCellList& row, const std::vector<int32_t>& edges, int32_t leftTwips) {
    int32_t x = leftTwips;
    if (row.Count() >= edges.size()) {
        for (size_t i = 0; i < edges.size(); ++i) {
            TCellObj& cell = row[i];
            cell.SpecifiedWidthPx = PixelsBetween(x, cell.RightBoundaryTwips) - 2;
            x = cell.RightBoundaryTwips;
        }
        return;
    }
    size_t nextEdge = 0;
    for (auto& cell : row.Cells) {
        auto at = std::lower_bound(edges.begin(), edges.end(), cell->RightBoundaryTwips);
        const auto edge = static_cast<size_t>(at - edges.begin());
        if (at == edges.end() || *at != cell->RightBoundaryTwips || edge < nextEdge) return;
        const auto span = static_cast<int32_t>(edge - nextEdge + 1);
        cell->ColSpan = span;
        cell->SpecifiedWidthPx = PixelsBetween(x, cell->RightBoundaryTwips) - 2 * span;
        x = cell->RightBoundaryTwips;
        nextEdge = edge + 1;
    }
}

} // namespace

void TRtfParser::ComputeColumns(TRtfTable& table) {
    const std::vector<int32_t> edges = CollectEdges(table);
    const int32_t left = row_.RawLeftTwips;
    table.SpecifiedWidth = edges.empty() ? 0 : PixelsBetween(left, edges.back());
    for (auto& row : table.Rows)
        ComputeRow(*row, edges, left);
}

// Cells marked \clvmrg join the cell with the same right boundary in the row
// above, bottom-up; the content of a merged cell moves into the cell it joins.
void TRtfParser::MergeVertically(TRtfTable& table) {
    for (size_t r = table.Rows.size(); r-- > 1;) {
        std::unordered_map<int32_t, TCellObj*> above;
        for (auto& cell : table.Rows[r - 1]->Cells)
            above.emplace(cell->RightBoundaryTwips, cell.get());
        auto& cells = table.Rows[r]->Cells;
        std::vector<std::unique_ptr<TCellObj>> kept;
        kept.reserve(cells.size());
        for (auto& cell : cells) {
            auto found = cell->MergeMarker < 0 ? above.find(cell->RightBoundaryTwips) : above.end();
            if (found == above.end()) {
                cell->MergeMarker = 0;
                kept.push_back(std::move(cell));
                continue;
            }
            TCellObj& target = *found->second;
            if (target.MergeMarker < 0)
                target.MergeMarker += cell->MergeMarker;
            else
                target.RowSpan -= cell->MergeMarker;
            MoveMergedContent(cell->Content, target.Content);
        }
        cells = std::move(kept);
    }
    if (!table.Rows.empty())
        for (auto& cell : table.Rows[0]->Cells)
            cell->MergeMarker = 0;
}

// Blocks of a merged cell that carry text or bookmarks move to the cell it
// joins; the fillers of empty paragraphs are dropped.
void TRtfParser::MoveMergedContent(TCell& from, TCell& to) {
    for (auto& block : from.Blocks) {
        const bool bookmarked = bookmarksByBlock_.count(block.get()) > 0;
        const bool filler =
            block->IsParagraph() && static_cast<const TSection&>(*block).IsEmptyFiller();
        if (filler && !bookmarked) continue;
        to.Blocks.push_back(std::move(block));
    }
    from.Blocks.clear();
}

} // namespace kvelo::rtf
