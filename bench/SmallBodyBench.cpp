// SPDX-License-Identifier: LGPL-3.0-or-later
// Comets and minor planets: reading the bundled element files (about 8,000 orbits) into the
// name index, one position on an orbit, and one comet's full place through the sky.
#include <benchmark/benchmark.h>

#include <vector>

#include "sky/SkyHost.h"
#include "sky/bodies/SmallBody.h"

namespace {

void BM_SmallBodies_LoadBundled(benchmark::State& state) {
    const std::string dir = ZCMCOM_DATA_DIR;
    for (auto _ : state) {
        sky::SmallBodyCatalog catalog;
        catalog.Load(dir + "/mpcorb.txt");
        catalog.Load(dir + "/cometels.txt");
        benchmark::DoNotOptimize(catalog.Bodies().size());
    }
}
BENCHMARK(BM_SmallBodies_LoadBundled)->Unit(benchmark::kMillisecond);

void BM_SmallBodies_OrbitPosition(benchmark::State& state) {
    sky::SmallBody halley;
    halley.comet = true, halley.q = 0.59863, halley.e = 0.966503, halley.i = 162.1946;
    halley.w = 112.1408, halley.node = 59.2191, halley.perihelion = 2446484.195;
    double t = 2461381.0;
    sky::Vec v{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky::SmallBodyAt(halley, t += 0.01, &v));
    }
}
BENCHMARK(BM_SmallBodies_OrbitPosition)->Unit(benchmark::kMicrosecond);

// One comet's place among the 952 bundled ones asked at one instant (the Earth's state is
// worked out once per instant and shared; its cost is spread over the round).
void BM_SmallBodies_CometPlace(benchmark::State& state) {
    CSkyHost host(2461381.0);
    std::vector<CString> queries;
    for (const CString& line : host.KnownObjects())
        if (line.Left(12) == L"Solar.Comet.")
            queries.push_back(L"? " + line.Left(line.Find(L'\t')) + L".position.RA");
    double jd = 2461381.0;
    size_t n = 0;
    for (auto _ : state) {
        if (n == queries.size()) {
            state.PauseTiming();
            host.SetJd(jd += 0.01);
            n = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(host.Execute(queries[n++]).GetString());
    }
    state.counters["comets"] = static_cast<double>(queries.size());
}
BENCHMARK(BM_SmallBodies_CometPlace)->Unit(benchmark::kMicrosecond);

// The same with a new instant for every place: the Earth's state included.
void BM_SmallBodies_CometPlaceNewInstant(benchmark::State& state) {
    CSkyHost host(2461381.0);
    double jd = 2461381.0;
    host.Execute(L"? Solar.Comet.12P.position.RA");
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        benchmark::DoNotOptimize(host.Execute(L"? Solar.Comet.12P.position.RA").GetString());
    }
}
BENCHMARK(BM_SmallBodies_CometPlaceNewInstant)->Unit(benchmark::kMicrosecond);

}  // namespace
