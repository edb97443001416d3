// The arithmetic of table layout on plain numbers (px): spreading the needs
// of spanning cells over columns and rows, and choosing column widths between
// their minimums and maximums for a table width.
#pragma once

#include <vector>

namespace kvelo::layout {

// Raises the sum of sizes[first, first + span) to at least need, spreading
// the excess in proportion to the current sizes (equally when they are all 0).
void spreadProportionally(std::vector<int>& sizes, int first, int span, int need);

// Row heights for a cell spanning `span` rows from `first`: when need exceeds
// their sum, each row gets (need - sum) div span more, the last the remainder.
void spreadOverRows(std::vector<int>& heights, int first, int span, int need);

struct ColumnNeeds {
    std::vector<int> minPx;
    std::vector<int> maxPx;
    std::vector<int> percent; // 0 = none
};

// Column widths for a table of width tableWidthPx. With a specified table
// width the columns fill it exactly (percent columns first); without one they
// share the room between their minimums and maximums. When the minimums
// need tableWidthPx or more every column gets its minimum.
std::vector<int> columnWidths(const ColumnNeeds& needs, int tableWidthPx, bool widthSpecified);

} // namespace kvelo::layout
