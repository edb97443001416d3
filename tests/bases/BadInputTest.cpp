// Damaged base and companion files: every case ends in a clean error, a
// base that is not shown, or one document without a body, never in a
// crash, a hang or an unbounded allocation.
#include "BaseFixture.h"

#include "bases/BaseErrors.h"

namespace kvelo::testing {
namespace {

class BadInput : public ::testing::Test {
protected:
    TempFolder dir;
    BaseTree tree;
    std::string path = dir.File("bad.phb");

    json Manifest() {
        return {
            {"name", "Bad"},
            {"tree",
             {{{"folder", "Outer"},
               {"children", {{{"folder", "Inner"}, {"children", {{{"doc", 2}}}}}, {{"doc", 1}}}}},
              {{"doc", 3}}}},
            {"documents", {Doc(1, "One"), Doc(2, "Two"), Doc(3, "Three", std::string(5000, 'z'))}}};
    }
    std::vector<uint8_t> Packed() { return ReadBytes(Pack(Manifest(), path)); }
    void Save(const std::vector<uint8_t>& bytes) { WriteBytes(path, bytes); }
    // Opening must fail with an exception and leave the tree alone.
    void ExpectRefused() {
        const int before = tree.root->Count();
        EXPECT_THROW(tree.Open(path), std::exception);
        EXPECT_EQ(tree.root->Count(), before);
    }
};

class Truncated : public BadInput, public ::testing::WithParamInterface<int> {};

TEST_P(Truncated, FileIsRefused) {
    auto bytes = Packed();
    // Negative: that many bytes before the end of the document table.
    const int cut = GetParam();
    const size_t tableEnd = static_cast<size_t>(GetI32(bytes, 264)) + 8 * GetU16(bytes, 260);
    bytes.resize(cut >= 0 ? static_cast<size_t>(cut) : tableEnd + cut);
    Save(bytes);
    ExpectRefused();
}

// Lengths: empty, inside the header, the header alone, a document table cut short.
INSTANTIATE_TEST_SUITE_P(Lengths, Truncated, ::testing::Values(0, 3, 100, 571, 572, -1, -7));

TEST_F(BadInput, WrongMagicRaisesErrBase) {
    auto bytes = Packed();
    bytes[3] = '2';
    Save(bytes);
    try {
        tree.Open(path);
        FAIL() << "opened";
    } catch (const EBaseError& e) {
        EXPECT_EQ(e.Key(), "errBase");
    }
}

TEST_F(BadInput, DocumentTableOutsideTheFileIsRefusedBeforeAllocating) {
    for (int32_t offset : {-8, 1 << 30, 0x7FFFFFF0}) {
        auto bytes = Packed();
        PutU16(bytes, 260, 65535);
        PutI32(bytes, 264, offset);
        Save(bytes);
        ExpectRefused();
    }
    // A plausible offset whose 65,535 entries run past the end.
    auto bytes = Packed();
    PutU16(bytes, 260, 65535);
    Save(bytes);
    ExpectRefused();
}

TEST_F(BadInput, RecordOutsideTheFileFailsOnlyThatDocument) {
    auto bytes = Packed();
    const int32_t table = GetI32(bytes, 264);
    PutI32(bytes, table + 4, static_cast<int32_t>(bytes.size()) + 1000); // document 1
    PutI32(bytes, table + 8 + 4, -20);                                   // document 2
    Save(bytes);
    auto base = tree.Open(path);
    ASSERT_TRUE(base->Opened());
    ASSERT_TRUE(base->SelectDoc(1));
    EXPECT_THROW(base->GetTitle(), EReadError);
    EXPECT_THROW(base->GetDocStream(), EReadError);
    EXPECT_EQ(base->LocateNode(1), nullptr);
    EXPECT_FALSE(base->SelectDoc(2)); // a record before the file start is no record
    ASSERT_TRUE(base->SelectDoc(3));
    EXPECT_EQ(base->GetTitle(), "Three");
}

TEST_F(BadInput, TreePositionOutsideTheFile) {
    auto bytes = Packed();
    const DocLayout three = LayoutOf(bytes, 2);
    PutI32(bytes, three.recordOffset, static_cast<int32_t>(bytes.size()) - 5);
    Save(bytes);
    auto base = tree.Open(path);
    EXPECT_EQ(base->LocateNode(3), nullptr);
    ASSERT_TRUE(base->SelectDoc(3));
    EXPECT_THROW(base->IsExcluded(), EReadError);
    EXPECT_EQ(base->GetTitle(), "Three");
}

TEST_F(BadInput, FolderBlockRunningPastTheEndKeepsThePlaceholder) {
    auto bytes = Packed();
    PutI32(bytes, 268, static_cast<int32_t>(bytes.size()) - 3);
    Save(bytes);
    auto base = tree.Open(path);
    TTreeNode* top = base->RootNode();
    base->ExpandNode(top);
    ASSERT_EQ(top->Count(), 1);
    EXPECT_EQ(top->Item(0)->Data(), 0);
    EXPECT_EQ(base->LocateNode(3), top); // the document's parent is the top level
}

TEST_F(BadInput, TreeRecordNameRunningPastTheEndKeepsThePlaceholder) {
    for (int32_t length : {0x7FFFFFFF, -1}) {
        auto bytes = Packed();
        const int32_t root = GetI32(bytes, 268);
        PutI32(bytes, root + 5 + 16, length); // the first record's NameLength
        Save(bytes);
        auto base = tree.Open(path);
        base->ExpandNode(base->RootNode());
        ASSERT_EQ(base->RootNode()->Count(), 1) << length;
        EXPECT_EQ(base->RootNode()->Item(0)->Data(), 0);
    }
}

TEST_F(BadInput, NegativeRootFolderOffset) {
    auto bytes = Packed();
    PutI32(bytes, 268, -100);
    Save(bytes);
    auto base = tree.Open(path);
    base->ExpandNode(base->RootNode());
    EXPECT_EQ(base->RootNode()->Count(), 1);
}

TEST_F(BadInput, CycleOfParentLinksEnds) {
    auto bytes = Packed();
    const DocLayout two = LayoutOf(bytes, 1); // in Inner, which is in Outer
    const int32_t inner = two.parentPos;
    const int32_t outer = GetI32(bytes, inner + 4);
    ASSERT_GT(outer, GetI32(bytes, 268));
    PutI32(bytes, outer + 4, inner); // Outer's parent is Inner: a cycle
    Save(bytes);
    auto base = tree.Open(path);
    EXPECT_EQ(base->LocateNode(2), nullptr);

    PutI32(bytes, inner + 4, inner); // a folder that is its own parent
    Save(bytes);
    auto again = tree.Open(path);
    EXPECT_EQ(again->LocateNode(2), nullptr);
    EXPECT_NE(again->LocateNode(3), nullptr); // other documents are still found
}

TEST_F(BadInput, DamagedBodyRaisesErrorForThatDocumentOnly) {
    auto bytes = Packed();
    const DocLayout two = LayoutOf(bytes, 1);
    bytes[two.bodyOffset] = 0xFF;
    bytes[two.bodyOffset + 1] = 0xFF;
    Save(bytes);
    auto base = tree.Open(path);
    ASSERT_TRUE(base->SelectDoc(2));
    try {
        base->GetDocStream();
        FAIL() << "no exception";
    } catch (const EDecompressionError& e) {
        EXPECT_STREQ(e.what(), "error");
    }
    ASSERT_TRUE(base->SelectDoc(3));
    EXPECT_EQ(base->GetDocStream()->Size(), 5000);
}

TEST_F(BadInput, BodyLargerThanTheLimitRaisesError) {
    Pack(FlatBase("Big", {Doc(1, "big", std::string(3 << 20, ' '))}), path);
    BaseOpenOptions options;
    options.maxBodyBytes = 1 << 20;
    auto base = tree.Open(path, options);
    ASSERT_TRUE(base->SelectDoc(1));
    EXPECT_THROW(base->GetDocStream(), EDecompressionError);
}

// --- companion files ------------------------------------------------------------

class BadCompanion : public BadInput {
protected:
    std::string basePath = dir.File("c.kvl");
    std::string companionPath = dir.File("c.dcm");

    void PackCompanion(const std::vector<json>& docs) {
        json m = FlatBase("C", docs);
        m["storage"] = "companion";
        m["baseDate"] = "01.01.2010";
        Pack(m, basePath);
    }
};

TEST_F(BadCompanion, MissingOrShortCompanionHidesTheBase) {
    PackCompanion({Doc(1, "One")});
    const auto good = ReadBytes(companionPath);
    std::filesystem::remove(companionPath);
    EXPECT_FALSE(tree.Open(basePath)->Opened());
    WriteBytes(companionPath, std::vector<uint8_t>(good.begin(), good.begin() + 551));
    EXPECT_FALSE(tree.Open(basePath)->Opened());
    EXPECT_EQ(tree.root->Count(), 0);
}

TEST_F(BadCompanion, CompanionTableOutsideOrTooShortIsRefused) {
    PackCompanion({Doc(1, "One"), Doc(2, "Two")});
    auto bytes = ReadBytes(companionPath);
    auto outside = bytes;
    PutI32(outside, 260, static_cast<int32_t>(bytes.size()) - 8); // two entries need 16 bytes
    WriteBytes(companionPath, outside);
    EXPECT_THROW(tree.Open(basePath), EReadError);
    auto fewer = bytes;
    PutU16(fewer, 258, 1);
    WriteBytes(companionPath, fewer);
    EXPECT_THROW(tree.Open(basePath), EReadError);
}

TEST_F(BadCompanion, BodyShorterThanItsStreamEndsWithWhatWasInflated) {
    std::string text;
    for (int i = 0; text.size() < 200000; ++i)
        text += std::to_string(i * 7919) + ' ';
    PackCompanion({Doc(1, "One", text)});
    const auto bytes = ReadBytes(companionPath);
    // Rebuild the companion with its table before the body and cut the body in half.
    const int32_t table = GetI32(bytes, 260);
    const size_t bodyLength = static_cast<size_t>(table) - 552;
    std::vector<uint8_t> rebuilt(bytes.begin(), bytes.begin() + 552);
    PutI32(rebuilt, 260, 552);
    rebuilt.resize(560);
    PutI32(rebuilt, 552, 1);
    PutI32(rebuilt, 556, 560);
    rebuilt.insert(rebuilt.end(), bytes.begin() + 552, bytes.begin() + 552 + bodyLength / 2);
    WriteBytes(companionPath, rebuilt);

    auto base = tree.Open(basePath);
    ASSERT_TRUE(base->SelectDoc(1));
    auto body = base->GetDocStream();
    ASSERT_NE(body, nullptr);
    EXPECT_GT(body->Size(), 0);
    EXPECT_LT(body->Size(), static_cast<int64_t>(text.size()));
    std::string got(static_cast<size_t>(body->Size()), '\0');
    body->ReadBuffer(got.data(), got.size());
    EXPECT_EQ(got, text.substr(0, got.size()));
}

TEST_F(BadCompanion, NegativeBodyOffsetMakesTheDocumentAbsent) {
    PackCompanion({Doc(1, "One"), Doc(2, "Two")});
    auto bytes = ReadBytes(companionPath);
    PutI32(bytes, GetI32(bytes, 260) + 4, -1);
    WriteBytes(companionPath, bytes);
    auto base = tree.Open(basePath);
    EXPECT_FALSE(base->SelectDoc(1));
    EXPECT_TRUE(base->SelectDoc(2));
}

} // namespace
} // namespace kvelo::testing
