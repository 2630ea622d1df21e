// SPDX-License-Identifier: LGPL-3.0-or-later
// A whole click text through a running Stellarium ($STELLARIUM_URL; see
// scripts/stellarium-bench.sh): with every answer read anew from Stellarium, with the
// adapter's answers kept, and with the library's own text cache.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "hosts/stellarium/StellariumHost.h"

namespace {

CString Url() {
    const char* url = std::getenv("STELLARIUM_URL");
    return CString(url && *url ? url : "http://127.0.0.1:8090");
}

// One text per iteration; forget: the adapter's answers (cold) or nothing.
void Text(benchmark::State& state, bool forget, bool sameClickData) {
    CStellariumHost host(Url());
    CCdStatus status;
    status.Init();
    CZntClickData kept;
    kept.SetStatus(&status);
    try {
        host.Execute(L"Time = UT(2026, 12, 25, 12, 0, 0)");
        for (auto _ : state) {
            if (forget) host.Invalidate();
            CZntClickData fresh;
            fresh.SetStatus(&status);
            CZntClickData& clickData = sameClickData ? kept : fresh;
            benchmark::DoNotOptimize(clickData.GetText(&host, L"Solar.Planet.Mars", 0));
        }
    } catch (COleDispatchException* e) {
        state.SkipWithError(e->m_strDescription.ToUtf8().c_str());
        e->Delete();
    }
}

void BM_MarsTextCold(benchmark::State& state) { Text(state, true, false); }
void BM_MarsTextAdapterCache(benchmark::State& state) { Text(state, false, false); }
void BM_MarsTextLibraryCache(benchmark::State& state) { Text(state, false, true); }
BENCHMARK(BM_MarsTextCold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarsTextAdapterCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarsTextLibraryCache)->Unit(benchmark::kMillisecond);

}  // namespace
