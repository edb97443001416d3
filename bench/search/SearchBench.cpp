// The global search over ten bases of 65,535 documents each, with a
// realistic vocabulary (the Russian hunspell word list when installed, else
// generated words). The bases are built once into /tmp/kvelo-bench-search/
// (kept between runs; delete the folder to rebuild) together with the
// manifest of the first base, for timing kvelo-pack on its own.
#include "bases/Base.h"
#include "bases/KveloBases.h"
#include "bases/QueryEngine.h"
#include "pack/BasePacker.h"
#include "platform/Cp1251.h"
#include "platform/TreeNodes.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

namespace {

using namespace kvelo;
using nlohmann::json;

constexpr int BaseCount = 10;
constexpr int DocsPerBase = 65535;
constexpr int TitleWords = 7;
constexpr int TextWords = 60;
const std::string CacheDir = "/tmp/kvelo-bench-search";
const std::string Dictionary = "/usr/share/hunspell/ru_RU.dic";

bool allCyrillic(const std::string& cp) {
    for (unsigned char c : cp)
        if (c < 0xC0 && c != 0xB8) return false;
    return !cp.empty();
}

// Lower-case Russian words (UTF-8), in the list's order.
std::vector<std::string> loadVocabulary() {
    std::vector<std::string> words;
    std::ifstream in(Dictionary);
    std::string line;
    std::getline(in, line); // the count
    while (std::getline(in, line) && words.size() < 60000) {
        std::string word = line.substr(0, line.find('/'));
        const std::string cp = cp1251::fromUtf8(word);
        if (cp.size() >= 3 && allCyrillic(cp) && AnsiLowerCase(cp) == cp) words.push_back(word);
    }
    if (!words.empty()) return words;
    // Fallback: syllable words.
    const char* syllables[] = {"ка",  "ло",  "ми", "на",  "ро",  "св", "те", "ул", "фа", "ше",
                               "пра", "зак", "до", "вор", "ник", "ст", "ль", "ба", "ги", "ре"};
    for (int i = 0; i < 40000; ++i) {
        std::string w;
        for (int n = i, k = 0; k < 3 || n; ++k, n /= 20)
            w += syllables[n % 20];
        words.push_back(w);
    }
    return words;
}

// Frequent words are drawn much more often (a skewed, Zipf-like choice).
std::string pickWord(const std::vector<std::string>& vocabulary, std::mt19937& random) {
    std::uniform_real_distribution<double> u(0, 1);
    const double x = u(random);
    return vocabulary[size_t(x * x * x * double(vocabulary.size() - 1))];
}

std::string words(const std::vector<std::string>& vocabulary, std::mt19937& random, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += (i ? " " : "") + pickWord(vocabulary, random);
    return out;
}

std::string dateText(int day, int month, int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", day, month, year);
    return text;
}

json makeManifest(int base, const std::vector<std::string>& vocabulary) {
    std::mt19937 random(1000 + base);
    json docs = json::array(), tree = json::array();
    for (int top = 0, id = 0; id < DocsPerBase; ++top) {
        json topFolder = {{"folder", "Раздел " + std::to_string(top)}, {"children", json::array()}};
        for (int sub = 0; sub < 16 && id < DocsPerBase; ++sub) {
            json folder = {{"folder", "Глава " + std::to_string(sub)}, {"children", json::array()}};
            for (int n = 0; n < 255 && id < DocsPerBase; ++n, ++id)
                folder["children"].push_back({{"doc", base * 100000 + id + 1}});
            topFolder["children"].push_back(folder);
        }
        tree.push_back(topFolder);
    }
    std::uniform_int_distribution<int> day(1, 28), month(1, 12), year(1995, 2024);
    std::uniform_int_distribution<int> type(1, 20), organ(1, 50), percent(0, 99);
    for (int i = 0; i < DocsPerBase; ++i) {
        docs.push_back({{"id", base * 100000 + i + 1},
                        {"title", words(vocabulary, random, TitleWords)},
                        {"date", dateText(day(random), month(random), year(random))},
                        {"text", "{\\rtf1\\ansi\\ansicpg1251 " +
                                     words(vocabulary, random, TextWords) + "\\par}"},
                        {"number", "N-" + std::to_string(i % 20000)},
                        {"type", type(random)},
                        {"organ", organ(random)},
                        {"excluded", percent(random) < 10}});
    }
    json types = json::array(), organs = json::array();
    for (int c = 1; c <= 20; ++c)
        types.push_back({{"code", c}, {"name", "Вид " + std::to_string(c)}});
    for (int c = 1; c <= 50; ++c)
        organs.push_back({{"code", c}, {"name", "Орган " + std::to_string(c)}});
    return {{"name", "База " + std::to_string(base)},
            {"tree", tree},
            {"documents", docs},
            {"types", types},
            {"organs", organs}};
}

std::string basePath(int base) {
    return CacheDir + "/base" + std::to_string(base) + ".phb";
}

void buildBasesOnce() {
    std::filesystem::create_directories(CacheDir);
    std::vector<std::string> vocabulary;
    for (int base = 0; base < BaseCount; ++base) {
        if (std::filesystem::exists(basePath(base))) continue;
        if (vocabulary.empty()) vocabulary = loadVocabulary();
        std::cerr << "building " << basePath(base) << '\n';
        const json manifest = makeManifest(base, vocabulary);
        if (base == 0) std::ofstream(CacheDir + "/manifest0.json") << manifest.dump();
        pack::PackBase(manifest, CacheDir, basePath(base));
    }
}

struct Collection {
    TTreeNodes tree{"TreeBase"};
    TKveloBases bases{tree.AddChild(nullptr, "root")};
    std::vector<TKveloBase*> checked;

    Collection() {
        buildBasesOnce();
        for (int base = 0; base < BaseCount; ++base)
            checked.push_back(
                bases.AddBase(std::make_unique<TBase>(basePath(base), bases.RootNode())));
    }
};

Collection& collection() {
    static Collection c;
    return c;
}

// A word of the titles/texts of the first base: frequent enough to find documents.
std::string commonWord(int rank) {
    static std::vector<std::string> vocabulary = loadVocabulary();
    return cp1251::fromUtf8(vocabulary[size_t(rank)]);
}

void runQuery(benchmark::State& state, const TQuery& query) {
    Collection& c = collection();
    size_t found = 0;
    for (auto _ : state) {
        const TQueryResult result = RunQuery(query, c.checked);
        found = result.ids.Count();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

void BM_NumberLookup(benchmark::State& state) {
    TQuery q;
    q.number = "N-1234";
    runQuery(state, q);
}

void BM_TitlePrefix(benchmark::State& state) {
    TQuery q;
    q.title = commonWord(2).substr(0, 3);
    runQuery(state, q);
}

void BM_TwoWordText(benchmark::State& state) {
    TQuery q;
    q.text = commonWord(5) + " " + commonWord(40);
    q.textWhole = true;
    runQuery(state, q);
}

void BM_DatePeriod(benchmark::State& state) {
    TQuery q;
    q.date = TDateCondition::Period;
    q.from = *EncodeDate(2001, 1, 1);
    q.to = *EncodeDate(2001, 12, 31);
    runQuery(state, q);
}

void BM_InForceAlone(benchmark::State& state) {
    TQuery q;
    q.validity = TValidity::InForce;
    runQuery(state, q);
}

void BM_FourCriteria(benchmark::State& state) {
    TQuery q;
    q.organCodes = {7};
    q.text = commonWord(10);
    q.date = TDateCondition::Period;
    q.from = *EncodeDate(2000, 1, 1);
    q.to = *EncodeDate(2010, 12, 31);
    q.validity = TValidity::InForce;
    runQuery(state, q);
}

BENCHMARK(BM_NumberLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitlePrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoWordText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatePeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InForceAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourCriteria)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
