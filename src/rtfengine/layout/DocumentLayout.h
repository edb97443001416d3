// The layout of a whole document: lays each block out as the reader adds it
// (or all blocks again when the width or a setting changed), paints only the
// blocks that meet the clip rectangle, and answers hit tests and find in
// document coordinates (px from the top left of the laid-out text, without
// the viewer's margins) and document character indexes.
#pragma once

#include "rtfengine/layout/FlowLayout.h"
#include "rtfengine/layout/ImageStore.h"
#include "rtfengine/layout/LayoutContext.h"
#include "rtfengine/layout/PaintContext.h"

#include <QPoint>
#include <QRect>

#include <functional>
#include <string>
#include <string_view>

class QPainter;

namespace kvelo {
class TSectionList;
}

namespace kvelo::layout {

class FontCache;

class DocumentLayout {
public:
    // The document and the font cache must outlive the layout.
    DocumentLayout(TSectionList& document, FontCache& fonts);
    ~DocumentLayout();
    DocumentLayout(const DocumentLayout&) = delete;
    DocumentLayout& operator=(const DocumentLayout&) = delete;

    // Starts laying out incrementally at widthPx: from now on every block the
    // document gets is laid out at once (an EProcessError then propagates to
    // whoever added the block), after which onBlockLaidOut runs.
    void beginIncremental(int widthPx);
    void endIncremental();
    // Lays the whole document out again with its current settings; blocks that
    // fail are left out and reported to onBlockError.
    int relayout(int widthPx);
    // Forgets all layout (the document was cleared or edited).
    void clear();

    std::function<void()> onBlockLaidOut;
    void setBlockErrorHandler(std::function<void(const std::string&)> handler);

    int heightPx() const { return flow_.heightPx(); }
    int widthPx() const { return flow_.widthPx(); }
    int widestNeedPx() const { return flow_.widestNeedPx(); }
    const FlowLayout& flow() const { return flow_; }
    TSectionList& document() { return document_; }

    // Paints the blocks meeting `clip` (painter coordinates) with the
    // document's top left at origin; `page` is set only while printing.
    void paint(QPainter& painter, const QRect& clip, QPoint origin, PageWindow* page = nullptr);

    // Where the printed page that starts at pageTopPx ends (document px): a
    // line the page end would cut, a page break in the page or a table that
    // starts low and does not fit move the end up to their top.
    int pageEnd(int pageTopPx, int pageHeightPx);

    int indexAt(QPoint point) const { return flow_.indexAt(point.x(), point.y()); }
    std::string_view linkAt(QPoint point) const { return flow_.linkAt(point.x(), point.y()); }
    bool pointOf(int index, QPoint& point) const { return flow_.pointOf(index, point); }
    int charAt(int index) const { return flow_.charAt(index); }
    // The first hit at or after fromIndex inside one paragraph, or -1.
    int findText(int fromIndex, const std::string& textCp1251, bool matchCase) const;

private:
    TSectionList& document_;
    ImageStore images_;
    LayoutContext ctx_;
    FlowLayout flow_;
    bool incremental_ = false;
};

} // namespace kvelo::layout
