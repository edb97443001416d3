// Bases built by the packer, opened with the bases reader: every field the
// manifest sets comes back, through scrambling, companion files and lazily
// read folders.
#include "PackFixture.h"

#include "bases/Base.h"
#include "bases/BodyKind.h"
#include "bases/NodeKinds.h"
#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/Streams.h"
#include "platform/TreeNodes.h"

#include <gtest/gtest.h>

#include <filesystem>

using kvelo::testing::TempDir;
using nlohmann::json;

namespace {

std::string cp(const char* utf8) {
    return kvelo::cp1251::fromUtf8(utf8);
}

std::string bodyText(std::unique_ptr<kvelo::TStream> body) {
    if (!body) return "<none>";
    return body->ReadBytes(size_t(body->Size()));
}

const char* const manifestText = R"({
  "name": "Проверка", "language": 1, "storage": "companion", "baseDate": "27.01.2004",
  "tree": [
    {"folder": "Верх", "children": [
       {"folder": "Низ", "key": 900, "children": [{"doc": 7}]},
       {"doc": 5}]},
    {"doc": 6}
  ],
  "documents": [
    {"id": 5, "title": "Пятый", "date": "03.04.2005", "text": "{\\rtf1 пять}",
     "comment": "NB заметка", "changeDate": "04.05.2006", "attach": "five.xls", "sourceType": "xls"},
    {"id": 6, "title": "Шестой", "text": "{\\rtf1 six}", "richView": true, "excluded": true},
    {"id": 7, "title": "Седьмой", "bytes_base64": "iVBORw0KGgo="}
  ]
})";

// Packs into a fresh folder and opens the result under a tree root, the way
// the catalogue does, with an optional companion key.
class ReadBack : public ::testing::TestWithParam<bool /* scrambled */> {
protected:
    TempDir dir;
    kvelo::TTreeNodes tree{"TreeBase"};
    kvelo::TTreeNode* root = tree.AddChild(nullptr, "root");

    std::unique_ptr<kvelo::TBase> packAndOpen() {
        const std::string xls = "XLS!";
        kvelo::WriteFileAtomic(dir.File("five.xls"), xls.data(), xls.size());
        json m = json::parse(manifestText);
        if (GetParam()) {
            m["scrambleKey"] = 0x7A31;
            m["companionKey"] = 999;
        }
        kvelo::pack::PackBase(m, dir.Path(), dir.File("check.kvl"));
        kvelo::BaseOpenOptions options;
        options.companionKey = [](const std::string& name) -> std::optional<uint16_t> {
            if (name == "check.dcm") return 999;
            return std::nullopt;
        };
        auto base = std::make_unique<kvelo::TBase>(dir.File("check.kvl"), root, options);
        EXPECT_TRUE(base->Opened());
        return base;
    }
};

TEST_P(ReadBack, RecordsAndBodies) {
    auto base = packAndOpen();
    EXPECT_EQ(base->Header().name, cp("Проверка"));
    EXPECT_EQ(base->GetDocCount(), 3);
    EXPECT_EQ(base->GetLanguage(), 1);
    EXPECT_EQ(base->GetBaseDate(), *kvelo::EncodeDate(2004, 1, 27));

    ASSERT_TRUE(base->SelectDoc(5));
    EXPECT_EQ(base->GetTitle(), cp("Пятый"));
    EXPECT_EQ(base->GetDate(), *kvelo::EncodeDate(2005, 4, 3));
    EXPECT_EQ(base->GetComment(), cp("NB заметка"));
    EXPECT_EQ(base->GetChangeDate(), *kvelo::EncodeDate(2006, 5, 4));
    EXPECT_EQ(base->GetSourceType(), "xls");
    EXPECT_FALSE(base->IsRichViewBody());
    EXPECT_FALSE(base->IsExcluded());
    EXPECT_EQ(bodyText(base->GetDocStream()), cp("{\\rtf1 пять}"));
    auto attach = base->GetAttachStream();
    ASSERT_NE(attach, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(attach->Read(bytes, sizeof bytes), 4u);
    EXPECT_EQ(std::string(bytes, 4), "XLS!");

    ASSERT_TRUE(base->SelectDoc(6));
    EXPECT_TRUE(base->IsRichViewBody());
    EXPECT_TRUE(base->IsExcluded());
    EXPECT_EQ(base->GetSourceType(), "");

    ASSERT_TRUE(base->SelectDoc(7));
    EXPECT_EQ(shFormatFromStream(base->GetDocStream().get()), ".png");
    EXPECT_FALSE(base->SelectDoc(8));
}

TEST_P(ReadBack, FoldersExpandAndDocumentsAreLocated) {
    auto base = packAndOpen();
    kvelo::TTreeNode* node = base->LocateNode(7); // two folders deep, never expanded
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Text(), cp("Седьмой"));
    EXPECT_EQ(base->GetNodeDocId(node), 7);
    kvelo::TTreeNode* low = node->Parent();
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->Text(), cp("Низ"));
    EXPECT_EQ(base->GetNodeDocId(low), 900) << "an expanded folder carries its key";
    EXPECT_EQ(low->Parent()->Text(), cp("Верх"));

    kvelo::TTreeNode* top = base->RootNode();
    ASSERT_EQ(top->Count(), 2);
    EXPECT_EQ(top->Item(1)->ImageIndex(), 18);
    EXPECT_TRUE(kvelo::IsDocument(top->Item(1)));
    EXPECT_EQ(base->LocateNode(5)->Parent(), low->Parent());
}

INSTANTIATE_TEST_SUITE_P(Plain, ReadBack, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Scrambled, ReadBack, ::testing::Values(true));

TEST(ReadBackDamaged, TruncatedBaseIsRefusedCleanly) {
    TempDir dir;
    json m = json::parse(manifestText);
    m["storage"] = "self-contained";
    m["baseDate"].clear();
    m.erase("baseDate");
    for (auto& d : m["documents"])
        for (const char* key : {"comment", "changeDate", "attach", "sourceType", "richView"})
            d.erase(key);
    kvelo::pack::PackBase(m, dir.Path(), dir.File("cut.phb"));
    auto bytes = kvelo::ReadWholeFile(dir.File("cut.phb"));
    bytes.resize(600); // header and a little of the tree: the document table is gone
    kvelo::WriteFileAtomic(dir.File("cut.phb"), bytes.data(), bytes.size());
    kvelo::TTreeNodes tree;
    EXPECT_ANY_THROW(kvelo::TBase(dir.File("cut.phb"), tree.AddChild(nullptr, "r")));
}

} // namespace
