#include "TreeView.h"

#include "TreeModel.h"
#include "platform/TreeNodes.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kvelo {

TTreeView::TTreeView(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TTreeView::SetTreeModel(TreeModel* model) {
    model_ = model;
    setModel(model);
    connect(model, &TreeModel::NodeExpandedChanged, this,
            [this](const QModelIndex& index, bool expanded) {
                setExpanded(index, expanded);
                if (expanded) SyncExpanded(TreeModel::NodeAt(index));
            });
    connect(model, &TreeModel::ExpandStatesChanged, this, &TTreeView::syncAll);
    connect(
        selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) { emit SelectionChanged(TreeModel::NodeAt(current)); });
    syncAll();
}

TTreeNode* TTreeView::Selected() const {
    return TreeModel::NodeAt(currentIndex());
}

void TTreeView::Select(TTreeNode* node) {
    if (!model_ || !node) return;
    const QModelIndex index = model_->IndexOf(node);
    setCurrentIndex(index);
    scrollTo(index);
}

void TTreeView::SyncExpanded(TTreeNode* node) {
    if (!model_ || !node) return;
    setExpanded(model_->IndexOf(node), node->Expanded());
    if (!node->Expanded()) return;
    for (int i = 0; i < node->Count(); ++i)
        SyncExpanded(node->Item(i));
}

void TTreeView::syncAll() {
    if (!model_) return;
    for (int i = 0; i < model_->Nodes().TopLevelCount(); ++i)
        SyncExpanded(model_->Nodes().TopLevel(i));
}

TTreeNode* TTreeView::expandButtonAt(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    TTreeNode* node = TreeModel::NodeAt(index);
    if (!node || !node->HasChildren()) return nullptr;
    const QRect item = visualRect(index);
    const int left = isRightToLeft() ? item.right() : item.left() - indentation();
    const bool onButton = pos.x() >= left && pos.x() < left + indentation();
    return onButton ? node : nullptr;
}

void TTreeView::mousePressEvent(QMouseEvent* event) {
    emit MouseDown();
    if (TTreeNode* node = expandButtonAt(event->position().toPoint())) {
        emit ExpandButtonPressed(node);
        return;
    }
    QTreeView::mousePressEvent(event);
}

void TTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    emit MouseDown();
    const QPoint pos = event->position().toPoint();
    if (TTreeNode* node = expandButtonAt(pos)) {
        emit ExpandButtonPressed(node);
        return;
    }
    const QModelIndex index = indexAt(pos);
    if (TTreeNode* node = TreeModel::NodeAt(index); node && visualRect(index).contains(pos))
        emit NodeDoubleClicked(node, event->modifiers());
}

void TTreeView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Asterisk:
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        event->ignore(); // expansion from the keyboard is not offered
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The keyboard's way to open a node, as a double click does.
        if (TTreeNode* node = Selected()) emit NodeDoubleClicked(node, event->modifiers());
        return;
    default:
        QTreeView::keyPressEvent(event);
    }
}

} // namespace kvelo
