// SPDX-License-Identifier: LGPL-3.0-or-later
#include "format/CoordFormat.h"

#include <cmath>
#include <cwchar>

namespace {

// Index 0 is unused; 1..4 are the precisions.
const wchar_t* const kRaPlaceholder[] = {L"", L"--h--.-m", L"--h--m--.-s", L"--h--m--.--s",
                                         L"--h--m--.---s"};
const wchar_t* const kDeclPlaceholder[] = {L"", L" --\uFF9F--'", L" --\uFF9F--'--\"",
                                           L" --\uFF9F--'--.-\"", L" --\uFF9F--'--.--\""};
const wchar_t* const kLonPlaceholder[] = {L"", L"---\uFF9F--'", L"---\uFF9F--'--\"",
                                          L"---\uFF9F--'--.-\"", L"---\uFF9F--'--.--\""};
const wchar_t* const kDegPlaceholder[] = {L"", L" --.---   ", L" --.----   ", L" --.-----   ",
                                          L" --.------   "};
const wchar_t* const kLonDegPlaceholder[] = {L"", L"---.---  ", L"---.----  ", L"---.-----  ",
                                             L"---.------  "};

// What a formatter should do with its precision argument.
enum class Layout { Keep, Placeholder, Value };

Layout Classify(int precision, bool finite) {
    if (precision == 0 || precision > 4 || precision < -4) return Layout::Keep;
    if (precision < 0 || !finite) return Layout::Placeholder;
    return Layout::Value;
}

// Settles the precision argument: false when buf already holds the answer (the text kept
// for an unusable precision, or the placeholder), true when the value is to be formatted.
template <size_t N>
bool NeedsValue(wchar_t (&buf)[N], int precision, double value,
                const wchar_t* const placeholders[]) {
    switch (Classify(precision, std::isfinite(value))) {
        case Layout::Keep:
            return false;
        case Layout::Placeholder:
            wcsncpy(buf, placeholders[std::abs(precision)], N - 1);
            buf[N - 1] = 0;
            return false;
        case Layout::Value:
            break;
    }
    return true;
}

// Degrees, minutes and seconds of a non-negative angle below 360, with the carries of the
// declination and longitude layouts.
struct Dms {
    int d, m;
    double s;
};

Dms SplitDegrees(double a, int precision) {
    static const double kThreshold[] = {0, 0, 0, 59.95, 59.995};
    Dms r{static_cast<int>(std::floor(a)), 0, 0.0};
    const double m = (a - r.d) * 60.0;
    if (precision == 1) {
        r.m = static_cast<int>(std::floor(m + 0.5));
    } else {
        r.m = static_cast<int>(std::floor(m));
        if (precision == 2) {
            r.s = std::floor((m - r.m) * 60.0 + 0.5);
            if (r.s > 59) r.s = 0, ++r.m;
        } else {
            r.s = (m - r.m) * 60.0;
            if (r.s >= kThreshold[precision]) r.s = 0, ++r.m;
        }
    }
    if (r.m > 59) r.m = 0, ++r.d;
    return r;
}

// v brought into [0, full), with negative zero as zero.
double Wrap(double v, double full) {
    double r = std::fmod(v, full);
    if (r < 0) r += full;
    if (r >= full) r = 0.0;
    return r == 0 ? 0.0 : r;
}

// v in [0, full), or 0 when it prints as the full circle with this many decimals.
double NotFullCircle(double v, double full, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) >= full * scale ? 0.0 : v;
}

}  // namespace

double CCommonCoordFormat::degmal(double a) {
    const double q = a / 360.0;
    double r = (q - std::floor(q)) * 360.0;
    if (r < 0) r += 360.0;
    if (r >= 360.0) r -= 360.0;
    return r;
}

double CCommonCoordFormat::degmal2(double a) {
    double r = degmal(a);
    if (r > 180.0) r -= 360.0;
    if (r > 90.0) r = 90.0;
    if (r < -90.0) r = -90.0;
    return r;
}

int CCommonCoordFormat::IsEqualDeg(double a, double b) { return std::fabs(a - b) < 1e-5; }

int CCommonCoordFormat::IsEqualAlt(double a, double b) { return std::fabs(a - b) < 1.0; }

const wchar_t* CCommonCoordFormat::CoordFormatRA(double hours, int precision) {
    static wchar_t buf[32];
    if (!NeedsValue(buf, precision, hours, kRaPlaceholder)) return buf;
    // A negative right ascension is the same hour angle less 24 h.
    const double h = Wrap(hours, 24.0);
    int H = static_cast<int>(std::floor(h));
    const double m = (h - H) * 60.0;
    if (precision == 1) {
        double M = m;
        if (M >= 59.95) {
            M = 0;
            if (++H > 23) H = 0;
        }
        swprintf(buf, 32, L"%02dh%04.1fm", H, M);
        return buf;
    }
    static const double kThreshold[] = {0, 0, 59.95, 59.995, 59.9995};
    static const wchar_t* const kFormat[] = {L"", L"", L"%02dh%02dm%04.1fs", L"%02dh%02dm%05.2fs",
                                             L"%02dh%02dm%06.3fs"};
    int Mi = static_cast<int>(std::floor(m));
    double S = (m - Mi) * 60.0;
    if (S >= kThreshold[precision]) {
        S = 0;
        if (++Mi > 59) {
            Mi = 0;
            if (++H > 23) H = 0;
        }
    }
    swprintf(buf, 32, kFormat[precision], H, Mi, S);
    return buf;
}

const wchar_t* CCommonCoordFormat::CoordFormatDecl(double degrees, int precision) {
    static wchar_t buf[32];
    if (!NeedsValue(buf, precision, degrees, kDeclPlaceholder)) return buf;
    static const wchar_t* const kFormat[] = {
        L"", L"%lc%02d\uFF9F%02d'", L"%lc%02d\uFF9F%02d'%02.0f\"", L"%lc%02d\uFF9F%02d'%04.1f\"",
        L"%lc%02d\uFF9F%02d'%05.2f\""};
    const double v = degmal2(degrees);
    const wchar_t sign = v >= 0 ? L'+' : L'-';
    const Dms r = SplitDegrees(std::fabs(v), precision);
    if (precision == 1)
        swprintf(buf, 32, kFormat[1], sign, r.d, r.m);
    else
        swprintf(buf, 32, kFormat[precision], sign, r.d, r.m, r.s);
    return buf;
}

const wchar_t* CCommonCoordFormat::CoordFormatLatitude(double degrees, int precision) {
    return CoordFormatDecl(degrees, precision);
}

const wchar_t* CCommonCoordFormat::CoordFormatLongitude(double degrees, int precision) {
    static wchar_t buf[32];
    if (!NeedsValue(buf, precision, degrees, kLonPlaceholder)) return buf;
    static const wchar_t* const kFormat[] = {L"", L"%3d\uFF9F%02d'", L"%3d\uFF9F%02d'%02.0f\"",
                                             L"%3d\uFF9F%02d'%04.1f\"", L"%3d\uFF9F%02d'%05.2f\""};
    Dms r = SplitDegrees(degmal(degrees), precision);
    if (r.d > 359) r.d = 0;
    if (precision == 1)
        swprintf(buf, 32, kFormat[1], r.d, r.m);
    else
        swprintf(buf, 32, kFormat[precision], r.d, r.m, r.s);
    return buf;
}

const wchar_t* CCommonCoordFormat::CoordFormatRADeg(double hours, int precision) {
    static wchar_t buf[64];
    if (!NeedsValue(buf, precision, hours, kDegPlaceholder)) return buf;
    static const int kWidth[] = {0, 8, 11, 12, 13};
    const double d = NotFullCircle(Wrap(hours, 24.0) * 15.0, 360.0, precision + 2);
    swprintf(buf, 64, L"%-*.*f", kWidth[precision], precision + 2, d);
    return buf;
}

const wchar_t* CCommonCoordFormat::CoordFormatDeclDeg(double degrees, int precision) {
    static wchar_t buf[64];
    if (!NeedsValue(buf, precision, degrees, kDegPlaceholder)) return buf;
    const double v = degmal2(degrees);
    const int signWidth = (v >= 0 ? 1 : 0) + (std::fabs(v) < 10 ? 1 : 0);
    const int numberWidth = precision + 7 - signWidth - (precision == 3 ? 0 : 1);
    swprintf(buf, 64, L"%*ls%-*.*f", signWidth, v >= 0 ? L"+" : L"", numberWidth, precision + 2, v);
    return buf;
}

const wchar_t* CCommonCoordFormat::CoordFormatLatitudeDeg(double degrees, int precision) {
    return CoordFormatDeclDeg(degrees, precision);
}

const wchar_t* CCommonCoordFormat::CoordFormatLongitudeDeg(double degrees, int precision) {
    static wchar_t buf[64];
    if (!NeedsValue(buf, precision, degrees, kLonDegPlaceholder)) return buf;
    static const int kWidth[] = {0, 7, 10, 11, 12};
    swprintf(buf, 64, L"%-*.*f", kWidth[precision], precision + 2,
             NotFullCircle(degmal(degrees), 360.0, precision + 2));
    return buf;
}

// ---------------------------------------------------------------------------------------
// Parsing

namespace {

// Takes the next blank-separated field off the front of text.
CString NextField(CString& text) {
    text.TrimLeft();
    int end = text.Find(L' ');
    if (end < 0) end = text.GetLength();
    CString field = text.Left(end);
    text = text.Mid(end);
    return field;
}

}  // namespace

int CCommonCoordFormat::Str2RADec(const CString& text, int& raH, int& raM, double& raS,
                                  int& decPlus, int& decD, int& decM, double& decS) {
    CString s(text);
    s.Trim();
    if (s.IsEmpty()) {
        raH = raM = decD = decM = 0;
        raS = decS = 0.0;
        return 0;
    }
    // Everything but digits, signs and points separates fields.
    wchar_t* p = s.GetBuffer();
    for (int i = 0; i < s.GetLength(); ++i)
        if (!wcschr(L"0123456789+-.", p[i]) || p[i] == 0) p[i] = L' ';
    s.ReleaseBuffer(s.GetLength());

    s.Replace(L"+ ", L"+");
    s.Replace(L"- ", L"-");
    s.Replace(L" .", L"P");
    // A point after a separator joins a fraction to its number ("56s.7") when digits stand
    // on both sides; otherwise it is a separator.
    p = s.GetBuffer();
    const int len = s.GetLength();
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    for (int i = 0; i < len; ++i) {
        if (p[i] != L'P') continue;
        const bool joins = i > 0 && i < len - 1 && isDigit(p[i - 1]) && isDigit(p[i + 1]);
        p[i] = joins ? L'.' : L' ';
    }
    s.ReleaseBuffer(len);
    s.Trim();

    raH = _wtoi(NextField(s));
    raM = _wtoi(NextField(s));
    raS = _wtof(NextField(s));

    s.TrimLeft();
    decPlus = (!s.IsEmpty() && s[0] == L'+') ? 1 : 0;
    s.TrimLeft(L"+-");
    decD = _wtoi(NextField(s));
    decM = _wtoi(NextField(s));
    decS = _wtof(s);
    return 1;
}
