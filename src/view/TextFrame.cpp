#include "TextFrame.h"

#include "RtfStandIn.h"
#include "gui/QtText.h"
#include "platform/Streams.h"

#include <QMenu>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kvelo {
namespace {

// Reads at most this much of a body into the stand-in.
constexpr int64_t kMaxBodyBytes = 64 * 1024 * 1024;

std::string readAll(TStream& stream) {
    stream.SetPosition(0);
    const int64_t size = std::min(stream.Size(), kMaxBodyBytes);
    std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

class StandInFactory : public IFrameFactory {
public:
    std::unique_ptr<TViewerFrame> CreateFrame(FrameClass frameClass, QWidget* parent) override {
        return std::make_unique<TTextFrame>(frameClass, parent);
    }
};

} // namespace

IFrameFactory& DefaultFrameFactory() {
    static StandInFactory factory;
    return factory;
}

TTextFrame::TTextFrame(FrameClass frameClass, QWidget* parent)
    : TViewerFrame(frameClass, parent), browser_(new QTextBrowser(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenLinks(false);
    browser_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // A link naming only a bookmark refers to the document on screen.
        QString target = url.toString(QUrl::None);
        if (target.startsWith(QLatin1Char('#'))) target.prepend(FromCp1251(name_));
        emit LinkActivated(target);
    });
    connect(browser_, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            [this](const QUrl& url) { hoveredLink_ = ToCp1251(url.toString(QUrl::None)); });
    connect(browser_, &QWidget::customContextMenuRequested, this, &TTextFrame::showContextMenu);
    connect(browser_, &QTextBrowser::selectionChanged, this, &TTextFrame::changed);
}

void TTextFrame::changed() {
    if (onChange_) onChange_();
}

void TTextFrame::showContextMenu(const QPoint& pos) {
    hoveredLink_ = ToCp1251(browser_->anchorAt(pos));
    if (popup_) popup_->popup(browser_->mapToGlobal(pos));
}

std::string TTextFrame::GetCurrentLink() {
    return hoveredLink_;
}

int TTextFrame::GetSelLength() {
    const QTextCursor c = browser_->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

std::string TTextFrame::GetSelText() {
    return ToCp1251(browser_->textCursor().selectedText());
}

int TTextFrame::GetScrollPos() {
    return browser_->verticalScrollBar()->value();
}

QWidget* TTextFrame::GetControl() {
    return browser_;
}

void TTextFrame::SetSelLength(int length) {
    if (length != 0) return;
    QTextCursor c = browser_->textCursor();
    c.clearSelection();
    browser_->setTextCursor(c);
}

void TTextFrame::SetFontSize(int size) {
    fontSize_ = size;
    QFont font = browser_->font();
    if (size > 0) font.setPointSize(size);
    browser_->document()->setDefaultFont(font);
}

void TTextFrame::SetScrollPos(int position) {
    browser_->verticalScrollBar()->setValue(position);
}

void TTextFrame::SelectAll() {
    browser_->selectAll();
}

void TTextFrame::LoadDocument(const std::string& name, TStream& body) {
    name_ = name;
    body_ = readAll(body);
    hoveredLink_.clear();
    browser_->setHtml(StandInHtml(body_));
}

void TTextFrame::GotoBookmark(const std::string& name) {
    browser_->scrollToAnchor(FromCp1251(name));
}

void TTextFrame::GetSelFont(QFont& font) {
    font = browser_->currentFont();
}

bool TTextFrame::FindText(const std::string& text, bool matchCase) {
    const auto flags = matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
    return browser_->find(FromCp1251(text), flags);
}

void TTextFrame::SaveToStream(TStream& stream, bool, bool selectionOnly, bool) {
    const std::string bytes = selectionOnly ? GetSelText() : body_;
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TTextFrame::LoadFromStream(TStream& stream) {
    body_ = readAll(stream);
    browser_->setHtml(StandInHtml(body_));
}

} // namespace kvelo
