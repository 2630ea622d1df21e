// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky, each round at a new instant so no cache of an earlier one helps: the
// apparent topocentric place of the Moon and of Mars, their rise, transit and set, and
// full click texts with every switch on (scripts/bench-sky.sh sets these beside PyEphem).
#include <benchmark/benchmark.h>

#include <cmath>

#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"
#include "sky/bodies/Ephemeris.h"

namespace {

constexpr double kStart = 2461381.0;  // 2026-12-06 12:00 UT, Tokyo
const wchar_t kMoon[] = L"Solar.Planet.Earth.Satellite.Moon";
const wchar_t kMars[] = L"Solar.Planet.Mars";

// One query asks for the whole place (every system, horizon, distances, magnitude, phase).
// step: days between the instants; a long one (Cold) finds nothing computed nearby. The
// instants wrap round inside DE405's span (1960-2060), where the ephemeris file answers.
void BM_SkyHost_Place(benchmark::State& state, const wchar_t* path, double step) {
    CSkyHost host(kStart);
    const CString query = CString(L"? ") + path + L".position.Altitude";
    double jd = kStart;
    for (auto _ : state) {
        if ((jd += step) > 2472000.0) jd -= 32000.0;
        host.SetJd(jd);
        benchmark::DoNotOptimize(host.Execute(query).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_Place, Moon, kMoon, 0.01)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Place, Mars, kMars, 0.01)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Place, MoonCold, kMoon, 37.3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Place, MarsCold, kMars, 37.3)->Unit(benchmark::kMicrosecond);

// The astrometric geocentric place alone (DE405 with light time), at instants 37.3 days
// apart that wrap round inside the file's span.
void BM_Ephemeris_Astrometric(benchmark::State& state, sky::Body body) {
    double jd = 2440000.5;
    for (auto _ : state) {
        if ((jd += 37.3) > 2472000.0) jd -= 32000.0;
        benchmark::DoNotOptimize(sky::AstrometricGeocentric(body, jd));
    }
}
BENCHMARK_CAPTURE(BM_Ephemeris_Astrometric, Moon, sky::Body::Moon);
BENCHMARK_CAPTURE(BM_Ephemeris_Astrometric, Jupiter, sky::Body::Jupiter);

// Instants over 1960-2060 in a scrambled order, no two within a month (31 days times a
// permutation of 0..1177, plus a fraction of a day); tools/bench/sky_peer.py uses the same.
double RandomInstant(int i) {
    return 2436934.5 + 31.0 * ((i * 769) % 1178) + std::fmod(i * 0.6180339887, 1.0);
}

void BM_SkyHost_Random(benchmark::State& state, const wchar_t* path) {
    CSkyHost host(kStart);
    const CString query = CString(L"? ") + path + L".position.Altitude";
    int i = 0;
    for (auto _ : state) {
        host.SetJd(RandomInstant(i++));
        benchmark::DoNotOptimize(host.Execute(query).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_Random, Sun, L"Solar.Sun")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Random, Moon, kMoon)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Random, Mars, kMars)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Random, Neptune, L"Solar.Planet.Neptune")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_Random, Sirius, L"Star.HIP.32349")->Unit(benchmark::kMicrosecond);

void BM_SkyHost_RiseTransitSet(benchmark::State& state, const wchar_t* path) {
    CSkyHost host(kStart);
    const CString prefix = CString(L"? ") + path + L".Jd.";
    // Over ten years, so that a long run stays within the span of one theory.
    double days = 0.0;
    for (auto _ : state) {
        host.SetJd(kStart + std::fmod(days += 0.37, 3652.5));
        for (const wchar_t* e : {L"Rise", L"Transit", L"Set"})
            benchmark::DoNotOptimize(host.Execute(prefix + e).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_RiseTransitSet, Moon, kMoon)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkyHost_RiseTransitSet, Mars, kMars)->Unit(benchmark::kMicrosecond);

// A full text with every switch on, at a new instant each round.
void BM_SkyHost_Text(benchmark::State& state, const wchar_t* path) {
    CSkyHost host(kStart);
    host.SetMark(5.5, -5.0);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    double jd = kStart;
    size_t length = 0;
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        clickData.ClearCache();
        const CString text = clickData.GetText(&host, path, 0);
        length = static_cast<size_t>(text.GetLength());
        benchmark::DoNotOptimize(text.GetString());
    }
    state.counters["chars"] = static_cast<double>(length);
}
BENCHMARK_CAPTURE(BM_SkyHost_Text, Sun, L"Solar.Sun")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Moon, kMoon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Mars, kMars)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Jupiter, L"Solar.Planet.Jupiter")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Sirius, L"Star.HIP.32349")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Orion, L"Constellation.Ori")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, M42, L"DeepSkyObject.M.42")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_Text, Equatorial, L"Equatorial")->Unit(benchmark::kMillisecond);

// The same at instants far apart (see RandomInstant).
void BM_SkyHost_RandomText(benchmark::State& state, const wchar_t* path) {
    CSkyHost host(kStart);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    int i = 0;
    for (auto _ : state) {
        host.SetJd(RandomInstant(i++));
        clickData.ClearCache();
        benchmark::DoNotOptimize(clickData.GetText(&host, path, 0).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_RandomText, Moon, kMoon)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SkyHost_RandomText, Mars, kMars)->Unit(benchmark::kMillisecond);

void BM_SkyHost_Answer(benchmark::State& state, const wchar_t* query) {
    CSkyHost host(kStart);
    double jd = kStart;
    for (auto _ : state) {
        host.SetJd(jd += 0.01);
        benchmark::DoNotOptimize(host.Execute(query).GetString());
    }
}
BENCHMARK_CAPTURE(BM_SkyHost_Answer, SiriusAltitude, L"? Star.HIP.32349.position.Altitude")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
