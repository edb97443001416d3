// Painting of a laid-out paragraph: glyphs placed at the measured positions,
// selection drawn inverted, underline and strike-out as filled bars.
#include "rtfengine/layout/PaintContext.h"
#include "rtfengine/layout/ParagraphLayout.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace kvelo::layout {
namespace {

// A stretch of one line drawn with one font and one selection state.
struct Segment {
    const TextRun* run = nullptr;
    bool selected = false;
    int x0 = 0;
    int x1 = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

void drawSegment(PaintContext& ctx, const Segment& seg, const LineBox& line, int lineTopPx) {
    if (!seg.run || seg.x1 <= seg.x0) return;
    QPainter& p = *ctx.painter;
    const MeasuredFont& font = *seg.run->font;
    QColor ink = seg.run->color;
    if (seg.selected) {
        p.fillRect(QRect(seg.x0, lineTopPx + line.extraAbovePx, seg.x1 - seg.x0, line.heightPx),
                   seg.run->color);
        ink = ctx.background;
    }
    const int baseline = lineTopPx + line.baselinePx() - line.topPx;
    if (!seg.glyphs.isEmpty() && font.rawFont().isValid()) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(font.rawFont());
        glyphRun.setGlyphIndexes(seg.glyphs);
        glyphRun.setPositions(seg.positions);
        p.setPen(ink);
        p.drawGlyphRun(QPointF(0, baseline), glyphRun);
    }
    const int thickness = font.lineThicknessPx();
    if (font.underline())
        p.fillRect(QRect(seg.x0, baseline + font.underlineOffsetPx(), seg.x1 - seg.x0, thickness),
                   ink);
    if (font.strikeOut())
        p.fillRect(QRect(seg.x0, baseline - font.strikeOutOffsetPx(), seg.x1 - seg.x0, thickness),
                   ink);
}

} // namespace

void ParagraphLayout::paintImage(PaintContext& ctx, const InlineImage& image, const LineBox& line,
                                 int xPx, int lineTopPx) const {
    int y = lineTopPx;
    if (image.valign == ImageVAlign::Baseline)
        y = lineTopPx + line.baselinePx() - line.topPx - image.heightPx;
    else if (image.valign == ImageVAlign::Middle)
        y = lineTopPx + (line.totalHeightPx() - image.heightPx) / 2;
    const QRect box(xPx + image.hspacePx / 2, y, image.widthPx, image.heightPx);
    const QImage* picture =
        ctx.viewImages && ctx.images ? ctx.images->imageFor(image.key) : nullptr;
    QPainter& p = *ctx.painter;
    if (picture && !picture->isNull()) {
        p.drawImage(box.topLeft(), *picture);
        return;
    }
    // A placeholder: a framed box with a cross, of the picture's display size.
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void ParagraphLayout::paintLine(PaintContext& ctx, const LineBox& line, int originXPx,
                                int lineTopPx, int firstIndex) const {
    Segment seg;
    int widthPx = 0;
    int spaces = 0;
    const auto xOf = [&] {
        return originXPx + line.indentPx + widthPx +
               static_cast<int>(std::lround(spaces * line.gapPx));
    };
    for (int k = 0; k < line.count; ++k) {
        const int i = line.first + k;
        const auto c = static_cast<unsigned char>(in_.text[i]);
        const TextRun& run = runAt(i);
        const int doc = firstIndex + i;
        const bool selected = ctx.hasSelection() && doc >= ctx.selFirst && doc < ctx.selLast;
        const int x = xOf();
        if (seg.run != &run || seg.selected != selected) {
            drawSegment(ctx, seg, line, lineTopPx);
            seg = Segment{&run, selected, x, x, {}, {}};
        }
        const InlineImage* image = c == kImageChar ? imageAt(i) : nullptr;
        if (image) {
            paintImage(ctx, *image, line, x, lineTopPx);
            widthPx += image->widthPx + image->hspacePx;
        } else {
            if (const quint32 glyph = run.font->glyph(c)) {
                seg.glyphs.append(glyph);
                seg.positions.append(QPointF(x, 0));
            }
            widthPx += run.font->advancePx(c);
        }
        if (isJustifiedSpace(line, k)) ++spaces;
        seg.x1 = xOf();
    }
    drawSegment(ctx, seg, line, lineTopPx);
}

void ParagraphLayout::paint(PaintContext& ctx, int originXPx, int originYPx, int firstIndex) const {
    const int topPx = originYPx + topPx_;
    if (topPx > ctx.clip.bottom() || topPx + paintHeightPx_ < ctx.clip.top()) return;
    QPainter& p = *ctx.painter;
    if (in_.preformatted) {
        p.save();
        p.setClipRect(
            QRect(originXPx + boxLeftPx_, topPx, boxRightPx_ - boxLeftPx_, paintHeightPx_),
            Qt::IntersectClip);
    }
    for (const LineBox& line : lines_) {
        const int lineTopPx = topPx + line.topPx;
        const int lineBottomPx = lineTopPx + line.totalHeightPx();
        if (ctx.page && lineBottomPx > ctx.page->endPx && lineTopPx > ctx.page->topPx) {
            ctx.page->endPx = std::min(ctx.page->endPx, lineTopPx); // starts the next page
            break;
        }
        if (lineTopPx > ctx.clip.bottom()) break;
        if (lineBottomPx < ctx.clip.top()) continue;
        paintLine(ctx, line, originXPx, lineTopPx, firstIndex);
    }
    if (in_.preformatted) p.restore();
}

} // namespace kvelo::layout
