#include "rtfengine/layout/TableGeometry.h"

#include "rtfengine/layout/Units.h"

#include <algorithm>
#include <numeric>

namespace kvelo::layout {
namespace {

constexpr int kShrinkRounds = 4;

int sum(const std::vector<int>& v) {
    return std::accumulate(v.begin(), v.end(), 0);
}

// Adds `extra` to the columns selected by `weight` in proportion to their
// weights; the rounding rest goes to the last weighted column.
void spreadByWeight(std::vector<int>& widths, const std::vector<int>& weight, int extra) {
    const int total = sum(weight);
    if (total <= 0 || extra == 0) return;
    int given = 0, last = -1;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (weight[i] <= 0) continue;
        const int share = mulDiv(extra, weight[i], total);
        widths[i] += share;
        given += share;
        last = static_cast<int>(i);
    }
    if (last >= 0) widths[last] += extra - given;
}

std::vector<int> betweenMinAndMax(const ColumnNeeds& needs, int tableWidthPx) {
    const int minTotal = sum(needs.minPx), maxTotal = sum(needs.maxPx);
    if (maxTotal <= tableWidthPx || maxTotal <= minTotal) return needs.maxPx;
    std::vector<int> widths(needs.minPx.size());
    for (std::size_t i = 0; i < widths.size(); ++i)
        widths[i] = needs.minPx[i] + mulDiv(needs.maxPx[i] - needs.minPx[i],
                                            tableWidthPx - minTotal, maxTotal - minTotal);
    return widths;
}

void giveBackFromPercentColumns(std::vector<int>& widths, const ColumnNeeds& needs, int W) {
    for (int round = 0; round < kShrinkRounds && sum(widths) > W; ++round) {
        std::vector<int> weight(widths.size(), 0);
        for (std::size_t i = 0; i < widths.size(); ++i)
            if (needs.percent[i] > 0 && widths[i] > needs.minPx[i]) weight[i] = needs.percent[i];
        if (sum(weight) == 0) return;
        spreadByWeight(widths, weight, W - sum(widths));
        for (std::size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], needs.minPx[i]);
    }
}

std::vector<int> fillSpecifiedWidth(const ColumnNeeds& needs, int W) {
    const std::size_t n = needs.minPx.size();
    std::vector<int> widths(n);
    std::vector<int> percentWeight(n, 0), otherGrowth(n, 0), otherEqual(n, 0);
    bool hasOther = false, otherCanGrow = false;
    for (std::size_t i = 0; i < n; ++i) {
        const int p = needs.percent[i];
        widths[i] = p > 0 ? std::max(needs.minPx[i], W * p / 100) : needs.minPx[i];
        percentWeight[i] = std::max(p, 0);
        if (p > 0) continue;
        hasOther = true;
        otherEqual[i] = 1;
        otherGrowth[i] = std::max(0, needs.maxPx[i] - needs.minPx[i]);
        otherCanGrow = otherCanGrow || otherGrowth[i] > 0;
    }
    const int total = sum(widths);
    if (total < W) {
        spreadByWeight(widths,
                       !hasOther      ? percentWeight
                       : otherCanGrow ? otherGrowth
                                      : otherEqual,
                       W - total);
    } else if (total > W) {
        giveBackFromPercentColumns(widths, needs, W);
    }
    if (n > 0 && sum(widths) < W) widths[0] += W - sum(widths);
    return widths;
}

} // namespace

void spreadProportionally(std::vector<int>& sizes, int first, int span, int need) {
    const int end = std::min<int>(first + span, static_cast<int>(sizes.size()));
    if (first < 0 || first >= end) return;
    int current = 0;
    for (int i = first; i < end; ++i)
        current += sizes[i];
    if (need <= current) return;
    std::vector<int> part(sizes.begin() + first, sizes.begin() + end);
    std::vector<int> weight = current > 0 ? part : std::vector<int>(part.size(), 1);
    spreadByWeight(part, weight, need - current);
    std::copy(part.begin(), part.end(), sizes.begin() + first);
}

void spreadOverRows(std::vector<int>& heights, int first, int span, int need) {
    const int end = std::min<int>(first + span, static_cast<int>(heights.size()));
    if (first < 0 || first >= end) return;
    int current = 0;
    for (int i = first; i < end; ++i)
        current += heights[i];
    if (need <= current) return;
    const int rows = end - first;
    const int each = (need - current) / rows;
    for (int i = first; i < end; ++i)
        heights[i] += each;
    heights[end - 1] += (need - current) - each * rows;
}

std::vector<int> columnWidths(const ColumnNeeds& needs, int tableWidthPx, bool widthSpecified) {
    if (sum(needs.minPx) >= tableWidthPx) return needs.minPx;
    return widthSpecified ? fillSpecifiedWidth(needs, tableWidthPx)
                          : betweenMinAndMax(needs, tableWidthPx);
}

} // namespace kvelo::layout
