// kvelo-query run as a program on a small program folder built in the test:
// a main base, a "LangBases" group with a scrambled companion-file base, and
// a kvel.ini naming the group and the companion key.
#include "PackFixture.h"

#include "bases/Catalogue.h"
#include "bases/QueryEngine.h"
#include "platform/Cp1251.h"
#include "platform/IniFile.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

using kvelo::testing::TempDir;
using nlohmann::json;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

std::string readFile(const std::string& path) {
    const auto bytes = kvelo::ReadWholeFile(path);
    return {bytes.begin(), bytes.end()};
}

void writeFile(const std::string& path, const std::string& text) {
    kvelo::WriteFileAtomic(path, text.data(), text.size());
}

class QueryTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string root = dir.File("program");

    void SetUp() override {
        std::filesystem::create_directories(root + "/DATA");
        std::filesystem::create_directories(dir.File("home"));
        kvelo::pack::PackBase(json::parse(R"({
          "name": "Главная", "tree": [
            {"folder": "Законы", "children": [{"doc": 11}]},
            {"doc": 12}],
          "documents": [
            {"id": 11, "title": "Закон", "date": "30.08.1996", "text": "{\\rtf1 закон}"},
            {"id": 12, "title": "Герб", "bytes_base64": "iVBORw0KGgo=", "excluded": true}]
        })"),
                              dir.Path(), root + "/DATA/main.phb");
        kvelo::pack::PackBase(json::parse(R"({
          "name": "Tarjima", "language": 1, "storage": "companion", "baseDate": "01.02.2024",
          "scrambleKey": 77, "companionKey": 4242,
          "tree": [{"doc": 21}],
          "documents": [{"id": 21, "title": "Qonun", "text": "{\\rtf1 qonun}",
                         "comment": "NB izoh", "changeDate": "02.02.2024"}]
        })"),
                              dir.Path(), root + "/DATA/tarjima.kvl");
        writeFile(root + "/kvel.ini",
                  kvelo::cp1251::fromUtf8("[LangBases]\nПереводы=.kvl\n[CompanionKeys]\n"
                                          "tarjima.dcm=4242\n"));
    }

    RunResult run(const std::string& args) {
        const std::string errPath = dir.File("stderr.txt");
        const std::string command = "XDG_DATA_HOME='" + dir.File("home") +
                                    "' '" KVELO_QUERY_EXE "' --root '" + root + "' " + args +
                                    " 2>'" + errPath + "'";
        RunResult result;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return result;
        char buffer[4096];
        while (const size_t n = fread(buffer, 1, sizeof buffer, pipe))
            result.out.append(buffer, n);
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = readFile(errPath);
        return result;
    }
};

TEST_F(QueryTest, BasesListsEveryBaseFileInCatalogueOrder) {
    const RunResult r = run("bases");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "main.phb\tГлавная\tself-contained\t2\t2\t-\t0\n"
                     "tarjima.kvl\tTarjima\tcompanion\t1\t1\t01.02.2024\t1\n");
}

TEST_F(QueryTest, TreeJsonShowsUnreadFoldersWithoutChildren) {
    const RunResult r = run("tree --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json root = json::parse(r.out);
    ASSERT_EQ(root["children"].size(), 2u);
    const json& main = root["children"][0];
    EXPECT_EQ(main["text"], "Главная");
    EXPECT_EQ(main["image"], 0);
    EXPECT_FALSE(main.contains("children")) << "not expanded yet";
    EXPECT_EQ(root["children"][1]["text"], "Переводы");
}

TEST_F(QueryTest, TreeExpandAllReadsEveryFolder) {
    const RunResult r = run("tree --expand-all --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json main = json::parse(r.out)["children"][0];
    ASSERT_EQ(main["children"].size(), 2u);
    const json& laws = main["children"][0];
    EXPECT_EQ(laws["text"], "Законы");
    EXPECT_EQ(laws["image"], 1);
    EXPECT_EQ(laws["selected"], 2);
    EXPECT_FALSE(laws.contains("id"));
    ASSERT_EQ(laws["children"].size(), 1u);
    EXPECT_EQ(laws["children"][0]["id"], 11);
    EXPECT_EQ(main["children"][1]["image"], 18);
    const json group = json::parse(r.out)["children"][1];
    EXPECT_EQ(group["children"][0]["children"][0]["id"], 21) << "scrambled companion base read";
}

TEST_F(QueryTest, InfoReportsRecordFieldsKindAndOwner) {
    RunResult r = run("info 21 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json info = json::parse(r.out);
    EXPECT_EQ(info["title"], "Qonun");
    EXPECT_EQ(info["comment"], "NB izoh");
    EXPECT_EQ(info["changeDate"], "02.02.2024");
    EXPECT_EQ(info["kind"], ".rtf");
    EXPECT_EQ(info["base"], "tarjima.kvl");
    EXPECT_EQ(info["excluded"], false);

    r = run("info 12 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    info = json::parse(r.out);
    EXPECT_EQ(info["kind"], ".png");
    EXPECT_EQ(info["excluded"], true);
    EXPECT_EQ(info["base"], "main.phb");

    r = run("info 11");
    EXPECT_NE(r.out.find("date: 30.08.1996\n"), std::string::npos) << r.out;
}

TEST_F(QueryTest, CatWritesTheInflatedBodyBytes) {
    const RunResult r = run("cat 11");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kvelo::cp1251::fromUtf8("{\\rtf1 закон}"));
}

TEST_F(QueryTest, BadArgumentsExitWithOneAndAMessage) {
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"info 999", "unknown document id: 999"},
        {"cat 999", "unknown document id: 999"},
        {"info abc", "not a document id"},
        {"cat", "a document id is needed"},
        {"tree --wide", "unknown argument"},
        {"frobnicate", "unknown command"},
        {"", "no command"},
    };
    for (const auto& c : cases) {
        const RunResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }
}

// The ids of a result folder the engine builds in this process from the same folder.
std::vector<int> engineIds(const std::string& root, const kvelo::TQuery& query,
                           bool onlyFirstBase = false) {
    kvelo::TIniFile settings(root + "/kvel.ini");
    kvelo::CatalogueOptions options;
    options.dataDir = root + "/DATA/";
    options.programDir = root + "/";
    options.settingsFile = &settings;
    kvelo::Catalogue catalogue(options);
    std::vector<kvelo::TKveloBase*> bases;
    for (const kvelo::TBaseName& entry : kvelo::SearchableBases(catalogue.Bases()))
        bases.push_back(entry.base);
    if (onlyFirstBase) bases.resize(1);
    const kvelo::TQueryResult result = kvelo::RunQuery(query, bases);
    kvelo::TIdList excluded;
    kvelo::TTreeNodes tree;
    kvelo::TSearchResults results(tree.AddChild(nullptr, "root"));
    kvelo::TTreeNode* folder = results.AddFolder(catalogue.Bases(), result.ids, excluded, "%d");
    std::vector<int> ids;
    for (int i = 0; i < folder->Count(); ++i)
        ids.push_back(kvelo::NodeRecord(folder->Item(i))->DocId);
    return ids;
}

std::vector<int> idsOf(const std::string& jsonText) {
    std::vector<int> ids;
    for (const json& entry : json::parse(jsonText))
        ids.push_back(entry["id"].get<int>());
    return ids;
}

TEST_F(QueryTest, FindGivesTheEnginesIdsInFolderOrder) {
    struct Case {
        const char* args;
        kvelo::TQuery query;
        bool onlyFirstBase;
    };
    auto with = [](auto change) {
        kvelo::TQuery q;
        change(q);
        return q;
    };
    const Case cases[] = {
        {"--text закон", with([](kvelo::TQuery& q) { q.text = kvelo::cp1251::fromUtf8("закон"); }),
         false},
        {"--title q", with([](kvelo::TQuery& q) { q.title = "q"; }), false},
        {"--title q --base main.phb", with([](kvelo::TQuery& q) { q.title = "q"; }), true},
        {"--valid", with([](kvelo::TQuery& q) { q.validity = kvelo::TValidity::InForce; }), false},
        {"--invalid", with([](kvelo::TQuery& q) { q.validity = kvelo::TValidity::NotInForce; }),
         false},
        {"--date 01.01.1990 31.12.1999", with([](kvelo::TQuery& q) {
             q.date = kvelo::TDateCondition::Period;
             q.from = *kvelo::EncodeDate(1990, 1, 1);
             q.to = *kvelo::EncodeDate(1999, 12, 31);
         }),
         false},
    };
    for (const Case& c : cases) {
        const RunResult r = run(std::string("find --json ") + c.args);
        ASSERT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
        EXPECT_EQ(idsOf(r.out), engineIds(root, c.query, c.onlyFirstBase)) << c.args;
    }
}

TEST_F(QueryTest, FindLinesAndEmptyResults) {
    RunResult r = run("find --invalid");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "12\t-\tГерб\n");
    r = run("find");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "noReqizit\n"); // no language file: the key itself
    r = run("find --text нет");
    EXPECT_EQ(r.err, "noFind\n");
    EXPECT_EQ(run("find --date 1.1.2000 --whole").exitCode, 1);
}

} // namespace
