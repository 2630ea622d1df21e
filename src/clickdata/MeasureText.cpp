// SPDX-License-Identifier: LGPL-3.0-or-later
// Derived quantities: the measuring line between the two ends of the host's measuring
// tool, the hourly motion of a solar-system body, and its elongation from the Sun.
#include <cmath>

#include "clickdata/ZntClickData.h"
#include "format/CoordFormat.h"

namespace {

using Formatter = const wchar_t* (*)(double, int);

// An angle rounded to ten decimals before it is formatted, so that the last digit of the
// layout does not flip on noise far below it.
CString FormatRounded(Formatter format, double value, int precision) {
    CString text;
    text.Format(L"%.10f", value);
    return format(_wtof(text), precision);
}

// end - origin as a sign character and the formatted magnitude.
CString SignedDifference(double origin, double end, Formatter format, int precision) {
    const double d = end - origin;
    return (d >= 0 ? L"+" : L"-") + FormatRounded(format, std::fabs(d), precision);
}

}  // namespace

CString CZntClickData::GetMeasureString(CCorZnt* pHost) {
    if (QueryHost(pHost, L"Measure.Visible").CompareNoCase(L"TRUE") != 0) return CString();
    if (QueryHost(pHost, L"Measure.Connecting").CompareNoCase(L"TRUE") != 0) return CString();
    const CCdStatus& status = Status();
    const int precision = m_nExtraOption ? 4 : status.Precision ? 1 : 2;
    const Formatter raFormat = status.RaInDegrees ? CCommonCoordFormat::CoordFormatRADeg
                                                  : CCommonCoordFormat::CoordFormatRA;
    const Formatter angleFormat = status.RaInDegrees ? CCommonCoordFormat::CoordFormatLongitudeDeg
                                                     : CCommonCoordFormat::CoordFormatLongitude;
    const auto number = [&](const wchar_t* property) {
        return QueryHost(pHost, property).atof(0.0);
    };

    const double ra1 = number(L"Measure.Origin.position.EquatorialDateApp.RA");
    const double dec1 = number(L"Measure.Origin.position.EquatorialDateApp.DEC");
    const double ra2 = number(L"Measure.End.position.EquatorialDateApp.RA");
    const double dec2 = number(L"Measure.End.position.EquatorialDateApp.DEC");
    CString text = L"赤経差 " + SignedDifference(ra1, ra2, raFormat, precision) + L"  赤緯差 " +
                   SignedDifference(dec1, dec2, angleFormat, precision) + L"\r\n";

    const double lambda1 = number(L"Measure.Origin.position.EclipticDateApp.Lambda");
    const double beta1 = number(L"Measure.Origin.position.EclipticDateApp.Beta");
    const double lambda2 = number(L"Measure.End.position.EclipticDateApp.Lambda");
    const double beta2 = number(L"Measure.End.position.EclipticDateApp.Beta");
    text += L"黄経差 " + SignedDifference(lambda1, lambda2, angleFormat, precision) +
            L"   黄緯差 " + SignedDifference(beta1, beta2, angleFormat, precision) + L"\r\n";

    if (!status.DispAzmth) return text;
    const double from[2] = {ra1 * 15.0, dec1};
    const double to[2] = {ra2 * 15.0, dec2};
    double pa = 0.0, dist = 0.0;
    AdToPaDist(from, to, &pa, &dist);
    text += L"位置角  " + FormatRounded(angleFormat, degmal(pa), precision) + L"   角距離  " +
            FormatRounded(angleFormat, degmal(dist), precision);
    return text;
}

CString CZntClickData::GetDailyMotion(CCorZnt* pHost) {
    const double a = QueryObject(pHost, L".DailyMotion.RA").atof(0.0);
    const double b = QueryObject(pHost, L".DailyMotion.Dec").atof(0.0);
    CString text;
    text.Format(L"移動量(赤経) %.3f s/時間\r\n", a / 15.0 / 24.0 * 3600.0);
    text.AppendFormat(L"移動量(赤緯) %.2f \"/時間\r\n", b / 24.0 * 3600.0);
    const double ra = QueryObject(pHost, L".position.EquatorialDateApp.RA").atof(0.0) * 15.0;
    const double dec = QueryObject(pHost, L".position.EquatorialDateApp.DEC").atof(0.0);
    const double from[2] = {ra, dec};
    const double to[2] = {ra + a / 24.0, dec + b / 24.0};
    double pa = 0.0, dist = 0.0;
    AdToPaDist(from, to, &pa, &dist);
    text.AppendFormat(L"移動方向 %.2f 度\r\n", pa);
    text.AppendFormat(L"移動量   %.2f \"/時間\r\n", dist * 3600.0);
    return text;
}

CString CZntClickData::GetSolarElongation(CCorZnt* pHost) {
    const CStkStr e = QueryObject(pHost, L".SolarElongation");
    if (e.IsEmpty() || e == L"*") return CString();
    const CStkStr object = QueryObject(pHost, L".position.Ecliptical.Lambda");
    const CStkStr sun = QueryHost(pHost, L"solar.sun.position.Ecliptical.Lambda");
    CString side;
    if (!object.IsEmpty() && !sun.IsEmpty())
        side = degmal(object.atof(0.0) - sun.atof(0.0)) < 180.0 ? L"E" : L"W";
    CString text;
    text.Format(L"太陽離角 %.3fﾟ%s\r\n", e.atof(0.0), side);
    return text;
}
