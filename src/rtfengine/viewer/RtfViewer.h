// TRtfViewer: the control that shows one RTF document. It reads the body
// through the RTF reader, lays each block out as it arrives (the window keeps
// repainting while a long body loads), paints only the visible blocks, and
// offers selection, links, bookmarks, find, RTF output and printing. It never
// opens files itself: a named document is asked of the host (OnGetStream).
#pragma once

#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/model/Document.h"

#include <QAbstractScrollArea>
#include <QColor>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace kvelo {

class TStream;

// Thrown by an OnGetStream handler to end a load without any message: the
// host does the work itself later (a link click becomes a navigation).
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// "Не могу открыть файл: " + name, when the host gives no stream.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TBorderStyle { bsFocused, bsNone, bsSingle };

// What ApplyToSelection answers: the run (code 4) or paragraph (code 5) at
// the selection start; both point into the viewer's document.
struct TSelectionAnswer {
    const TFontObj* run = nullptr;
    TSection* paragraph = nullptr;
};

class TRtfViewer : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kLineStepPx = 16;
    static constexpr int kColumnStepPx = 15;
    static constexpr int kMaxWidestPx = 2000;

    explicit TRtfViewer(QWidget* parent = nullptr);
    ~TRtfViewer() override;

    // --- Loading. Loads and relayouts do nothing while processing. ---
    // Reads the body from its current position; reader errors propagate and
    // what was read stays shown.
    void LoadFromStream(TStream& stream);
    // `name` may end in "#" + bookmark. The body comes from OnGetStream;
    // EInOutError when there is none.
    void LoadFromFile(const std::string& name);
    void Clear();
    void Relayout();
    bool Processing() const { return processing_; }

    // --- Navigation and selection ---
    bool GoToBookmark(std::string name); // a leading "#" is dropped; case ignored
    bool FindText(const std::string& text, bool matchCase);
    int SelLength() const;
    std::string SelText() const; // code page 1251; each paragraph ends with CR LF
    void SelectAll();
    void SetSelLength(int length); // only 0 acts: the selection collapses to its start
    void SetSelection(int first, int last);
    int SelStart() const { return doc_.SelFirst; }
    int CaretIndex() const { return caret_; }
    // Codes: 3 apply the font and link of `data` to the selected characters;
    // 4 the run at the selection start; 5 the paragraph there; 6 set the
    // alignment (`value` 0..3) of every selected paragraph. Nothing happens
    // without a selection. After 3 and 6 call Relayout.
    TSelectionAnswer ApplyToSelection(int code, int value = 0, const TFontObj* data = nullptr);
    const std::string& CurrentUrl() const { return currentUrl_; }
    const std::string& CurrentFile() const { return currentFile_; }

    int VScrollPosition() const;
    void SetVScrollPosition(int positionPx);
    int HScrollPosition() const;
    // Top block in the high 16 bits, px into it in the low 16 bits.
    int ReadingPosition() const;
    void SetReadingPosition(int position);

    // Writes the document (or its selection) as RTF; `full` keeps links,
    // colours, tables and bookmarks.
    void WriteRtf(TStream& stream, bool full, bool selectionOnly) const;
    // Prints pages [fromPage, toPage] (1-based) on `printer`; false when
    // nothing was printed (empty document, or fromPage after the last page).
    bool Print(QPrinter& printer, int fromPage, int toPage);
    // The same on the program's current printer.
    bool Print(int fromPage, int toPage);

    TSectionList& Document() { return doc_; }
    const TSectionList& Document() const { return doc_; }
    TFontTable& FontTable() { return doc_.FontTable; }
    TBookmarkList& BookmarkList() { return doc_.Bookmarks; }
    layout::DocumentLayout& Layout() { return *layout_; }
    int DocumentHeightPx() const { return docHeightPx_; }

    // --- Properties ---
    bool ViewImages() const { return doc_.Settings.ViewImages; }
    void SetViewImages(bool view);
    QColor DefBackground() const { return background_; }
    void SetDefBackground(const QColor& colour);
    TBorderStyle BorderStyle() const { return border_; }
    void SetBorderStyle(TBorderStyle style);
    int HistoryMaxCount() const { return historyMax_; }
    void SetHistoryMaxCount(int count);
    int HistoryCount() const { return static_cast<int>(history_.size()); }
    const std::string& DefFontName() const { return doc_.Settings.DefFontName; }
    void SetDefFontName(const std::string& name);
    int DefFontSize() const { return doc_.Settings.DefFontSize; }
    void SetDefFontSize(int size); // at least 6
    bool NoSelect() const { return noSelect_; }
    void SetNoSelect(bool noSelect);
    int MarginHeight() const { return marginHeightPx_; }
    void SetMarginHeight(int px); // 0..50, others ignored
    int MarginWidth() const { return marginWidthPx_; }
    void SetMarginWidth(int px); // 0..50, others ignored
    const std::string& ServerRoot() const { return serverRoot_; }
    void SetServerRoot(std::string root);
    double PrintMarginLeft = 0; // centimetres
    double PrintMarginRight = 0;
    double PrintMarginTop = 0;
    double PrintMarginBottom = 0;

    // --- Events ---
    // Must return a stream for FileName (owned by the handler, alive until the
    // load ends) or throw EAbort; null means the file cannot be opened.
    std::function<TStream*(const std::string& fileName, const std::string& bookmark)> OnGetStream;
    std::function<void(const std::string& src, bool& handled)> OnLinkClick;
    std::function<void(const std::string& src)> OnLinkCovered;
    std::function<void(const std::string& src)> OnChange;
    std::function<void()> OnHistoryChange;
    std::function<void(bool processingOn)> OnProcessing;
    std::function<void()> OnMouseUp;
    // Header and footer of a printed page: painter in screen px with (0, 0)
    // at the top left of the band, page number, band width and height.
    using PrintBand = std::function<void(QPainter&, int page, int w, int h, bool& stop)>;
    PrintBand OnPrintHeader;
    PrintBand OnPrintFooter;

    // The file name a link target names (control characters and blanks cut,
    // URL forms turned into paths, relative names joined to the current
    // file's folder).
    std::string ExpandFileName(const std::string& name) const;
    // Follows a link target as a click on it would.
    void FollowLink(const std::string& target);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class ProcessingScope;
    struct HistoryEntry {
        std::string fileName;
        std::string title;
        int position = 0;
    };

    int layoutWidthPx() const;
    void loadBody(TStream& stream);
    void blockLaidOut();
    void layoutAll();
    void updateScrollBars();
    void updateFrameColour();
    void setProcessing(bool on);
    QPoint toDocument(QPoint viewportPoint) const;
    int indexAtPointer(QPoint viewportPoint) const;
    void hover(QPoint viewportPoint);
    void selectWordAt(int index);
    void scrollToDocumentY(int yPx);
    void pushHistory(const std::string& previousFile);
    std::vector<TSection*> selectedParagraphs();

    TSectionList doc_;
    std::unique_ptr<layout::DocumentLayout> layout_;
    QColor background_;
    TBorderStyle border_ = TBorderStyle::bsFocused;
    int historyMax_ = 0;
    bool noSelect_ = false;
    int marginHeightPx_ = 5;
    int marginWidthPx_ = 10;
    std::string serverRoot_;

    std::string currentFile_;
    std::string title_;
    std::vector<HistoryEntry> history_;
    std::string currentUrl_;
    int caret_ = 0;
    int anchor_ = -1;
    bool pressed_ = false;
    bool processing_ = false;
    int docHeightPx_ = 0;
    int laidOutWidthPx_ = -1;
    qint64 lastRepaintMs_ = 0;
    bool firstScreenShown_ = false;
};

} // namespace kvelo
