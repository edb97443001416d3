#include "rtfengine/viewer/RtfViewer.h"

#include "platform/Cp1251.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"
#include "rtfengine/viewer/RtfPrint.h"
#include "rtfengine/writer/RtfWriter.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kvelo {
namespace {

// While a body loads, the window repaints at most this often.
constexpr qint64 kLoadRepaintIntervalMs = 40;
constexpr size_t kMaxBookmarkChars = 255;
constexpr size_t kMaxFindChars = 255;

// Measured fonts are shared by every viewer of the GUI thread.
layout::FontCache& sharedFonts() {
    static layout::FontCache fonts;
    return fonts;
}

bool isWordChar(int c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c <= 0xFF);
}

std::string trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

TColor toTColor(const QColor& c) {
    return RgbColor(c.red(), c.green(), c.blue());
}

} // namespace

// Sets the processing flag for one operation and restores it on every exit.
class TRtfViewer::ProcessingScope {
public:
    explicit ProcessingScope(TRtfViewer& viewer) : viewer_(viewer) { viewer_.setProcessing(true); }
    ~ProcessingScope() { viewer_.setProcessing(false); }
    ProcessingScope(const ProcessingScope&) = delete;
    ProcessingScope& operator=(const ProcessingScope&) = delete;

private:
    TRtfViewer& viewer_;
};

TRtfViewer::TRtfViewer(QWidget* parent)
    : QAbstractScrollArea(parent),
      layout_(std::make_unique<layout::DocumentLayout>(doc_, sharedFonts())),
      background_(palette().color(QPalette::Button)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(kLineStepPx);
    horizontalScrollBar()->setSingleStep(kColumnStepPx);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    doc_.Settings.BackgroundColor = toTColor(background_);
    layout_->setBlockErrorHandler([](const std::string&) {});
    layout_->onBlockLaidOut = [this] { blockLaidOut(); };
    updateFrameColour();
    resize(150, 150);
}

TRtfViewer::~TRtfViewer() {
    layout_->endIncremental();
}

void TRtfViewer::setProcessing(bool on) {
    processing_ = on;
    if (OnProcessing) OnProcessing(on);
}

// --- Loading --------------------------------------------------------------

int TRtfViewer::layoutWidthPx() const {
    return std::max(1, viewport()->width() - 2 * marginWidthPx_);
}

void TRtfViewer::LoadFromStream(TStream& stream) {
    if (processing_) return;
    ProcessingScope scope(*this);
    loadBody(stream);
}

void TRtfViewer::loadBody(TStream& stream) {
    layout_->endIncremental();
    layout_->clear();
    doc_.ClearDocument();
    caret_ = 0;
    anchor_ = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    docHeightPx_ = 0;
    laidOutWidthPx_ = layoutWidthPx();
    lastRepaintMs_ = QDateTime::currentMSecsSinceEpoch();
    firstScreenShown_ = false;
    layout_->beginIncremental(laidOutWidthPx_);
    struct EndIncremental {
        TRtfViewer& v;
        ~EndIncremental() {
            v.layout_->endIncremental();
            v.docHeightPx_ = v.layout_->heightPx() + 2 * v.marginHeightPx_;
            v.updateScrollBars();
            v.viewport()->update();
        }
    } end{*this};
    RtfParseStream(doc_, stream);
}

void TRtfViewer::blockLaidOut() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // The first screen shows as soon as it is laid out, later ones in steps.
    const bool firstScreen = !firstScreenShown_ && layout_->heightPx() >= viewport()->height();
    if (!firstScreen && now - lastRepaintMs_ < kLoadRepaintIntervalMs) return;
    firstScreenShown_ = firstScreenShown_ || firstScreen;
    lastRepaintMs_ = now;
    docHeightPx_ = layout_->heightPx() + 2 * marginHeightPx_;
    updateScrollBars();
    viewport()->update();
    // Paint what is there; input waits until the body is read.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TRtfViewer::LoadFromFile(const std::string& name) {
    if (processing_) return;
    const size_t hash = name.find('#');
    const std::string file = name.substr(0, hash);
    const std::string bookmark =
        hash == std::string::npos ? std::string() : name.substr(hash + 1, kMaxBookmarkChars);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    const std::string previous = currentFile_;
    {
        ProcessingScope scope(*this);
        TStream* stream = OnGetStream ? OnGetStream(file, bookmark) : nullptr;
        if (!stream) throw EInOutError("Не могу открыть файл: " + file);
        loadBody(*stream);
        currentFile_ = file;
    }
    if (!bookmark.empty()) GoToBookmark(bookmark);
    if (file != previous) {
        pushHistory(previous);
        if (OnChange) OnChange(file);
    }
}

void TRtfViewer::pushHistory(const std::string& previousFile) {
    if (historyMax_ <= 0 || previousFile.empty()) return;
    history_.insert(history_.begin(), HistoryEntry{previousFile, title_, VScrollPosition()});
    if (static_cast<int>(history_.size()) > historyMax_) history_.resize(historyMax_);
    if (OnHistoryChange) OnHistoryChange();
}

void TRtfViewer::Clear() {
    if (processing_) return;
    layout_->endIncremental();
    layout_->clear();
    doc_.ClearDocument();
    title_.clear();
    currentFile_.clear();
    caret_ = 0;
    anchor_ = -1;
    docHeightPx_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void TRtfViewer::layoutAll() {
    laidOutWidthPx_ = layoutWidthPx();
    docHeightPx_ = layout_->relayout(laidOutWidthPx_) + 2 * marginHeightPx_;
    updateScrollBars();
}

void TRtfViewer::Relayout() {
    if (processing_) return;
    const int position = ReadingPosition();
    {
        ProcessingScope scope(*this);
        layoutAll();
    }
    SetReadingPosition(position);
    viewport()->update();
}

// --- Scrolling ------------------------------------------------------------

void TRtfViewer::updateScrollBars() {
    const int pane = viewport()->height();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, docHeightPx_ - pane));
    v->setPageStep(std::max(1, pane - kLineStepPx));
    // Lines end after their breaking blank, so text that fits its width may
    // reach into the right margin; only more than that needs the bar.
    const int need =
        layout_->widestNeedPx() <= laidOutWidthPx_ + marginWidthPx_ ? 0 : layout_->widestNeedPx();
    const int widest = std::min(need, kMaxWidestPx) + 2 * marginWidthPx_;
    const int range = std::max(widest, viewport()->width());
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, range - viewport()->width());
    h->setPageStep(std::max(1, width() - 20));
}

int TRtfViewer::VScrollPosition() const {
    return verticalScrollBar()->value();
}

void TRtfViewer::SetVScrollPosition(int positionPx) {
    verticalScrollBar()->setValue(std::clamp(positionPx, 0, verticalScrollBar()->maximum()));
    viewport()->update();
}

int TRtfViewer::HScrollPosition() const {
    return horizontalScrollBar()->value();
}

int TRtfViewer::ReadingPosition() const {
    const int y = VScrollPosition() - marginHeightPx_;
    const int block = layout_->flow().blockIndexAtY(y);
    if (block < 0) return 0;
    const int offset = y - layout_->flow().block(block).topPx();
    return (std::min(block, 0xFFFF) << 16) | std::clamp(offset, 0, 0xFFFF);
}

void TRtfViewer::SetReadingPosition(int position) {
    const auto block = static_cast<std::size_t>((position >> 16) & 0xFFFF);
    if (block >= layout_->flow().blockCount()) return;
    SetVScrollPosition(layout_->flow().block(block).topPx() + (position & 0xFFFF) +
                       marginHeightPx_);
}

void TRtfViewer::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void TRtfViewer::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!processing_ && laidOutWidthPx_ >= 0 && layoutWidthPx() != laidOutWidthPx_ && !doc_.Empty())
        Relayout();
    else
        updateScrollBars();
}

void TRtfViewer::keyPressEvent(QKeyEvent* event) {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Home:
        v->setValue(0);
        break;
    case Qt::Key_End:
        v->setValue(v->maximum());
        break;
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Left:
        h->setValue(h->value() - kColumnStepPx);
        break;
    case Qt::Key_Right:
        h->setValue(h->value() + kColumnStepPx);
        break;
    default:
        if (event->matches(QKeySequence::SelectAll)) {
            SelectAll();
            break;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

// --- Painting -------------------------------------------------------------

void TRtfViewer::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.fillRect(clip, background_);
    layout_->paint(painter, clip,
                   QPoint(marginWidthPx_ - HScrollPosition(), marginHeightPx_ - VScrollPosition()));
}

void TRtfViewer::updateFrameColour() {
    if (border_ == TBorderStyle::bsNone) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    setFrameStyle(QFrame::Box | QFrame::Plain);
    const bool dark = border_ == TBorderStyle::bsSingle || hasFocus();
    QPalette p = palette();
    p.setColor(QPalette::WindowText, dark ? p.color(QPalette::ButtonText) : background_);
    setPalette(p);
}

void TRtfViewer::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    updateFrameColour();
}

void TRtfViewer::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    updateFrameColour();
}

// --- Mouse ----------------------------------------------------------------

QPoint TRtfViewer::toDocument(QPoint p) const {
    return {p.x() + HScrollPosition() - marginWidthPx_,
            p.y() + VScrollPosition() - marginHeightPx_};
}

int TRtfViewer::indexAtPointer(QPoint p) const {
    return std::max(0, layout_->indexAt(toDocument(p)));
}

void TRtfViewer::hover(QPoint p) {
    const std::string link(layout_->linkAt(toDocument(p)));
    viewport()->setCursor(link.empty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
    if (link == currentUrl_) return;
    currentUrl_ = link;
    if (OnLinkCovered) OnLinkCovered(link);
}

void TRtfViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // The context menu offers the link under the pointer, if any.
        currentUrl_ = std::string(layout_->linkAt(toDocument(event->pos())));
    }
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    pressed_ = true;
    if (processing_) return;
    const int index = indexAtPointer(event->pos());
    anchor_ = caret_ = index;
    if (doc_.HasSelection()) viewport()->update();
    doc_.SelFirst = doc_.SelLast = index;
}

void TRtfViewer::mouseMoveEvent(QMouseEvent* event) {
    hover(event->pos());
    if (!(event->buttons() & Qt::LeftButton) || !pressed_ || noSelect_ || processing_ ||
        anchor_ < 0)
        return;
    caret_ = indexAtPointer(event->pos());
    SetSelection(anchor_, caret_);
}

void TRtfViewer::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_ && event->button() == Qt::LeftButton;
    pressed_ = false;
    if (wasPressed && !doc_.HasSelection()) {
        const std::string link(layout_->linkAt(toDocument(event->pos())));
        if (!link.empty()) {
            currentUrl_ = link;
            FollowLink(link);
        }
    }
    if (OnMouseUp) OnMouseUp();
}

void TRtfViewer::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || noSelect_ || processing_) return;
    selectWordAt(indexAtPointer(event->pos()));
}

void TRtfViewer::selectWordAt(int index) {
    if (!isWordChar(layout_->charAt(index))) return;
    int first = index;
    while (first > 0 && isWordChar(layout_->charAt(first - 1)))
        --first;
    int last = index + 1;
    while (isWordChar(layout_->charAt(last)))
        ++last;
    caret_ = last;
    SetSelection(first, last);
}

// --- Links ----------------------------------------------------------------

void TRtfViewer::FollowLink(const std::string& target) {
    bool handled = false;
    if (OnLinkClick) OnLinkClick(target, handled);
    if (handled) return;
    std::string name;
    if (!target.empty() && target[0] == '#') {
        name = currentFile_ + target;
    } else {
        const size_t hash = target.find('#');
        name = ExpandFileName(target.substr(0, hash));
        if (hash != std::string::npos) name += target.substr(hash);
    }
    try {
        LoadFromFile(name);
    } catch (const EAbort&) {
        // The host follows the link itself.
    } catch (const std::exception&) {
        // A link to nothing readable leaves the document on screen.
    }
}

std::string TRtfViewer::ExpandFileName(const std::string& raw) const {
    std::string name = trimmed(raw);
    if (name.find('/') != std::string::npos) {
        name = lowerAscii(name);
        for (const char* prefix : {"file:///", "file://"})
            if (name.rfind(prefix, 0) == 0) {
                name.erase(0, std::char_traits<char>::length(prefix));
                break;
            }
        std::replace(name.begin(), name.end(), '|', ':');
        std::replace(name.begin(), name.end(), '/', '\\');
        if (!name.empty() && name[0] == '\\') name = serverRoot_ + name;
    }
    if (!name.empty() && name[0] == '\\') return name;
    if (name.size() >= 2 && name[1] == ':') return name;
    const size_t slash = currentFile_.find_last_of("\\/");
    return slash == std::string::npos ? name : currentFile_.substr(0, slash + 1) + name;
}

// --- Bookmarks, find, selection --------------------------------------------

void TRtfViewer::scrollToDocumentY(int yPx) {
    SetVScrollPosition(yPx + marginHeightPx_);
    horizontalScrollBar()->setValue(0);
}

bool TRtfViewer::GoToBookmark(std::string name) {
    if (!name.empty() && name[0] == '#') name.erase(0, 1);
    const TSectionBase* block = doc_.Bookmarks.Find(name);
    if (!block) return false;
    QPoint point;
    if (layout_->pointOf(block->FirstIndex, point)) {
        scrollToDocumentY(point.y());
        return true;
    }
    const auto& flow = layout_->flow();
    for (std::size_t i = 0; i < flow.blockCount(); ++i)
        if (&flow.block(i).block() == block) {
            scrollToDocumentY(flow.block(i).topPx());
            return true;
        }
    return true;
}

bool TRtfViewer::FindText(const std::string& text, bool matchCase) {
    const std::string query = text.substr(0, kMaxFindChars);
    if (query.empty()) return false;
    const int hit = layout_->findText(caret_, query, matchCase);
    if (hit < 0) return false;
    caret_ = hit + static_cast<int>(query.size());
    SetSelection(hit, caret_);
    QPoint point;
    if (layout_->pointOf(hit, point)) {
        const int y = point.y() + marginHeightPx_;
        const int top = VScrollPosition();
        if (y < top || y > top + viewport()->height() - 20)
            SetVScrollPosition(y - viewport()->height() / 2);
    }
    return true;
}

void TRtfViewer::SetSelection(int first, int last) {
    if (noSelect_) return;
    doc_.SelFirst = std::max(0, std::min(first, last));
    doc_.SelLast = std::max(0, std::max(first, last));
    viewport()->update();
}

int TRtfViewer::SelLength() const {
    return SelectedLength(doc_);
}

std::string TRtfViewer::SelText() const {
    return SelectedText(doc_);
}

void TRtfViewer::SelectAll() {
    if (noSelect_ || processing_) return;
    SetSelection(0, doc_.NextIndex());
}

void TRtfViewer::SetSelLength(int length) {
    if (length != 0) return;
    doc_.SelLast = doc_.SelFirst;
    viewport()->update();
}

std::vector<TSection*> TRtfViewer::selectedParagraphs() {
    std::vector<TSection*> touched;
    if (!doc_.HasSelection()) return touched;
    ForEachBlockDeep(doc_, [&](const TSectionBase& block) {
        if (!block.IsParagraph()) return;
        const int first = block.FirstIndex;
        const int end = first + block.Length();
        if (first < doc_.SelLast && (end > doc_.SelFirst || first >= doc_.SelFirst))
            touched.push_back(const_cast<TSection*>(static_cast<const TSection*>(&block)));
    });
    return touched;
}

TSelectionAnswer TRtfViewer::ApplyToSelection(int code, int value, const TFontObj* data) {
    TSelectionAnswer answer;
    std::vector<TSection*> paragraphs = selectedParagraphs();
    if (paragraphs.empty()) return answer;
    TSection& first = *paragraphs.front();
    switch (code) {
    case 3:
        if (!data) break;
        for (TSection* p : paragraphs) {
            const int from = std::max(0, doc_.SelFirst - p->FirstIndex);
            const int to = std::min(p->Length(), doc_.SelLast - p->FirstIndex);
            if (from < to) p->ApplyRun(from, to, data->Font, data->LinkTarget);
        }
        break;
    case 4: {
        const int local = std::clamp(doc_.SelFirst - first.FirstIndex, 0, first.Length());
        if (!first.Fonts.empty()) answer.run = &first.Fonts[first.RunIndexAt(local)];
        break;
    }
    case 5:
        answer.paragraph = &first;
        break;
    case 6:
        for (TSection* p : paragraphs)
            p->Alignment = static_cast<TAlignment>(std::clamp(value, 0, 3));
        break;
    default:
        break;
    }
    return answer;
}

void TRtfViewer::WriteRtf(TStream& stream, bool full, bool selectionOnly) const {
    kvelo::WriteRtf(doc_, stream, full, selectionOnly);
}

bool TRtfViewer::Print(QPrinter& printer, int fromPage, int toPage) {
    if (processing_ || doc_.Empty()) return false;
    TPrintJob job;
    job.marginLeftCm = PrintMarginLeft;
    job.marginRightCm = PrintMarginRight;
    job.marginTopCm = PrintMarginTop;
    job.marginBottomCm = PrintMarginBottom;
    job.marginWidthPx = marginWidthPx_;
    job.fromPage = fromPage;
    job.toPage = toPage;
    job.header = OnPrintHeader;
    job.footer = OnPrintFooter;
    return PrintDocument(doc_, printer, job) > 0;
}

bool TRtfViewer::Print(int fromPage, int toPage) {
    return Print(CurrentPrinter(), fromPage, toPage);
}

// --- Properties -----------------------------------------------------------

void TRtfViewer::SetViewImages(bool view) {
    if (processing_ || view == doc_.Settings.ViewImages) return;
    doc_.Settings.ViewImages = view;
    Relayout();
}

void TRtfViewer::SetDefBackground(const QColor& colour) {
    background_ = colour;
    doc_.Settings.BackgroundColor = toTColor(colour);
    updateFrameColour();
    viewport()->update();
}

void TRtfViewer::SetBorderStyle(TBorderStyle style) {
    border_ = style;
    updateFrameColour();
}

void TRtfViewer::SetHistoryMaxCount(int count) {
    if (count < 0) return;
    const bool lower = count < historyMax_;
    historyMax_ = count;
    if (lower && !history_.empty()) {
        history_.clear();
        if (OnHistoryChange) OnHistoryChange();
    }
}

void TRtfViewer::SetDefFontName(const std::string& name) {
    doc_.Settings.DefFontName = name;
    Relayout();
}

void TRtfViewer::SetDefFontSize(int size) {
    size = std::max(6, size);
    if (size == doc_.Settings.DefFontSize) return;
    doc_.Settings.DefFontSize = size;
    Relayout();
}

void TRtfViewer::SetNoSelect(bool noSelect) {
    noSelect_ = noSelect;
    if (noSelect) {
        doc_.SelFirst = doc_.SelLast = 0;
        viewport()->update();
    }
}

void TRtfViewer::SetMarginHeight(int px) {
    if (px < 0 || px > 50 || processing_) return;
    marginHeightPx_ = px;
    Relayout();
}

void TRtfViewer::SetMarginWidth(int px) {
    if (px < 0 || px > 50 || processing_) return;
    marginWidthPx_ = px;
    Relayout();
}

void TRtfViewer::SetServerRoot(std::string root) {
    if (!root.empty() && root.back() == '\\') root.pop_back();
    serverRoot_ = std::move(root);
}

} // namespace kvelo
