// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The timing loop the click-data benchmarks share: one full text with every switch on,
// rebuilt each round, reporting host queries and characters per text.
#include <benchmark/benchmark.h>

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

inline void RunFullText(benchmark::State& state, CTableHost& host, const wchar_t* path) {
    host.SetRecording(false);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    size_t length = 0;
    for (auto _ : state) {
        clickData.ClearCache();
        const CString text = clickData.GetText(&host, path, 0);
        length = static_cast<size_t>(text.GetLength());
        benchmark::DoNotOptimize(text.GetString());
    }
    state.counters["queries/text"] = benchmark::Counter(static_cast<double>(host.CommandCount()) /
                                                        static_cast<double>(state.iterations()));
    state.counters["chars"] = static_cast<double>(length);
}
