#include "TreeModel.h"

#include "NodeIcons.h"
#include "QtText.h"

namespace kvelo {

TreeModel::TreeModel(TTreeNodes& nodes, const NodeIcons& icons, QObject* parent)
    : QAbstractItemModel(parent), nodes_(nodes), icons_(icons) {
    nodes_.SetObserver(this);
}

TreeModel::~TreeModel() {
    nodes_.SetObserver(nullptr);
}

TTreeNode* TreeModel::NodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::IndexOf(const TTreeNode* node) const {
    if (!node) return {};
    return createIndex(node->Index(), 0, const_cast<TTreeNode*>(node));
}

TTreeNode* TreeModel::childAt(const QModelIndex& parent, int row) const {
    if (TTreeNode* p = NodeAt(parent)) return p->Item(row);
    return nodes_.TopLevel(row);
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0) return {};
    TTreeNode* child = childAt(parent, row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const TTreeNode* node = NodeAt(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    if (const TTreeNode* p = NodeAt(parent)) return p->Count();
    return nodes_.TopLevelCount();
}

int TreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    const TTreeNode* node = NodeAt(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return FromCp1251(node->Text());
    case Qt::DecorationRole:
        return icons_.NodeIcon(node->ImageIndex(), node->SelectedIndex(), node->OverlayIndex());
    default:
        return {};
    }
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TreeModel::nodesAboutToBeInserted(TTreeNode* parent, int first, int last) {
    beginInsertRows(IndexOf(parent), first, last);
}

void TreeModel::nodesInserted() {
    endInsertRows();
}

void TreeModel::nodeAboutToBeRemoved(TTreeNode* node) {
    removalParent_ = node->Parent();
    beginRemoveRows(IndexOf(removalParent_), node->Index(), node->Index());
}

void TreeModel::nodeRemoved() {
    endRemoveRows();
    TTreeNode* parent = removalParent_;
    removalParent_ = nullptr;
    if (parent && !parent->Expanded()) emit NodeExpandedChanged(IndexOf(parent), false);
}

void TreeModel::nodeChanged(TTreeNode* node) {
    const QModelIndex i = IndexOf(node);
    emit dataChanged(i, i);
}

void TreeModel::nodeExpandedChanged(TTreeNode* node) {
    emit NodeExpandedChanged(IndexOf(node), node->Expanded());
}

void TreeModel::childrenAboutToBeReordered() {
    emit layoutAboutToBeChanged();
    reorderedNodes_.clear();
    for (const QModelIndex& i : persistentIndexList())
        reorderedNodes_.push_back(NodeAt(i));
}

void TreeModel::childrenReordered() {
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (size_t i = 0; i < reorderedNodes_.size(); ++i)
        after.push_back(IndexOf(reorderedNodes_[i]));
    changePersistentIndexList(before, after);
    reorderedNodes_.clear();
    emit layoutChanged();
    emit ExpandStatesChanged();
}

void TreeModel::treeAboutToReset() {
    beginResetModel();
}

void TreeModel::treeReset() {
    endResetModel();
    emit ExpandStatesChanged();
}

} // namespace kvelo
