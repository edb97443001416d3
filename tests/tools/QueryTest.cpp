// kvelo-query run as a program on a small program folder built in the test:
// a main base, a "LangBases" group with a scrambled companion-file base, and
// a kvel.ini naming the group and the companion key.
#include "PackFixture.h"

#include "platform/Cp1251.h"
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

} // namespace
