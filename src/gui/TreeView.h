// The tree view of every tree tab. Users never expand or collapse it by
// themselves: keyboard and double-click expansion are off, and a press on an
// expand button is reported instead, so the owner decides (and expands the
// TTreeNode, which the view then follows through its TreeModel).
#pragma once

#include <QTreeView>

namespace kvelo {

class TTreeNode;
class TreeModel;

class TTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TTreeView(QWidget* parent = nullptr);

    // Shows `model` (not owned) and follows its expand states.
    void SetTreeModel(TreeModel* model);
    TreeModel* Model() const { return model_; }

    TTreeNode* Selected() const;
    // Makes `node` current and selected and scrolls it into view.
    void Select(TTreeNode* node);
    // Makes the view's expand state of `node` and its expanded descendants
    // match the nodes.
    void SyncExpanded(TTreeNode* node);

signals:
    // Any mouse press, before anything else happens for it.
    void MouseDown();
    // A press of any button on the expand button of a node.
    void ExpandButtonPressed(TTreeNode* node);
    // A double click on a node's icon or label.
    void NodeDoubleClicked(TTreeNode* node, Qt::KeyboardModifiers modifiers);
    // The current node changed (null when there is none).
    void SelectionChanged(TTreeNode* node);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The node whose expand button is at `pos` (viewport coordinates), or null.
    TTreeNode* expandButtonAt(const QPoint& pos) const;
    void syncAll();

    TreeModel* model_ = nullptr;
};

} // namespace kvelo
