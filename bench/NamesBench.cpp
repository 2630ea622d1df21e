// SPDX-License-Identifier: LGPL-3.0-or-later
// The name index: a synthetic index of ten million names (made once per run in the
// temporary folder) must open in well under a millisecond and resolve a name in
// microseconds, as the bundled one does.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "sky/NameFile.h"
#include "sky/Names.h"

namespace {

constexpr uint32_t kObjects = 5000000;  // a path and a name each: ten million names

const std::string& SyntheticIndex() {
    static const std::string path = [] {
        const std::string file = "/tmp/zcmcom-bench-names-" + std::to_string(getpid()) + ".idx";
        sky::NameTableWriter writer;
        for (uint32_t i = 0; i < kObjects; ++i) {
            const std::string n = std::to_string(i * 2654435761u % 1000000007u);
            writer.AddEntry("Star.X." + n, "star", 9.0f);
            writer.AddName("Star " + n, sky::FoldName(CString(("Star " + n).c_str())));
            writer.AddName(std::string(), sky::FoldName(CString(("Star.X." + n).c_str())));
        }
        std::string error;
        if (!writer.Write(file, &error)) std::fprintf(stderr, "%s\n", error.c_str());
        std::atexit([] { std::remove(SyntheticIndex().c_str()); });
        return file;
    }();
    return path;
}

void BM_Names_OpenSynthetic(benchmark::State& state) {
    const std::string& file = SyntheticIndex();
    for (auto _ : state) {
        sky::NameTable table;
        std::string error;
        if (!table.Open(file, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(table.NameCount());
    }
}
BENCHMARK(BM_Names_OpenSynthetic)->Unit(benchmark::kMicrosecond);

void BM_Names_ResolveSynthetic(benchmark::State& state) {
    std::string error;
    const sky::NameIndex index = sky::NameIndex::FromFile(SyntheticIndex(), &error);
    uint32_t i = 0;
    for (auto _ : state) {
        const std::string n = std::to_string((i++ % kObjects) * 2654435761u % 1000000007u);
        if (index.Resolve(CString(("star " + n).c_str())).IsEmpty())
            state.SkipWithError("not resolved");
    }
}
BENCHMARK(BM_Names_ResolveSynthetic)->Unit(benchmark::kMicrosecond);

// The bundled index: a name, part of a name, a miss's closest names.
void BM_Names_Bundled(benchmark::State& state) {
    const sky::NameIndex index = sky::NameIndex::ForSky(2461381.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Resolve(L"シリウス"));
        benchmark::DoNotOptimize(index.Find(L"orion").size());
        benchmark::DoNotOptimize(index.Closest(L"Siruis", 3).size());
    }
}
BENCHMARK(BM_Names_Bundled)->Unit(benchmark::kMicrosecond);

}  // namespace
