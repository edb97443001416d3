// Base files of 65,535 documents in 2,000 folders, built once with the base
// builder: opening (time, and heap kept = the document table), expanding
// every folder, SelectDoc + GetDocStream of a 1 MB body, and LocateNode of
// 1,000 random identifiers. Argument 0: plain file, 1: scrambled.
#include "bases/Base.h"
#include "pack/BasePacker.h"
#include "platform/TreeNodes.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using nlohmann::json;

constexpr int DocumentCount = 65535;
constexpr int TopFolders = 40;
constexpr int SubFolders = 49; // 40 + 40 * 49 = 2,000 folders
constexpr int BigBodyId = 1;
constexpr size_t BigBodyBytes = 1000000;

std::string BigBody() {
    std::string body = "{\\rtf1\\ansi\\deff0 ";
    for (int i = 0; body.size() < BigBodyBytes - 1; ++i)
        body += "\\par Article " + std::to_string(i) + ". The parties agree on the terms stated. ";
    body.resize(BigBodyBytes - 1);
    return body + "}";
}

json Manifest(int32_t scrambleKey) {
    json documents = json::array();
    for (int id = 1; id <= DocumentCount; ++id)
        documents.push_back(
            {{"id", id},
             {"title", "Document " + std::to_string(id)},
             {"date", "01.02.2003"},
             {"text", id == BigBodyId ? BigBody() : "{\\rtf1 " + std::to_string(id) + "}"}});
    json tree = json::array();
    int next = 1;
    const int leaves = TopFolders * SubFolders;
    for (int t = 0; t < TopFolders; ++t) {
        json subs = json::array();
        for (int s = 0; s < SubFolders; ++s) {
            const int leaf = t * SubFolders + s;
            const int last = DocumentCount * (leaf + 1) / leaves;
            json docs = json::array();
            for (; next <= last; ++next)
                docs.push_back({{"doc", next}});
            subs.push_back({{"folder", "Sub " + std::to_string(s)}, {"children", docs}});
        }
        tree.push_back({{"folder", "Top " + std::to_string(t)}, {"children", subs}});
    }
    return {
        {"name", "Bench"}, {"scrambleKey", scrambleKey}, {"tree", tree}, {"documents", documents}};
}

struct Fixture {
    std::string dir;
    std::string paths[2];
    Fixture() {
        char pattern[] = "/tmp/kvelo-bench-bases-XXXXXX";
        dir = ::mkdtemp(pattern);
        paths[0] = dir + "/plain.phb";
        paths[1] = dir + "/scrambled.phb";
        kvelo::pack::PackBase(Manifest(0), dir, paths[0]);
        kvelo::pack::PackBase(Manifest(0x5A3C), dir, paths[1]);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

const std::string& BasePath(int scrambled) {
    static Fixture fixture;
    return fixture.paths[scrambled ? 1 : 0];
}

struct Opened {
    kvelo::TTreeNodes tree;
    kvelo::TTreeNode* root = tree.AddChild(nullptr, "root");
    kvelo::TBase base;
    explicit Opened(const std::string& path) : base(path, root) {}
};

void ExpandAll(kvelo::TBase& base, kvelo::TTreeNode* node) {
    base.ExpandNode(node);
    for (int i = 0; i < node->Count(); ++i)
        if (node->Item(i)->HasChildren()) ExpandAll(base, node->Item(i));
}

void BM_OpenBase(benchmark::State& state) {
    const std::string& path = BasePath(static_cast<int>(state.range(0)));
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        Opened opened(path);
        heap = mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(opened.base.GetDocCount());
    }
    state.counters["heap_kept_bytes"] = static_cast<double>(heap);
    state.counters["doc_table_bytes"] = DocumentCount * 8.0;
}
BENCHMARK(BM_OpenBase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ExpandEveryFolder(benchmark::State& state) {
    const std::string& path = BasePath(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto opened = std::make_unique<Opened>(path);
        state.ResumeTiming();
        ExpandAll(opened->base, opened->base.RootNode());
        benchmark::DoNotOptimize(opened->tree.Count());
        state.PauseTiming();
        opened.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExpandEveryFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SelectDocGetDocStream1MB(benchmark::State& state) {
    Opened opened(BasePath(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        opened.base.SelectDoc(BigBodyId);
        auto body = opened.base.GetDocStream();
        if (!body || body->Size() != static_cast<int64_t>(BigBodyBytes))
            state.SkipWithError("bad body");
        benchmark::DoNotOptimize(body.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BigBodyBytes));
}
BENCHMARK(BM_SelectDocGetDocStream1MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// From a freshly opened base, so each lookup also reads the folders on its path.
void BM_LocateNode1000Random(benchmark::State& state) {
    const std::string& path = BasePath(static_cast<int>(state.range(0)));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> id(1, DocumentCount);
    for (auto _ : state) {
        state.PauseTiming();
        auto opened = std::make_unique<Opened>(path);
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            if (!opened->base.LocateNode(id(rng))) state.SkipWithError("not found");
        state.PauseTiming();
        opened.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LocateNode1000Random)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
