// Printing of a document: a copy laid out at the printable width in screen
// pixels, painted one page window at a time through a scaled painter, with
// page ends moved up by lines, page breaks and tables. Margins are in
// centimetres; pages are numbered from 1.
#pragma once

#include <functional>

class QPainter;
class QPrinter;

namespace kvelo {

class TSectionList;

struct TPrintJob {
    double marginLeftCm = 0;
    double marginRightCm = 0;
    double marginTopCm = 0;
    double marginBottomCm = 0;
    int marginWidthPx = 10; // the viewer's side margins, kept inside the printable width
    int fromPage = 1;
    int toPage = 9999;
    // Header and footer bands (painter in screen px at the band's top left).
    std::function<void(QPainter&, int page, int w, int h, bool& stop)> header;
    std::function<void(QPainter&, int page, int w, int h, bool& stop)> footer;
};

// Prints `document` (not changed: a copy is laid out) on `printer`. Returns
// the number of pages printed; 0 when the document is empty or fromPage lies
// after the last page (then nothing is sent to the printer).
int PrintDocument(const TSectionList& document, QPrinter& printer, const TPrintJob& job);

// The program's current printer (made on first use); the printer set-up
// dialog changes it, Print without a printer uses it.
QPrinter& CurrentPrinter();
// Makes `printer` (not owned; null for the program's own) the current one and
// returns the previous one, for printing into a preview or a PDF file.
QPrinter* SwapCurrentPrinter(QPrinter* printer);

} // namespace kvelo
