// SPDX-License-Identifier: LGPL-3.0-or-later
// The time-zone map: rendering it (CTimeZone::Create) and looking positions up.
#include <benchmark/benchmark.h>

#include "draw/TimeZone.h"

static void BM_TimeZoneCreate(benchmark::State& state) {
    for (auto _ : state) {
        CTimeZone tz;
        tz.Create(nullptr);
        benchmark::DoNotOptimize(tz.GetTimeZone(0, 0));
    }
    state.SetLabel("720 x 360 map from the metafile");
}
BENCHMARK(BM_TimeZoneCreate)->Unit(benchmark::kMillisecond);

static void BM_TimeZoneLookup(benchmark::State& state) {
    CTimeZone tz;
    tz.Create(nullptr);
    double lon = -180, lat = -80, sum = 0;
    for (auto _ : state) {
        sum += tz.GetTimeZone(lon, lat);
        lon += 7.3;
        if (lon > 180) lon -= 360;
        lat += 1.7;
        if (lat > 80) lat -= 160;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimeZoneLookup);
