#include "rtfengine/layout/DocumentLayout.h"

#include "rtfengine/layout/FontCache.h"
#include "rtfengine/model/Document.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace kvelo::layout {
namespace {

QColor toQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

DocumentLayout::DocumentLayout(TSectionList& document, FontCache& fonts)
    : document_(document), flow_(document) {
    ctx_.fonts = &fonts;
    ctx_.images = &images_;
}

DocumentLayout::~DocumentLayout() {
    endIncremental();
}

void DocumentLayout::setBlockErrorHandler(std::function<void(const std::string&)> handler) {
    ctx_.onBlockError = std::move(handler);
}

void DocumentLayout::beginIncremental(int widthPx) {
    ctx_.applySettings(document_.Settings);
    flow_.begin(widthPx);
    flow_.layoutNewBlocks(ctx_);
    incremental_ = true;
    document_.OnBlockAdded = [this](TSectionBase&) {
        flow_.layoutNewBlocks(ctx_);
        if (onBlockLaidOut) onBlockLaidOut();
    };
}

void DocumentLayout::endIncremental() {
    if (!incremental_) return;
    document_.OnBlockAdded = nullptr;
    incremental_ = false;
}

int DocumentLayout::relayout(int widthPx) {
    ctx_.applySettings(document_.Settings);
    return flow_.layoutAll(ctx_, widthPx);
}

void DocumentLayout::clear() {
    flow_.reset();
    images_.clear();
}

void DocumentLayout::paint(QPainter& painter, const QRect& clip, QPoint origin, PageWindow* page) {
    PaintContext ctx;
    ctx.painter = &painter;
    ctx.clip = clip;
    ctx.selFirst = document_.SelFirst;
    ctx.selLast = document_.SelLast;
    ctx.background = toQColor(document_.Settings.BackgroundColor);
    ctx.viewImages = document_.Settings.ViewImages;
    ctx.images = &images_;
    ctx.page = page;
    flow_.paint(ctx, origin.x(), origin.y());
}

int DocumentLayout::pageEnd(int pageTopPx, int pageHeightPx) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    PageWindow page{0, pageHeightPx, pageHeightPx};
    paint(painter, QRect(0, 0, std::max(1, widestNeedPx()), pageHeightPx), {0, -pageTopPx}, &page);
    return pageTopPx + page.endPx;
}

int DocumentLayout::findText(int fromIndex, const std::string& textCp1251, bool matchCase) const {
    return flow_.findText(fromIndex, TextQuery{textCp1251, matchCase});
}

} // namespace kvelo::layout
