// Node kinds by image index, node records and their payloads, the sort
// order of tree children, and the id list.
#include "bases/DocInfo.h"
#include "bases/IdList.h"
#include "bases/KveloBase.h"
#include "bases/NodeKinds.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>

namespace kvelo {
namespace {

struct KindCase {
    int image;
    bool document, base, hide, shortcut;
};

class NodeKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(NodeKinds, AreToldByTheImageIndexAlone) {
    const KindCase c = GetParam();
    TTreeNodes tree;
    TTreeNode* node = tree.AddChild(nullptr, "n");
    node->SetImageIndex(c.image);
    EXPECT_EQ(IsDocument(node), c.document);
    EXPECT_EQ(IsFolder(node), !c.document);
    EXPECT_EQ(IsBase(node), c.base);
    EXPECT_EQ(IsHide(node), c.hide);
    EXPECT_EQ(IsShorcut(node), c.shortcut);
}

INSTANTIATE_TEST_SUITE_P(
    Images, NodeKinds,
    ::testing::Values(
        KindCase{0, false, true, false, false}, KindCase{1, false, false, false, false},
        KindCase{4, true, false, false, false}, KindCase{7, true, false, false, false},
        KindCase{12, false, false, true, false}, KindCase{14, true, false, true, false},
        KindCase{15, false, true, false, false}, KindCase{16, true, false, false, true},
        KindCase{17, true, false, true, true}, KindCase{18, true, false, false, false},
        KindCase{19, false, false, false, false}, KindCase{20, true, false, false, false},
        KindCase{21, true, false, false, false}, KindCase{22, false, false, false, false},
        KindCase{24, true, false, false, true},
        // Beyond the image list: folders, never documents.
        KindCase{32, false, false, false, false}, KindCase{36, false, false, false, false},
        KindCase{-1, false, false, false, false}, KindCase{-20, false, false, false, false}));

TEST(DocInfo, PayloadIsTwelveBytesOfIdAndDate) {
    TDocInfo info;
    info.DocId = -123456;
    info.Date = 38013.5;
    info.Mark = 7;
    info.Sorted = true;
    TMemoryStream stream;
    info.SaveToStream(stream);
    ASSERT_EQ(stream.Size(), 12);
    EXPECT_EQ(stream.Bytes()[0], 0xC0); // -123456 little-endian
    stream.SetPosition(0);
    TDocInfo back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.DocId, -123456);
    EXPECT_EQ(back.Date, 38013.5);
    EXPECT_EQ(back.Mark, 0);   // not stored
    EXPECT_FALSE(back.Sorted); // not stored
}

TEST(DocInfo, UserPayloadAddsATwentyOneByteNumber) {
    TUserDocInfo info;
    info.DocId = 10000001;
    info.Number = "UP-1234";
    TMemoryStream stream;
    info.SaveToStream(stream);
    ASSERT_EQ(stream.Size(), 33);
    EXPECT_EQ(stream.Bytes()[12], 7);
    stream.SetPosition(0);
    TUserDocInfo back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Number, "UP-1234");
    EXPECT_EQ(stream.Position(), 33);
}

TEST(DocInfo, UserNumberKeepsAtMostTwentyCharacters) {
    TUserDocInfo info;
    info.Number = std::string(30, 'x');
    TMemoryStream stream;
    info.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 33);
    // A length byte above 20 in a file is read as 20.
    std::vector<uint8_t> bytes = stream.Bytes();
    bytes[12] = 200;
    TMemoryStream damaged(bytes);
    TUserDocInfo back;
    back.LoadFromStream(damaged);
    EXPECT_EQ(back.Number, std::string(20, 'x'));
}

TEST(DocInfo, ShortPayloadThrows) {
    TMemoryStream stream(std::vector<uint8_t>(11));
    TDocInfo info;
    EXPECT_THROW(info.LoadFromStream(stream), EReadError);
}

TTreeNode* AddNode(TTreeNodes& tree, TTreeNode* parent, const std::string& text, int image,
                   TDateTime date = 0) {
    TTreeNode* node = tree.AddChild(parent, text);
    node->SetImageIndex(image);
    auto record = TDocInfo::New();
    record->Date = date;
    node->SetObject(std::move(record));
    return node;
}

std::vector<std::string> ChildTexts(const TTreeNode* node) {
    std::vector<std::string> texts;
    for (int i = 0; i < node->Count(); ++i)
        texts.push_back(node->Item(i)->Text());
    return texts;
}

TEST(CompareNodes, FoldersFirstThenNewestDocumentsThenText) {
    TTreeNodes tree;
    TTreeNode* parent = tree.AddChild(nullptr, "p");
    AddNode(tree, parent, "old", image::Document, 100);
    AddNode(tree, parent, "b-folder", image::Folder);
    AddNode(tree, parent, "new-b", image::Document, 200);
    AddNode(tree, parent, "a-folder", image::GreyFolder);
    AddNode(tree, parent, "new-a", image::Excluded, 200);
    SortChildren(parent);
    EXPECT_EQ(ChildTexts(parent),
              (std::vector<std::string>{"a-folder", "b-folder", "new-a", "new-b", "old"}));
}

TEST(CompareNodes, NewspaperFoldersSortByTextDescending) {
    TTreeNodes tree;
    TTreeNode* parent = tree.AddChild(nullptr, "p");
    AddNode(tree, parent, "2001", image::Newspaper);
    AddNode(tree, parent, "2003", image::Newspaper);
    AddNode(tree, parent, "2002", image::Newspaper);
    SortChildren(parent);
    EXPECT_EQ(ChildTexts(parent), (std::vector<std::string>{"2003", "2002", "2001"}));
}

TEST(CompareNodes, TextOrderIsByteOrder) {
    TTreeNodes tree;
    TTreeNode* parent = tree.AddChild(nullptr, "p");
    AddNode(tree, parent, "\xE0", image::Folder); // Cyrillic small a, above every ASCII byte
    AddNode(tree, parent, "Z", image::Folder);
    AddNode(tree, parent, "a", image::Folder);
    SortChildren(parent);
    EXPECT_EQ(ChildTexts(parent), (std::vector<std::string>{"Z", "a", "\xE0"}));
}

TEST(TIdList, KeepsFirstInsertionOrderWithoutDuplicates) {
    TIdList ids;
    EXPECT_TRUE(ids.Add(5));
    EXPECT_TRUE(ids.Add(-3));
    EXPECT_FALSE(ids.Add(5));
    EXPECT_TRUE(ids.Add(7));
    EXPECT_EQ(ids.Items(), (std::vector<int32_t>{5, -3, 7}));
    EXPECT_TRUE(ids.Contains(-3));
    EXPECT_FALSE(ids.Contains(4));
}

} // namespace
} // namespace kvelo
