// SPDX-License-Identifier: LGPL-3.0-or-later
#include "format/DateFmt.h"

#include <climits>
#include <cmath>
#include <cwchar>

namespace {

// The blanks of the C locale, whatever locale the process has.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// One step of the scan: reads a whole decimal number with an optional sign, after any
// blanks, as the runtime's %d does. False at a mismatch.
bool ScanInt(const wchar_t*& p, int* out) {
    while (IsBlank(*p)) ++p;
    const wchar_t* start = p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9') {
        p = start;
        return false;
    }
    long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if (v < 100000000000LL) v = v * 10 + (*p - L'0');  // saturates, no overflow
    if (negative) v = -v;
    *out = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
    return true;
}

// %Ns: skips blanks, then takes up to max non-blank characters (at least one).
bool ScanToken(const wchar_t*& p, int max, std::wstring* out) {
    while (IsBlank(*p)) ++p;
    out->clear();
    while (*p && !IsBlank(*p) && static_cast<int>(out->size()) < max) *out += *p++;
    return !out->empty();
}

// A literal character of the format; a blank in the format matches any run of blanks.
bool ScanLiteral(const wchar_t*& p, wchar_t c) {
    if (c == L' ') {
        while (IsBlank(*p)) ++p;
        return true;
    }
    if (*p != c) return false;
    ++p;
    return true;
}

}  // namespace

CCommonDateFmt::~CCommonDateFmt() = default;

void CCommonDateFmt::ParseDate(CString text, int* year, int* month, int* day, int* hour,
                               int* minute, int* second) {
    int values[6] = {0, 0, 0, 0, 0, 0};
    std::wstring weekday, era;
    const wchar_t* p = text.GetString();
    // "%3s %2s%d/%d/%d %d:%d:%d"
    const wchar_t separators[6] = {0, L'/', L'/', L' ', L':', L':'};
    int read = 0;
    if (ScanToken(p, 3, &weekday) && ScanLiteral(p, L' ') && ScanToken(p, 2, &era)) {
        for (; read < 6; ++read) {
            if (read > 0 && !ScanLiteral(p, separators[read])) break;
            if (!ScanInt(p, &values[read])) break;
        }
    }
    // 1 BC is year 0; the year read saturates at the int range, and so does this.
    if (read > 0 && era == L"BC") values[0] = values[0] == INT_MIN ? INT_MAX : 1 - values[0];
    int* outs[6] = {year, month, day, hour, minute, second};
    for (int i = 0; i < 6; ++i)
        if (outs[i]) *outs[i] = values[i];
}

int CCommonDateFmt::GetDayOfWeek(tagADATE date) {
    const double jd = CalcJd(date.year, date.month, date.day);
    if (!std::isfinite(jd) || std::fabs(jd) > 1e15) return -1;
    const long long w = static_cast<long long>(jd + 1.5);  // toward zero, as the cast does
    const int r = static_cast<int>(w % 7);
    return r < 0 ? r + 7 : r;
}

int CCommonDateFmt::GetDayOfMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month != 2) return kDays[month - 1];
    if (year < 1583) return year % 4 == 0 ? 29 : 28;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
}

int CCommonDateFmt::IsEqualJd(double a, double b) { return std::fabs(a - b) < 1e-6 ? 1 : 0; }
