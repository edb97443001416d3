// Opening base files built by the packer: storage modes, scrambling,
// companion files, per-document accessors, bodies, lazy folders and
// locating documents in the tree.
#include "BaseFixture.h"

#include "bases/BodyKind.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"

namespace kvelo::testing {
namespace {

std::string BodyText(const std::unique_ptr<TStream>& body) {
    if (!body) return "<none>";
    std::string s(static_cast<size_t>(body->Size()), '\0');
    body->ReadBuffer(s.data(), s.size());
    return s;
}

class BaseFileTest : public ::testing::Test {
protected:
    TempFolder dir;
    BaseTree tree;

    json Nested() {
        return {{"name", "Nested"},
                {"tree",
                 {{{"folder", "Codes"},
                   {"children",
                    {{{"folder", "Civil"}, {"children", {{{"doc", 3}}, {{"doc", 2}}}}},
                     {{"doc", 1}},
                     {{"folder", "Empty"}, {"children", json::array()}}}}},
                  {{"doc", 4}},
                  {{"doc", 2}, {"image", 16}, {"name", "Shortcut"}}}},
                {"documents", {Doc(1, "One"), Doc(2, "Two"), Doc(3, "Three"), Doc(4, "Four")}}};
    }
};

TEST_F(BaseFileTest, SelfContainedBaseAnswersForItsDocuments) {
    json m = FlatBase("Main", {Doc(7, "Seven", "{\\rtf1 seven}"), Doc(9, "Nine", "nine")});
    m["language"] = 1;
    m["recordCount"] = 42;
    m["documents"][1]["excluded"] = true;
    auto base = tree.Open(Pack(m, dir.File("main.phb")));
    ASSERT_TRUE(base->Opened());
    TTreeNode* node = base->RootNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Parent(), tree.root);
    EXPECT_EQ(node->Text(), "Main");
    EXPECT_EQ(node->ImageIndex(), image::Base);
    EXPECT_EQ(node->Data(), reinterpret_cast<std::intptr_t>(base.get()));
    ASSERT_EQ(node->Count(), 1); // the placeholder
    EXPECT_EQ(node->Item(0)->Data(), 0);
    EXPECT_EQ(base->GetDocCount(), 2);
    EXPECT_EQ(base->GetRecordCount(), 42);
    EXPECT_EQ(base->GetLanguage(), 1);
    EXPECT_EQ(base->GetBaseDate(), 0);

    ASSERT_TRUE(base->SelectDoc(7));
    EXPECT_EQ(base->GetCurrentId(), 7);
    EXPECT_EQ(base->GetTitle(), "Seven");
    EXPECT_EQ(base->GetDate(), *EncodeDate(2003, 2, 1));
    EXPECT_FALSE(base->IsExcluded());
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 seven}");
    EXPECT_EQ(base->GetComment(), "");
    EXPECT_EQ(base->GetSourceType(), "");
    EXPECT_FALSE(base->IsRichViewBody());
    EXPECT_EQ(base->GetAttachStream(), nullptr);

    ASSERT_TRUE(base->SelectDoc(9));
    EXPECT_TRUE(base->IsExcluded());
    EXPECT_EQ(BodyText(base->GetDocStream()), "nine");

    EXPECT_FALSE(base->SelectDoc(8));
    EXPECT_EQ(base->GetCurrentId(), 9);
    TIdList all;
    base->ListAllDocs(all);
    EXPECT_EQ(all.Items(), (std::vector<int32_t>{7, 9}));
}

TEST_F(BaseFileTest, AccessorsReselectTheCurrentDocument) {
    auto base = tree.Open(Pack(FlatBase("B", {Doc(1, "A"), Doc(2, "B")}), dir.File("b.phb")));
    ASSERT_TRUE(base->SelectDoc(2));
    EXPECT_EQ(base->GetTitle(), "B");
    // Reading one accessor moves the stream; the next still reads document 2.
    EXPECT_EQ(base->GetDate(), *EncodeDate(2003, 2, 1));
    EXPECT_EQ(base->GetTitle(), "B");
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 body}");
    EXPECT_EQ(base->GetTitle(), "B");
}

TEST_F(BaseFileTest, NegativeIdsAndTableOrder) {
    auto base =
        tree.Open(Pack(FlatBase("N", {Doc(-5, "minus"), Doc(0, "zero"), Doc(2147483647, "max")}),
                       dir.File("n.phb")));
    for (int32_t id : {-5, 0, 2147483647})
        EXPECT_TRUE(base->SelectDoc(id)) << id;
    EXPECT_FALSE(base->SelectDoc(-2147483647 - 1));
    ASSERT_TRUE(base->SelectDoc(-5));
    EXPECT_EQ(base->GetTitle(), "minus");
}

TEST_F(BaseFileTest, LongTitleIsWholeButTheNodeTextIsCut) {
    const std::string title(300, 'T');
    json m = FlatBase("L", {Doc(1, title)});
    m["tree"][0]["name"] = std::string(300, 'N');
    auto base = tree.Open(Pack(m, dir.File("l.phb")));
    ASSERT_TRUE(base->SelectDoc(1));
    EXPECT_EQ(base->GetTitle(), title);
    base->ExpandNode(base->RootNode());
    ASSERT_EQ(base->RootNode()->Count(), 1);
    EXPECT_EQ(base->RootNode()->Item(0)->Text(), std::string(255, 'N'));
}

class BodySizes : public BaseFileTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(BodySizes, InflateWhole) {
    std::string body = "{\\rtf1 ";
    while (body.size() < GetParam())
        body += static_cast<char>('a' + body.size() % 23);
    body.resize(GetParam());
    auto base = tree.Open(Pack(FlatBase("S", {Doc(1, "big", body)}), dir.File("s.phb")));
    ASSERT_TRUE(base->SelectDoc(1));
    const auto stream = base->GetDocStream();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(stream->Size(), static_cast<int64_t>(GetParam()));
    EXPECT_EQ(BodyText(stream), body);
}

INSTANTIATE_TEST_SUITE_P(Bytes, BodySizes, ::testing::Values(524288, 1000000, 524289));

TEST_F(BaseFileTest, ScrambledBaseReadsLikeAPlainOne) {
    json m = Nested();
    m["scrambleKey"] = 0x7A31C5;
    const std::string path = Pack(m, dir.File("s.phb"));
    auto base = tree.Open(path);
    ASSERT_TRUE(base->Opened());
    ASSERT_TRUE(base->SelectDoc(3));
    EXPECT_EQ(base->GetTitle(), "Three");
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 body}");
    TTreeNode* located = base->LocateNode(3);
    ASSERT_NE(located, nullptr);
    EXPECT_EQ(located->Text(), "Three");
}

TEST_F(BaseFileTest, ScrambleKeyWithZeroLowBitsChangesNothing) {
    json m = Nested();
    const auto plain = ReadBytes(Pack(m, dir.File("plain.phb")));
    m["scrambleKey"] = 0x00010000;
    const std::string path = Pack(m, dir.File("keyed.phb"));
    const auto keyed = ReadBytes(path);
    ASSERT_EQ(plain.size(), keyed.size());
    EXPECT_TRUE(std::equal(plain.begin() + 572, plain.end(), keyed.begin() + 572));
    auto base = tree.Open(path);
    ASSERT_TRUE(base->SelectDoc(4));
    EXPECT_EQ(base->GetTitle(), "Four");
}

json CompanionBase(const std::string& baseDate) {
    json d = Doc(5, "Five", "{\\rtf1 five}");
    d["comment"] = "NB note";
    d["changeDate"] = "03.04.2005";
    d["attach"] = "five.xls";
    d["sourceType"] = "xls";
    json e = Doc(6, "Six", "{\\rtf1 six}");
    e["comment"] = "other";
    e["richView"] = true;
    json m = FlatBase("Comp", {d, e});
    m["storage"] = "companion";
    m["baseDate"] = baseDate;
    return m;
}

TEST_F(BaseFileTest, CompanionBaseReadsBodiesCommentsAndAttachments) {
    WriteBytes(dir.File("five.xls"), {'X', 'L', 'S', '!'});
    auto base = tree.Open(Pack(CompanionBase("27.01.2004"), dir.File("c.kvl")));
    ASSERT_TRUE(base->Opened());
    EXPECT_EQ(base->Mode(), StorageMode::Companion);
    EXPECT_EQ(base->GetBaseDate(), *EncodeDate(2004, 1, 27));
    ASSERT_TRUE(base->SelectDoc(5));
    EXPECT_EQ(base->GetComment(), "NB note");
    EXPECT_EQ(base->GetChangeDate(), *EncodeDate(2005, 4, 3));
    EXPECT_EQ(base->GetSourceType(), "xls");
    EXPECT_FALSE(base->IsRichViewBody());
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 five}");
    auto attach = base->GetAttachStream();
    ASSERT_NE(attach, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(attach->Read(bytes, sizeof bytes), 4u);
    EXPECT_EQ(std::string(bytes, 4), "XLS!");

    ASSERT_TRUE(base->SelectDoc(6));
    EXPECT_EQ(base->GetComment(), "other");
    EXPECT_EQ(base->GetSourceType(), "");
    EXPECT_EQ(base->GetAttachStream(), nullptr);
    // An RTF body in a record with the RichView flag: the kind stays RTF, the flag is set.
    EXPECT_TRUE(base->IsRichViewBody());
    auto body = base->GetDocStream();
    EXPECT_EQ(shFormatFromStream(body.get()), ".rtf");
}

TEST_F(BaseFileTest, NoCommentsBeforeTwentySeventhOfJanuary2004) {
    WriteBytes(dir.File("five.xls"), {'x'});
    auto base = tree.Open(Pack(CompanionBase("26.01.2004"), dir.File("c.kvl")));
    ASSERT_TRUE(base->SelectDoc(5));
    EXPECT_EQ(base->GetComment(), "");
    EXPECT_EQ(base->GetChangeDate(), 0);
    EXPECT_EQ(base->GetSourceType(), "xls"); // not bound to the date
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 five}");
}

TEST_F(BaseFileTest, ScrambledCompanionNeedsItsKey) {
    WriteBytes(dir.File("five.xls"), {'x'});
    json m = CompanionBase("01.01.2010");
    m["companionKey"] = 4321;
    m["scrambleKey"] = 99;
    const std::string path = Pack(m, dir.File("c.kvl"));

    std::vector<std::string> asked;
    BaseOpenOptions options;
    options.companionKey = [&](const std::string& name) -> std::optional<uint16_t> {
        asked.push_back(name);
        return 4321;
    };
    auto base = tree.Open(path, options);
    ASSERT_TRUE(base->Opened());
    EXPECT_EQ(asked, (std::vector<std::string>{"c.dcm"}));
    ASSERT_TRUE(base->SelectDoc(6));
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 six}");

    options.companionKey = [](const std::string&) { return std::nullopt; };
    const int before = tree.root->Count();
    auto keyless = tree.Open(path, options);
    EXPECT_FALSE(keyless->Opened());
    EXPECT_EQ(tree.root->Count(), before); // no node for a base that is not shown
}

TEST_F(BaseFileTest, BukWithModeB42IsASupplementaryCompanionBase) {
    json m = FlatBase("Extra", {Doc(1, "One")});
    m["storage"] = "companion";
    m["modeB"] = 42;
    m["baseDate"] = "01.01.2010";
    auto buk = tree.Open(Pack(m, dir.File("extra.buk")));
    ASSERT_TRUE(buk->Opened());
    EXPECT_TRUE(buk->IsSupplementary());
    EXPECT_EQ(buk->Mode(), StorageMode::Companion);
    EXPECT_EQ(buk->RootNode()->ImageIndex(), image::Supplementary);
    EXPECT_EQ(buk->RootNode()->SelectedIndex(), image::Supplementary);
    ASSERT_TRUE(buk->SelectDoc(1));
    EXPECT_EQ(BodyText(buk->GetDocStream()), "{\\rtf1 body}");

    // The same bytes under another extension: mode 42, not accepted.
    for (const char* name : {"extra.phb", "EXTRA.BUK"}) {
        std::filesystem::copy_file(dir.File("extra.buk"), dir.File(name));
        const std::string companion = CompanionFileName(dir.File(name));
        if (companion != dir.File("extra.dcm"))
            std::filesystem::copy_file(dir.File("extra.dcm"), companion);
        EXPECT_FALSE(tree.Open(dir.File(name))->Opened()) << name;
    }
}

TEST_F(BaseFileTest, ModeSumOfOneIsNotAccepted) {
    json m = FlatBase("One", {Doc(1, "One")});
    m["modeA"] = 1;
    auto base = tree.Open(Pack(m, dir.File("one.phb")));
    EXPECT_FALSE(base->Opened());
    EXPECT_EQ(base->RootNode(), nullptr);
    EXPECT_FALSE(base->SelectDoc(1));
}

TEST_F(BaseFileTest, CompanionWithZeroBaseDateIsReplacedFromDataCopy) {
    WriteBytes(dir.File("five.xls"), {'x'});
    const std::string path = Pack(CompanionBase("01.06.2009"), dir.File("c.kvl"));
    const auto good = ReadBytes(dir.File("c.dcm"));
    auto stale = good;
    std::fill(stale.begin() + 288, stale.begin() + 296, 0);
    WriteBytes(dir.File("c.dcm"), stale);

    BaseOpenOptions options;
    options.programDir = dir.File("prog");
    EXPECT_FALSE(tree.Open(path, options)->Opened()); // no spare copy yet

    std::filesystem::create_directories(dir.File("prog/DataCopy"));
    WriteBytes(dir.File("prog/DataCopy/c.dcm"), good);
    auto base = tree.Open(path, options);
    ASSERT_TRUE(base->Opened());
    EXPECT_EQ(base->GetBaseDate(), *EncodeDate(2009, 6, 1));
    EXPECT_EQ(ReadBytes(dir.File("c.dcm")), good);
    ASSERT_TRUE(base->SelectDoc(5));
    EXPECT_EQ(BodyText(base->GetDocStream()), "{\\rtf1 five}");
}

// --- the folder tree ----------------------------------------------------------

std::vector<std::string> Texts(const TTreeNode* node) {
    std::vector<std::string> texts;
    for (int i = 0; i < node->Count(); ++i)
        texts.push_back(node->Item(i)->Text());
    return texts;
}

TEST_F(BaseFileTest, FoldersAreReadOnceOnExpansion) {
    auto base = tree.Open(Pack(Nested(), dir.File("n.phb")));
    TTreeNode* top = base->RootNode();
    base->ExpandNode(top);
    ASSERT_EQ(Texts(top), (std::vector<std::string>{"Codes", "Four", "Shortcut"}));
    EXPECT_EQ(base->GetNodeDocId(top->Item(1)), 4);
    EXPECT_EQ(base->GetNodeDocId(top->Item(2)), 2);
    EXPECT_EQ(top->Item(2)->ImageIndex(), image::Shortcut);
    EXPECT_EQ(base->GetNodeDocId(top), 0);
    EXPECT_EQ(top->Data(), reinterpret_cast<std::intptr_t>(base.get())); // kept

    TTreeNode* codes = top->Item(0);
    EXPECT_EQ(codes->ImageIndex(), image::Folder);
    EXPECT_EQ(codes->SelectedIndex(), image::FolderOpen);
    ASSERT_EQ(codes->Count(), 1); // placeholder
    const std::intptr_t childPos = codes->Data();
    base->ExpandNode(codes);
    ASSERT_EQ(Texts(codes), (std::vector<std::string>{"Civil", "One", "Empty"}));
    EXPECT_EQ(codes->Data(), childPos); // the packer's default key is the ChildPos

    TTreeNode* first = codes->Item(0);
    base->ExpandNode(codes); // already read: left alone
    EXPECT_EQ(codes->Item(0), first);

    TTreeNode* empty = codes->Item(2);
    base->ExpandNode(empty);
    EXPECT_EQ(empty->Count(), 0); // a block of 0 children removes the placeholder
    base->ExpandNode(empty);
    EXPECT_EQ(empty->Count(), 0);
}

TEST_F(BaseFileTest, FolderKeyBecomesTheDataOfTheExpandedFolder) {
    json m = Nested();
    m["tree"][0]["key"] = 777;
    auto base = tree.Open(Pack(m, dir.File("k.phb")));
    base->ExpandNode(base->RootNode());
    TTreeNode* codes = base->RootNode()->Item(0);
    EXPECT_NE(codes->Data(), 777);
    base->ExpandNode(codes);
    EXPECT_EQ(codes->Data(), 777);
    // Located both before and after expansion.
    TTreeNode* located = base->LocateNode(1);
    ASSERT_NE(located, nullptr);
    EXPECT_EQ(located->Parent(), codes);
}

TEST_F(BaseFileTest, LocateNodeExpandsThePathToADeepDocument) {
    auto base = tree.Open(Pack(Nested(), dir.File("n.phb")));
    TTreeNode* three = base->LocateNode(3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->Text(), "Three");
    EXPECT_EQ(three->Parent()->Text(), "Civil");
    EXPECT_EQ(three->Parent()->Parent()->Text(), "Codes");
    EXPECT_EQ(three->Parent()->Parent()->Parent(), base->RootNode());
    // Locating again finds the same node; nothing is re-read.
    EXPECT_EQ(base->LocateNode(3), three);
    // The first tree record of a document with two nodes wins.
    TTreeNode* two = base->LocateNode(2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->Text(), "Two");
    EXPECT_EQ(base->LocateNode(4)->Parent(), base->RootNode());
    EXPECT_EQ(base->LocateNode(99), nullptr);
}

TEST_F(BaseFileTest, LocateNodeGivesTheFolderWhenNoChildMatches) {
    const std::string path = Pack(Nested(), dir.File("n.phb"));
    auto bytes = ReadBytes(path);
    // Document 3's own node (in folder Civil) claims another identifier.
    const DocLayout three = LayoutOf(bytes, 2);
    ASSERT_GT(three.parentPos, 0);
    PutI32(bytes, three.treePos, 55555);
    WriteBytes(path, bytes);
    auto base = tree.Open(path);
    TTreeNode* located = base->LocateNode(3);
    ASSERT_NE(located, nullptr);
    EXPECT_EQ(located->Text(), "Civil");
}

} // namespace
} // namespace kvelo::testing
