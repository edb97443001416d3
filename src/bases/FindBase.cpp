#include "bases/FindBase.h"

#include "bases/NodeKinds.h"
#include "platform/TreeNodes.h"
#include "settings/Settings.h"

namespace kvelo {
namespace {

TTreeNode* NewSearchRoot(TTreeNodes& tree) {
    TTreeNode* root = tree.AddChild(nullptr, kvLoadStr("resFind"));
    root->SetImageIndex(image::SearchRoot);
    root->SetSelectedIndex(image::SearchRoot);
    root->SetObject(TDocInfo::New());
    return root;
}

} // namespace

TFindBase::TFindBase(TTreeNodes& tree) : TKveloBase(TDocInfo::New) {
    AttachRoot(NewSearchRoot(tree));
}

TTreeNode* TFindBase::CreateRoot(TTreeNode* parent) {
    return parent;
}

} // namespace kvelo
