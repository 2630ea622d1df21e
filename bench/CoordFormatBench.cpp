// SPDX-License-Identifier: LGPL-3.0-or-later
// Cost of each coordinate formatter beside one bare swprintf of the same fields, and of
// splitting a ten-part object path.
#include <benchmark/benchmark.h>

#include <cwchar>

#include "format/CoordFormat.h"
#include "host/StkString.h"

namespace {

using Formatter = const wchar_t* (*)(double, int);

void RunFormatter(benchmark::State& state, Formatter f, double value) {
    double v = value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(v, 4));
        v += 1e-9;
    }
}

// The printf work a formatter cannot avoid: its format with the same number of fields.
void BM_Baseline_swprintf_hms(benchmark::State& state) {
    wchar_t buf[32];
    double s = 56.789;
    for (auto _ : state) {
        benchmark::DoNotOptimize(swprintf(buf, 32, L"%02dh%02dm%06.3fs", 12, 34, s));
        s += 1e-9;
    }
}
void BM_Baseline_swprintf_deg(benchmark::State& state) {
    wchar_t buf[64];
    double v = 123.456789;
    for (auto _ : state) {
        benchmark::DoNotOptimize(swprintf(buf, 64, L"%-*.*f", 13, 6, v));
        v += 1e-9;
    }
}

void BM_CoordFormatRA(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatRA, 12.5824);
}
void BM_CoordFormatDecl(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatDecl, -12.5825);
}
void BM_CoordFormatLongitude(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatLongitude, 139.6917);
}
void BM_CoordFormatRADeg(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatRADeg, 12.5824);
}
void BM_CoordFormatDeclDeg(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatDeclDeg, -12.5825);
}
void BM_CoordFormatLongitudeDeg(benchmark::State& s) {
    RunFormatter(s, CCommonCoordFormat::CoordFormatLongitudeDeg, 139.6917);
}

void BM_SplitTenPartPath(benchmark::State& state) {
    const CString path(L"Star.Hip.32349.Alpha.CMa.Sirius.A.Component.Orbit.Period");
    CZntProperty p;
    for (auto _ : state) {
        p.Set(path);
        benchmark::DoNotOptimize(p);
    }
}

void BM_Str2RADec(benchmark::State& state) {
    const CString text(L"12h34m56.7s +12\uFF9F34'56.7\"");
    int h, m, plus, d, dm;
    double s, ds;
    for (auto _ : state)
        benchmark::DoNotOptimize(CCommonCoordFormat::Str2RADec(text, h, m, s, plus, d, dm, ds));
}

}  // namespace

BENCHMARK(BM_Baseline_swprintf_hms);
BENCHMARK(BM_CoordFormatRA);
BENCHMARK(BM_CoordFormatDecl);
BENCHMARK(BM_CoordFormatLongitude);
BENCHMARK(BM_Baseline_swprintf_deg);
BENCHMARK(BM_CoordFormatRADeg);
BENCHMARK(BM_CoordFormatDeclDeg);
BENCHMARK(BM_CoordFormatLongitudeDeg);
BENCHMARK(BM_SplitTenPartPath);
BENCHMARK(BM_Str2RADec);
