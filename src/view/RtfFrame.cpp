#include "RtfFrame.h"

#include "bases/BodyKind.h"
#include "gui/QtText.h"
#include "platform/Streams.h"
#include "rtfengine/viewer/RtfViewer.h"
#include "settings/Settings.h"

#include <QFont>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

namespace kvelo {
namespace {

// A body shown as the localized "noRichView" line.
std::unique_ptr<TStream> noticeBody() {
    auto body = std::make_unique<TMemoryStream>();
    body->WriteBytes(kvLoadStr("noRichView"));
    body->SetPosition(0);
    return body;
}

uint8_t styleOf(const QFont& font) {
    uint8_t style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    return style;
}

} // namespace

TRtfFrame::TRtfFrame(QWidget* parent, FrameClass frameClass)
    : TViewerFrame(frameClass, parent), viewer_(new TRtfViewer(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(viewer_);
    viewer_->setObjectName(QStringLiteral("Viewer"));
    viewer_->SetDefBackground(palette().color(QPalette::Base));
    viewer_->SetBorderStyle(TBorderStyle::bsFocused);
    viewer_->SetHistoryMaxCount(30);
    viewer_->PrintMarginLeft = 2;
    viewer_->PrintMarginTop = 2;
    viewer_->PrintMarginBottom = 2;
    viewer_->SetMarginWidth(20);
    viewer_->OnProcessing = [this](bool) { changed(); };
    viewer_->OnMouseUp = [this] { changed(); };
    viewer_->OnGetStream = [this](const std::string& file, const std::string& bookmark) {
        return supplyStream(file, bookmark);
    };
    viewer_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(viewer_, &QWidget::customContextMenuRequested, this, &TRtfFrame::showContextMenu);
}

void TRtfFrame::changed() {
    if (onChange_) onChange_();
}

void TRtfFrame::showContextMenu(const QPoint& pos) {
    if (popup_) popup_->popup(viewer_->mapToGlobal(pos));
}

TStream* TRtfFrame::supplyStream(const std::string& fileName, const std::string& bookmark) {
    if (pendingStream_) {
        TStream* body = pendingStream_;
        pendingStream_ = nullptr;
        return body;
    }
    // A clicked link: the window navigates once the click is over.
    pendingName_ = fileName;
    pendingBookmark_ = bookmark;
    QMetaObject::invokeMethod(this, &TRtfFrame::navigatePending, Qt::QueuedConnection);
    throw EAbort();
}

void TRtfFrame::navigatePending() {
    std::string address = pendingName_;
    if (!pendingBookmark_.empty()) address += "#" + pendingBookmark_;
    emit LinkActivated(FromCp1251(address));
}

void TRtfFrame::LoadDocument(const std::string& name, TStream& body) {
    std::unique_ptr<TStream> notice;
    TStream* shown = &body;
    if (Class() == FrameClass::RichView && shFormatFromStream(&body) != ".rtf") {
        notice = noticeBody();
        shown = notice.get();
    }
    pendingStream_ = shown;
    struct Clear {
        TStream*& pending;
        ~Clear() { pending = nullptr; }
    } clear{pendingStream_};
    viewer_->LoadFromFile(name);
}

std::string TRtfFrame::GetCurrentLink() {
    return viewer_->CurrentUrl();
}

int TRtfFrame::GetSelLength() {
    return viewer_->SelLength();
}

int TRtfFrame::GetFontSize() {
    return viewer_->DefFontSize();
}

std::string TRtfFrame::GetSelText() {
    return viewer_->SelText();
}

std::string TRtfFrame::GetSelLink() {
    const TFontObj* run = viewer_->ApplyToSelection(4).run;
    return run ? run->LinkTarget : std::string();
}

int TRtfFrame::GetScrollPos() {
    return viewer_->VScrollPosition();
}

QWidget* TRtfFrame::GetControl() {
    return viewer_;
}

void TRtfFrame::SetSelLength(int length) {
    viewer_->SetSelLength(length);
}

void TRtfFrame::SetFontSize(int size) {
    viewer_->SetDefFontSize(size);
}

void TRtfFrame::SetScrollPos(int position) {
    viewer_->SetVScrollPosition(position);
}

void TRtfFrame::SelectAll() {
    viewer_->SelectAll();
}

void TRtfFrame::GotoBookmark(const std::string& name) {
    std::string bookmark = name.rfind("bm_", 0) == 0 ? name.substr(3) : name;
    std::replace(bookmark.begin(), bookmark.end(), '_', ' ');
    viewer_->GoToBookmark(bookmark);
}

void TRtfFrame::ApplyFont(const QFont& font) {
    const TFontObj* current = viewer_->ApplyToSelection(4).run;
    if (!current) return;
    TFontObj run = *current;
    run.Font.Name = ToCp1251(font.family());
    run.Font.SizeHalfPoints = std::max(1, font.pointSize()) * 2;
    run.Font.Style = styleOf(font);
    TFontTable& table = viewer_->FontTable();
    run.Font.FontTableIndex = -1;
    for (size_t i = 0; i < table.Count(); ++i)
        if (table[i].Font.Name == run.Font.Name && table[i].Font.Charset == run.Font.Charset) {
            run.Font.FontTableIndex = static_cast<int32_t>(i);
            break;
        }
    if (run.Font.FontTableIndex < 0) {
        run.Font.FontTableIndex = table.Add("");
        table[run.Font.FontTableIndex].Font.Name = run.Font.Name;
        table[run.Font.FontTableIndex].Font.Charset = run.Font.Charset;
    }
    viewer_->ApplyToSelection(3, 0, &run);
    viewer_->Relayout();
}

void TRtfFrame::GetSelFont(QFont& font) {
    const TFontObj* run = viewer_->ApplyToSelection(4).run;
    if (!run) return;
    font.setFamily(FromCp1251(run->Font.Name));
    font.setPointSize(std::max(1, run->Font.SizeHalfPoints / 2));
    font.setBold(run->Font.Bold());
    font.setItalic(run->Font.Italic());
    font.setUnderline(run->Font.Underline());
    font.setStrikeOut(run->Font.Style & fsStrikeOut);
}

void TRtfFrame::Print(int fromPage, int toPage) {
    viewer_->Print(fromPage, toPage);
}

void TRtfFrame::PrintSelection() {
    TRtfViewer second(this);
    second.hide();
    second.SetDefFontSize(viewer_->DefFontSize());
    second.PrintMarginLeft = viewer_->PrintMarginLeft;
    second.PrintMarginRight = viewer_->PrintMarginRight;
    second.PrintMarginTop = viewer_->PrintMarginTop;
    second.PrintMarginBottom = viewer_->PrintMarginBottom;
    second.SetMarginHeight(viewer_->MarginHeight());
    second.SetMarginWidth(viewer_->MarginWidth());
    second.SetViewImages(true);
    TMemoryStream rtf;
    viewer_->WriteRtf(rtf, true, true);
    rtf.SetPosition(0);
    second.LoadFromStream(rtf);
    second.Print(1, 9999);
}

void TRtfFrame::SetAlignment(int alignment) {
    viewer_->ApplyToSelection(6, alignment);
    viewer_->Relayout();
}

bool TRtfFrame::FindText(const std::string& text, bool matchCase) {
    return viewer_->FindText(text, matchCase);
}

void TRtfFrame::GetBookmarks(std::vector<std::string>& names) {
    for (const auto& entry : viewer_->BookmarkList().Entries())
        names.push_back(entry.first);
}

void TRtfFrame::AddBookmark(const std::string& name) {
    TSection* paragraph = viewer_->ApplyToSelection(5).paragraph;
    viewer_->BookmarkList().Add(name, paragraph);
}

void TRtfFrame::DeleteBookmark(const std::string& name) {
    viewer_->BookmarkList().Remove(name);
}

void TRtfFrame::SetLink(const std::string& target) {
    const TFontObj* current = viewer_->ApplyToSelection(4).run;
    if (!current) return;
    TFontObj run = *current;
    run.LinkTarget = target;
    if (target.empty()) {
        // Removing a link gives the text back its plain look.
        run.Font.Style &= static_cast<uint8_t>(~fsUnderline);
        run.Font.Color = viewer_->Document().Settings.FontColor;
    } else {
        run.Font.Style |= fsUnderline;
        run.Font.Color = RgbColor(0, 0, 255);
    }
    viewer_->ApplyToSelection(3, 0, &run);
    viewer_->Relayout();
}

bool TRtfFrame::CanSetLink() {
    return viewer_->SelLength() > 0;
}

void TRtfFrame::SaveToStream(TStream& stream, bool native, bool selectionOnly, bool) {
    viewer_->WriteRtf(stream, native, selectionOnly);
}

void TRtfFrame::LoadFromStream(TStream& stream) {
    viewer_->LoadFromStream(stream);
}

} // namespace kvelo
