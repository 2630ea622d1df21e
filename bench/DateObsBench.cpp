// SPDX-License-Identifier: LGPL-3.0-or-later
// Cost of the date and observer object's routine work against a table host: a refresh
// when nothing changed (run on every change notice of the planetarium), a refresh that
// finds a new site (with the map lookup), attaching (which renders the time-zone map), and
// a nearest-second time query.
#include <benchmark/benchmark.h>

#include "dateobs/DateObs.h"
#include "host/TableHost.h"

namespace {

void Answer(CTableHost& host) {
    host.SetRecording(false);
    host.Answer(L"? UT(time)", L"UT  AD2024/03/15 12:00:00");
    host.Answer(L"? UT(Time)", L"UT  AD2024/03/15 12:00:00");
    host.Answer(L"? Time.Timezone", L"9");
    host.Answer(L"? Solar.Moon.Age", L"5.25");
    host.Answer(L"? Location", L"Solar.Planet.Earth");
    host.Answer(L"? Location.Longitude", L"139.7");
    host.Answer(L"? Location.Latitude", L"35.7");
    host.Answer(L"? Location.Altitude", L"40");
    host.Answer(L"? Star.AutoMagnitudeLimit.Minimum", L"6.5");
}

void BM_RefreshUnchanged(benchmark::State& state) {
    CTableHost host;
    Answer(host);
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    obs.UpdateByCorZnt();
    for (auto _ : state) obs.UpdateByCorZnt();
}
BENCHMARK(BM_RefreshUnchanged);

void BM_RefreshNewSite(benchmark::State& state) {
    CTableHost host;
    Answer(host);
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    bool east = false;
    for (auto _ : state) {
        host.Answer(L"? Location.Longitude", (east = !east) ? L"139.7" : L"135.5");
        obs.UpdateByCorZnt();
    }
}
BENCHMARK(BM_RefreshNewSite);

void BM_Attach(benchmark::State& state) {
    CTableHost host;
    Answer(host);
    for (auto _ : state) {
        CZVDateObs obs;
        obs.SetpCorZnt(&host);
    }
}
BENCHMARK(BM_Attach)->Unit(benchmark::kMillisecond);

void BM_LocalStandardTime(benchmark::State& state) {
    CTableHost host;
    Answer(host);
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    int y, mo, d, h, mi, s;
    for (auto _ : state) {
        obs.GetLST(&y, &mo, &d, &h, &mi, &s);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_LocalStandardTime);

}  // namespace
