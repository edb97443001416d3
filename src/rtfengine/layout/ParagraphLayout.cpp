#include "rtfengine/layout/ParagraphLayout.h"

#include "rtfengine/layout/IndentManager.h"
#include "rtfengine/layout/Units.h"

#include <algorithm>
#include <cmath>

namespace kvelo::layout {
namespace {

constexpr unsigned char kListMarkChar = 2;

bool isBreakChar(unsigned char c) {
    return c == ' ' || c == kListMarkChar || c == kImageChar;
}

} // namespace

ParagraphLayout::ParagraphLayout(ParagraphInput input) : in_(std::move(input)) {}

const TextRun& ParagraphLayout::runAt(int index) const {
    auto after = std::upper_bound(in_.runs.begin(), in_.runs.end(), index,
                                  [](int i, const TextRun& run) { return i < run.start; });
    return after == in_.runs.begin() ? in_.runs.front() : *(after - 1);
}

const InlineImage* ParagraphLayout::imageAt(int index) const {
    auto found = std::lower_bound(in_.images.begin(), in_.images.end(), index,
                                  [](const InlineImage& im, int i) { return im.charIndex < i; });
    return found != in_.images.end() && found->charIndex == index ? &*found : nullptr;
}

int ParagraphLayout::charWidth(int index) const {
    const auto c = static_cast<unsigned char>(in_.text[index]);
    if (c == kImageChar) {
        if (const InlineImage* image = imageAt(index)) return image->widthPx + image->hspacePx;
    }
    return runAt(index).font->advancePx(c);
}

// Walks characters with a cursor over the runs, so a piece costs one table
// look-up per character.
int ParagraphLayout::pieceWidth(int from, int to) const {
    int width = 0;
    std::size_t run = static_cast<std::size_t>(&runAt(from) - in_.runs.data());
    for (int i = from; i < to; ++i) {
        while (run + 1 < in_.runs.size() && in_.runs[run + 1].start <= i)
            ++run;
        const auto c = static_cast<unsigned char>(in_.text[i]);
        if (c == kImageChar && imageAt(i)) {
            width += charWidth(i);
        } else {
            width += in_.runs[run].font->advancePx(c);
        }
    }
    return width;
}

int ParagraphLayout::fitCount(int from, int availablePx) const {
    const int len = length();
    int width = 0;
    int i = from;
    std::size_t run = static_cast<std::size_t>(&runAt(from) - in_.runs.data());
    for (; i < len; ++i) {
        while (run + 1 < in_.runs.size() && in_.runs[run + 1].start <= i)
            ++run;
        const auto c = static_cast<unsigned char>(in_.text[i]);
        const int w =
            (c == kImageChar && imageAt(i)) ? charWidth(i) : in_.runs[run].font->advancePx(c);
        if (width + w > availablePx) break;
        width += w;
    }
    return std::max(1, i - from);
}

// How many characters from `from` make the line, given that `fit` fit.
int ParagraphLayout::breakCount(int from, int fit) const {
    const int len = length();
    if (fit >= len - from) return len - from;
    const auto at = [this](int i) { return static_cast<unsigned char>(in_.text[i]); };
    const auto withSpaces = [&](int end) {
        while (end < len && at(end) == ' ')
            ++end;
        return end - from;
    };
    int end = from + fit;
    if (at(end - 1) == ' ' || at(end) == ' ') return withSpaces(end);
    if (at(end) == kListMarkChar || at(end) == kImageChar) return fit;
    for (int j = end - 1; j >= from; --j) {
        if (isBreakChar(at(j))) return j + 1 - from;
    }
    while (end < len && !isBreakChar(at(end)))
        ++end; // an over-long word stays whole
    return withSpaces(end);
}

int ParagraphLayout::widthWithoutTrailingSpaces(int from, int count) const {
    int end = from + count;
    while (end > from && in_.text[end - 1] == ' ')
        --end;
    return pieceWidth(from, end);
}

void ParagraphLayout::applyImageHeights(LineBox& line) const {
    for (const InlineImage& image : in_.images) {
        if (image.charIndex < line.first || image.charIndex >= line.first + line.count) continue;
        const int h = image.heightPx;
        switch (image.valign) {
        case ImageVAlign::Baseline:
            line.extraAbovePx = std::max(line.extraAbovePx, h + line.descentPx - line.heightPx);
            break;
        case ImageVAlign::Middle: {
            const int excess = h - line.heightPx;
            if (excess <= 0) break;
            line.extraBelowPx = std::max(line.extraBelowPx, excess / 2);
            line.extraAbovePx = std::max(line.extraAbovePx, excess - excess / 2);
            break;
        }
        case ImageVAlign::Top:
            line.extraBelowPx = std::max(line.extraBelowPx, h - line.heightPx);
            break;
        }
    }
}

LineBox ParagraphLayout::completeLine(int from, int count, int leftPx, int rightPx,
                                      bool lastLine) const {
    LineBox line;
    line.first = from;
    line.count = count;
    std::size_t run = static_cast<std::size_t>(&runAt(from) - in_.runs.data());
    for (int i = from; i < from + count; ++i) {
        while (run + 1 < in_.runs.size() && in_.runs[run + 1].start <= i)
            ++run;
        if (static_cast<unsigned char>(in_.text[i]) == kImageChar && imageAt(i)) continue;
        const MeasuredFont& font = *in_.runs[run].font;
        line.heightPx = std::max(line.heightPx, font.lineHeightPx());
        line.descentPx = std::max(line.descentPx, font.descentPx());
    }
    applyImageHeights(line);

    const int textWidthPx = widthWithoutTrailingSpaces(from, count);
    if (in_.preformatted) {
        const int blockPx = kPreformattedSpaces * in_.runs.front().font->spaceWidthPx();
        line.indentPx = std::max(leftPx, (leftPx + rightPx - blockPx) / 2);
    } else if (in_.alignment == Alignment::Centre) {
        line.indentPx = std::max(leftPx, (leftPx + rightPx - textWidthPx) / 2);
    } else if (in_.alignment == Alignment::Right) {
        line.indentPx = rightPx - textWidthPx;
    } else {
        line.indentPx = leftPx;
    }

    int end = from + count;
    while (end > from && in_.text[end - 1] == ' ')
        --end;
    line.textEnd = end;
    if (in_.alignment == Alignment::Justify && !in_.preformatted && !lastLine) {
        const int spaces = static_cast<int>(std::count(
            in_.text.begin() + from + 1, in_.text.begin() + std::max(end, from + 1), ' '));
        if (spaces > 0) line.gapPx = std::max(0.0, double(rightPx - leftPx - textWidthPx) / spaces);
    }
    return line;
}

int ParagraphLayout::layout(int yPx, IndentManager& indents) {
    topPx_ = yPx;
    lines_.clear();
    heightPx_ = 0;
    paintHeightPx_ = 0;
    const int len = length();
    if (len == 0 || in_.runs.empty()) return 0;

    int y = yPx;
    int from = 0;
    bool firstLine = true;
    while (from < len) {
        const int indentTwips =
            firstLine ? in_.firstIndentTwips + in_.leftIndentTwips : in_.leftIndentTwips;
        const int leftPx = indents.leftEdge(y) + twipsToPx(indentTwips);
        const int rightPx = indents.rightEdge(y);
        const int availablePx = in_.preformatted ? kPreformattedBoxPx : rightPx - leftPx;
        const int count = breakCount(from, fitCount(from, availablePx));
        LineBox line = completeLine(from, count, leftPx, rightPx, from + count >= len);
        line.topPx = y - yPx;
        y += line.totalHeightPx();
        lines_.push_back(line);
        from += count;
        firstLine = false;
    }
    for (const InlineImage& image : in_.images) {
        if (const LineBox* line = lineAtIndex(image.charIndex))
            indents.noteImageBottom(yPx + line->topPx + line->totalHeightPx());
    }
    boxLeftPx_ = indents.leftEdge(yPx);
    boxRightPx_ = indents.rightEdge(yPx);
    heightPx_ = y - yPx;
    paintHeightPx_ = std::max(heightPx_, indents.lowestImageBottom() - yPx);
    return heightPx_;
}

const LineBox* ParagraphLayout::lineAtIndex(int index) const {
    for (const LineBox& line : lines_) {
        if (index < line.first + line.count) return &line;
    }
    return lines_.empty() ? nullptr : &lines_.back();
}

WidthRangePx ParagraphLayout::widthRange() const {
    const int leftPx = twipsToPx(in_.leftIndentTwips);
    const int len = length();
    if (in_.runs.empty()) return {leftPx, leftPx};
    if (in_.preformatted) {
        const int widest = pieceWidth(0, len) + leftPx;
        return {std::min(500, widest), widest};
    }
    int textPx = 0;
    int widestWordPx = 0;
    int wordPx = 0;
    std::size_t run = 0;
    for (int i = 0; i < len; ++i) {
        while (run + 1 < in_.runs.size() && in_.runs[run + 1].start <= i)
            ++run;
        const auto c = static_cast<unsigned char>(in_.text[i]);
        if (c == ' ' || c == kImageChar) {
            widestWordPx = std::max(widestWordPx, wordPx);
            wordPx = 0;
            if (c == ' ') textPx += in_.runs[run].font->advancePx(c);
            continue;
        }
        const int w = in_.runs[run].font->advancePx(c);
        textPx += w;
        wordPx += w;
    }
    widestWordPx = std::max(widestWordPx, wordPx);
    int imagesPx = 0;
    for (const InlineImage& image : in_.images) {
        imagesPx += image.widthPx;
        widestWordPx = std::max(widestWordPx, image.widthPx);
    }
    return {widestWordPx + leftPx, textPx + imagesPx + leftPx};
}

int ParagraphLayout::widestNeedPx() const {
    int widest = 0;
    for (const LineBox& line : lines_)
        widest = std::max(widest, charX(line, line.count));
    for (const InlineImage& image : in_.images)
        widest = std::max(widest, twipsToPx(in_.leftIndentTwips) + image.widthPx);
    return widest;
}

bool ParagraphLayout::isJustifiedSpace(const LineBox& line, int k) const {
    const int i = line.first + k;
    return line.gapPx != 0 && k > 0 && i < line.textEnd && in_.text[i] == ' ';
}

std::vector<int> ParagraphLayout::charEdges(const LineBox& line) const {
    std::vector<int> edges(static_cast<std::size_t>(line.count) + 1);
    int widthPx = 0, spaces = 0;
    for (int k = 0; k <= line.count; ++k) {
        edges[k] = line.indentPx + widthPx + static_cast<int>(std::lround(spaces * line.gapPx));
        if (k == line.count) break;
        widthPx += charWidth(line.first + k);
        if (isJustifiedSpace(line, k)) ++spaces;
    }
    return edges;
}

int ParagraphLayout::charX(const LineBox& line, int k) const {
    int spaces = 0;
    for (int j = 0; j < k; ++j) {
        if (isJustifiedSpace(line, j)) ++spaces;
    }
    return line.indentPx + pieceWidth(line.first, line.first + k) +
           static_cast<int>(std::lround(spaces * line.gapPx));
}

const LineBox* ParagraphLayout::lineAtY(int yPx) const {
    for (const LineBox& line : lines_) {
        if (yPx < line.topPx + line.totalHeightPx()) return &line;
    }
    return nullptr;
}

int ParagraphLayout::indexAt(int xPx, int yPx) const {
    const LineBox* line = lineAtY(yPx);
    if (!line) return -1;
    if (xPx < line->indentPx) return line->first;
    const std::vector<int> edges = charEdges(*line);
    int k = 0;
    while (k < line->count && edges[k + 1] <= xPx)
        ++k;
    if (k < line->count && xPx > (edges[k] + edges[k + 1]) / 2) ++k;
    return line->first + k;
}

std::string_view ParagraphLayout::linkAt(int xPx, int yPx) const {
    const LineBox* line = lineAtY(yPx);
    if (!line || xPx < line->indentPx) return {};
    const std::vector<int> edges = charEdges(*line);
    int k = 0;
    while (k < line->count && edges[k + 1] <= xPx)
        ++k;
    if (k >= line->count) return {};
    return runAt(line->first + k).linkTarget;
}

bool ParagraphLayout::pointOf(int index, int& xPx, int& yPx) const {
    if (index < 0 || index > length() || lines_.empty()) return false;
    const LineBox* line = lineAtIndex(index);
    xPx = charX(*line, index - line->first);
    yPx = line->topPx;
    return true;
}

} // namespace kvelo::layout
