// SPDX-License-Identifier: LGPL-3.0-or-later
// Star texts against a host that answers from memory: a named star with every switch on,
// the same star with a long cross-identification list (the white-space folding), and the
// CDF designation.
#include <benchmark/benchmark.h>

#include "ClickBench.h"

#include <string>

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

namespace {

const char* const kStar =
    "? Star.HIP.27989.numberofPlanets\t0\n"
    "? Star.HIP.27989.FlamsteedNumber\t58\n"
    "? Star.HIP.27989.BayerLetter\tα\n"
    "? Star.HIP.27989.Constellation.Abbreviation\tOri\n"
    "? Star.HIP.27989.JapaneseName\tベテルギウス\n"
    "? Star.HIP.27989.EnglishName\tBetelgeuse\n"
    "? Star.HIP.27989.Constellation.Name\tオリオン\n"
    "? Star.HIP.27989.HipparcosNumber\t27989\n"
    "? Star.HIP.27989.Magnitude\t0.45\n"
    "? Star.HIP.27989.Propermotion.RA\t27.54\n"
    "? Star.HIP.27989.Propermotion.DEC\t11.30\n"
    "? Star.HIP.27989.pi\t6.55\n"
    "? Star.HIP.27989.Magnitude.BV\t1.85\n"
    "? Star.HIP.27989.SpectralType\tM1-2Ia-Iab\n"
    "? Star.HIP.27989.VariableName\talf Ori\n"
    "? Star.HIP.27989.CrossID\tHD 39801|SAO 113271|HR 2061|BD +07  1055|FK5 224\n"
    "? View.Projection\tSky\n"
    "? Star.HIP.27989.position.RA\t5.919529\n"
    "? Star.HIP.27989.position.DEC\t7.407064\n"
    "? Star.HIP.27989.position.EquatorialDateApp.RA\t5.942928\n"
    "? Star.HIP.27989.position.EquatorialDateApp.DEC\t7.410105\n"
    "? Star.HIP.27989.position.Altitude\t33.384\n"
    "? Star.HIP.27989.position.Azimuth\t286.4175\n"
    "? Star.HIP.27989.Jd.Rise\t2461015.883131\n"
    "? Star.HIP.27989.Jd.Transit\t2461016.1492361\n"
    "? Star.HIP.27989.Jd.Set\t2461016.4153411\n"
    "? time.jd\t2461016.0\n"
    "? Time.Timezone\t9\n"
    "? location.longitude\t139.745\n";

void Run(benchmark::State& state, CTableHost& host) { RunFullText(state, host, L"Star.HIP.27989"); }

void BM_StarText_NamedStarEverySwitch(benchmark::State& state) {
    CTableHost host;
    host.LoadTable(kStar);
    Run(state, host);
}
BENCHMARK(BM_StarText_NamedStarEverySwitch)->Unit(benchmark::kMicrosecond);

// A cross-identification list of state.range(0) pieces, each with a run of blanks.
void BM_StarText_CrossIdList(benchmark::State& state) {
    CTableHost host;
    host.LoadTable(kStar);
    CString list;
    for (int i = 0; i < state.range(0); ++i)
        list.AppendFormat(L"%sC%d  %d   %d", i ? L"|" : L"", i % 9, i, i);
    host.Answer(L"? Star.HIP.27989.CrossID", list);
    Run(state, host);
}
BENCHMARK(BM_StarText_CrossIdList)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_StarText_CdfDesignation(benchmark::State& state) {
    CTableHost host;
    host.LoadTable(kStar);
    host.SetRecording(false);
    CCdStatus status;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    for (auto _ : state)
        benchmark::DoNotOptimize(clickData.StkToCdf(&host, L"Star.HIP.27989").GetString());
}
BENCHMARK(BM_StarText_CdfDesignation)->Unit(benchmark::kMicrosecond);

}  // namespace
