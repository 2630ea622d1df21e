// SPDX-License-Identifier: LGPL-3.0-or-later
// The catalogue tables: opening every shipped table, a star text from them, and a synthetic
// table of ten million stars (made once per run in the temporary folder) that must open,
// find a name and list the stars within 1 degree as fast as a small one.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <cstdio>
#include <random>
#include <string>

#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"
#include "sky/catalogs/CatalogFile.h"
#include "sky/catalogs/CatalogWriter.h"

namespace {

constexpr uint32_t kSyntheticStars = 10000000;

void BM_Catalogs_OpenAll(benchmark::State& state) {
    const char* names[] = {"stars.zct", "variables.zct", "doubles.zct", "exoplanets.zct",
                           "deepsky.zct"};
    for (auto _ : state) {
        for (const char* name : names) {
            sky::CatalogFile table;
            std::string error;
            if (!table.Open(std::string(ZCMCOM_SOURCE_DIR) + "/data/" + name, &error))
                state.SkipWithError(error.c_str());
            benchmark::DoNotOptimize(table.Find("m31"));
        }
    }
}
BENCHMARK(BM_Catalogs_OpenAll)->Unit(benchmark::kMicrosecond);

void BM_Catalogs_MiraText(benchmark::State& state) {
    CSkyHost host(2461381.0);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    double jd = 2461381.0;
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        benchmark::DoNotOptimize(clickData.GetText(&host, L"Star.GCVS.omi Cet", 0).GetString());
    }
}
BENCHMARK(BM_Catalogs_MiraText)->Unit(benchmark::kMillisecond);

// Ten million stars spread evenly over the sphere, each found by the name "s<n>".
const std::string& SyntheticTable() {
    static const std::string path = [] {
        const std::string file = "/tmp/zcmcom-bench-10m-" + std::to_string(getpid()) + ".zct";
        sky::CatalogWriter w(1800);
        const int mag = w.AddColumn("mag", sky::CatalogWriter::kF32);
        std::mt19937_64 random(11);
        std::uniform_real_distribution<double> u(0.0, 1.0);
        for (uint32_t i = 0; i < kSyntheticStars; ++i) {
            const uint32_t row =
                w.AddRow(360.0 * u(random), std::asin(2.0 * u(random) - 1.0) * 180.0 / M_PI);
            w.Set(row, mag, 6.0 + 14.0 * u(random));
            w.AddKey(row, "s" + std::to_string(i));
        }
        std::string error;
        if (!w.Write(file, &error)) std::fprintf(stderr, "%s\n", error.c_str());
        std::atexit([] {
            std::remove(("/tmp/zcmcom-bench-10m-" + std::to_string(getpid()) + ".zct").c_str());
        });
        return file;
    }();
    return path;
}

// Resident kilobytes of this process's mappings of a file: what lookups have touched.
double ResidentKb(const std::string& path) {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inFile = false;
    double kb = 0.0;
    while (std::getline(smaps, line)) {
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') != std::string::npos && line.find(' ') != std::string::npos)
            inFile = line.size() >= path.size() &&
                     line.compare(line.size() - path.size(), path.size(), path) == 0;
        else if (inFile && line.rfind("Rss:", 0) == 0)
            kb += std::atof(line.c_str() + 4);
    }
    return kb;
}

void BM_Synthetic10M_Open(benchmark::State& state) {
    const std::string& path = SyntheticTable();
    for (auto _ : state) {
        sky::CatalogFile table;
        std::string error;
        if (!table.Open(path, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(table.Rows());
    }
    // What one name lookup and one search within 1 degree leave resident.
    sky::CatalogFile table;
    std::string error;
    table.Open(path, &error);
    state.counters["resident_kb_after_open"] = ResidentKb(path);
    table.Find("s4242424");
    state.counters["resident_kb_after_find"] = ResidentKb(path);
    size_t found = 0;
    table.Near(123.0, 45.0, 1.0, [&](uint32_t) { ++found; });
    state.counters["resident_kb_after_one_lookup"] = ResidentKb(path);
}
BENCHMARK(BM_Synthetic10M_Open)->Unit(benchmark::kMicrosecond);

void BM_Synthetic10M_FindName(benchmark::State& state) {
    sky::CatalogFile table;
    std::string error;
    table.Open(SyntheticTable(), &error);
    std::mt19937 random(5);
    for (auto _ : state) {
        const std::vector<uint32_t> rows =
            table.Find("s" + std::to_string(random() % kSyntheticStars));
        if (rows.size() != 1) state.SkipWithError("name not found");
    }
    state.counters["resident_kb"] = ResidentKb(SyntheticTable());
}
BENCHMARK(BM_Synthetic10M_FindName)->Unit(benchmark::kMicrosecond);

void BM_Synthetic10M_Within1Degree(benchmark::State& state) {
    sky::CatalogFile table;
    std::string error;
    table.Open(SyntheticTable(), &error);
    std::mt19937 random(9);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    size_t found = 0;
    for (auto _ : state) {
        const double ra = 360.0 * u(random), dec = std::asin(2.0 * u(random) - 1.0) * 180.0 / M_PI;
        table.Near(ra, dec, 1.0, [&](uint32_t) { ++found; });
    }
    state.counters["stars"] =
        benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
    state.counters["resident_kb"] = ResidentKb(SyntheticTable());
}
BENCHMARK(BM_Synthetic10M_Within1Degree)->Unit(benchmark::kMicrosecond);

}  // namespace
