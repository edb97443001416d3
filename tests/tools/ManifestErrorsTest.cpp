// Manifests the packer must refuse, each with a message that names the fault.
#include "PackFixture.h"

#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using kvelo::testing::TempDir;
using nlohmann::json;

namespace {

json goodManifest() {
    return json::parse(R"({
      "name": "База", "storage": "companion",
      "tree": [{"folder": "Папка", "children": [{"doc": 1}]}, {"doc": 2}],
      "documents": [
        {"id": 1, "title": "Первый", "text": "{\\rtf1 a}", "comment": "NB"},
        {"id": 2, "title": "Второй", "text": "{\\rtf1 b}"}
      ]
    })");
}

struct ErrorCase {
    const char* name;
    std::function<void(json&)> damage;
    const char* message; // a part of the expected message
};

std::vector<json> manyDocNodes(int count) {
    std::vector<json> nodes(size_t(count), json{{"doc", 2}});
    return nodes;
}

const ErrorCase errorCases[] = {
    {"UnknownDocumentInTree",
     [](json& m) {
         m["tree"].push_back({{"doc", 99}});
     },
     "tree node of document 99: no such document"},
    {"DocumentNotInTree", [](json& m) { m["tree"].erase(1); }, "document 2 is not in the tree"},
    {"FolderWithTooManyChildren", [](json& m) { m["tree"][0]["children"] = manyDocNodes(256); },
     "at most 255"},
    {"TopLevelWithTooManyChildren", [](json& m) { m["tree"] = manyDocNodes(256); }, "at most 255"},
    {"DuplicateId", [](json& m) { m["documents"][1]["id"] = 1; }, "document 1 is listed twice"},
    {"TitleOutsideCodePage", [](json& m) { m["documents"][0]["title"] = "Ω € 中"; },
     "not representable in code page 1251"},
    {"FolderNameOutsideCodePage", [](json& m) { m["tree"][0]["folder"] = "文件夹"; },
     "not representable in code page 1251"},
    {"MissingBodyFile",
     [](json& m) {
         m["documents"][0].erase("text");
         m["documents"][0]["body"] = "bodies/none.rtf";
     },
     "cannot read the body file"},
    {"TwoBodies", [](json& m) { m["documents"][0]["bytes_base64"] = "AAAA"; }, "exactly one of"},
    {"NoBody", [](json& m) { m["documents"][0].erase("text"); }, "exactly one of"},
    {"MissingTitle", [](json& m) { m["documents"][0].erase("title"); }, "\"title\" is missing"},
    {"BadDate", [](json& m) { m["documents"][0]["date"] = "31.02.2004"; }, "is no date"},
    {"IdOutOfRange", [](json& m) { m["documents"][0]["id"] = 4294967296LL; }, "must be between"},
    {"IdNotANumber", [](json& m) { m["documents"][0]["id"] = "1"; }, "must be an integer"},
    {"MisspelledField", [](json& m) { m["documents"][0]["titel"] = "x"; },
     "unknown field \"titel\""},
    {"UnknownStorage", [](json& m) { m["storage"] = "zip"; }, "\"storage\" must be"},
    {"LongBaseName", [](json& m) { m["name"] = std::string(256, 'a'); }, "at most 255"},
    {"CommentInSelfContainedBase", [](json& m) { m["storage"] = "self-contained"; },
     "only in companion-file bases"},
    {"SourceTypeWithoutAttach", [](json& m) { m["documents"][1]["sourceType"] = "xls"; },
     "only with an \"attach\""},
    {"FolderImageOnDocument", [](json& m) { m["tree"][1]["image"] = 1; }, "marks a folder"},
    {"DocumentImageOnFolder", [](json& m) { m["tree"][0]["image"] = 4; }, "marks a document"},
    {"NodeBothFolderAndDoc", [](json& m) { m["tree"][1]["folder"] = "x"; },
     "exactly one of \"folder\" and \"doc\""},
    {"CompanionKeyTooWide", [](json& m) { m["companionKey"] = 70000; }, "must be between"},
    {"CompanionKeyOnSelfContained",
     [](json& m) {
         m["storage"] = "self-contained";
         m["documents"][0].erase("comment");
         m["companionKey"] = 5;
     },
     "needs \"storage\": \"companion\""},
    {"TreeNotAnArray", [](json& m) { m["tree"] = json::object(); }, "\"tree\" must be an array"},
};

class ManifestErrors : public ::testing::TestWithParam<ErrorCase> {
protected:
    TempDir dir;
};

TEST_P(ManifestErrors, AreRefusedWithAClearMessage) {
    json manifest = goodManifest();
    GetParam().damage(manifest);
    const std::string out = dir.File("base.kvl");
    try {
        kvelo::pack::PackBase(manifest, dir.Path(), out);
        FAIL() << "no PackError";
    } catch (const kvelo::pack::PackError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << "a refused manifest writes no file";
}

INSTANTIATE_TEST_SUITE_P(Cases, ManifestErrors, ::testing::ValuesIn(errorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ManifestErrorsGood, TheUndamagedManifestPacks) {
    TempDir dir;
    EXPECT_NO_THROW(kvelo::pack::PackBase(goodManifest(), dir.Path(), dir.File("base.kvl")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("base.dcm")));
}

TEST(ManifestFile, BadJsonNamesTheFile) {
    TempDir dir;
    const std::string path = dir.File("m.json");
    const std::string text = "{ \"name\": ";
    kvelo::WriteFileAtomic(path, text.data(), text.size());
    try {
        kvelo::pack::ReadManifestFile(path);
        FAIL();
    } catch (const kvelo::pack::PackError& e) {
        EXPECT_NE(std::string(e.what()).find("m.json"), std::string::npos);
    }
}

} // namespace
