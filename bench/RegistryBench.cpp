// SPDX-License-Identifier: LGPL-3.0-or-later
// Settings through CRegistry on a real hive file: what a value read, a value write and a
// whole click-data save cost, and how long a write takes while three other processes write.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "clickdata/CdStatus.h"
#include "dirode/Registry.h"

namespace {

// Points the hives at a fresh folder for one benchmark.
class BenchRegistry {
public:
    BenchRegistry() {
        char tmpl[] = "/tmp/zcmbench.XXXXXX";
        m_dir = mkdtemp(tmpl) ? tmpl : "/tmp";
        setenv("ZCMCOM_REGISTRY_USER", (m_dir + "/user.sqlite").c_str(), 1);
        setenv("ZCMCOM_REGISTRY_MACHINE", (m_dir + "/machine.sqlite").c_str(), 1);
    }
    ~BenchRegistry() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

private:
    std::string m_dir;
};

void BM_RegistryRead(benchmark::State& state) {
    BenchRegistry reg;
    CRegistry::Write(L"ClickData", L"AltSpan", 12, 1);
    int v = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CRegistry::Read(L"ClickData", L"AltSpan", 0, &v, 1));
}
BENCHMARK(BM_RegistryRead);

void BM_RegistryWrite(benchmark::State& state) {
    BenchRegistry reg;
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CRegistry::Write(L"ClickData", L"AltSpan", ++i, 1));
}
BENCHMARK(BM_RegistryWrite)->Iterations(200);

// The 29 click-data switches and the planetarium's two settings.
void BM_CdStatusSave(benchmark::State& state) {
    BenchRegistry reg;
    CCdStatus status;
    status.Init();
    for (auto _ : state) {
        status.AltSpan ^= 1;
        status.Save();
    }
}
BENCHMARK(BM_CdStatusSave)->Unit(benchmark::kMillisecond);

// This process writes while three others write in a loop: the 99th percentile and the
// longest of its write times.
void BM_RegistryWriteAmongFourWriters(benchmark::State& state) {
    BenchRegistry reg;
    CRegistry::Write(L"Shared", L"Start", 1, 1);
    std::vector<pid_t> writers;
    for (int w = 0; w < 3; ++w) {
        const pid_t child = fork();
        if (child == 0) {
            const CString mine = CString(L"W") + CString(std::to_wstring(w).c_str());
            for (int i = 0;; ++i) CRegistry::Write(L"Shared", mine, i, 1);
        }
        if (child > 0) writers.push_back(child);
    }
    std::vector<double> ms;
    int failures = 0, i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        failures += CRegistry::Write(L"Shared", L"Bench", ++i, 1) ? 0 : 1;
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    for (pid_t w : writers) {
        kill(w, SIGKILL);
        waitpid(w, nullptr, 0);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["p99_ms"] = ms.empty() ? 0.0 : ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.empty() ? 0.0 : ms.back();
    state.counters["failed"] = failures;
}
BENCHMARK(BM_RegistryWriteAmongFourWriters)
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
