#include "bases/KveloBase.h"

#include "bases/BaseErrors.h"
#include "bases/NodeKinds.h"
#include "bases/UserPrompts.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

namespace kvelo {

TKveloBase::TKveloBase(RecordClass recordClass) : recordClass_(recordClass) {}

TKveloBase::~TKveloBase() = default;

void TKveloBase::AttachRoot(TTreeNode* parent) {
    rootNode_ = CreateRoot(parent);
    if (TDocInfo* record = NodeRecord(rootNode_)) record->Base = this;
}

void TKveloBase::ShowMessage(const char* key) {
    if (prompts_) prompts_->ShowMessage(key, MessageIcon::Information);
}

// --- do-nothing defaults ------------------------------------------------------

std::string TKveloBase::GetTitle() {
    return {};
}
int32_t TKveloBase::GetCurrentId() {
    return currentId_;
}
TDateTime TKveloBase::GetDate() {
    return 0;
}
int32_t TKveloBase::NewDocId() {
    return 0;
}
bool TKveloBase::EditDocument(TTreeNode*, int32_t) {
    return false;
}
TDateTime TKveloBase::GetBaseDate() {
    return 0;
}
int32_t TKveloBase::GetDocCount() {
    return 0;
}
uint8_t TKveloBase::GetLanguage() {
    return 0;
}
std::string TKveloBase::GetComment() {
    return {};
}
TDateTime TKveloBase::GetChangeDate() {
    return 0;
}
bool TKveloBase::IsExcluded() {
    return false;
}
int32_t TKveloBase::GetRecordCount() {
    return 0;
}
std::string TKveloBase::GetSourceType() {
    return {};
}
std::unique_ptr<TStream> TKveloBase::GetDocStream() {
    return nullptr;
}
bool TKveloBase::IsRichViewBody() {
    return false;
}
void TKveloBase::SaveTree(TTreeNode*) {}
TTreeNode* TKveloBase::CreateRoot(TTreeNode*) {
    return nullptr;
}
void TKveloBase::ListOrgans(TCodeNameList&) {}
void TKveloBase::ListDocTypes(TCodeNameList&) {}
void TKveloBase::OpenDocFile() {}
void TKveloBase::SetDocStream(TStream&) {}
bool TKveloBase::CanEdit() {
    return editable_;
}
bool TKveloBase::SelectDoc(int32_t) {
    return false;
}
void TKveloBase::CreateShortcut(TTreeNode*, TTreeNode*) {}
void TKveloBase::FindByNumber(const std::string&, TIdList&) {}
void TKveloBase::FindByDate(TIdList&, TDateTime, TDateTime) {}
void TKveloBase::FindByType(int32_t, TIdList&) {}
void TKveloBase::FindByOrgan(int32_t, TIdList&) {}
void TKveloBase::FindTitleWords(const std::string&, TIdList&, bool) {}
void TKveloBase::FindTextWords(const std::string&, TIdList&, bool) {}
void TKveloBase::ListExcluded(TIdList&) {}
void TKveloBase::ListAllDocs(TIdList&) {}
void TKveloBase::FindByRegNumber(const std::string&, TIdList&) {}
void TKveloBase::LoadArchive(TTreeNode*) {}
void TKveloBase::ExpandNode(TTreeNode*) {}
TTreeNode* TKveloBase::LocateNode(int32_t docId) {
    return FindIdNode(docId);
}
int32_t TKveloBase::GetShortcutTarget(TTreeNode*) {
    return 0;
}
std::unique_ptr<TStream> TKveloBase::GetAttachStream() {
    return nullptr;
}

int32_t TKveloBase::GetNodeDocId(TTreeNode* node) {
    const TDocInfo* record = NodeRecord(node);
    return record ? record->DocId : 0;
}

void TKveloBase::AddNameTo(TBaseNameList& names) {
    if (rootNode_) names.push_back({rootNode_->Text(), this});
}

// --- non-virtual helpers ------------------------------------------------------

TTreeNode* TKveloBase::FindIdNode(int32_t docId) {
    if (!rootNode_) return nullptr;
    const int rootLevel = rootNode_->Level();
    for (TTreeNode* node = rootNode_->GetNext(); node && node->Level() > rootLevel;
         node = node->GetNext()) {
        const TDocInfo* record = NodeRecord(node);
        if (record && record->DocId == docId) return node;
    }
    return nullptr;
}

bool TKveloBase::EditAndSort(TTreeNode* node, int32_t mode) {
    const bool edited = EditDocument(node, mode);
    if (edited) {
        if (TTreeNode* parent = node->Parent())
            SortChildren(parent);
        else
            node->Owner().SortTopLevel(CompareNodes);
    }
    return edited;
}

// --- editing defaults ---------------------------------------------------------

namespace {

void ApplyFolderImages(TTreeNode* node, const FolderDialogState& state, bool editing) {
    int image = image::Folder, selected = image::FolderOpen;
    if (state.base) {
        image = selected = state.newspaper ? image::Newspaper : image::Base;
    } else if (state.hidden) {
        image = image::HiddenFolder, selected = image::HiddenFolderOpen;
    } else if (state.grey) {
        image = image::GreyFolder, selected = image::GreyFolderOpen;
    }
    node->SetImageIndex(image);
    node->SetSelectedIndex(selected);
    // Only a newspaper folder shows an edition overlay.
    node->SetOverlayIndex(state.base && state.newspaper ? state.edition : -1);
    if (editing && !state.base) node->SetStateIndex(state.stateIndex);
}

} // namespace

TTreeNode* TKveloBase::NewDocument(TTreeNode* node, int32_t mode) {
    if (!editable_) throw EBaseError("noEdit");
    TTreeNode* folder = node;
    if (!IsFolder(node)) {
        folder = node->Parent();
        if (folder && folder == node->Owner().GetFirstNode()) throw EBaseError("errCreateLevel");
    }
    TTreeNode* child = node->Owner().AddChild(folder, kvLoadStr("newDoc"));
    child->SetImageIndex(image::Document);
    child->SetSelectedIndex(image::Document);
    std::unique_ptr<TDocInfo> record = recordClass_();
    record->DocId = NewDocId();
    record->Mark = 0;
    child->SetObject(std::move(record));
    if (!EditAndSort(child, mode)) {
        child->Owner().Delete(child);
        return nullptr;
    }
    return child;
}

bool TKveloBase::DeleteNode(TTreeNode* node) {
    if (!editable_) {
        ShowMessage("noEdit");
        return false;
    }
    node->Owner().Delete(node);
    return true;
}

TTreeNode* TKveloBase::NewFolder(TTreeNode* node) {
    if (!editable_) return nullptr;
    FolderDialogState state;
    state.name = kvLoadStr("newFolder");
    if (!prompts_ || !prompts_->EditFolderDialog(state)) return nullptr;
    TTreeNode* child = node->Owner().AddChild(node, state.name);
    std::unique_ptr<TDocInfo> record = recordClass_();
    record->Sorted = state.sorted;
    child->SetObject(std::move(record));
    ApplyFolderImages(child, state, false);
    SortChildren(node);
    return child;
}

bool TKveloBase::EditFolder(TTreeNode* node) {
    if (!editable_) return false;
    TDocInfo* record = NodeRecord(node);
    FolderDialogState state;
    state.newspaper = node->ImageIndex() == image::Newspaper;
    state.edition = state.newspaper ? node->OverlayIndex() : 0;
    state.name = node->Text();
    state.base = IsBase(node);
    state.hidden = IsHide(node);
    state.grey = node->ImageIndex() == image::GreyFolder;
    state.stateIndex = node->StateIndex();
    state.sorted = record && record->Sorted;
    if (!prompts_ || !prompts_->EditFolderDialog(state)) return false;
    ApplyFolderImages(node, state, true);
    node->SetText(state.name);
    if (record) record->Sorted = state.sorted;
    return true;
}

void TKveloBase::MoveNode(TTreeNode* target, TTreeNode* moved, bool insert) {
    if (!editable_) {
        ShowMessage("noEdit");
        return;
    }
    if (&target->Owner() != &moved->Owner()) return;
    if (insert) {
        target->Owner().Move(moved, target, NodeAttachMode::Insert);
    } else if (target->Owner().Move(moved, target, NodeAttachMode::AddChild)) {
        SortChildren(target);
    }
}

// --- sort order ---------------------------------------------------------------

namespace {

int CompText(const TTreeNode* a, const TTreeNode* b) {
    const int c = a->Text().compare(b->Text());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

TDateTime NodeDate(const TTreeNode* node) {
    const TDocInfo* record = NodeRecord(node);
    return record ? record->Date : 0;
}

} // namespace

int CompareNodes(const TTreeNode* a, const TTreeNode* b) {
    const bool aFolder = IsFolder(a), bFolder = IsFolder(b);
    if (aFolder && !bFolder) return -1;
    if (bFolder && !aFolder) return 1;
    if (!aFolder) {
        const TDateTime da = NodeDate(a), db = NodeDate(b);
        if (da > db) return -1;
        if (da < db) return 1;
        return CompText(a, b);
    }
    if (a->ImageIndex() == image::Newspaper && b->ImageIndex() == image::Newspaper)
        return -CompText(a, b);
    return CompText(a, b);
}

void SortChildren(TTreeNode* node) {
    node->CustomSort(CompareNodes);
}

} // namespace kvelo
