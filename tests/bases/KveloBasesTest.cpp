// The collection of bases: selecting across members, forwarding to the
// current member, fan-out order, owners of nodes; the search-result base.
#include "bases/KveloBases.h"
#include "bases/FindBase.h"
#include "bases/NodeKinds.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>

#include <set>

namespace kvelo {
namespace {

// A member that holds a fixed set of identifiers and logs what it is asked.
class SpyBase : public TKveloBase {
public:
    SpyBase(TTreeNode* root, std::string name, std::set<int32_t> ids, std::vector<std::string>* log)
        : TKveloBase(TDocInfo::New), name_(std::move(name)), ids_(std::move(ids)), log_(log) {
        AttachRoot(root);
    }
    TTreeNode* CreateRoot(TTreeNode* parent) override { return parent; }
    bool SelectDoc(int32_t id) override {
        ++selects;
        if (!ids_.count(id)) return false;
        currentId_ = id;
        return true;
    }
    std::string GetTitle() override { return name_ + ":" + std::to_string(currentId_); }
    TDateTime GetDate() override { return currentId_; }
    void FindByType(int32_t, TIdList& ids) override { Log(ids); }
    void FindByNumber(const std::string&, TIdList& ids) override { Log(ids); }
    void ListAllDocs(TIdList& ids) override {
        for (int32_t id : ids_)
            ids.Add(id);
    }
    void ExpandNode(TTreeNode* node) override { expanded.push_back(node); }
    int selects = 0;
    std::vector<TTreeNode*> expanded;

private:
    void Log(TIdList&) {
        if (log_) log_->push_back(name_);
    }
    std::string name_;
    std::set<int32_t> ids_;
    std::vector<std::string>* log_;
};

class Collection : public ::testing::Test {
protected:
    TTreeNodes tree{"TreeBase"};
    TTreeNode* root = NewRoot();
    TKveloBases bases{root};
    std::vector<std::string> log;
    SpyBase* a = Add("A", {1, 2, 5});
    SpyBase* b = Add("B", {2, 3});
    SpyBase* c = Add("C", {4});

    TTreeNode* NewRoot() {
        TTreeNode* node = tree.AddChild(nullptr, "");
        node->SetObject(TDocInfo::New());
        return node;
    }
    SpyBase* Add(const std::string& name, std::set<int32_t> ids) {
        TTreeNode* node = tree.AddChild(root, name);
        node->SetObject(TDocInfo::New());
        auto base = std::make_unique<SpyBase>(node, name, std::move(ids), &log);
        return static_cast<SpyBase*>(bases.AddBase(std::move(base)));
    }
};

TEST_F(Collection, RootIsTheCatalogueRoot) {
    EXPECT_EQ(root->Text(), "kvlBase"); // no language file: the key itself
    EXPECT_EQ(root->ImageIndex(), image::CatalogueRoot);
    EXPECT_EQ(root->SelectedIndex(), image::CatalogueRoot);
    EXPECT_EQ(NodeRecord(root)->Base, &bases);
    EXPECT_EQ(NodeRecord(a->RootNode())->Base, a);
}

TEST_F(Collection, EarlierMemberWinsForAnIdentifierHeldTwice) {
    ASSERT_TRUE(bases.SelectDoc(2));
    EXPECT_EQ(bases.Current(), a);
    EXPECT_EQ(bases.GetTitle(), "A:2");
    ASSERT_TRUE(bases.SelectDoc(3));
    EXPECT_EQ(bases.Current(), b);
}

TEST_F(Collection, RepeatedSelectDocDoesNotAskTheMemberAgain) {
    ASSERT_TRUE(bases.SelectDoc(4));
    const int before = c->selects;
    EXPECT_TRUE(bases.SelectDoc(4));
    EXPECT_EQ(c->selects, before);
    EXPECT_EQ(a->selects, 1);
}

TEST_F(Collection, FailedSelectDocKeepsTheCurrentMember) {
    ASSERT_TRUE(bases.SelectDoc(5));
    EXPECT_FALSE(bases.SelectDoc(999));
    EXPECT_EQ(bases.Current(), a);
    EXPECT_EQ(bases.GetTitle(), "A:5");
    EXPECT_EQ(bases.GetDate(), 5);
}

TEST_F(Collection, ForwardingWithoutCurrentAnswersNothing) {
    EXPECT_EQ(bases.Current(), nullptr);
    EXPECT_EQ(bases.GetTitle(), "");
    EXPECT_EQ(bases.GetDate(), 0);
    EXPECT_EQ(bases.GetDocStream(), nullptr);
    EXPECT_EQ(bases.GetAttachStream(), nullptr);
    EXPECT_FALSE(bases.IsExcluded());
    EXPECT_FALSE(bases.IsRichViewBody());
}

TEST_F(Collection, FanOutOrder) {
    TIdList ids;
    bases.FindByNumber("x", ids);
    EXPECT_EQ(log, (std::vector<std::string>{"A", "B", "C"}));
    log.clear();
    bases.FindByType(1, ids);
    EXPECT_EQ(log, (std::vector<std::string>{"C", "B", "A"}));
}

TEST_F(Collection, IdentifiersFromSeveralMembersAppearOnce) {
    TIdList ids;
    bases.ListAllDocs(ids);
    EXPECT_EQ(ids.Items(), (std::vector<int32_t>{1, 2, 5, 3, 4}));
}

TEST_F(Collection, NodesAreAnsweredByTheirOwner) {
    TTreeNode* folder = tree.AddChild(b->RootNode(), "folder");
    TTreeNode* doc = tree.AddChild(folder, "doc");
    auto record = TDocInfo::New();
    record->DocId = 77;
    doc->SetObject(std::move(record));
    EXPECT_EQ(bases.FindOwner(doc, -1), b);
    EXPECT_EQ(bases.GetNodeDocId(doc), 77);
    EXPECT_EQ(GetNum(bases, doc), 77);
    bases.ExpandNode(folder);
    EXPECT_EQ(b->expanded, (std::vector<TTreeNode*>{folder}));
    EXPECT_TRUE(a->expanded.empty());

    TTreeNode* stray = tree.AddChild(nullptr, "stray");
    EXPECT_EQ(bases.FindOwner(stray, -1), nullptr);
    EXPECT_EQ(bases.FindOwner(stray, 3), b); // falls back to selecting the identifier
    EXPECT_EQ(bases.GetNodeDocId(stray), 0);
    EXPECT_EQ(bases.FindOwner(root, -1), nullptr);
}

TEST_F(Collection, LocateNodeAsksTheMemberThatSelects) {
    TTreeNode* doc = tree.AddChild(b->RootNode(), "three");
    auto record = TDocInfo::New();
    record->DocId = 3;
    doc->SetObject(std::move(record));
    EXPECT_EQ(bases.LocateNode(3), doc);
    EXPECT_EQ(bases.LocateNode(999), nullptr);
    EXPECT_EQ(bases.LocateNode(4), nullptr); // C holds it but has no node for it
}

TEST_F(Collection, AddNameToListsEveryMemberRoot) {
    TBaseNameList names;
    bases.AddNameTo(names);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1].name, "B");
    EXPECT_EQ(names[1].base, b);
}

TEST_F(Collection, NestedCollectionsForwardThrough) {
    TTreeNode* groupRoot = tree.AddChild(root, "group");
    groupRoot->SetObject(TDocInfo::New());
    auto group = std::make_unique<TKveloBases>(groupRoot);
    TTreeNode* innerRoot = tree.AddChild(groupRoot, "inner");
    innerRoot->SetObject(TDocInfo::New());
    auto* inner = static_cast<SpyBase*>(
        group->AddBase(std::make_unique<SpyBase>(innerRoot, "I", std::set<int32_t>{42}, &log)));
    bases.AddBase(std::move(group));
    ASSERT_TRUE(bases.SelectDoc(42));
    EXPECT_EQ(bases.GetTitle(), "I:42");
    TTreeNode* child = tree.AddChild(innerRoot, "x");
    bases.ExpandNode(child);
    EXPECT_EQ(inner->expanded, (std::vector<TTreeNode*>{child}));
}

TEST(TFindBase, OwnsTheSearchRootAndFindsNothingItself) {
    TTreeNodes query{"TreeQuery"};
    TFindBase find(query);
    TTreeNode* root = find.RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, query.GetFirstNode());
    EXPECT_EQ(root->Text(), "resFind");
    EXPECT_EQ(root->ImageIndex(), image::SearchRoot);
    EXPECT_EQ(root->SelectedIndex(), image::SearchRoot);
    EXPECT_EQ(NodeRecord(root)->Base, &find);
    EXPECT_FALSE(find.CanEdit());
    EXPECT_FALSE(find.SelectDoc(1));

    TTreeNode* result = query.AddChild(root, "result");
    auto record = TDocInfo::New();
    record->DocId = 1234;
    result->SetObject(std::move(record));
    EXPECT_EQ(find.GetNodeDocId(result), 1234);
    EXPECT_EQ(find.LocateNode(1234), result);
    EXPECT_EQ(find.LocateNode(1), nullptr);
}

} // namespace
} // namespace kvelo
