// The term dictionary's incremental lookup over a tree of letter folders.
#include "search/TermLookup.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>

namespace kvelo {
namespace {

std::string Cp(const char* utf8) {
    return cp1251::fromUtf8(utf8);
}

// Kvelo / Словарь / {А: Акт, Аренда; Б: Банк}, Kvelo / Другой / {В: Вексель}
class TermLookupTest : public ::testing::Test, public ITermTree {
protected:
    TTreeNodes nodes{"TreeTerm"};
    TTreeNode* root = nodes.AddChild(nullptr, "Kvelo");
    TTreeNode* dictionary = base("Словарь", {{"А", {"Акт", "Аренда"}}, {"Б", {"Банк"}}});
    TTreeNode* other = base("Другой", {{"В", {"Вексель"}}});
    TTreeNode* selected = nullptr;
    std::vector<TTreeNode*> collapsed;

    TTreeNode* base(const char* name,
                    std::vector<std::pair<const char*, std::vector<const char*>>> folders) {
        TTreeNode* b = nodes.AddChild(root, Cp(name));
        for (auto& [letter, entries] : folders) {
            TTreeNode* f = nodes.AddChild(b, Cp(letter));
            f->SetImageIndex(image::Folder);
            for (const char* entry : entries)
                nodes.AddChild(f, Cp(entry))->SetImageIndex(image::Document);
        }
        return b;
    }
    TTreeNode* child(TTreeNode* parent, const char* utf8) {
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Item(i)->Text() == Cp(utf8)) return parent->Item(i);
        return nullptr;
    }
    void type(const char* utf8) { TermLookup(*this, Cp(utf8)); }

    TTreeNode* Root() override { return root; }
    TTreeNode* Selected() override { return selected; }
    void Select(TTreeNode* node) override { selected = node; }
    void ExpandAndShow(TTreeNode* node) override { node->Expand(); }
    void Collapse(TTreeNode* node) override {
        collapsed.push_back(node);
        node->Collapse();
    }
};

TEST_F(TermLookupTest, OneSmallLetterSelectsAndExpandsTheLetterFolder) {
    type("б");
    ASSERT_EQ(selected, child(dictionary, "Б"));
    EXPECT_TRUE(selected->Expanded());
}

TEST_F(TermLookupTest, SecondLetterSelectsTheFirstEntryBeginningWithBoth) {
    type("а");
    type("ар");
    EXPECT_EQ(selected, child(child(dictionary, "А"), "Аренда"));
}

TEST_F(TermLookupTest, AfterAnEntryTheSiblingsAreSearched) {
    type("а");
    type("ар");
    type("ак");
    EXPECT_EQ(selected, child(child(dictionary, "А"), "Акт"));
}

TEST_F(TermLookupTest, NoFolderOrNoEntryChangesNothing) {
    type("я");
    EXPECT_EQ(selected, nullptr);
    type("а");
    TTreeNode* folder = selected;
    type("аяя");
    EXPECT_EQ(selected, folder);
}

TEST_F(TermLookupTest, OneLetterSearchesOnlyTheMainDictionary) {
    type("в");
    EXPECT_EQ(selected, nullptr);
    selected = child(other, "В"); // chosen by hand
    type("ве");
    EXPECT_EQ(selected, child(child(other, "В"), "Вексель"));
}

TEST_F(TermLookupTest, EmptyTextCollapsesOnlyALetterFolder) {
    type("а");
    type("");
    ASSERT_EQ(collapsed.size(), 1u);
    EXPECT_EQ(collapsed[0], child(dictionary, "А"));
    selected = child(child(dictionary, "А"), "Акт");
    type("");
    selected = dictionary;
    type("");
    EXPECT_EQ(collapsed.size(), 1u);
}

TEST_F(TermLookupTest, WithoutSelectionLongerTextFindsNothing) {
    type("акт");
    EXPECT_EQ(selected, nullptr);
}

} // namespace
} // namespace kvelo
