// Painting and hit tests of a laid-out table.
#include "rtfengine/layout/PaintContext.h"
#include "rtfengine/layout/TableLayout.h"
#include "rtfengine/model/Table.h"

#include <QPainter>

namespace kvelo::layout {

void TableLayout::paintCell(PaintContext& ctx, const CellBox& box, int originXPx,
                            int originYPx) const {
    QPainter& p = *ctx.painter;
    const QRect rect = box.fillRect(table_.CellSpacingPx).translated(originXPx, originYPx);
    if (box.hasBackground) p.fillRect(rect, box.background);
    box.content->paint(ctx, originXPx + box.contentXPx, originYPx + box.contentYPx);
    if (!table_.Border) return;
    const TCellObj& cell = *box.cell;
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    if (cell.BorderTop) p.fillRect(QRect(l, t, r - l + 1, 1), Qt::black);
    if (cell.BorderRight) p.fillRect(QRect(r, t, 1, b - t + 1), Qt::black);
    if (cell.BorderBottom) p.fillRect(QRect(l, b, r - l + 1, 1), Qt::black);
    if (cell.BorderLeft) p.fillRect(QRect(l, t, 1, b - t + 1), Qt::black);
}

void TableLayout::paint(PaintContext& ctx, int originXPx, int originYPx) const {
    const int top = originYPx + topPx_;
    if (cells_.empty() || top > ctx.clip.bottom() || top + heightPx_ < ctx.clip.top()) return;
    if (ctx.page) {
        if (top >= ctx.page->endPx) return;
        const bool lowerHalf = top > ctx.page->topPx + ctx.page->heightPx / 2;
        if (lowerHalf && top + heightPx_ > ctx.page->endPx && heightPx_ < ctx.page->heightPx) {
            ctx.page->endPx = top; // the whole table starts the next page
            return;
        }
    }
    const auto rowHidden = [&](int rowTopPx) {
        return rowTopPx > ctx.clip.bottom() || (ctx.page && rowTopPx >= ctx.page->endPx);
    };
    const QColor background(RedOf(table_.Background), GreenOf(table_.Background),
                            BlueOf(table_.Background));
    for (std::size_t r = 0; r < uncovered_.size(); ++r) {
        if (rowHidden(originYPx + rowTopsPx_[r])) break;
        for (const QRect& rect : uncovered_[r])
            ctx.painter->fillRect(rect.translated(originXPx, originYPx), background);
    }
    for (const CellBox& box : cells_) {
        const int rowTop = originYPx + box.yPx;
        if (rowHidden(rowTop)) break;
        if (rowTop + box.heightPx < ctx.clip.top()) continue;
        paintCell(ctx, box, originXPx, originYPx);
    }
}

const TableLayout::CellBox* TableLayout::cellAtPoint(int xPx, int yPx) const {
    for (const CellBox& box : cells_) {
        if (box.fillRect(table_.CellSpacingPx).contains(xPx, yPx)) return &box;
    }
    return nullptr;
}

const TableLayout::CellBox* TableLayout::cellHolding(int index) const {
    for (const CellBox& box : cells_) {
        if (box.content->blockHolding(index)) return &box;
    }
    return nullptr;
}

int TableLayout::indexAt(int xPx, int yPx) const {
    const CellBox* box = cellAtPoint(xPx, yPx);
    return box ? box->content->indexAt(xPx - box->contentXPx, yPx - box->contentYPx) : -1;
}

std::string_view TableLayout::linkAt(int xPx, int yPx) const {
    const CellBox* box = cellAtPoint(xPx, yPx);
    return box ? box->content->linkAt(xPx - box->contentXPx, yPx - box->contentYPx)
               : std::string_view();
}

bool TableLayout::pointOf(int index, QPoint& point) const {
    const CellBox* box = cellHolding(index);
    if (!box || !box->content->pointOf(index, point)) return false;
    point += QPoint(box->contentXPx, box->contentYPx);
    return true;
}

int TableLayout::charAt(int index) const {
    const CellBox* box = cellHolding(index);
    return box ? box->content->charAt(index) : -1;
}

int TableLayout::findText(int fromIndex, const TextQuery& query) const {
    for (const CellBox& box : cells_) {
        const int hit = box.content->findText(fromIndex, query);
        if (hit >= 0) return hit;
    }
    return -1;
}

} // namespace kvelo::layout
