// The editing defaults of an editable base, with the user's answers scripted.
#include "bases/BaseErrors.h"
#include "bases/KveloBase.h"
#include "bases/NodeKinds.h"
#include "bases/UserPrompts.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>

#include <deque>

namespace kvelo {
namespace {

class ScriptedPrompts : public IUserPrompts {
public:
    // Each dialog takes the next reply: nullopt = Cancel, else OK with these answers.
    std::deque<std::optional<FolderDialogState>> replies;
    std::vector<FolderDialogState> shown; // the state each dialog was opened with
    std::vector<std::string> messages;

    bool EditFolderDialog(FolderDialogState& state) override {
        shown.push_back(state);
        if (replies.empty()) return false;
        auto reply = replies.front();
        replies.pop_front();
        if (!reply) return false;
        state = *reply;
        return true;
    }
    void ShowMessage(std::string_view key, MessageIcon icon) override {
        EXPECT_EQ(icon, MessageIcon::Information);
        messages.emplace_back(key);
    }
};

// An editable base over a tree of its own; EditDocument answers from a script.
class EditableBase : public TKveloBase {
public:
    EditableBase(TTreeNode* root, bool editable) : TKveloBase(TUserDocInfo::New) {
        editable_ = editable;
        AttachRoot(root);
    }
    TTreeNode* CreateRoot(TTreeNode* parent) override { return parent; }
    int32_t NewDocId() override { return nextId++; }
    bool EditDocument(TTreeNode* node, int32_t mode) override {
        edited.push_back({node->Text(), mode});
        if (!acceptEdit) return false;
        node->SetText(editedTitle);
        return true;
    }
    int32_t nextId = 10000000;
    bool acceptEdit = true;
    std::string editedTitle = "edited";
    std::vector<std::pair<std::string, int32_t>> edited;
};

class Editing : public ::testing::Test {
protected:
    TTreeNodes tree{"TreeBase"};
    TTreeNode* top = tree.AddChild(nullptr, "catalogue");
    TTreeNode* root = Node(top, "user", image::Base);
    EditableBase base{root, true};
    ScriptedPrompts prompts;

    void SetUp() override { base.SetPrompts(&prompts); }
    TTreeNode* Node(TTreeNode* parent, const std::string& text, int image, TDateTime date = 0) {
        TTreeNode* node = tree.AddChild(parent, text);
        node->SetImageIndex(image);
        auto record = TUserDocInfo::New();
        record->Date = date;
        node->SetObject(std::move(record));
        return node;
    }
    static FolderDialogState Answer(const std::string& name) {
        FolderDialogState s;
        s.name = name;
        return s;
    }
};

TEST_F(Editing, NewDocumentInAFolderIsEditedAndSorted) {
    TTreeNode* folder = Node(root, "folder", image::Folder);
    Node(folder, "sub", image::Folder);
    Node(folder, "zz", image::Document, 1);
    TTreeNode* doc = base.NewDocument(folder, 3);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Parent(), folder);
    EXPECT_EQ(base.edited, (std::vector<std::pair<std::string, int32_t>>{{"newDoc", 3}}));
    EXPECT_EQ(doc->ImageIndex(), image::Document);
    EXPECT_EQ(doc->SelectedIndex(), image::Document);
    const TDocInfo* record = NodeRecord(doc);
    ASSERT_NE(dynamic_cast<const TUserDocInfo*>(record), nullptr); // the base's record class
    EXPECT_EQ(record->DocId, 10000000);
    EXPECT_EQ(record->Mark, 0);
    // Sorted: folders first, then documents by date (the new one has date 0).
    EXPECT_EQ(folder->Item(0)->Text(), "sub");
    EXPECT_EQ(folder->Item(1)->Text(), "zz");
    EXPECT_EQ(folder->Item(2), doc);
}

TEST_F(Editing, NewDocumentBesideADocumentGoesToItsFolder) {
    TTreeNode* folder = Node(root, "folder", image::Folder);
    TTreeNode* sibling = Node(folder, "doc", image::Document);
    TTreeNode* doc = base.NewDocument(sibling, 0);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Parent(), folder);
}

TEST_F(Editing, NewDocumentCancelledLeavesNoNode) {
    base.acceptEdit = false;
    const int before = tree.Count();
    EXPECT_EQ(base.NewDocument(root, 0), nullptr);
    EXPECT_EQ(tree.Count(), before);
}

TEST_F(Editing, NewDocumentRefusals) {
    // Beside a document directly under the tree's first root.
    TTreeNode* high = Node(top, "doc at level 1", image::Document);
    try {
        base.NewDocument(high, 0);
        FAIL() << "created";
    } catch (const EBaseError& e) {
        EXPECT_EQ(e.Key(), "errCreateLevel");
    }
    TTreeNodes other;
    TTreeNode* otherRoot = other.AddChild(nullptr, "r");
    EditableBase readOnly(otherRoot, false);
    try {
        readOnly.NewDocument(otherRoot, 0);
        FAIL() << "created";
    } catch (const EBaseError& e) {
        EXPECT_EQ(e.Key(), "noEdit");
    }
    EXPECT_EQ(otherRoot->Count(), 0);
}

struct FolderCase {
    const char* what;
    FolderDialogState answer;
    int image, selected, overlay;
};

FolderDialogState State(bool isBase, bool newspaper, int edition, bool hidden, bool grey) {
    FolderDialogState s;
    s.name = "F";
    s.base = isBase;
    s.newspaper = newspaper;
    s.edition = edition;
    s.hidden = hidden;
    s.grey = grey;
    return s;
}

class NewFolderImages : public Editing, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(NewFolderImages, FollowTheDialog) {
    const FolderCase c = GetParam();
    prompts.replies.push_back(c.answer);
    TTreeNode* folder = base.NewFolder(root);
    ASSERT_NE(folder, nullptr) << c.what;
    EXPECT_EQ(prompts.shown.at(0).name, "newFolder");
    EXPECT_EQ(folder->Parent(), root);
    EXPECT_EQ(folder->Text(), "F");
    EXPECT_EQ(folder->ImageIndex(), c.image) << c.what;
    EXPECT_EQ(folder->SelectedIndex(), c.selected) << c.what;
    EXPECT_EQ(folder->OverlayIndex(), c.overlay) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NewFolderImages,
    ::testing::Values(FolderCase{"plain", State(false, false, 0, false, false), 1, 2, -1},
                      FolderCase{"hidden", State(false, false, 0, true, true), 12, 13, -1},
                      FolderCase{"grey", State(false, false, 0, false, true), 22, 23, -1},
                      FolderCase{"base", State(true, false, 3, true, false), 0, 0, -1},
                      FolderCase{"newspaper", State(true, true, 3, false, false), 15, 15, 3}));

TEST_F(Editing, NewFolderKeepsSortedAndSortsTheParent) {
    Node(root, "b", image::Folder);
    FolderDialogState answer = Answer("a");
    answer.sorted = true;
    prompts.replies.push_back(answer);
    TTreeNode* folder = base.NewFolder(root);
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(NodeRecord(folder)->Sorted);
    EXPECT_EQ(root->Item(0), folder);
}

TEST_F(Editing, NewFolderCancelledOrReadOnly) {
    prompts.replies.push_back(std::nullopt);
    EXPECT_EQ(base.NewFolder(root), nullptr);
    EXPECT_EQ(root->Count(), 0);
    TTreeNodes other;
    TTreeNode* otherRoot = other.AddChild(nullptr, "r");
    EditableBase readOnly(otherRoot, false);
    readOnly.SetPrompts(&prompts);
    EXPECT_EQ(readOnly.NewFolder(otherRoot), nullptr);
    EXPECT_EQ(prompts.shown.size(), 1u); // the read-only base never asked
}

TEST_F(Editing, EditFolderPresetsTheDialogFromTheNode) {
    TTreeNode* paper = Node(root, "Gazette", image::Newspaper);
    paper->SetOverlayIndex(4);
    paper->SetStateIndex(2);
    NodeRecord(paper)->Sorted = true;
    prompts.replies.push_back(std::nullopt);
    EXPECT_FALSE(base.EditFolder(paper));
    const FolderDialogState& shown = prompts.shown.at(0);
    EXPECT_EQ(shown.name, "Gazette");
    EXPECT_TRUE(shown.base);
    EXPECT_TRUE(shown.newspaper);
    EXPECT_EQ(shown.edition, 4);
    EXPECT_FALSE(shown.hidden);
    EXPECT_FALSE(shown.grey);
    EXPECT_EQ(shown.stateIndex, 2);
    EXPECT_TRUE(shown.sorted);
    EXPECT_EQ(paper->ImageIndex(), image::Newspaper); // cancelled: unchanged

    TTreeNode* grey = Node(root, "Grey", image::GreyFolder);
    prompts.replies.push_back(std::nullopt);
    base.EditFolder(grey);
    EXPECT_TRUE(prompts.shown.at(1).grey);
    EXPECT_FALSE(prompts.shown.at(1).base);
}

TEST_F(Editing, EditFolderAppliesTheAnswers) {
    TTreeNode* paper = Node(root, "Gazette", image::Newspaper);
    paper->SetOverlayIndex(4);
    FolderDialogState plain = Answer("Renamed");
    plain.stateIndex = 5;
    plain.sorted = true;
    prompts.replies.push_back(plain);
    EXPECT_TRUE(base.EditFolder(paper));
    EXPECT_EQ(paper->Text(), "Renamed");
    EXPECT_EQ(paper->ImageIndex(), image::Folder);
    EXPECT_EQ(paper->SelectedIndex(), image::FolderOpen);
    EXPECT_EQ(paper->StateIndex(), 5);
    EXPECT_EQ(paper->OverlayIndex(), -1);
    EXPECT_TRUE(NodeRecord(paper)->Sorted);

    FolderDialogState asBase = Answer("Base");
    asBase.base = true;
    asBase.stateIndex = 9;
    prompts.replies.push_back(asBase);
    EXPECT_TRUE(base.EditFolder(paper));
    EXPECT_EQ(paper->ImageIndex(), image::Base);
    EXPECT_EQ(paper->StateIndex(), 5); // a base keeps its state image
}

TEST_F(Editing, DeleteNode) {
    TTreeNode* doc = Node(root, "doc", image::Document);
    Node(doc, "child", image::Document);
    const int before = tree.Count();
    EXPECT_TRUE(base.DeleteNode(doc));
    EXPECT_EQ(tree.Count(), before - 2);

    TTreeNodes other;
    TTreeNode* otherRoot = other.AddChild(nullptr, "r");
    EditableBase readOnly(otherRoot, false);
    readOnly.SetPrompts(&prompts);
    TTreeNode* kept = other.AddChild(otherRoot, "kept");
    EXPECT_FALSE(readOnly.DeleteNode(kept));
    EXPECT_EQ(otherRoot->Count(), 1);
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"noEdit"}));
}

TEST_F(Editing, MoveNodeInsertsOrAppendsAndSorts) {
    TTreeNode* target = Node(root, "target", image::Folder);
    Node(target, "z-folder", image::Folder);
    TTreeNode* doc = Node(root, "doc", image::Document, 5);
    TTreeNode* folder = Node(root, "a-folder", image::Folder);
    base.MoveNode(target, folder, false);
    EXPECT_EQ(folder->Parent(), target);
    EXPECT_EQ(target->Item(0), folder); // sorted in
    base.MoveNode(target, doc, true);
    EXPECT_EQ(doc->Parent(), root);
    EXPECT_EQ(doc->GetNextSibling(), target);

    TTreeNodes other;
    TTreeNode* foreign = other.AddChild(nullptr, "foreign");
    base.MoveNode(target, foreign, false); // another tree: nothing happens
    EXPECT_EQ(foreign->Parent(), nullptr);
    EXPECT_EQ(&foreign->Owner(), &other);
}

TEST_F(Editing, MoveNodeInAReadOnlyBaseShowsNoEdit) {
    TTreeNodes other;
    TTreeNode* otherRoot = other.AddChild(nullptr, "r");
    TTreeNode* a = other.AddChild(otherRoot, "a");
    TTreeNode* b = other.AddChild(otherRoot, "b");
    EditableBase readOnly(otherRoot, false);
    readOnly.SetPrompts(&prompts);
    readOnly.MoveNode(a, b, false);
    EXPECT_EQ(b->Parent(), otherRoot);
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"noEdit"}));
}

TEST_F(Editing, EditAndSortSortsOnlyAfterAnEdit) {
    TTreeNode* b = Node(root, "b", image::Folder);
    TTreeNode* a = Node(root, "a", image::Folder);
    base.acceptEdit = false;
    EXPECT_FALSE(base.EditAndSort(a, 1));
    EXPECT_EQ(root->Item(0), b);
    base.acceptEdit = true;
    base.editedTitle = "0";
    EXPECT_TRUE(base.EditAndSort(a, 1));
    EXPECT_EQ(root->Item(0), a);
}

} // namespace
} // namespace kvelo
