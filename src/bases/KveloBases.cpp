#include "bases/KveloBases.h"

#include "bases/NodeKinds.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

namespace kvelo {

TKveloBases::TKveloBases() : TKveloBase(TDocInfo::New) {}

TKveloBases::TKveloBases(TTreeNode* root) : TKveloBase(TDocInfo::New) {
    AttachRoot(root);
}

TKveloBases::~TKveloBases() {
    current_ = nullptr;
    for (auto& member : members_)
        member.reset();
}

TKveloBase* TKveloBases::AddBase(std::unique_ptr<TKveloBase> base) {
    members_.push_back(std::move(base));
    return members_.back().get();
}

TKveloBase* TKveloBases::FindOwner(TTreeNode* node, int32_t docId) {
    for (TTreeNode* n = node; n; n = n->Parent()) {
        for (auto& member : members_)
            if (member->RootNode() == n) return member.get();
    }
    if (docId != -1) {
        for (auto& member : members_)
            if (member->SelectDoc(docId)) return member.get();
    }
    return nullptr;
}

TTreeNode* TKveloBases::CreateRoot(TTreeNode* parent) {
    parent->SetText(kvLoadStr("kvlBase"));
    parent->SetImageIndex(image::CatalogueRoot);
    parent->SetSelectedIndex(image::CatalogueRoot);
    return parent;
}

// --- forwarded to Current -----------------------------------------------------

std::string TKveloBases::GetTitle() {
    return current_ ? current_->GetTitle() : std::string();
}
TDateTime TKveloBases::GetDate() {
    return current_ ? current_->GetDate() : 0;
}
std::string TKveloBases::GetComment() {
    return current_ ? current_->GetComment() : std::string();
}
TDateTime TKveloBases::GetChangeDate() {
    return current_ ? current_->GetChangeDate() : 0;
}
bool TKveloBases::IsExcluded() {
    return current_ && current_->IsExcluded();
}
bool TKveloBases::IsRichViewBody() {
    return current_ && current_->IsRichViewBody();
}

std::string TKveloBases::GetSourceType() {
    return current_ ? current_->GetSourceType() : std::string();
}

std::unique_ptr<TStream> TKveloBases::GetDocStream() {
    return current_ ? current_->GetDocStream() : nullptr;
}

void TKveloBases::SetDocStream(TStream& stream) {
    if (current_) current_->SetDocStream(stream);
}

std::unique_ptr<TStream> TKveloBases::GetAttachStream() {
    return current_ ? current_->GetAttachStream() : nullptr;
}

// --- fanned out to every member -----------------------------------------------

void TKveloBases::ListOrgans(TCodeNameList& names) {
    ForEachMember([&](TKveloBase& b) { b.ListOrgans(names); });
}
void TKveloBases::ListDocTypes(TCodeNameList& names) {
    ForEachMember([&](TKveloBase& b) { b.ListDocTypes(names); });
}
void TKveloBases::FindByNumber(const std::string& text, TIdList& ids) {
    ForEachMember([&](TKveloBase& b) { b.FindByNumber(text, ids); });
}
void TKveloBases::FindByDate(TIdList& ids, TDateTime from, TDateTime to) {
    ForEachMember([&](TKveloBase& b) { b.FindByDate(ids, from, to); });
}
void TKveloBases::FindByOrgan(int32_t code, TIdList& ids) {
    ForEachMember([&](TKveloBase& b) { b.FindByOrgan(code, ids); });
}
void TKveloBases::FindTitleWords(const std::string& text, TIdList& ids, bool whole) {
    ForEachMember([&](TKveloBase& b) { b.FindTitleWords(text, ids, whole); });
}
void TKveloBases::FindTextWords(const std::string& text, TIdList& ids, bool whole) {
    ForEachMember([&](TKveloBase& b) { b.FindTextWords(text, ids, whole); });
}
void TKveloBases::ListExcluded(TIdList& ids) {
    ForEachMember([&](TKveloBase& b) { b.ListExcluded(ids); });
}
void TKveloBases::ListAllDocs(TIdList& ids) {
    ForEachMember([&](TKveloBase& b) { b.ListAllDocs(ids); });
}
void TKveloBases::FindByRegNumber(const std::string& text, TIdList& ids) {
    ForEachMember([&](TKveloBase& b) { b.FindByRegNumber(text, ids); });
}
void TKveloBases::AddNameTo(TBaseNameList& names) {
    ForEachMember([&](TKveloBase& b) { b.AddNameTo(names); });
}

// The one fan-out that runs last to first.
void TKveloBases::FindByType(int32_t code, TIdList& ids) {
    for (auto it = members_.rbegin(); it != members_.rend(); ++it)
        (*it)->FindByType(code, ids);
}

// --- asked of the node's owner ------------------------------------------------

void TKveloBases::ExpandNode(TTreeNode* node) {
    if (TKveloBase* owner = FindOwner(node, -1)) owner->ExpandNode(node);
}

int32_t TKveloBases::GetNodeDocId(TTreeNode* node) {
    TKveloBase* owner = FindOwner(node, -1);
    return owner ? owner->GetNodeDocId(node) : 0;
}

int32_t TKveloBases::GetShortcutTarget(TTreeNode* node) {
    TKveloBase* owner = FindOwner(node, -1);
    return owner ? owner->GetShortcutTarget(node) : 0;
}

// --- own ----------------------------------------------------------------------

bool TKveloBases::SelectDoc(int32_t docId) {
    if (current_ && current_->GetCurrentId() == docId) return true;
    for (auto& member : members_) {
        if (member->SelectDoc(docId)) {
            current_ = member.get();
            currentId_ = docId;
            return true;
        }
    }
    return false;
}

TTreeNode* TKveloBases::LocateNode(int32_t docId) {
    if (!SelectDoc(docId)) return nullptr;
    return current_->LocateNode(docId);
}

int32_t GetNum(TKveloBases& catalogue, TTreeNode* node) {
    return catalogue.GetNodeDocId(node);
}

} // namespace kvelo
