#include "FrmView.h"

#include "Address.h"
#include "FolderListing.h"
#include "FrmComment.h"
#include "ViewHost.h"
#include "bases/BodyKind.h"
#include "bases/KveloBases.h"
#include "bases/NodeKinds.h"
#include "gui/QtText.h"
#include "platform/Streams.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QMenu>
#include <QVBoxLayout>

namespace kvelo {
namespace {

// Captions at this length were cut by the tree; the catalogue has the full title.
constexpr size_t kTreeCaptionLimit = 255;

std::unique_ptr<TStream> textBody(const std::string& text) {
    auto body = std::make_unique<TMemoryStream>();
    body->WriteBytes(text);
    body->SetPosition(0);
    return body;
}

FrameClass frameClassFor(TStream* body, bool forceRichView) {
    const std::string kind = shFormatFromStream(body);
    if (IsGraphicFormat(kind)) return FrameClass::Graphic;
    if (forceRichView || kind == ".rvf") return FrameClass::RichView;
    return FrameClass::Rtf;
}

} // namespace

TFrmView::TFrmView(TKveloBases& catalogue, IViewHost& host, IFrameFactory& frames, QWidget* parent)
    : QWidget(parent), TNForm(this), catalogue_(catalogue), host_(host), frames_(frames),
      history_(*this) {
    setObjectName(QStringLiteral("FrmView"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    createPopup();
    fontSize_ = AppSettings().DefaultFontSize;
    SelectFrame(nullptr, false);
    Localize();
}

TFrmView::~TFrmView() = default;

QAction* TFrmView::addPopupItem(const char* name, const QString& caption, int tag) {
    QAction* action = popup_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, tag] { DoClick(tag); });
    return action;
}

void TFrmView::createPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    popup_->setDefaultAction(addPopupItem("NOpen", QStringLiteral("Открыть"), 1));
    addPopupItem("NNewOpen", QStringLiteral("Открыть в новом окне"), 2);
    popup_->addSeparator();
    addPopupItem("NSelAll", QStringLiteral("Выделить все"), 3);
    addPopupItem("NNoSel", QStringLiteral("Снять выделение"), 4);
    addPopupItem("NCopy", QStringLiteral("Копировать"), 5);
    popup_->addSeparator();
    addPopupItem("NPaste", QStringLiteral("Вставить документ из буфера обмена"), 6);
    // Never offered here: paste with a link, and the two import commands.
    for (const char* hidden : {"NPastePer", "NImpGroup", "NImport"})
        addPopupItem(hidden, QString::fromLatin1(hidden), 7)->setVisible(false);
    connect(popup_, &QMenu::aboutToShow, this, &TFrmView::DoPopUp);
}

void TFrmView::DoPopUp() {
    const bool link = !DocViewer().GetCurrentLink().empty();
    popup_->findChild<QAction*>(QStringLiteral("NOpen"))->setEnabled(link);
    popup_->findChild<QAction*>(QStringLiteral("NNewOpen"))->setEnabled(link);
    popup_->findChild<QAction*>(QStringLiteral("NNoSel"))
        ->setEnabled(DocViewer().GetSelLength() != 0);
    popup_->findChild<QAction*>(QStringLiteral("NCopy"))->setEnabled(host_.CopyEnabled());
    popup_->findChild<QAction*>(QStringLiteral("NPaste"))->setEnabled(host_.PasteEnabled());
}

std::string TFrmView::linkTarget() {
    std::string link = DocViewer().GetCurrentLink();
    if (!link.empty() && link[0] == '#') link = address_ + link;
    return link;
}

void TFrmView::DoClick(int tag) {
    switch (tag) {
    case 1:
        Navigate(linkTarget(), true);
        break;
    case 2:
        if (TFrmView* view = host_.OpenNewWindow()) view->Navigate(linkTarget(), true);
        break;
    case 3:
        DocViewer().SelectAll();
        break;
    case 4:
        DocViewer().SetSelLength(0);
        break;
    case 5:
        host_.CopyToClipboard();
        break;
    case 6:
        host_.PasteFromClipboard();
        break;
    default:
        break;
    }
    host_.UpdateCommands();
}

void TFrmView::SelectFrame(TStream* body, bool forceRichView) {
    const FrameClass wanted = frameClassFor(body, forceRichView);
    if (frame_ && frame_->Class() == wanted) return;
    std::unique_ptr<TViewerFrame> frame = frames_.CreateFrame(wanted, this);
    layout()->addWidget(frame.get());
    frame->show();
    connect(
        frame.get(), &TViewerFrame::LinkActivated, this,
        [this](const QString& target) { host_.NavigateActive(ToCp1251(target)); },
        Qt::QueuedConnection);
    std::swap(frame_, frame);
    frame_->update();
    frame.reset();
    DocViewer().SetPopupMenu(popup_);
    DocViewer().SetOnChange([this] { host_.UpdateCommands(); });
}

void TFrmView::askToSave() {
    if (host_.AskSaveChanges()) host_.SaveDocument();
}

void TFrmView::Navigate(const std::string& address, bool addToHistory) {
    loadedFromBase_ = false;
    if (IsModified()) askToSave();
    const DocumentAddress parts = SplitAddress(address);
    SetModified(false);
    if (addToHistory) history_.Add(address_, title_, DocViewer().GetScrollPos());
    if (parts.document != address_) {
        std::unique_ptr<TStream> body;
        try {
            body = resolve(parts.document);
        } catch (const std::exception&) {
            body.reset();
        }
        if (!body) {
            tag_ = 0;
            loadedFromBase_ = false;
            body = textBody(kvLoadStr("noDocument"));
            SelectFrame(body.get(), false);
        }
        address_ = parts.document;
        loadIntoFrame(parts.document, *body);
        DocViewer().SetFontSize(fontSize_);
        ViewerChange();
    }
    if (!parts.bookmark.empty())
        DocViewer().GotoBookmark(parts.bookmark);
    else
        DocViewer().SetScrollPos(0);
    const TFrmComment* note = TFrmComment::Existing();
    if (!note || note->isHidden()) FocusViewer();
    host_.UpdateCommands();
}

// A body the frame cannot read shows "noDocument" instead; nothing escapes.
void TFrmView::loadIntoFrame(const std::string& document, TStream& body) {
    try {
        DocViewer().LoadDocument(document, body);
        return;
    } catch (const std::exception&) {
        loadedFromBase_ = false;
    }
    std::unique_ptr<TStream> notice = textBody(kvLoadStr("noDocument"));
    SelectFrame(notice.get(), false);
    try {
        DocViewer().LoadDocument(document, *notice);
    } catch (const std::exception&) {
        // Plain text always reads; a frame that still fails stays empty.
    }
}

std::unique_ptr<TStream> TFrmView::resolve(const std::string& document) {
    const std::string name = FileNamePart(document);
    if (!name.empty() && name[0] == 'P') {
        const std::optional<int> handle = ParseDecimal(name.substr(1));
        return handle ? openNode(*handle) : nullptr;
    }
    const std::optional<int> id = ParseDecimal(name);
    if (!id) return nullptr;
    std::unique_ptr<TStream> body = LoadDoc(*id);
    title_ = loadedFromBase_ ? catalogue_.GetTitle() : std::string();
    setWindowTitle(FromCp1251(title_));
    return body;
}

std::unique_ptr<TStream> TFrmView::openNode(int handle) {
    TTreeNode* node = TTreeNode::FromHandle(handle);
    if (!node) return nullptr;
    setWindowTitle(FromCp1251(node->Text()));
    tag_ = catalogue_.GetNodeDocId(node);
    std::unique_ptr<TStream> body = IsDocument(node) ? LoadDoc(tag_) : LoadFolder(node);
    title_ = node->Text();
    return body;
}

std::unique_ptr<TStream> TFrmView::LoadDoc(int id) {
    std::unique_ptr<TStream> body;
    const bool selected = catalogue_.SelectDoc(id);
    if (selected) body = catalogue_.GetDocStream();
    base_ = selected ? catalogue_.Current() : nullptr;
    if (!body || body->Size() == 0) body = textBody(kvLoadStr("noDocument"));
    SelectFrame(body.get(), selected && catalogue_.IsRichViewBody());
    tag_ = id;
    loadedFromBase_ = selected;
    return body;
}

std::string TFrmView::listingTitle(TTreeNode* child) {
    if (!IsDocument(child) || child->Text().size() != kTreeCaptionLimit) return child->Text();
    if (!catalogue_.SelectDoc(catalogue_.GetNodeDocId(child))) return child->Text();
    return catalogue_.GetTitle();
}

std::unique_ptr<TStream> TFrmView::LoadFolder(TTreeNode* node) {
    catalogue_.ExpandNode(node);
    std::vector<FolderEntry> entries;
    for (int i = 0; i < node->Count(); ++i)
        entries.push_back({node->Item(i)->Handle(), listingTitle(node->Item(i))});
    std::unique_ptr<TStream> body = textBody(FolderListingRtf(entries));
    SelectFrame(body.get(), false);
    tag_ = 0;
    base_ = nullptr;
    return body;
}

void TFrmView::ViewerChange() {
    TFrmComment::Shared();
    sourceType_.clear();
    host_.SetExcelEnabled(false);
    if (loadedFromBase_) {
        showNote();
        sourceType_ = catalogue_.GetSourceType();
        if (sourceType_ == "xls") host_.SetExcelEnabled(true);
    }
    host_.WindowChanged(*this);
    host_.UpdateCommands();
}

void TFrmView::showNote() {
    const std::string note = catalogue_.GetComment();
    if (note.rfind("NB", 0) == 0)
        TFrmComment::Shared().ShowText(note, TFrmComment::Kind::Note);
    else if (catalogue_.IsExcluded())
        TFrmComment::Shared().ShowText(kvLoadStr("docExcl"), TFrmComment::Kind::Warning);
}

bool TFrmView::IsModified() {
    if (modified_) return true;
    IEditableViewer* editable = frame_->Editable();
    return editable && editable->GetModified();
}

void TFrmView::SetModified(bool modified) {
    modified_ = modified;
    if (IEditableViewer* editable = frame_->Editable()) editable->SetModified(modified);
}

void TFrmView::ApplyFontSize(int size) {
    if (size == fontSize_) return;
    fontSize_ = size;
    DocViewer().SetFontSize(size);
}

void TFrmView::FocusViewer() {
    if (QWidget* control = DocViewer().GetControl()) control->setFocus();
}

void TFrmView::Activated() {
    if (TFrmComment* note = TFrmComment::Existing()) note->hide();
    host_.WindowActivated(*this);
}

void TFrmView::closeEvent(QCloseEvent* event) {
    if (IsModified()) askToSave();
    host_.WindowClosed(*this);
    event->accept();
}

} // namespace kvelo
