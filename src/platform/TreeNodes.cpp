#include "TreeNodes.h"

#include <algorithm>
#include <unordered_map>

namespace kvelo {
namespace {

// Live nodes by handle. All tree code runs on one thread.
std::unordered_map<int, TTreeNode*>& handleRegistry() {
    static std::unordered_map<int, TTreeNode*> registry;
    return registry;
}

int nextHandle() {
    static int counter = 0;
    return ++counter;
}

} // namespace

// --- TTreeNode ---------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text)
    : owner_(owner), parent_(parent), text_(std::move(text)), handle_(nextHandle()) {
    handleRegistry()[handle_] = this;
}

TTreeNode::~TTreeNode() {
    // Children go first so that their handles die before the parent's.
    children_.clear();
    handleRegistry().erase(handle_);
}

TTreeNode* TTreeNode::FromHandle(int handle) {
    const auto& registry = handleRegistry();
    const auto it = registry.find(handle);
    return it == registry.end() ? nullptr : it->second;
}

void TTreeNode::notifyChanged() {
    if (ITreeObserver* o = owner_->Observer()) o->nodeChanged(this);
}

void TTreeNode::SetText(std::string text) {
    text_ = std::move(text);
    notifyChanged();
}

void TTreeNode::SetImageIndex(int index) {
    imageIndex_ = index;
    notifyChanged();
}

void TTreeNode::SetSelectedIndex(int index) {
    selectedIndex_ = index;
    notifyChanged();
}

void TTreeNode::SetOverlayIndex(int index) {
    overlayIndex_ = index;
    notifyChanged();
}

void TTreeNode::SetStateIndex(int index) {
    stateIndex_ = index;
    notifyChanged();
}

TTreeNode* TTreeNode::Parent() const {
    return parent_ == owner_->root_.get() ? nullptr : parent_;
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return children_[static_cast<size_t>(index)].get();
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = Parent(); p; p = p->Parent())
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    return parent_ ? parent_->Item(index_ + 1) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    return parent_ ? parent_->Item(index_ - 1) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (HasChildren()) return GetFirstChild();
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* sibling = n->GetNextSibling()) return sibling;
    return nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const {
    for (const TTreeNode* p = Parent(); p; p = p->Parent())
        if (p == ancestor) return true;
    return false;
}

void TTreeNode::Expand(bool recursive) {
    if (!expanded_ && (!owner_->OnExpanding || owner_->OnExpanding(this)) && HasChildren()) {
        expanded_ = true;
        if (ITreeObserver* o = owner_->Observer()) o->nodeExpandedChanged(this);
    }
    if (recursive)
        for (int i = 0; i < Count(); ++i)
            Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool recursive) {
    if (expanded_ && (!owner_->OnCollapsing || owner_->OnCollapsing(this))) {
        expanded_ = false;
        if (ITreeObserver* o = owner_->Observer()) o->nodeExpandedChanged(this);
    }
    if (recursive)
        for (int i = 0; i < Count(); ++i)
            Item(i)->Collapse(true);
}

void TTreeNode::DeleteChildren() {
    while (HasChildren())
        owner_->Delete(GetLastChild());
    expanded_ = false;
}

void TTreeNode::CustomSort(const Compare& compare, bool recursive) {
    owner_->sortChildren(this, compare, recursive);
}

void TTreeNode::renumberChildren(int from) {
    for (int i = std::max(from, 0); i < Count(); ++i)
        children_[static_cast<size_t>(i)]->index_ = i;
}

// --- TTreeNodes --------------------------------------------------------------

TTreeNodes::TTreeNodes(std::string name)
    : name_(std::move(name)), root_(new TTreeNode(this, nullptr, {})) {}

TTreeNodes::~TTreeNodes() {
    observer_ = nullptr;
    root_.reset();
}

TTreeNode* TTreeNodes::insertAt(TTreeNode* parent, int index, std::string text) {
    TTreeNode* p = realParent(parent);
    index = std::clamp(index, 0, p->Count());
    if (ITreeObserver* o = Observer()) o->nodesAboutToBeInserted(parent, index, index);
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this, p, std::move(text)));
    TTreeNode* raw = node.get();
    p->children_.insert(p->children_.begin() + index, std::move(node));
    p->renumberChildren(index);
    ++count_;
    if (ITreeObserver* o = Observer()) o->nodesInserted();
    return raw;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string text) {
    return insertAt(parent, realParent(parent)->Count(), std::move(text));
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, std::string text, std::intptr_t data) {
    TTreeNode* node = AddChild(parent, std::move(text));
    node->data_ = data;
    return node;
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, std::string text) {
    return insertAt(parent, 0, std::move(text));
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, std::string text) {
    return AddChild(sibling ? sibling->Parent() : nullptr, std::move(text));
}

TTreeNode* TTreeNodes::Insert(TTreeNode* before, std::string text) {
    if (!before) return AddChild(nullptr, std::move(text));
    return insertAt(before->Parent(), before->Index(), std::move(text));
}

namespace {
int subtreeSize(const TTreeNode* node) {
    int n = 1;
    for (int i = 0; i < node->Count(); ++i)
        n += subtreeSize(node->Item(i));
    return n;
}
} // namespace

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || &node->Owner() != this || node == root_.get()) return;
    if (ITreeObserver* o = Observer()) o->nodeAboutToBeRemoved(node);
    TTreeNode* p = node->parent_;
    const int index = node->Index();
    count_ -= subtreeSize(node);
    auto owned = std::move(p->children_[static_cast<size_t>(index)]);
    p->children_.erase(p->children_.begin() + index);
    p->renumberChildren(index);
    if (p != root_.get() && !p->HasChildren()) p->expanded_ = false;
    owned.reset();
    if (ITreeObserver* o = Observer()) o->nodeRemoved();
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (root_->HasChildren())
        Delete(root_->GetLastChild());
    EndUpdate();
}

bool TTreeNodes::Move(TTreeNode* node, TTreeNode* target, NodeAttachMode mode) {
    if (!node || !target || &node->Owner() != this || &target->Owner() != this) return false;
    if (node == target || target->HasAsParent(node)) return false;
    TTreeNode* newParent =
        (mode == NodeAttachMode::AddChild || mode == NodeAttachMode::AddChildFirst)
            ? target
            : target->parent_;
    if (ITreeObserver* o = Observer()) o->childrenAboutToBeReordered();
    TTreeNode* oldParent = node->parent_;
    auto owned = std::move(oldParent->children_[static_cast<size_t>(node->Index())]);
    oldParent->children_.erase(oldParent->children_.begin() + node->Index());
    oldParent->renumberChildren(0);
    int index = 0;
    switch (mode) {
    case NodeAttachMode::AddChild:
        index = newParent->Count();
        break;
    case NodeAttachMode::AddChildFirst:
        index = 0;
        break;
    case NodeAttachMode::Add:
        index = newParent->Count();
        break;
    case NodeAttachMode::Insert:
        index = target->Index();
        break;
    }
    node->parent_ = newParent;
    newParent->children_.insert(newParent->children_.begin() + index, std::move(owned));
    newParent->renumberChildren(0);
    if (oldParent != root_.get() && !oldParent->HasChildren()) oldParent->expanded_ = false;
    if (ITreeObserver* o = Observer()) o->childrenReordered();
    return true;
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return root_->GetFirstChild();
}
int TTreeNodes::TopLevelCount() const {
    return root_->Count();
}
TTreeNode* TTreeNodes::TopLevel(int index) const {
    return root_->Item(index);
}

void TTreeNodes::SortTopLevel(const TTreeNode::Compare& compare) {
    sortChildren(root_.get(), compare, false);
}

void TTreeNodes::sortChildren(TTreeNode* parent, const TTreeNode::Compare& compare,
                              bool recursive) {
    if (ITreeObserver* o = Observer()) o->childrenAboutToBeReordered();
    auto& children = parent->children_;
    std::stable_sort(children.begin(), children.end(),
                     [&](const std::unique_ptr<TTreeNode>& a, const std::unique_ptr<TTreeNode>& b) {
                         return compare(a.get(), b.get()) < 0;
                     });
    parent->renumberChildren(0);
    if (ITreeObserver* o = Observer()) o->childrenReordered();
    if (recursive)
        for (auto& child : children)
            sortChildren(child.get(), compare, true);
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0 && observer_) observer_->treeAboutToReset();
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && observer_) observer_->treeReset();
}

} // namespace kvelo
