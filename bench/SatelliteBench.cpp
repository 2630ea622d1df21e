// SPDX-License-Identifier: LGPL-3.0-or-later
// Satellites: one propagation with the look from a site (sub-point, altitude and azimuth,
// the Sun's light and the magnitude), and the passes of the ISS over ten days.
#include <benchmark/benchmark.h>

#include "sky/satellites/Passes.h"
#include "sky/satellites/SatelliteCatalog.h"

namespace {

const double kStart = 2459749.0;  // 2022-06-19 0h UTC, days after the bundled epochs

const sky::Elements& Iss() { return *sky::Satellites()->Find("25544"); }

void BM_SatellitePropagateAndLook(benchmark::State& state) {
    const sky::Sgp4 model(state.range(0) ? *sky::Satellites()->Find("28884") : Iss());
    const sky::Observer tokyo(sky::Site{139.745, 35.654, 40.0});
    double jd = kStart;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky::Look(model, jd, tokyo, -1.8));
        jd += 1.0 / 86400.0;
    }
}
BENCHMARK(BM_SatellitePropagateAndLook)->Arg(0)->Arg(1);  // ISS, a geostationary satellite

void BM_SatellitePassesIss10Days(benchmark::State& state) {
    const sky::Sgp4 model(Iss());
    const sky::Observer tokyo(sky::Site{139.745, 35.654, 40.0});
    for (auto _ : state)
        benchmark::DoNotOptimize(sky::FindPasses(model, tokyo, kStart, kStart + 10.0, -1.8));
    state.SetLabel("10 days");
}
BENCHMARK(BM_SatellitePassesIss10Days)->Unit(benchmark::kMillisecond);

}  // namespace
