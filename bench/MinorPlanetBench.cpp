// SPDX-License-Identifier: LGPL-3.0-or-later
// The whole MPC orbit file at click speed: a synthetic file of 1.4 million minor planets in
// MPCORB's layout (main belt and near-Earth orbits, magnitudes as faint as the real ones
// run), converted once to the mapped table; opening it, a look-up by name and the search of
// a region (screened, then exact) on it; and the screened search against placing every
// orbit of a 100,000-orbit sample, which must agree.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "sky/bodies/MinorPlanetTable.h"

namespace {

constexpr double kNow = 2461381.0;  // 2026-12-07 12:00 TT

std::string Packed(long n) {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    char s[8];
    if (n < 620000) {
        std::snprintf(s, sizeof s, "%c%04ld", kDigits[n / 10000], n % 10000);
    } else {
        long v = n - 620000;
        s[0] = '~';
        for (int k = 4; k >= 1; --k, v /= 62) s[k] = kDigits[v % 62];
        s[5] = '\0';
    }
    return s;
}

// A file of `count` orbits: numbered ones first, then provisional designations.
void WriteSynthetic(const std::string& path, long count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::ofstream out(path);
    out << "Synthetic orbits in the layout of MPCORB.DAT\n" << std::string(160, '-') << "\n";
    const char* halves = "ABCDEFGHJKLMNOPQRSTUVWXY";
    const char* letters = "ABCDEFGHJKLMNOPQRSTUVWXYZ";
    char line[256];
    for (long k = 1; k <= count; ++k) {
        const bool nea = u(random) < 0.03;
        const double a = nea ? 0.9 + 1.2 * u(random) : 2.1 + 1.3 * u(random);
        const double e = nea ? 0.1 + 0.6 * u(random) : 0.3 * u(random) * u(random);
        const double H = k == 433 ? 10.4 : 12.0 + 8.0 * std::sqrt(u(random));
        std::string packed, readable;
        if (k < 740000) {
            packed = Packed(k);
            readable = "(" + std::to_string(k) + ") " +
                       (k == 433 ? "Eros" : "Synthetica" + std::to_string(k));
        } else {
            const long p = k - 740000;
            const int year = 2000 + static_cast<int>(p % 26),
                      cycle = static_cast<int>(p / 600 % 620);
            const char half = halves[p % 24], letter = letters[p / 24 % 25];
            static const char kDigits[] =
                "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
            char s[8];
            std::snprintf(s, sizeof s, "K%02d%c%c%d%c", year % 100, half, kDigits[cycle / 10],
                          cycle % 10, letter);
            packed = s;
            readable = std::to_string(year) + " " + half + letter +
                       (cycle ? std::to_string(cycle) : std::string());
        }
        const int n = std::snprintf(
            line, sizeof line,
            "%-7s %5.2f %5.2f K2289 %9.5f  %9.5f  %9.5f  %9.5f  %9.7f %11.8f %11.7f",
            packed.c_str(), H, 0.15, 360.0 * u(random), 360.0 * u(random), 360.0 * u(random),
            30.0 * u(random) * u(random), e, 0.9856 / (a * std::sqrt(a)), a);
        out << line << std::string(166 - n, ' ') << readable << "\n";
    }
}

struct Files {
    std::string folder, table;
    double convertSeconds = 0.0;
};

// The 1.4-million-orbit table, made once per run (the conversion is timed here, once).
const Files& Whole() {
    static const Files files = [] {
        Files f;
        f.folder = std::filesystem::temp_directory_path().string() + "/zcmcom-bench-mp-" +
                   std::to_string(getpid());
        std::filesystem::create_directories(f.folder);
        WriteSynthetic(f.folder + "/MPCORB.DAT", 1400000, 1);
        f.table = f.folder + "/mpcorb.tab";
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        if (!sky::WriteMinorPlanetTable(f.folder + "/MPCORB.DAT", f.table, &error))
            std::fprintf(stderr, "%s\n", error.c_str());
        f.convertSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::filesystem::remove(f.folder + "/MPCORB.DAT");
        std::atexit([] { std::filesystem::remove_all(Whole().folder); });
        return f;
    }();
    return files;
}

void BM_MinorPlanetTable_Convert(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Whole().table.size());
    state.counters["seconds"] = Whole().convertSeconds;
}
BENCHMARK(BM_MinorPlanetTable_Convert)->Iterations(1)->Unit(benchmark::kSecond);

void BM_MinorPlanetTable_Open(benchmark::State& state) {
    const std::string path = Whole().table;
    for (auto _ : state) benchmark::DoNotOptimize(sky::MinorPlanetTable::Open(path, nullptr));
}
BENCHMARK(BM_MinorPlanetTable_Open)->Unit(benchmark::kMicrosecond);

void BM_MinorPlanetTable_FindByName(benchmark::State& state) {
    const auto table = sky::MinorPlanetTable::Open(Whole().table, nullptr);
    const char* const names[] = {"(433) Eros", "Synthetica123456", "2000 AA", "700001"};
    size_t k = 0;
    for (auto _ : state) {
        const long found = table->Find(names[k++ % 4]);
        benchmark::DoNotOptimize(table->At(found < 0 ? 0 : found));
    }
}
BENCHMARK(BM_MinorPlanetTable_FindByName)->Unit(benchmark::kMicrosecond);

// Brighter than 16 within 1° of a point of the ecliptic, with exact places for every
// candidate.
void BM_MinorPlanetTable_Region(benchmark::State& state) {
    const auto table = sky::MinorPlanetTable::Open(Whole().table, nullptr);
    size_t found = 0, candidates = 0;
    for (auto _ : state) {
        found = sky::MinorPlanetsWithin(*table, kNow, 75.0, 22.0, 1.0, 16.0).size();
        candidates = table->Screen(kNow, 75.0, 22.0, 1.0, 16.0).size();
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(BM_MinorPlanetTable_Region)->Unit(benchmark::kMillisecond);

// A 100,000-orbit sample: the screened search finds what placing every orbit finds.
void BM_MinorPlanetTable_AgreesWithBruteForce(benchmark::State& state) {
    const std::string folder = Whole().folder;
    WriteSynthetic(folder + "/sample.dat", 100000, 2);
    sky::WriteMinorPlanetTable(folder + "/sample.dat", folder + "/sample.tab", nullptr);
    const auto table = sky::MinorPlanetTable::Open(folder + "/sample.tab", nullptr);
    bool agree = true;
    size_t found = 0;
    for (auto _ : state)
        for (const double ra : {0.0, 75.0, 160.0, 250.0}) {
            const auto screened = sky::MinorPlanetsWithin(*table, kNow, ra, 0.0, 10.0, 17.0);
            agree &= screened == sky::MinorPlanetsWithin(*table, kNow, ra, 0.0, 10.0, 17.0, false);
            found += screened.size();
        }
    if (!agree) state.SkipWithError("the screened search differs from the brute-force one");
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_MinorPlanetTable_AgreesWithBruteForce)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
