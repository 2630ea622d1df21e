// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/HostText.h"

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace host {

namespace {

CString Canonical(const wchar_t* text, size_t length) {
    std::wstring out(length, L'\0');
    size_t n = 0;
    for (const wchar_t c : std::wstring_view(text, length)) {
        if (c > L' ' && c < 0x7f) {  // printable ASCII without the locale's tables
            out[n++] = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
        } else if (!std::iswspace(static_cast<wint_t>(c))) {
            out[n++] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
    }
    out.resize(n);
    return CString(std::move(out));
}

}  // namespace

CString CanonicalQuery(const CString& text) {
    return Canonical(text.GetString(), text.str().size());
}

CString CanonicalQuery(const wchar_t* text) {
    return text ? Canonical(text, std::wcslen(text)) : CString();
}

tagADATE NearestSecond(double jdUt, double tz) {
    tagADATE d{};
    JdToDate2(jdUt, &d);
    d.timezone = 0.0;
    ChangeTimezone(&d, tz);
    const tagSPAN half{0, 0, 0, 0, 0, 0.5};
    ChangeDate(&d, &half, 0);
    d.second = std::floor(d.second);
    return d;
}

CString DateText(const wchar_t* token, const tagADATE& d) {
    CString s;
    const bool bc = d.year <= 0;
    // In 64 bits: the era's year of the earliest representable one does not fit an int.
    const long long year = bc ? 1LL - d.year : d.year;
    s.Format(L"%s %s%lld/%02d/%02d %02d:%02d:%02d", token, bc ? L"BC" : L"AD", year, d.month, d.day,
             d.hour, d.minute, static_cast<int>(d.second));
    return s;
}

std::vector<double> CallArguments(const CString& text) {
    std::vector<double> values;
    const int open = text.Find(L'(');
    if (open < 0) return values;
    CString inner = text.Mid(open + 1);
    const int close = inner.ReverseFind(L')');
    if (close >= 0) inner = inner.Left(close);
    int start = 0;
    while (start <= inner.GetLength()) {
        int comma = inner.Find(L',', start);
        if (comma < 0) comma = inner.GetLength();
        CString item = inner.Mid(start, comma - start);
        item.Trim();
        item.Trim(L"\"");
        wchar_t* end = nullptr;
        const double v = std::wcstod(item.GetString(), &end);
        if (end != item.GetString()) values.push_back(v);
        start = comma + 1;
    }
    return values;
}

bool ReadNumber(const CString& text, double* out, bool whole) {
    CString t = text;
    t.Trim();
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    if (end == t.GetString() || (whole && *end != L'\0') || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

std::vector<CString> SplitStatements(const CString& text) {
    std::vector<CString> parts;
    int start = 0;
    while (start < text.GetLength()) {
        int end = text.Find(L';', start);
        if (end < 0) end = text.GetLength();
        CString part = text.Mid(start, end - start);
        part.Trim();
        if (!part.IsEmpty()) parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

bool ReadAssignment(const CString& statement, Assignment* out) {
    const int eq = statement.Find(L'=');
    if (eq < 0) return false;
    out->lhs = CanonicalQuery(statement.Left(eq));
    out->rhs = statement.Mid(eq + 1);
    out->rhs.Trim();
    out->value = CanonicalQuery(out->rhs);
    return true;
}

bool TimeStatementJd(const Assignment& a, double* jdUt) {
    if (a.lhs == L"time.jd") return ReadNumber(a.rhs, jdUt);
    if (a.lhs != L"time") return false;
    const std::vector<double> f = CallArguments(a.rhs);
    for (double x : f)
        if (!(std::fabs(x) < 1e8)) return false;  // whole fields must fit an int
    if (a.value.Left(3) == L"jd(" && f.size() == 1) {
        *jdUt = f[0];
        return true;
    }
    if (a.value.Left(3) != L"ut(" || f.size() != 6) return false;
    tagADATE d{static_cast<int>(f[0]),
               static_cast<int>(f[1]),
               static_cast<int>(f[2]),
               static_cast<int>(f[3]),
               static_cast<int>(f[4]),
               f[5],
               0.0};
    *jdUt = ::GetJd(&d);
    return true;
}

namespace {

CString Formatted(double v, const wchar_t* format) {
    if (!std::isfinite(v)) return L"*";
    CString s;
    s.Format(format, v);
    return s;
}

}  // namespace

CString ClockAnswer(const CString& q, double jdUt, double zone, double longitude) {
    // Every query of the clock starts so; the others go no further.
    const wchar_t* const text = q.GetString();
    if (std::wcsncmp(text, L"time", 4) != 0 && std::wcsncmp(text, L"ut(", 3) != 0 &&
        std::wcsncmp(text, L"lst(", 4) != 0)
        return CString();
    if (q == L"time.jd") return Formatted(jdUt, L"%.8f");
    if (q == L"time.mjd") return Formatted(jdUt - 2400000.5, L"%.8f");
    if (q == L"time.timezone") return Formatted(zone, L"%.10g");
    if (q == L"time.siderealtime") return Formatted(GetLst(jdUt, longitude) / 15.0, L"%.8f");
    if (q == L"ut(time)") return DateText(L"UT", NearestSecond(jdUt, 0.0));
    if (q == L"time" || q == L"lst(time)") return DateText(L"LT", NearestSecond(jdUt, zone));
    // Fields of the clock: "UT(Time.Hour)", "LST(Time.Year)", "Time.Minute" (local).
    CString field = q;
    if (q.Left(3) == L"ut(" && q.Right(1) == L")") {
        zone = 0.0;
        field = q.Mid(3, q.GetLength() - 4);
    } else if (q.Left(4) == L"lst(" && q.Right(1) == L")") {
        field = q.Mid(4, q.GetLength() - 5);
    }
    if (field.Left(5) != L"time.") return CString();
    field = field.Mid(5);
    tagADATE d{};
    JdToDate2(jdUt, &d);
    d.timezone = 0.0;
    ChangeTimezone(&d, zone);
    // Seconds keep their fraction; the other fields are those of the same clock.
    if (field == L"second") return Formatted(d.second, L"%.3f");
    const int value = field == L"year"     ? d.year
                      : field == L"month"  ? d.month
                      : field == L"day"    ? d.day
                      : field == L"hour"   ? d.hour
                      : field == L"minute" ? d.minute
                                           : INT32_MIN;
    if (value == INT32_MIN) return CString();
    CString s;
    s.Format(L"%d", value);
    return s;
}

}  // namespace host
