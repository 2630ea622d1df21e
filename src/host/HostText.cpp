// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/HostText.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace host {

CString CanonicalQuery(const CString& text) {
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (!std::iswspace(static_cast<wint_t>(c))) out += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return out;
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
    s.Format(L"%s %s%lld/%02d/%02d %02d:%02d:%02d", token, bc ? L"BC" : L"AD", year,
             d.month, d.day, d.hour, d.minute, static_cast<int>(d.second));
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

}  // namespace host
