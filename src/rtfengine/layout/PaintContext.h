// What painting a laid-out block needs besides the painter: the clip, the
// selection, colours, the image pixmaps and, while printing, the page window.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QImage;

namespace kvelo::layout {

// The page being printed, in painter coordinates (px). Blocks that would be
// cut by the page end move it up to their top, so they start the next page.
struct PageWindow {
    int topPx = 0;
    int endPx = 0;
    int heightPx = 0; // printable height of a page
};

// Supplies the picture of an inline image, already of its display size.
class ImageSource {
public:
    virtual ~ImageSource() = default;
    // The picture for `key` (a model image); null when it cannot be shown.
    virtual const QImage* imageFor(const void* key) = 0;
};

struct PaintContext {
    QPainter* painter = nullptr;
    QRect clip;       // painter coordinates
    int selFirst = 0; // document character indexes; nothing is
    int selLast = 0;  // selected when selFirst >= selLast
    QColor background = Qt::white;
    bool viewImages = true;
    ImageSource* images = nullptr;
    PageWindow* page = nullptr; // set only while printing

    bool printing() const { return page != nullptr; }
    bool hasSelection() const { return !printing() && selFirst < selLast; }
};

} // namespace kvelo::layout
