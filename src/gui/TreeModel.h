// A QAbstractItemModel that mirrors one TTreeNodes through its ITreeObserver:
// every index's internal pointer is its TTreeNode, rows are the nodes'
// positions among their siblings, one column. The nodes stay the truth; the
// model only reports them. The model must be destroyed before the nodes.
#pragma once

#include "platform/TreeNodes.h"

#include <QAbstractItemModel>
#include <vector>

namespace kvelo {

class NodeIcons;

class TreeModel : public QAbstractItemModel, private ITreeObserver {
    Q_OBJECT
public:
    // Attaches itself as the observer of `nodes`; `icons` must outlive the model.
    TreeModel(TTreeNodes& nodes, const NodeIcons& icons, QObject* parent = nullptr);
    ~TreeModel() override;

    TTreeNodes& Nodes() const { return nodes_; }
    // The node of an index; null for the invalid (top) index.
    static TTreeNode* NodeAt(const QModelIndex& index);
    // The index of a node of this tree; invalid for null.
    QModelIndex IndexOf(const TTreeNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A node's expand state changed in the tree (expanded or collapsed, or
    // collapsed because its last child went away); views follow it.
    void NodeExpandedChanged(const QModelIndex& index, bool expanded);
    // Nodes moved or the whole tree was reset: views re-read expand states.
    void ExpandStatesChanged();

private:
    void nodesAboutToBeInserted(TTreeNode* parent, int first, int last) override;
    void nodesInserted() override;
    void nodeAboutToBeRemoved(TTreeNode* node) override;
    void nodeRemoved() override;
    void nodeChanged(TTreeNode* node) override;
    void nodeExpandedChanged(TTreeNode* node) override;
    void childrenAboutToBeReordered() override;
    void childrenReordered() override;
    void treeAboutToReset() override;
    void treeReset() override;

    TTreeNode* childAt(const QModelIndex& parent, int row) const;

    TTreeNodes& nodes_;
    const NodeIcons& icons_;
    // Parent of the node being removed, so its expand state can be reported.
    TTreeNode* removalParent_ = nullptr;
    // Nodes behind the persistent indexes while children are reordered.
    std::vector<TTreeNode*> reorderedNodes_;
};

} // namespace kvelo
