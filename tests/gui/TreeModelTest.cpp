#include "gui/TreeModel.h"
#include "gui/NodeIcons.h"
#include "gui/TreeView.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace kvelo;

namespace {

// A tree with a tester watching every notification of its model.
class TreeModelTest : public ::testing::Test {
protected:
    NodeIcons icons;
    TTreeNodes nodes{"TreeBase"};
    std::unique_ptr<TreeModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;

    void SetUp() override {
        model = std::make_unique<TreeModel>(nodes, icons);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override {
        tester.reset();
        model.reset();
    }
    TTreeNode* folder(TTreeNode* parent, const char* text) {
        TTreeNode* n = nodes.AddChild(parent, text);
        n->SetImageIndex(1);
        n->SetSelectedIndex(2);
        return n;
    }
    QString textAt(const QModelIndex& parent, int row) {
        return model->index(row, 0, parent).data().toString();
    }
};

TEST_F(TreeModelTest, MirrorsInsertsWithNodesAsInternalPointers) {
    TTreeNode* root = folder(nullptr, "root");
    TTreeNode* a = folder(root, "a");
    nodes.AddChildFirst(root, "first");
    nodes.Insert(a, "before a");
    const QModelIndex rootIndex = model->index(0, 0);
    ASSERT_EQ(model->rowCount(rootIndex), 3);
    EXPECT_EQ(textAt(rootIndex, 0), QStringLiteral("first"));
    EXPECT_EQ(textAt(rootIndex, 1), QStringLiteral("before a"));
    EXPECT_EQ(TreeModel::NodeAt(model->index(2, 0, rootIndex)), a);
    EXPECT_EQ(model->parent(model->IndexOf(a)), rootIndex);
    EXPECT_EQ(model->IndexOf(a).row(), a->Index());
}

TEST_F(TreeModelTest, ShowsCp1251TextAsUnicode) {
    nodes.AddChild(nullptr, "\xC1\xE0\xE7\xFB"); // "Базы" in code page 1251
    EXPECT_EQ(textAt({}, 0), QStringLiteral("Базы"));
}

TEST_F(TreeModelTest, MirrorsRemovalOfSubtreesAndPlaceholders) {
    TTreeNode* root = folder(nullptr, "root");
    TTreeNode* sub = folder(root, "sub");
    nodes.AddChild(sub, ""); // lazy-expansion placeholder
    folder(root, "other");
    EXPECT_TRUE(model->hasChildren(model->IndexOf(sub))); // the placeholder shows the button
    QPersistentModelIndex other(model->index(1, 0, model->IndexOf(root)));
    nodes.Delete(sub);
    EXPECT_EQ(model->rowCount(model->IndexOf(root)), 1);
    EXPECT_EQ(other.row(), 0);
    root->DeleteChildren();
    EXPECT_FALSE(model->hasChildren(model->IndexOf(root)));
    EXPECT_FALSE(other.isValid());
}

TEST_F(TreeModelTest, SortKeepsPersistentIndexesOnTheirNodes) {
    TTreeNode* root = folder(nullptr, "root");
    for (const char* t : {"c", "a", "b"})
        folder(root, t);
    TTreeNode* c = root->Item(0);
    QPersistentModelIndex pc(model->IndexOf(c));
    root->CustomSort(
        [](const TTreeNode* x, const TTreeNode* y) { return x->Text().compare(y->Text()); });
    EXPECT_EQ(textAt(model->IndexOf(root), 0), QStringLiteral("a"));
    EXPECT_EQ(pc.row(), 2);
    EXPECT_EQ(TreeModel::NodeAt(pc), c);
}

TEST_F(TreeModelTest, MoveToAnotherParentIsALayoutChange) {
    TTreeNode* one = folder(nullptr, "one");
    TTreeNode* two = folder(nullptr, "two");
    TTreeNode* leaf = nodes.AddChild(one, "leaf");
    QPersistentModelIndex p(model->IndexOf(leaf));
    ASSERT_TRUE(nodes.Move(leaf, two, NodeAttachMode::AddChild));
    EXPECT_EQ(model->parent(p), model->IndexOf(two));
    EXPECT_EQ(model->rowCount(model->IndexOf(one)), 0);
}

TEST_F(TreeModelTest, BulkUpdateResetsTheModel) {
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    nodes.BeginUpdate();
    TTreeNode* root = folder(nullptr, "root");
    for (int i = 0; i < 50; ++i)
        nodes.AddChild(root, "x");
    nodes.EndUpdate();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 50);
    nodes.Clear();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(TreeModelTest, ChangesOfTextAndImageAreDataChanges) {
    TTreeNode* n = folder(nullptr, "n");
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    n->SetText("renamed");
    n->SetImageIndex(4);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(textAt({}, 0), QStringLiteral("renamed"));
}

// The view follows the nodes' expand state; expanding a node runs the
// tree's OnExpanding hook, which may read the folder lazily.
TEST_F(TreeModelTest, ViewFollowsExpansionAndLazyReading) {
    TTreeView view;
    view.SetTreeModel(model.get());
    TTreeNode* root = folder(nullptr, "root");
    TTreeNode* lazy = folder(root, "lazy");
    nodes.AddChild(lazy, "");
    nodes.OnExpanding = [&](TTreeNode* node) {
        if (node->Count() == 1 && node->GetFirstChild()->Text().empty()) {
            node->DeleteChildren();
            nodes.AddChild(node, "doc 1");
            nodes.AddChild(node, "doc 2");
        }
        return true;
    };
    root->Expand();
    lazy->Expand();
    EXPECT_TRUE(view.isExpanded(model->IndexOf(root)));
    EXPECT_TRUE(view.isExpanded(model->IndexOf(lazy)));
    ASSERT_EQ(model->rowCount(model->IndexOf(lazy)), 2);
    EXPECT_EQ(textAt(model->IndexOf(lazy), 1), QStringLiteral("doc 2"));
    root->Collapse();
    EXPECT_FALSE(view.isExpanded(model->IndexOf(root)));
}

TEST_F(TreeModelTest, RefusedExpansionLeavesTheViewCollapsed) {
    TTreeView view;
    view.SetTreeModel(model.get());
    TTreeNode* root = folder(nullptr, "root");
    nodes.AddChild(root, "child");
    int asked = 0;
    nodes.OnExpanding = [&](TTreeNode*) { return ++asked, false; };
    root->Expand();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(view.isExpanded(model->IndexOf(root)));
}

TEST_F(TreeModelTest, RemovingTheLastChildCollapsesTheViewToo) {
    TTreeView view;
    view.SetTreeModel(model.get());
    TTreeNode* root = folder(nullptr, "root");
    nodes.AddChild(root, "child");
    root->Expand();
    root->DeleteChildren();
    nodes.AddChild(root, "again");
    EXPECT_FALSE(root->Expanded());
    EXPECT_FALSE(view.isExpanded(model->IndexOf(root)));
}

TEST_F(TreeModelTest, IconsDifferBetweenNormalAndSelectedImages) {
    TTreeNode* n = folder(nullptr, "f");
    const QIcon icon = model->IndexOf(n).data(Qt::DecorationRole).value<QIcon>();
    const QImage normal = icon.pixmap(16, QIcon::Normal).toImage();
    const QImage selected = icon.pixmap(16, QIcon::Selected).toImage();
    EXPECT_FALSE(normal.isNull());
    EXPECT_NE(normal, selected);
}

} // namespace
