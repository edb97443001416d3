// Tree nodes owned by a tree (one per tree view): text, image indexes, a data
// word, an owned record object, children, expand state, sorting, and a stable
// integer handle per live node. An observer lets a view model mirror changes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvelo {

class TTreeNodes;

// Base class of objects a node owns (the node records of the bases).
class TNodeObject {
public:
    virtual ~TNodeObject() = default;
};

// Change notifications of one tree, in the order a Qt item model needs them.
// A null parent means the top level. Between treeAboutToReset and treeReset
// (BeginUpdate/EndUpdate, bulk changes) no other notification is sent.
class ITreeObserver {
public:
    virtual ~ITreeObserver() = default;
    virtual void nodesAboutToBeInserted(class TTreeNode* parent, int first, int last) = 0;
    virtual void nodesInserted() = 0;
    virtual void nodeAboutToBeRemoved(TTreeNode* node) = 0;
    virtual void nodeRemoved() = 0;
    virtual void nodeChanged(TTreeNode* node) = 0;
    virtual void nodeExpandedChanged(TTreeNode* node) = 0;
    // Children of `parent` change order (sort, move within the tree).
    virtual void childrenAboutToBeReordered() = 0;
    virtual void childrenReordered() = 0;
    virtual void treeAboutToReset() = 0;
    virtual void treeReset() = 0;
};

class TTreeNode {
public:
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    // Text in code page 1251.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);

    int ImageIndex() const { return imageIndex_; }
    int SelectedIndex() const { return selectedIndex_; }
    int OverlayIndex() const { return overlayIndex_; }
    int StateIndex() const { return stateIndex_; }
    void SetImageIndex(int index);
    void SetSelectedIndex(int index);
    void SetOverlayIndex(int index);
    void SetStateIndex(int index);

    // The data word: a plain integer (document id, folder key) or the address
    // of an object the node stands for; 0 means "no data".
    std::intptr_t Data() const { return data_; }
    void SetData(std::intptr_t data) { data_ = data; }

    // The record object the node owns, if any.
    TNodeObject* Object() const { return object_.get(); }
    void SetObject(std::unique_ptr<TNodeObject> object) { object_ = std::move(object); }
    std::unique_ptr<TNodeObject> TakeObject() { return std::move(object_); }

    TTreeNodes& Owner() const { return *owner_; }
    // Null for a top-level node.
    TTreeNode* Parent() const;
    int Count() const { return static_cast<int>(children_.size()); }
    bool HasChildren() const { return !children_.empty(); }
    TTreeNode* Item(int index) const;
    // Position among the siblings (0-based).
    int Index() const { return index_; }
    // 0 for a top-level node.
    int Level() const;
    TTreeNode* GetFirstChild() const { return Item(0); }
    TTreeNode* GetLastChild() const { return Item(Count() - 1); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in tree order (depth first), across the whole tree.
    TTreeNode* GetNext() const;
    bool HasAsParent(const TTreeNode* ancestor) const;

    bool Expanded() const { return expanded_; }
    // Asks the tree's OnExpanding hook first (it may fill the children), then
    // expands when the node has children.
    void Expand(bool recursive = false);
    void Collapse(bool recursive = false);

    void DeleteChildren();
    // Delete the node itself through its tree: Owner().Delete(node).

    // Sorts the children with a three-way compare (stable; <0 sorts first).
    using Compare = std::function<int(const TTreeNode*, const TTreeNode*)>;
    void CustomSort(const Compare& compare, bool recursive = false);

    // A process-wide integer that names this node while it lives; never reused.
    int Handle() const { return handle_; }
    // The live node of a handle, or null once that node is gone.
    static TTreeNode* FromHandle(int handle);

private:
    friend class TTreeNodes;
    TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text);
    void notifyChanged();
    void renumberChildren(int from);

    TTreeNodes* owner_;
    TTreeNode* parent_; // the tree's hidden root for top-level nodes
    std::vector<std::unique_ptr<TTreeNode>> children_;
    std::string text_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int overlayIndex_ = -1;
    int stateIndex_ = -1;
    std::intptr_t data_ = 0;
    std::unique_ptr<TNodeObject> object_;
    int index_ = 0;
    int handle_;
    bool expanded_ = false;
};

enum class NodeAttachMode {
    AddChild,      // as the last child of the target
    AddChildFirst, // as the first child of the target
    Add,           // as the last sibling of the target
    Insert,        // before the target
};

// The nodes of one tree view. Owns every node.
class TTreeNodes {
public:
    explicit TTreeNodes(std::string name = {});
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    // The component name of the tree view ("TreeBase", ...).
    const std::string& Name() const { return name_; }

    // Adds a last child of `parent` (top level when parent is null).
    TTreeNode* AddChild(TTreeNode* parent, std::string text);
    TTreeNode* AddChildObject(TTreeNode* parent, std::string text, std::intptr_t data);
    TTreeNode* AddChildFirst(TTreeNode* parent, std::string text);
    // Adds a last sibling of `sibling` (top level when sibling is null).
    TTreeNode* Add(TTreeNode* sibling, std::string text);
    // Inserts before `before` (at the end of the top level when null).
    TTreeNode* Insert(TTreeNode* before, std::string text);

    // Removes the node with its subtree and frees them.
    void Delete(TTreeNode* node);
    void Clear();
    // Moves `node` relative to `target` in this tree. Moving a node into its
    // own subtree, or nodes of another tree, is refused (returns false).
    bool Move(TTreeNode* node, TTreeNode* target, NodeAttachMode mode);

    TTreeNode* GetFirstNode() const;
    int TopLevelCount() const;
    TTreeNode* TopLevel(int index) const;
    // All nodes of the tree.
    int Count() const { return count_; }
    void SortTopLevel(const TTreeNode::Compare& compare);

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    void SetObserver(ITreeObserver* observer) { observer_ = observer; }
    ITreeObserver* Observer() const { return updateCount_ > 0 ? nullptr : observer_; }

    // Called before a node expands or collapses; returning false refuses it.
    std::function<bool(TTreeNode*)> OnExpanding;
    std::function<bool(TTreeNode*)> OnCollapsing;

private:
    friend class TTreeNode;
    TTreeNode* insertAt(TTreeNode* parent, int index, std::string text);
    TTreeNode* realParent(TTreeNode* parent) const { return parent ? parent : root_.get(); }
    void sortChildren(TTreeNode* parent, const TTreeNode::Compare& compare, bool recursive);

    std::string name_;
    std::unique_ptr<TTreeNode> root_;
    ITreeObserver* observer_ = nullptr;
    int updateCount_ = 0;
    int count_ = 0;
};

} // namespace kvelo
