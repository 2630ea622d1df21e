// SPDX-License-Identifier: LGPL-3.0-or-later
// A full click-data text with every switch on, against a host that answers from memory:
// the cost of one text (built, not served from the cache) and the host queries it takes.
#include <benchmark/benchmark.h>

#include "ClickBench.h"

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

namespace {

void Fill(CTableHost& host) {
    const wchar_t* const kAnswers[][2] = {
        {L"? Constellation.Ori.Name", L"オリオン"},
        {L"? Constellation.Ori.Abbreviation", L"Ori"},
        {L"? View.Projection", L"Sky"},
        {L"? Constellation.Ori.position.RA", L"5.5775"},
        {L"? Constellation.Ori.position.DEC", L"5.95"},
        {L"? Constellation.Ori.position.EquatorialDateApp.RA", L"5.5958"},
        {L"? Constellation.Ori.position.EquatorialDateApp.DEC", L"5.9672"},
        {L"? Constellation.Ori.position.EquatorialB1950.RA", L"5.5417"},
        {L"? Constellation.Ori.position.EquatorialB1950.DEC", L"5.9361"},
        {L"? Constellation.Ori.position.Ecliptical.Lambda", L"84.1839"},
        {L"? Constellation.Ori.position.Ecliptical.Beta", L"-17.4415"},
        {L"? Constellation.Ori.position.EclipticDateApp.Lambda", L"84.1802"},
        {L"? Constellation.Ori.position.EclipticDateApp.Beta", L"-17.4417"},
        {L"? Constellation.Ori.position.EclipticJ2000.Lambda", L"83.8337"},
        {L"? Constellation.Ori.position.EclipticJ2000.Beta", L"-17.4402"},
        {L"? Constellation.Ori.position.Galactical.Longitude", L"199.9822"},
        {L"? Constellation.Ori.position.Galactical.Latitude", L"-13.5411"},
        {L"? Constellation.Ori.position.Altitude", L"12.3456"},
        {L"? Constellation.Ori.position.Azimuth", L"288.7655"},
        {L"? time.jd", L"2461016.0"},
        {L"? time.timezone", L"9"},
        {L"? Time.Timezone", L"9"},
        {L"? location.longitude", L"139.745"},
        {L"? location", L"Location(\"Tokyo\", 139.745, 35.654, 40)"},
        {L"? location.solar.x", L"0.1693"},
        {L"? location.solar.y", L"0.8931"},
        {L"? location.solar.z", L"0.3872"},
        {L"? Constellation.Ori.Jd.Rise", L"2461015.8619212965"},
        {L"? Constellation.Ori.Jd.Transit", L"2461016.126851852"},
        {L"? Constellation.Ori.Jd.Set", L"2461016.391898148"},
        {L"? Measure.Visible", L"TRUE"},
        {L"? Measure.Connecting", L"TRUE"},
        {L"? Measure.Origin.position.EquatorialDateApp.RA", L"5.9195"},
        {L"? Measure.Origin.position.EquatorialDateApp.DEC", L"7.4071"},
        {L"? Measure.End.position.EquatorialDateApp.RA", L"6.7525"},
        {L"? Measure.End.position.EquatorialDateApp.DEC", L"-16.7161"},
        {L"? Measure.Origin.position.EclipticDateApp.Lambda", L"89.1159"},
        {L"? Measure.Origin.position.EclipticDateApp.Beta", L"-16.0268"},
        {L"? Measure.End.position.EclipticDateApp.Lambda", L"104.4195"},
        {L"? Measure.End.position.EclipticDateApp.Beta", L"-39.6059"},
    };
    for (const auto& a : kAnswers) host.Answer(a[0], a[1]);
}

void BM_ClickData_FullTextEverySwitch(benchmark::State& state) {
    CTableHost host;
    Fill(host);
    RunFullText(state, host, L"Constellation.Ori");
}
BENCHMARK(BM_ClickData_FullTextEverySwitch)->Unit(benchmark::kMicrosecond);

// The same text served from the cache: only the six key queries.
void BM_ClickData_CachedText(benchmark::State& state) {
    CTableHost host;
    Fill(host);
    host.SetRecording(false);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    clickData.GetText(&host, L"Constellation.Ori", 0);
    host.ClearLog();
    for (auto _ : state)
        benchmark::DoNotOptimize(clickData.GetText(&host, L"Constellation.Ori", 0).GetString());
    state.counters["queries/text"] = benchmark::Counter(static_cast<double>(host.CommandCount()) /
                                                        static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ClickData_CachedText)->Unit(benchmark::kMicrosecond);

}  // namespace
