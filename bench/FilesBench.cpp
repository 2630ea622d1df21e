// SPDX-License-Identifier: LGPL-3.0-or-later
// Text file reading speed. The files are made at run time in the benchmark's own
// temporary folder: a 100 MB Shift-JIS text and the same lines in UTF-16LE.
//
// BM_SjisLinesVsIconv times CZntFileEx's line reading and "iconv -f CP932 -t UTF-32LE"
// on the same file in one run and reports both rates and their ratio. BM_SjisLineEnds
// reads one file per line-end style.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/ZntFile.h"
#include "files/ZntFileEx.h"
#include "platform/CodePage.h"

namespace {

const size_t kTarget = 100u * 1000 * 1000;

struct BenchFiles {
    std::string dir, sjis, utf16;
    size_t sjisBytes = 0, utf16Bytes = 0;

    BenchFiles() {
        char tmpl[] = "/tmp/zcmbench.XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        dir = tmpl;
        sjis = dir + "/text_sjis.txt";
        utf16 = dir + "/text_utf16le.txt";
        // Observation-log-like lines: ASCII numbers mixed with kanji and half-width kana.
        const std::wstring words[] = {L"観測",   L"露出",       L"ｶﾒﾗ",  L"温度",
                                      L"望遠鏡", L"フィルター", L"赤経", L"赤緯"};
        FILE* a = fopen(sjis.c_str(), "wb");
        FILE* u = fopen(utf16.c_str(), "wb");
        if (!a || !u) std::abort();
        fwrite("\xFF\xFE", 1, 2, u);
        unsigned seed = 1;
        std::string line;
        std::u16string units;
        while (sjisBytes < kTarget) {
            std::wstring text;
            const int n = 3 + static_cast<int>((seed = seed * 1103515245u + 12345u) >> 28);
            for (int i = 0; i < n; ++i) {
                seed = seed * 1103515245u + 12345u;
                text += words[(seed >> 16) % 8];
                text += L" " + std::to_wstring((seed >> 8) % 100000) + L".";
                text += std::to_wstring(seed % 1000) + L", ";
            }
            text += L"\r\n";
            line.clear();
            ZcmWideToAnsi(text.data(), text.size(), line);
            fwrite(line.data(), 1, line.size(), a);
            sjisBytes += line.size();
            units.clear();
            ZcmWideToUtf16(text.data(), text.size(), units);
            fwrite(units.data(), 2, units.size(), u);
            utf16Bytes += units.size() * 2;
        }
        fclose(a);
        fclose(u);
    }
    ~BenchFiles() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const BenchFiles& Files() {
    static const BenchFiles files;
    return files;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t ReadSjisLines(const std::string& path) {
    CZntFileEx f;
    if (!f.Open(CString(path.c_str()), CFile::modeRead | CFile::typeText, 0)) std::abort();
    CString line;
    size_t chars = 0;
    while (f.ReadString(line)) chars += static_cast<size_t>(line.GetLength());
    return chars;
}

void BM_SjisLinesVsIconv(benchmark::State& state) {
    const BenchFiles& files = Files();
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ReadSjisLines(files.sjis));
        ours = Seconds(t0);
        t0 = std::chrono::steady_clock::now();
        const std::string cmd = "iconv -f CP932 -t UTF-32LE '" + files.sjis + "' > /dev/null";
        if (system(cmd.c_str()) != 0) state.SkipWithError("iconv failed");
        theirs = Seconds(t0);
        state.SetIterationTime(ours + theirs);
    }
    const double mb = static_cast<double>(files.sjisBytes) / 1e6;
    state.counters["CZntFileEx_MBps"] = mb / ours;
    state.counters["iconv_MBps"] = mb / theirs;
    state.counters["ratio"] = theirs / ours;  // >= 0.5 is the goal
}
BENCHMARK(BM_SjisLinesVsIconv)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ZntFileUtf16Lines(benchmark::State& state) {
    const BenchFiles& files = Files();
    for (auto _ : state) {
        CZntFile f;
        if (!f.Open(CString(files.utf16.c_str()), CFile::modeRead)) std::abort();
        CString line;
        size_t chars = 0;
        while (f.ReadString(line)) chars += static_cast<size_t>(line.GetLength());
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.utf16Bytes));
}
BENCHMARK(BM_ZntFileUtf16Lines)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PlainBufferedRead(benchmark::State& state) {
    const BenchFiles& files = Files();
    std::string buf(64 * 1024, '\0');
    for (auto _ : state) {
        FILE* f = fopen(files.utf16.c_str(), "rb");
        size_t total = 0, n;
        while ((n = fread(&buf[0], 1, buf.size(), f)) > 0) total += n;
        fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.utf16Bytes));
}
BENCHMARK(BM_PlainBufferedRead)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// 10 MB of short Shift-JIS lines ended by LF (0), CR LF (1) or CR alone (2): reading must
// take about as long for each, as the work is linear in the file's size.
void BM_SjisLineEnds(benchmark::State& state) {
    static const char* const kEnds[] = {"\n", "\r\n", "\r"};
    const std::string path = Files().dir + "/ends" + std::to_string(state.range(0)) + ".txt";
    std::string text;
    while (text.size() < 10u * 1000 * 1000)
        text += std::string("12h34m56.7s +12 34 56") + kEnds[state.range(0)];
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(text.data(), 1, text.size(), f) != text.size() || fclose(f) != 0) std::abort();
    for (auto _ : state) benchmark::DoNotOptimize(ReadSjisLines(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SjisLineEnds)
    ->DenseRange(0, 2)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
