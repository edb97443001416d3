#include "rtfengine/layout/BlockLayout.h"

#include "platform/Cp1251.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/layout/ImageStore.h"
#include "rtfengine/layout/IndentManager.h"
#include "rtfengine/layout/LayoutContext.h"
#include "rtfengine/layout/PaintContext.h"
#include "rtfengine/layout/TableLayout.h"
#include "rtfengine/model/Blocks.h"
#include "rtfengine/model/Table.h"

#include <QPainter>

namespace kvelo::layout {
namespace {

QColor toQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

ImageVAlign toVAlign(TImageVAlign a) {
    switch (a) {
    case TImageVAlign::Top:
        return ImageVAlign::Top;
    case TImageVAlign::Middle:
        return ImageVAlign::Middle;
    default:
        return ImageVAlign::Baseline;
    }
}

} // namespace

int BlockLayout::firstIndex() const {
    return block_.FirstIndex;
}
int BlockLayout::length() const {
    return block_.Length();
}

std::unique_ptr<BlockLayout> makeBlockLayout(TSectionBase& block, const TCell& container,
                                             LayoutContext& ctx) {
    switch (block.Kind()) {
    case TBlockKind::Section:
    case TBlockKind::PreFormated:
        return std::make_unique<SectionLayout>(static_cast<const TSection&>(block), ctx);
    case TBlockKind::HorzLine:
        return std::make_unique<RuleLayout>(block);
    case TBlockKind::Page:
        return std::make_unique<PageBreakLayout>(block);
    case TBlockKind::Table:
        return std::make_unique<TableLayout>(static_cast<TRtfTable&>(block), container, ctx);
    }
    return std::make_unique<PageBreakLayout>(block);
}

// ---- paragraphs ----

ParagraphInput SectionLayout::inputOf(const TSection& section, LayoutContext& ctx) {
    ParagraphInput in;
    in.text = section.Text;
    in.runs.reserve(section.Fonts.size());
    for (const TFontObj& run : section.Fonts) {
        in.runs.push_back(
            {run.Start, &ctx.fontOf(run.Font), toQColor(run.Font.Color), run.LinkTarget});
    }
    if (in.runs.empty()) in.runs.push_back({0, &ctx.fontOf(section.ParagraphFont), Qt::black, {}});
    in.runs.front().start = 0;
    for (const TImageObj& image : section.Images) {
        const QSize size = ctx.images->displaySize(image);
        in.images.push_back({image.TextIndex, size.width(), size.height(), image.HSpacePx,
                             toVAlign(image.VAlign), &image});
    }
    in.firstIndentTwips = section.FirstLineIndentTwips;
    in.leftIndentTwips = section.LeftIndentTwips;
    in.alignment = static_cast<Alignment>(section.Alignment);
    in.preformatted = section.Kind() == TBlockKind::PreFormated;
    return in;
}

SectionLayout::SectionLayout(const TSection& section, LayoutContext& ctx)
    : BlockLayout(section), lines_(inputOf(section, ctx)) {}

int SectionLayout::layout(LayoutContext& /*ctx*/, int yPx, IndentManager& indents) {
    topPx_ = yPx;
    heightPx_ = lines_.layout(yPx, indents);
    paintHeightPx_ = lines_.paintHeightPx();
    return heightPx_;
}

void SectionLayout::paint(PaintContext& ctx, int originXPx, int originYPx) const {
    lines_.paint(ctx, originXPx, originYPx, firstIndex());
}

int SectionLayout::indexAt(int xPx, int yPx) const {
    const int i = lines_.indexAt(xPx, yPx - topPx_);
    return i < 0 ? -1 : firstIndex() + i;
}

std::string_view SectionLayout::linkAt(int xPx, int yPx) const {
    return lines_.linkAt(xPx, yPx - topPx_);
}

bool SectionLayout::pointOf(int index, QPoint& point) const {
    int x = 0, y = 0;
    if (!lines_.pointOf(index - firstIndex(), x, y)) return false;
    point = QPoint(x, topPx_ + y);
    return true;
}

int SectionLayout::charAt(int index) const {
    const int i = index - firstIndex();
    if (i < 0 || i >= lines_.length()) return -1;
    return static_cast<unsigned char>(lines_.input().text[i]);
}

int SectionLayout::findText(int fromIndex, const TextQuery& query) const {
    const int from = std::max(0, fromIndex - firstIndex());
    const int hit = findInText(lines_.input().text, from, query);
    return hit < 0 ? -1 : firstIndex() + hit;
}

// ---- rules and page breaks ----

int RuleLayout::layout(LayoutContext& ctx, int yPx, IndentManager& indents) {
    topPx_ = yPx;
    leftPx_ = indents.leftEdge(yPx);
    rightPx_ = indents.rightEdge(yPx);
    heightPx_ = ctx.ruleHeightPx();
    return heightPx_;
}

void RuleLayout::paint(PaintContext& ctx, int originXPx, int originYPx) const {
    const int top = originYPx + topPx_;
    if (top > ctx.clip.bottom() || top + heightPx_ < ctx.clip.top()) return;
    if (ctx.page && top >= ctx.page->endPx) return;
    const int thickness = 1;
    ctx.painter->fillRect(QRect(originXPx + leftPx_, top + (heightPx_ - thickness) / 2,
                                rightPx_ - leftPx_, thickness),
                          Qt::black);
}

int PageBreakLayout::layout(LayoutContext& /*ctx*/, int yPx, IndentManager& /*indents*/) {
    topPx_ = yPx;
    heightPx_ = 0;
    return 0;
}

void PageBreakLayout::paint(PaintContext& ctx, int /*originXPx*/, int originYPx) const {
    if (!ctx.page) return;
    const int y = originYPx + topPx_;
    if (y > ctx.page->topPx + kPageTopSlackPx && y < ctx.page->endPx) ctx.page->endPx = y;
}

// ---- find ----

int findInText(std::string_view text, int from, const TextQuery& query) {
    const std::string_view needle = std::string_view(query.text).substr(0, 255);
    if (needle.empty() || from < 0) return -1;
    const std::size_t n = needle.size();
    const auto same = [&](unsigned char a, unsigned char b) {
        return query.matchCase ? a == b : cp1251::lowerByte(a) == cp1251::lowerByte(b);
    };
    for (std::size_t i = static_cast<std::size_t>(from); i + n <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < n && same(text[i + k], needle[k]))
            ++k;
        if (k == n) return static_cast<int>(i);
    }
    return -1;
}

} // namespace kvelo::layout
