// The built-in sky: a full Mars text (place, horizon, rise/transit/set, distances, physical
// table) computed from nothing, and single answers, each at a new instant so no cache helps.
#include <benchmark/benchmark.h>

#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"

namespace {

void BM_SkyHost_MarsText(benchmark::State& state) {
    CSkyHost host(2461381.0);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    double jd = 2461381.0;
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        benchmark::DoNotOptimize(clickData.GetText(&host, L"Solar.Planet.Mars", 0).GetString());
    }
}
BENCHMARK(BM_SkyHost_MarsText)->Unit(benchmark::kMillisecond);

void BM_SkyHost_Answer(benchmark::State& state, const wchar_t* query) {
    CSkyHost host(2461381.0);
    double jd = 2461381.0;
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        benchmark::DoNotOptimize(host.Execute(query).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_Answer, MoonApparentRA, L"? Solar.Planet.Earth.Satellite.Moon.position.EquatorialDateApp.RA")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Answer, MoonRise, L"? Solar.Planet.Earth.Satellite.Moon.Jd.Rise")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Answer, SiriusAltitude, L"? Star.HIP.32349.position.Altitude")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
