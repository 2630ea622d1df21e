// Settings through CRegistry on a real hive file: what a value read and a value write cost.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
    for (auto _ : state) benchmark::DoNotOptimize(CRegistry::Read(L"ClickData", L"AltSpan", 0, &v, 1));
}
BENCHMARK(BM_RegistryRead);

void BM_RegistryWrite(benchmark::State& state) {
    BenchRegistry reg;
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(CRegistry::Write(L"ClickData", L"AltSpan", ++i, 1));
}
BENCHMARK(BM_RegistryWrite)->Iterations(200);

}  // namespace
