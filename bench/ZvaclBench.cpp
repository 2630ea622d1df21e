// SPDX-License-Identifier: LGPL-3.0-or-later
// Cost of each zvacl function. The instants move a little on every call so that nothing
// is folded away or answered from a cache.
#include <benchmark/benchmark.h>

#include "zvacl/zvacl.h"

namespace {

constexpr double kJd = 2460310.123456;

void BM_CalcJd(benchmark::State& state) {
    double day = 1.25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalcJd(2024, 1, day));
        day += 1e-9;
    }
}
BENCHMARK(BM_CalcJd);

void BM_GetJd(benchmark::State& state) {
    tagADATE d{2024, 5, 17, 21, 30, 15.5, 9.0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetJd(&d));
        d.second += 1e-9;
    }
}
BENCHMARK(BM_GetJd);

void BM_JdToDate(benchmark::State& state) {
    double jd = kJd;
    int y, m;
    double d;
    for (auto _ : state) {
        JdToDate(jd, &y, &m, &d);
        benchmark::DoNotOptimize(d);
        jd += 1e-7;
    }
}
BENCHMARK(BM_JdToDate);

void BM_JdToDate2(benchmark::State& state) {
    double jd = kJd;
    tagADATE out;
    for (auto _ : state) {
        JdToDate2(jd, &out);
        benchmark::DoNotOptimize(out);
        jd += 1e-7;
    }
}
BENCHMARK(BM_JdToDate2);

void BM_ChangeTimezone(benchmark::State& state) {
    tagADATE d{2024, 12, 31, 20, 0, 0.0, 0.0};
    double zone = 9.0;
    for (auto _ : state) {
        ChangeTimezone(&d, zone);
        benchmark::DoNotOptimize(d);
        zone = -zone;
    }
}
BENCHMARK(BM_ChangeTimezone);

// The callers' half-second rounding step.
void BM_ChangeDate(benchmark::State& state) {
    tagADATE d{2024, 12, 31, 23, 59, 59.6, 0.0};
    const tagSPAN half{0, 0, 0, 0, 0, 0.5};
    for (auto _ : state) {
        tagADATE copy = d;
        ChangeDate(&copy, &half, 0);
        benchmark::DoNotOptimize(copy);
        d.second += 1e-9;
    }
}
BENCHMARK(BM_ChangeDate);

void BM_UtToDt(benchmark::State& state) {
    double jd = kJd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(UtToDt(jd));
        jd += 1e-7;
    }
}
BENCHMARK(BM_UtToDt);

void BM_CalcPlanetLbr(benchmark::State& state) {
    double jd = kJd;
    double lb[2], r;
    for (auto _ : state) {
        CalcPlanetLbr(-3, jd, lb, &r);
        benchmark::DoNotOptimize(lb[0]);
        jd += 1e-7;
    }
}
BENCHMARK(BM_CalcPlanetLbr);

void BM_GetLst(benchmark::State& state) {
    double jd = kJd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetLst(jd, 139.7));
        jd += 1e-7;
    }
}
BENCHMARK(BM_GetLst);

void BM_degmal(benchmark::State& state) {
    double a = -1234.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(degmal(a));
        a += 1e-7;
    }
}
BENCHMARK(BM_degmal);

void BM_degmal2(benchmark::State& state) {
    double a = 1234.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(degmal2(a));
        a += 1e-7;
    }
}
BENCHMARK(BM_degmal2);

void BM_AdToPaDist(benchmark::State& state) {
    double from[2] = {213.9154, 19.1825};
    const double to[2] = {201.2983, -11.1614};
    double pa, dist;
    for (auto _ : state) {
        AdToPaDist(from, to, &pa, &dist);
        benchmark::DoNotOptimize(dist);
        from[0] += 1e-9;
    }
}
BENCHMARK(BM_AdToPaDist);

// As the Moon text calls it: six records around the host's date.
void BM_GetMoonPhases(benchmark::State& state) {
    tagADATE d{2024, 5, 17, 21, 30, 15.5, 9.0};
    tagMOONPHASE phases[6];
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetMoonPhases(&d, phases, 6));
        d.second += 1e-6;
    }
}
BENCHMARK(BM_GetMoonPhases);

void BM_AtmosphericRefraction(benchmark::State& state) {
    double in[2] = {0.0, 0.5};
    double out[2];
    for (auto _ : state) {
        AtmosphericRefraction(in, out);
        benchmark::DoNotOptimize(out[1]);
        in[1] += 1e-9;
    }
}
BENCHMARK(BM_AtmosphericRefraction);

}  // namespace
