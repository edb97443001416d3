#include "rtfengine/viewer/RtfPrint.h"

#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/layout/Units.h"
#include "rtfengine/model/Document.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kvelo {
namespace {

using layout::kPixelsPerInch;
using layout::mulDiv;

int cmToDevice(double cm, int dotsPerInch) {
    return static_cast<int>(std::lround(cm / 2.54 * dotsPerInch));
}

// The printable area of a page in device pixels and in screen pixels.
struct PageGeometry {
    int rx = kPixelsPerInch;
    int ry = kPixelsPerInch;
    int leftDev = 0;
    int topDev = 0;
    int widthDev = 0;
    int heightDev = 0;
    int widthPx() const { return mulDiv(widthDev, kPixelsPerInch, rx); }
    int heightPx() const { return mulDiv(heightDev, kPixelsPerInch, ry); }
    int pageWidthPx(const QPrinter& p) const { return mulDiv(p.width(), kPixelsPerInch, rx); }
    int pageHeightPx(const QPrinter& p) const { return mulDiv(p.height(), kPixelsPerInch, ry); }
};

PageGeometry geometryOf(QPrinter& printer, const TPrintJob& job) {
    PageGeometry g;
    g.rx = std::max(1, printer.logicalDpiX());
    g.ry = std::max(1, printer.logicalDpiY());
    g.leftDev = cmToDevice(job.marginLeftCm, g.rx);
    g.topDev = cmToDevice(job.marginTopCm, g.ry);
    const int right = cmToDevice(job.marginRightCm, g.rx);
    const int bottom = cmToDevice(job.marginBottomCm, g.ry);
    g.widthDev = std::max(1, printer.width() - g.leftDev - right);
    g.heightDev = std::max(1, printer.height() - g.topDev - bottom);
    return g;
}

// Maps screen px to device px with the origin at (xDev, yDev).
void mapScreenPixels(QPainter& painter, const PageGeometry& g, int xDev, int yDev) {
    painter.resetTransform();
    painter.translate(xDev, yDev);
    painter.scale(static_cast<double>(g.rx) / kPixelsPerInch,
                  static_cast<double>(g.ry) / kPixelsPerInch);
}

void paintBands(QPainter& painter, QPrinter& printer, const PageGeometry& g, const TPrintJob& job,
                int page, bool& stop) {
    const int topPx = mulDiv(g.topDev, kPixelsPerInch, g.ry);
    const int pageW = g.pageWidthPx(printer);
    if (job.header) {
        painter.save();
        painter.setClipping(false);
        mapScreenPixels(painter, g, 0, 0);
        job.header(painter, page, pageW, topPx, stop);
        painter.restore();
    }
    if (job.footer) {
        painter.save();
        painter.setClipping(false);
        mapScreenPixels(painter, g, 0, g.topDev + g.heightDev);
        job.footer(painter, page, pageW, g.pageHeightPx(printer) - topPx - g.heightPx(), stop);
        painter.restore();
    }
}

} // namespace

namespace {
QPrinter* swappedIn = nullptr;
}

QPrinter& CurrentPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return swappedIn ? *swappedIn : printer;
}

QPrinter* SwapCurrentPrinter(QPrinter* printer) {
    QPrinter* previous = swappedIn;
    swappedIn = printer;
    return previous;
}

int PrintDocument(const TSectionList& document, QPrinter& printer, const TPrintJob& job) {
    if (document.Empty()) return 0;
    printer.setFullPage(true);
    std::unique_ptr<TSectionList> copy = document.Clone();
    copy->SelFirst = copy->SelLast = 0;
    copy->Settings.BackgroundColor = RgbColor(255, 255, 255);
    layout::FontCache fonts;
    layout::DocumentLayout pages(*copy, fonts);
    const PageGeometry g = geometryOf(printer, job);
    const int textWidthPx = std::max(1, g.widthPx() - 2 * job.marginWidthPx);
    const int heightPx = pages.relayout(textWidthPx);
    const int pageHeightPx = std::max(1, g.heightPx());

    QPainter painter;
    int printed = 0;
    bool stop = false;
    int top = 0;
    for (int page = 1; page <= job.toPage && !stop; ++page) {
        int end = pages.pageEnd(top, pageHeightPx);
        if (end <= top) end = top + pageHeightPx;
        if (page >= job.fromPage) {
            if (printed == 0 ? !painter.begin(&printer) : !printer.newPage()) break;
            ++printed;
            mapScreenPixels(painter, g, g.leftDev, g.topDev);
            const QRect band(0, 0, g.widthPx() + 2, end - top);
            painter.setClipRect(band);
            layout::PageWindow window{0, end - top, pageHeightPx};
            pages.paint(painter, band, QPoint(job.marginWidthPx, -top), &window);
            paintBands(painter, printer, g, job, page, stop);
        }
        top = end;
        if (top >= heightPx) break;
    }
    if (painter.isActive()) painter.end();
    return printed;
}

} // namespace kvelo
