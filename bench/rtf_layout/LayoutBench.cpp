// Layout of generated documents at 1000 px: plain paragraphs, dense
// formatting and tables, of about 1 MB and 10 MB of text; and the time until
// the first screen (800 px) is laid out while blocks arrive one by one.
#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/model/Document.h"
#include "rtfengine/reader/RtfReader.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kvelo;
using kvelo::layout::DocumentLayout;
using kvelo::layout::FontCache;

constexpr int kWidthPx = 1000;
constexpr int kScreenPx = 800;

TMyFont fontOf(const char* name, int halfPoints, uint8_t style = 0) {
    TMyFont font;
    font.Name = name;
    font.SizeHalfPoints = halfPoints;
    font.Style = style;
    return font;
}

// Words of code page 1251 text, Cyrillic and Latin, 2 to 12 letters.
class WordSource {
public:
    std::string next() {
        const int length = 2 + static_cast<int>(rng_() % 11);
        std::string word;
        const bool latin = rng_() % 5 == 0;
        for (int i = 0; i < length; ++i)
            word += latin ? char('a' + rng_() % 26) : char(0xE0 + rng_() % 32);
        return word;
    }
    unsigned pick(unsigned n) { return rng_() % n; }

private:
    std::mt19937 rng_{12345};
};

using BlockMaker = std::function<std::unique_ptr<TSectionBase>(WordSource&, std::size_t&)>;

std::unique_ptr<TSectionBase> plainParagraph(WordSource& words, std::size_t& bytes) {
    auto p = std::make_unique<TSection>(0, TAlignment::Justify, "", fontOf("Times New Roman", 24));
    p->FirstLineIndentTwips = 720;
    while (p->Text.size() < 600)
        p->AppendText(words.next() + " ");
    bytes += p->Text.size();
    return p;
}

std::unique_ptr<TSectionBase> denseParagraph(WordSource& words, std::size_t& bytes) {
    auto p = std::make_unique<TSection>(0, TAlignment::Left, "", fontOf("Arial", 20));
    static const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
    while (p->Text.size() < 600) {
        const auto style = static_cast<uint8_t>(words.pick(4));
        p->ChangeFont(fontOf(faces[words.pick(3)], 18 + 2 * int(words.pick(5)), style));
        if (words.pick(10) == 0)
            p->StartLink("doc" + std::to_string(words.pick(100)) + ".rtf",
                         fontOf("Arial", 20, fsUnderline));
        p->AppendText(words.next() + " ");
        if (!p->Fonts.back().LinkTarget.empty()) p->EndLink(fontOf("Arial", 20));
    }
    bytes += p->Text.size() * 4; // RTF spends about as much again on control words
    return p;
}

std::unique_ptr<TSectionBase> table(WordSource& words, std::size_t& bytes) {
    auto t = std::make_unique<TRtfTable>();
    t->CellSpacingPx = 0;
    t->SpecifiedWidth = 100;
    t->WidthIsPercent = true;
    t->Alignment = TAlignment::Center;
    for (int r = 0; r < 20; ++r) {
        auto row = std::make_unique<TCellList>();
        for (int c = 0; c < 4; ++c) {
            auto cell = std::make_unique<TCellObj>();
            cell->BorderTop = cell->BorderLeft = cell->BorderRight = cell->BorderBottom = true;
            auto p = std::make_unique<TSection>(0, TAlignment::Left, "", fontOf("Arial", 20));
            const int count = 1 + int(words.pick(c == 3 ? 12 : 3));
            for (int w = 0; w < count; ++w)
                p->AppendText(words.next() + " ");
            bytes += p->Text.size() + 60; // cell definition and \cell
            cell->Content.Add(std::move(p));
            row->Cells.push_back(std::move(cell));
        }
        t->Rows.push_back(std::move(row));
    }
    return t;
}

void fill(TSectionList& doc, const BlockMaker& make, std::size_t targetBytes) {
    WordSource words;
    std::size_t bytes = 0;
    while (bytes < targetBytes)
        doc.Add(make(words, bytes));
}

const BlockMaker& makerOf(int kind) {
    static const std::vector<BlockMaker> makers{plainParagraph, denseParagraph, table};
    return makers.at(kind);
}

FontCache& sharedFonts() {
    static FontCache fonts;
    return fonts;
}

void BM_FullLayout(benchmark::State& state) {
    TSectionList doc;
    fill(doc, makerOf(int(state.range(0))), std::size_t(state.range(1)) << 20);
    for (auto _ : state) {
        DocumentLayout layout(doc, sharedFonts());
        benchmark::DoNotOptimize(layout.relayout(kWidthPx));
    }
    state.counters["blocks"] = double(doc.Count());
}

// Blocks arrive one by one, as from the reader, each laid out at once; stops
// when the laid-out height passes one screen.
void BM_FirstScreenWhileLoading(benchmark::State& state) {
    for (auto _ : state) {
        TSectionList doc;
        DocumentLayout layout(doc, sharedFonts());
        layout.beginIncremental(kWidthPx);
        WordSource words;
        std::size_t bytes = 0;
        while (layout.heightPx() < kScreenPx)
            doc.Add(makerOf(int(state.range(0)))(words, bytes));
        benchmark::DoNotOptimize(layout.heightPx());
    }
}

// RTF text of about `targetBytes`: justified Cyrillic paragraphs with some
// bold, italic and size changes, and a four-column table every 40 paragraphs.
std::string generatedRtf(std::size_t targetBytes) {
    WordSource words;
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}"
        "{\\f1\\fswiss\\fcharset204 Arial;}}\n";
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        if (++paragraph % 40 == 0) {
            for (int r = 0; r < 10; ++r) {
                rtf += "\\trowd\\trgaph108\\clbrdrt\\clbrdrl\\clbrdrb\\clbrdrr\\cellx2000"
                       "\\clbrdrt\\clbrdrb\\cellx5000\\cellx7000\\cellx9500\n";
                for (int c = 0; c < 4; ++c)
                    rtf +=
                        "\\pard\\intbl\\f1\\fs20 " + words.next() + " " + words.next() + "\\cell ";
                rtf += "\\row\n";
            }
            rtf += "\\pard ";
        }
        rtf += "\\pard\\qj\\fi720\\f0\\fs24 ";
        const std::size_t paragraphEnd = rtf.size() + 600;
        while (rtf.size() < paragraphEnd) {
            const unsigned style = words.pick(12);
            if (style == 0)
                rtf += "{\\b " + words.next() + "} ";
            else if (style == 1)
                rtf += "{\\i\\fs28 " + words.next() + "} ";
            else
                rtf += words.next() + " ";
        }
        rtf += "\\par\n";
    }
    return rtf + "}";
}

const std::string& rtfOfOneMegabyte() {
    static const std::string rtf = generatedRtf(std::size_t(1) << 20);
    return rtf;
}

struct FirstScreenShown {};

// Reading and laying out a 1 MB RTF document block by block, stopping as
// soon as the first screen is laid out (what the viewer shows first).
void BM_ReadFirstScreen(benchmark::State& state) {
    const std::string& rtf = rtfOfOneMegabyte();
    for (auto _ : state) {
        TSectionList doc;
        DocumentLayout layout(doc, sharedFonts());
        layout.beginIncremental(kWidthPx);
        layout.onBlockLaidOut = [&] {
            if (layout.heightPx() >= kScreenPx) throw FirstScreenShown{};
        };
        try {
            RtfParseBytes(doc, rtf.data(), rtf.size());
        } catch (const FirstScreenShown&) {
        }
        benchmark::DoNotOptimize(layout.heightPx());
    }
}

// The whole load of a 1 MB RTF document: read with each block laid out as it
// arrives, then the one full relayout the viewer does after loading.
void BM_ReadAndLayOutWhole(benchmark::State& state) {
    const std::string& rtf = rtfOfOneMegabyte();
    for (auto _ : state) {
        TSectionList doc;
        DocumentLayout layout(doc, sharedFonts());
        layout.beginIncremental(kWidthPx);
        RtfParseBytes(doc, rtf.data(), rtf.size());
        layout.endIncremental();
        benchmark::DoNotOptimize(layout.relayout(kWidthPx));
        state.counters["blocks"] = double(doc.Count());
        state.counters["heightPx"] = layout.heightPx();
    }
}

const char* kindName(int kind) {
    static const char* names[] = {"plain", "dense", "tables"};
    return names[kind];
}

void registerAll() {
    benchmark::RegisterBenchmark("Rtf1MB/FirstScreenWhileLoading", BM_ReadFirstScreen)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Rtf1MB/ReadAndLayOutWhole", BM_ReadAndLayOutWhole)
        ->Unit(benchmark::kMillisecond);
    for (int kind = 0; kind < 3; ++kind) {
        for (int mb : {1, 10}) {
            benchmark::RegisterBenchmark(
                (std::string("FullLayout/") + kindName(kind) + "/" + std::to_string(mb) + "MB")
                    .c_str(),
                BM_FullLayout)
                ->Args({kind, mb})
                ->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark(
            (std::string("FirstScreenWhileLoading/") + kindName(kind)).c_str(),
            BM_FirstScreenWhileLoading)
            ->Args({kind})
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
