// SPDX-License-Identifier: LGPL-3.0-or-later
// Helpers shared by the click-data builders: coordinate texts under the user's precision
// switches, clock times of Julian Days, periods, the host's local date, and the instant of
// a solar longitude.
#include <cmath>

#include "clickdata/ZntClickData.h"
#include "format/CoordFormat.h"

namespace {

using Formatter = const wchar_t* (*)(double, int);

// Precision forced by the options, else the one asked for.
int EffectivePrecision(int extraOption, const CCdStatus& status, int precision) {
    if (extraOption) return 4;
    if (status.Precision) return 1;
    return precision;
}

CString FormatAnswer(const CString& answer, int precision, Formatter format) {
    if (answer == L"*") return format(0.0, -precision);
    return format(_wtof(answer), precision);
}

// The sun's mean motion in ecliptic longitude, degrees a day.
constexpr double kSunDegreesPerDay = 0.9856473320990837;

double SunLambda(double jd) {
    double lb[2] = {0.0, 0.0};
    double r = 0.0;
    CalcPlanetLbr(-3, UtToDt(jd), lb, &r);
    return degmal(lb[0] + 180.0);
}

}  // namespace

CString CZntClickData::FormatHms(const CString& answer, int precision) {
    const int p = EffectivePrecision(m_nExtraOption, Status(), precision);
    return FormatAnswer(answer, p,
                        Status().RaInDegrees ? CCommonCoordFormat::CoordFormatRADeg
                                             : CCommonCoordFormat::CoordFormatRA);
}

CString CZntClickData::FormatLong(const CString& answer, int precision) {
    const int p = EffectivePrecision(m_nExtraOption, Status(), precision);
    return FormatAnswer(answer, p,
                        Status().RaInDegrees ? CCommonCoordFormat::CoordFormatLongitudeDeg
                                             : CCommonCoordFormat::CoordFormatLongitude);
}

CString CZntClickData::FormatLati(const CString& answer, int precision) {
    const int p = EffectivePrecision(m_nExtraOption, Status(), precision);
    return FormatAnswer(answer, p,
                        Status().RaInDegrees ? CCommonCoordFormat::CoordFormatDeclDeg
                                             : CCommonCoordFormat::CoordFormatDecl);
}

void CZntClickData::TrimTrailingZero(CString& text) {
    if (text.Find(L'.') < 0) return;
    text.TrimRight(L'0');
}

CString CZntClickData::GetTimeString(CString list, double zone, const CString& label) {
    if (list == L"*") return label + L"--:--";
    CString out;
    while (!list.IsEmpty()) {
        const int comma = list.Find(L',');
        const CString item = comma < 0 ? list : list.Left(comma);
        list = comma < 0 ? CString() : list.Mid(comma + 1);
        list.Trim();
        const double jd = _wtof(item) + zone / 24.0;
        CString clock = L"--:--";
        if (std::isfinite(jd)) {
            tagADATE date = {};
            JdToDate2(jd, &date);
            int hour = date.hour;
            int minute = date.minute;
            if (date.second >= 30.0) {
                ++minute;
                if (minute > 59) {
                    minute = 0;
                    ++hour;
                }
            }
            clock.Format(L"%02d:%02d", hour, minute);
        }
        if (!out.IsEmpty()) out += L",";
        out += clock;
    }
    return label + out;
}

CString CZntClickData::GetEclipseTime(double jd, const CString& label) {
    if (!std::isfinite(jd)) return label + L"--:--:--";
    int year = 0, month = 0;
    double day = 0.0;
    JdToDate(jd, &year, &month, &day);
    const double f = day - std::floor(day);
    int h = static_cast<int>(std::floor(24.0 * f));
    const double r = 24.0 * f - h;
    int m = static_cast<int>(std::floor(60.0 * r));
    int s = static_cast<int>(std::floor((60.0 * r - m) * 60.0 + 0.5));
    if (s >= 60) {
        s -= 60;
        m += 1;
        if (m >= 60) {
            m -= 60;
            h += 1;
            if (h >= 24) h -= 24;
        }
    }
    CString text;
    text.Format(L"%02d:%02d:%02d", h, m, s);
    return label + text;
}

CString CZntClickData::GetPeriodString(double value) {
    const double r = std::floor(100.0 * value + 0.5) / 100.0;
    CString text;
    if (r >= 100.0 && std::isfinite(r)) {
        const double scale = std::pow(10.0, std::floor(std::log10(r)) - 2.0);
        text.Format(L"%.0f", std::floor(r / scale + 0.5) * scale);
        return text;
    }
    int width = 5, decimals = 3;
    if (r >= 10.0) {
        width = 4;
        decimals = 1;
    } else if (r >= 1.0) {
        width = 4;
        decimals = 2;
    }
    CString format;
    format.Format(L"%%%d.%df", width, decimals);
    text.Format(format, r);
    return text;
}

void CZntClickData::GetDate(CCorZnt* pHost, tagADATE* date) {
    tagADATE d = {};
    d.year = QueryHost(pHost, L"LST(Time.Year)").atoi(0);
    d.month = QueryHost(pHost, L"LST(Time.Month)").atoi(0);
    d.day = QueryHost(pHost, L"LST(Time.Day)").atoi(0);
    d.hour = QueryHost(pHost, L"LST(Time.Hour)").atoi(0);
    d.minute = QueryHost(pHost, L"LST(Time.Minute)").atoi(0);
    d.second = QueryHost(pHost, L"LST(Time.Second)").atof(0.0);
    d.timezone = QueryHost(pHost, L"Time.Timezone").atof(0.0);
    if (date) *date = d;
}

double CZntClickData::GetJdSunLambda(double jd, double lambda) {
    if (!std::isfinite(jd) || !std::isfinite(lambda)) return jd;
    double l = SunLambda(jd);
    for (int step = 0; step < 51; ++step) {
        // The first step goes forward to the next time the Sun gets there; later steps
        // correct the estimate either way. (Always stepping forward would turn the
        // overshoot of a step taken at the mean motion, near perihelion, into a whole year.)
        double d = degmal(lambda - l);
        if (step > 0 && d > 180.0) d -= 360.0;
        jd += d / kSunDegreesPerDay;
        l = SunLambda(jd);
        // Compared across 0/360, so a target next to 0 ends like any other.
        if (std::fabs(degmal(l - lambda + 180.0) - 180.0) < 0.1) break;
    }
    return jd;
}
