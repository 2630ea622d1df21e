// SPDX-License-Identifier: LGPL-3.0-or-later
// Texts whose builders calculate as well as ask: the Moon (its phases of the day) and a
// meteor shower (the next time the Sun reaches the peak's longitude), every switch on.
#include <benchmark/benchmark.h>

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

namespace {

void FillDate(CTableHost& host) {
    const wchar_t* const kAnswers[][2] = {
        {L"? LST(Time.Year)", L"2025"},   {L"? LST(Time.Month)", L"12"},
        {L"? LST(Time.Day)", L"5"},       {L"? LST(Time.Hour)", L"21"},
        {L"? LST(Time.Minute)", L"0"},    {L"? LST(Time.Second)", L"0"},
        {L"? Time.Timezone", L"9"},       {L"? time.timezone", L"9"},
        {L"? time.jd", L"2461015.0"},     {L"? View.Projection", L"Sky"},
        {L"? Measure.Visible", L"FALSE"},
    };
    for (const auto& a : kAnswers) host.Answer(a[0], a[1]);
}

void Run(benchmark::State& state, CTableHost& host, const wchar_t* path) {
    host.SetRecording(false);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    for (auto _ : state) {
        clickData.ClearCache();
        benchmark::DoNotOptimize(clickData.GetText(&host, path, 0).GetString());
    }
    state.counters["queries/text"] = benchmark::Counter(static_cast<double>(host.CommandCount()) /
                                                        static_cast<double>(state.iterations()));
}

void BM_ClickData_MoonWithPhases(benchmark::State& state) {
    CTableHost host;
    FillDate(host);
    host.Answer(L"? Solar.Planet.Earth.Satellite.Moon.JapaneseName", L"月");
    host.Answer(L"? Solar.Planet.Earth.Satellite.Moon.EnglishName", L"Moon");
    Run(state, host, L"Solar.Planet.Earth.Satellite.Moon");
}
BENCHMARK(BM_ClickData_MoonWithPhases)->Unit(benchmark::kMicrosecond);

// Just after the Geminids' peak: the search runs round most of a year.
void BM_ClickData_MeteorNextPeak(benchmark::State& state) {
    CTableHost host;
    FillDate(host);
    host.Answer(L"? LST(Time.Day)", L"15");
    host.Answer(L"? Meteor.Geminids.Name", L"ふたご座");
    host.Answer(L"? Meteor.Geminids.LambdaOfPeak", L"262.2");
    Run(state, host, L"Meteor.Geminids");
}
BENCHMARK(BM_ClickData_MeteorNextPeak)->Unit(benchmark::kMicrosecond);

}  // namespace
