// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Shared by the built-in sky's answer files: how a number is written in an answer.
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "platform/String.h"

namespace sky {

/// The number in the given format; "*" (a known property without a value now) when it is
/// not finite.
inline CString Answer(double v, const wchar_t* format) {
    if (!std::isfinite(v)) return L"*";
    // "%.<digit>f", nearly every answer, without the wide printf: to_chars writes the same
    // digits (the C locale's, which the library keeps for numbers).
    if (format[0] == L'%' && format[1] == L'.' && format[2] >= L'0' && format[2] <= L'9' &&
        format[3] == L'f' && format[4] == L'\0') {
        char digits[64];
        const auto r = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed,
                                     static_cast<int>(format[2] - L'0'));
        if (r.ec == std::errc()) return CString(std::wstring(digits, r.ptr));
    }
    CString s;
    s.Format(format, v);
    return s;
}

/// How long the elements of each kind stay useful, in days either side of their epoch.
/// @{
constexpr double kSatelliteUsefulDays = 14.0;
constexpr double kSmallBodyUsefulDays = 365.0;
/// @}

/// Which elements answered: "satellites.tle (bundled) 元期 2022-06-12" (the epoch's UTC
/// date; no date when the epoch is not known).
inline CString ElementsProvenance(const std::string& origin, double epochJd) {
    CString s(origin.c_str());
    if (!std::isfinite(epochJd) || epochJd <= 0.0) return s;
    // The civil date of a Julian Day (Fliegel and Van Flandern).
    const long j = static_cast<long>(std::floor(epochJd + 0.5)) + 68569;
    const long n = 4 * j / 146097, l = j - (146097 * n + 3) / 4;
    const long i = 4000 * (l + 1) / 1461001, l2 = l - 1461 * i / 4 + 31;
    const long k = 80 * l2 / 2447, day = l2 - 2447 * k / 80, l3 = k / 11;
    s.AppendFormat(L" 元期 %04ld-%02ld-%02ld", 100 * (n - 49) + i + l3, k + 2 - 12 * l3, day);
    return s;
}

/// The warning that elements are used beyond their useful age; empty when they are not.
inline CString ElementsAgeWarning(double epochJd, double jd, double usefulDays) {
    const double age = jd - epochJd;
    CString s;
    if (std::isfinite(age) && std::fabs(age) > usefulDays)
        s.Format(age > 0 ? L"軌道要素が古い: 元期から%.0f日 (目安は%.0f日以内)"
                         : L"軌道要素の元期まで%.0f日 (目安は%.0f日以内)",
                 std::fabs(age), usefulDays);
    return s;
}

}  // namespace sky
