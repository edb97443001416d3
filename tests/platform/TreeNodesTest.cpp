#include "platform/TreeNodes.h"

#include <gtest/gtest.h>
#include <vector>

using namespace kvelo;

namespace {

// Records every notification as one letter, to check order and pairing.
struct RecordingObserver : ITreeObserver {
    std::string log;
    void nodesAboutToBeInserted(TTreeNode*, int, int) override { log += 'i'; }
    void nodesInserted() override { log += 'I'; }
    void nodeAboutToBeRemoved(TTreeNode*) override { log += 'r'; }
    void nodeRemoved() override { log += 'R'; }
    void nodeChanged(TTreeNode*) override { log += 'c'; }
    void nodeExpandedChanged(TTreeNode*) override { log += 'e'; }
    void childrenAboutToBeReordered() override { log += 'o'; }
    void childrenReordered() override { log += 'O'; }
    void treeAboutToReset() override { log += 'x'; }
    void treeReset() override { log += 'X'; }
};

std::vector<std::string> texts(const TTreeNode* parent) {
    std::vector<std::string> out;
    for (int i = 0; i < parent->Count(); ++i) out.push_back(parent->Item(i)->Text());
    return out;
}

} // namespace

TEST(TreeNodes, StructureOrderAndLevels) {
    TTreeNodes tree("TreeBase");
    TTreeNode* root = tree.AddChild(nullptr, "root");
    TTreeNode* a = tree.AddChild(root, "a");
    TTreeNode* c = tree.AddChild(root, "c");
    TTreeNode* b = tree.Insert(c, "b");
    TTreeNode* a1 = tree.AddChild(a, "a1");
    TTreeNode* first = tree.AddChildFirst(root, "0");
    EXPECT_EQ(texts(root), (std::vector<std::string>{"0", "a", "b", "c"}));
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(a1->Level(), 2);
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_EQ(a1->Parent(), a);
    EXPECT_TRUE(a1->HasAsParent(root));
    // Depth-first order: root, 0, a, a1, b, c.
    std::vector<std::string> order;
    for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) order.push_back(n->Text());
    EXPECT_EQ(order, (std::vector<std::string>{"root", "0", "a", "a1", "b", "c"}));
    EXPECT_EQ(tree.Count(), 6);
    tree.Delete(a);
    EXPECT_EQ(tree.Count(), 4);
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(first->GetNextSibling(), b);
}

TEST(TreeNodes, HandlesResolveWhileTheNodeLivesAndFailAfter) {
    TTreeNodes tree;
    TTreeNode* n = tree.AddChild(nullptr, "n");
    TTreeNode* child = tree.AddChild(n, "child");
    const int h = n->Handle();
    const int hc = child->Handle();
    EXPECT_NE(h, hc);
    EXPECT_EQ(TTreeNode::FromHandle(h), n);
    tree.Delete(n);
    EXPECT_EQ(TTreeNode::FromHandle(h), nullptr);
    EXPECT_EQ(TTreeNode::FromHandle(hc), nullptr);
    EXPECT_EQ(TTreeNode::FromHandle(0), nullptr);
    // A new node never reuses an old handle.
    EXPECT_GT(tree.AddChild(nullptr, "m")->Handle(), hc);
}

TEST(TreeNodes, ExpandAsksTheHookAndNeedsChildren) {
    TTreeNodes tree;
    TTreeNode* folder = tree.AddChild(nullptr, "folder");
    tree.AddChild(folder, ""); // placeholder
    int asked = 0;
    tree.OnExpanding = [&](TTreeNode* node) {
        ++asked;
        node->DeleteChildren(); // reads an empty folder
        return true;
    };
    folder->Expand();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(folder->Expanded()); // nothing to show
    tree.OnExpanding = [&](TTreeNode* node) {
        tree.AddChild(node, "x");
        return true;
    };
    folder->Expand();
    EXPECT_TRUE(folder->Expanded());
    tree.OnCollapsing = [](TTreeNode*) { return false; };
    folder->Collapse();
    EXPECT_TRUE(folder->Expanded());
}

TEST(TreeNodes, StableCustomSortAndMove) {
    TTreeNodes tree;
    TTreeNode* p = tree.AddChild(nullptr, "p");
    for (const char* t : {"b2", "a", "b1", "c"}) tree.AddChild(p, t);
    // Compare by first letter only: b2 and b1 keep their order.
    p->CustomSort([](const TTreeNode* x, const TTreeNode* y) { return x->Text()[0] - y->Text()[0]; });
    EXPECT_EQ(texts(p), (std::vector<std::string>{"a", "b2", "b1", "c"}));
    EXPECT_EQ(p->Item(3)->Index(), 3);

    TTreeNode* q = tree.AddChild(nullptr, "q");
    EXPECT_TRUE(tree.Move(p->Item(0), q, NodeAttachMode::AddChild));
    EXPECT_EQ(texts(q), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(tree.Move(p->Item(2), p->Item(0), NodeAttachMode::Insert));
    EXPECT_EQ(texts(p), (std::vector<std::string>{"c", "b2", "b1"}));
    // A node cannot move into its own subtree or into another tree.
    EXPECT_FALSE(tree.Move(p, p->Item(0), NodeAttachMode::AddChild));
    TTreeNodes other;
    EXPECT_FALSE(tree.Move(p, other.AddChild(nullptr, "o"), NodeAttachMode::AddChild));
}

TEST(TreeNodes, ObserverSeesPairedNotificationsAndNothingDuringUpdate) {
    TTreeNodes tree;
    RecordingObserver observer;
    tree.SetObserver(&observer);
    TTreeNode* n = tree.AddChild(nullptr, "n");
    n->SetText("m");
    TTreeNode* child = tree.AddChild(n, "child");
    n->Expand();
    tree.Delete(child);
    EXPECT_EQ(observer.log, "iIciIerR");
    observer.log.clear();
    tree.BeginUpdate();
    tree.BeginUpdate();
    tree.AddChild(n, "1");
    tree.AddChild(n, "2");
    tree.EndUpdate();
    tree.EndUpdate();
    EXPECT_EQ(observer.log, "xX");
}

TEST(TreeNodes, NodeOwnsItsObject) {
    struct Counted : TNodeObject {
        int* live;
        explicit Counted(int* l) : live(l) { ++*live; }
        ~Counted() override { --*live; }
    };
    int live = 0;
    {
        TTreeNodes tree;
        TTreeNode* n = tree.AddChild(nullptr, "n");
        n->SetObject(std::make_unique<Counted>(&live));
        tree.AddChild(n, "c")->SetObject(std::make_unique<Counted>(&live));
        EXPECT_EQ(live, 2);
        tree.Delete(n->Item(0));
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}
