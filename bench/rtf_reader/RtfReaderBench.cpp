// Reader throughput on generated 1 MB and 10 MB documents.
#include "RtfDocuments.h"

#include "rtfengine/reader/RtfReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using kvelo::bench::TDocKind;

void ReadDocument(benchmark::State& state, TDocKind kind) {
    const std::string rtf = kvelo::bench::MakeRtf(kind, static_cast<size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        kvelo::TSectionList doc;
        kvelo::RtfParseBytes(doc, rtf.data(), rtf.size());
        benchmark::DoNotOptimize(doc.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}

void BM_ReadPlain(benchmark::State& s) {
    ReadDocument(s, TDocKind::Plain);
}
void BM_ReadDense(benchmark::State& s) {
    ReadDocument(s, TDocKind::Dense);
}
void BM_ReadTables(benchmark::State& s) {
    ReadDocument(s, TDocKind::Tables);
}

BENCHMARK(BM_ReadPlain)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDense)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTables)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

// "--write-documents DIR" writes the generated documents for compare.sh.
int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-documents") {
        const std::pair<const char*, TDocKind> kinds[] = {
            {"plain", TDocKind::Plain}, {"dense", TDocKind::Dense}, {"tables", TDocKind::Tables}};
        for (auto [name, kind] : kinds)
            for (int mb : {1, 10}) {
                std::ofstream(std::string(argv[2]) + "/" + name + "-" + std::to_string(mb) +
                                  "mb.rtf",
                              std::ios::binary)
                    << kvelo::bench::MakeRtf(kind, static_cast<size_t>(mb) << 20);
            }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
