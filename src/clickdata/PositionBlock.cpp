// SPDX-License-Identifier: LGPL-3.0-or-later
// The position block: coordinates in up to seven systems, horizon position, hour angle,
// and rise, transit and set, each line under its own switch.
#include <algorithm>
#include <cmath>

#include "clickdata/LineParts.h"
#include "clickdata/ZntClickData.h"

namespace {

enum class Axis { Hms, Long, Lati };

// One coordinate line: label, query suffix and formatter of each coordinate.
struct CoordLine {
    int CCdStatus::*flag;
    bool observerOnly;  // left out in the solar-system view and off the Earth
    const wchar_t* label1;
    const wchar_t* suffix1;
    Axis axis1;
    const wchar_t* label2;
    const wchar_t* suffix2;
    bool padAfter2;
    const wchar_t* tail;
};

// Every line but the first; the first (J2000) is printed at the full precision, unpadded.
const CoordLine kReducedLines[] = {
    {&CCdStatus::DispEqtDateApp, true, L"赤経 ", L".position.EquatorialDateApp.RA", Axis::Hms,
     L"  赤緯 ", L".position.EquatorialDateApp.DEC", true, L" (視位置)\r\n"},
    {&CCdStatus::DispEqt1950, false, L"赤経 ", L".position.EquatorialB1950.RA", Axis::Hms,
     L"  赤緯 ", L".position.EquatorialB1950.DEC", true, L" (B1950)\r\n"},
    {&CCdStatus::DispEclDateMean, false, L"黄経 ", L".position.Ecliptical.Lambda", Axis::Long,
     L"   黄緯 ", L".position.Ecliptical.Beta", true, L" (平均位置)\r\n"},
    {&CCdStatus::DispEclDateApp, false, L"黄経 ", L".position.EclipticDateApp.Lambda", Axis::Long,
     L"   黄緯 ", L".position.EclipticDateApp.Beta", true, L" (視位置)\r\n"},
    {&CCdStatus::DispEcl2000, false, L"黄経 ", L".position.EclipticJ2000.Lambda", Axis::Long,
     L"   黄緯 ", L".position.EclipticJ2000.Beta", true, L" (J2000)\r\n"},
    {&CCdStatus::DispGal, false, L"銀経 ", L".position.Galactical.Longitude", Axis::Long,
     L"   銀緯 ", L".position.Galactical.Latitude", false, L"\r\n"},
};

// Zero, one or two alignment blanks.
const wchar_t* Pad(int blanks) {
    static const wchar_t* const kPads[] = {L"", L" ", L"  "};
    return kPads[std::clamp(blanks, 0, 2)];
}

// The hour angle H (degrees, in (-180, 180]) as hours and minutes, or hours, minutes and
// seconds, each rounded with its carries; then the signed degrees.
CString HourAngleText(double H, bool coarse) {
    if (!std::isfinite(H)) return coarse ? L"--h--m = -.-ﾟ" : L"--h--m--s = -.---ﾟ";
    const double h = H / 15.0;
    const double a = std::fabs(h);
    int hh = static_cast<int>(std::floor(a));
    const double mf = (a - hh) * 60.0;
    int mm = static_cast<int>(std::floor(mf));
    CString text;
    if (coarse) {
        if ((mf - mm) * 60.0 >= 30.0) {
            if (++mm == 60) {
                mm = 0;
                ++hh;
            }
        }
        text.Format(L"%02dh%02dm (%.1fﾟ)", hh, mm, H);
    } else {
        int ss = 0;
        clickdata::SplitClock(a, &hh, &mm, &ss);
        text.Format(L"%02dh%02dm%02ds (%.3fﾟ)", hh, mm, ss, H);
    }
    if (h < 0) text.Insert(0, L'-');
    return text;
}

}  // namespace

CString CZntClickData::GetPosString(CCorZnt* pHost, int precision) {
    const CCdStatus& status = Status();
    const bool solarView = QueryHost(pHost, L"View.Projection").CompareNoCase(L"SolarSystem") == 0;
    CString result;
    const CString prefix = PositionPrefix();
    const auto ask = [&](const wchar_t* suffix) { return QueryHost(pHost, prefix + suffix); };
    const int p = precision;
    const int p2 = std::max(2, p - 1);
    const bool padded = status.Precision == 0;
    const bool coarse = status.Precision == 1;
    const bool observer = !solarView && !m_bNotEarth;

    // The alignment blanks of the reduced lines.
    const wchar_t* raPad = Pad(padded && p >= 3 ? 1 : 0);
    const wchar_t* latPad = Pad(padded && p >= 3 ? (p == 3 ? 2 : 1) : 0);
    const wchar_t* lonPad = Pad(padded && p == 3 ? 1 : 0);

    if (status.DispEqt2000) {
        const CString ra = FormatHms(ask(L".position.RA"), p);
        const CString dec = FormatLati(ask(L".position.DEC"), p);
        result += L"赤経 " + ra + L"  赤緯 " + dec + L" (J2000)\r\n";
    }
    for (const CoordLine& line : kReducedLines) {
        if (!(status.*line.flag) || (line.observerOnly && !observer)) continue;
        const CStkStr first = ask(line.suffix1);
        const CString text1 =
            line.axis1 == Axis::Hms ? FormatHms(first, p2) : FormatLong(first, p2);
        const CString text2 = FormatLati(ask(line.suffix2), p2);
        result += line.label1 + text1 + (line.axis1 == Axis::Hms ? raPad : lonPad) + line.label2 +
                  text2 + (line.padAfter2 ? latPad : L"") + line.tail;
    }
    if (solarView) return result;

    if (status.DispHrz && !m_bNotEarth) {
        const wchar_t* placeholder = coarse ? L"  -.-ﾟ" : L"  -.---ﾟ";
        const wchar_t* angleFormat = coarse ? L"%5.1fﾟ" : L"%7.3fﾟ";
        CString altText = placeholder;
        CString corrected = placeholder;
        const CStkStr alt = ask(L".position.Altitude");
        if (alt != L"*") {
            const double a = alt.atof(0.0);
            const double in[2] = {0.0, a};
            double out[2] = {0.0, 0.0};
            AtmosphericRefraction(in, out);
            const double c = out[1];
            altText.Format(angleFormat, a);
            if (c < -3.0)
                corrected = coarse ? L"< -3.0ﾟ" : L"< -3.000ﾟ";
            else
                corrected.Format(angleFormat, c);
        }
        CString azText = placeholder;
        const CStkStr az = ask(L".position.Azimuth");
        if (az != L"*") {
            double z = az.atof(0.0);
            if (m_bOriginNorth) z = degmal(z + 180.0);
            azText.Format(coarse ? L"%5.1fﾟ" : L"%7.3fﾟ ", z);
        }
        const wchar_t* azPad = Pad(padded ? (p == 3 ? 1 : p == 4 ? 2 : 0) : 0);
        result += L"方位 " + azText + azPad + L"    高度 " + altText;
        if (m_bOriginNorth) {
            if (padded && p >= 2) result += p == 3 ? L"   " : L" ";
            result += L"  (北原点)";
        }
        result += L"\r\n";
        result += L"標準大気差補正済み高度 " + corrected + L"\r\n";
    }

    if (status.DispHourAngle && !m_bNotEarth) {
        const CStkStr ra = ask(L".position.EquatorialDateApp.RA");
        CString text = coarse ? L"--h--m = -.-ﾟ" : L"--h--m--s = -.---ﾟ";
        if (!ra.IsEmpty() && ra != L"*") {
            const double jd = QueryHost(pHost, L"time.jd").atof(0.0);
            const double lon = QueryHost(pHost, L"location.longitude").atof(0.0);
            const double lst = GetLst(jd, lon);
            double H = degmal(lst - 15.0 * ra.atof(0.0));
            if (H > 180.0) H -= 360.0;
            text = HourAngleText(H, coarse);
        }
        result += L"時角 " + text + L"\r\n";
    }

    const bool spacecraft = m_nType == TYPE_SOLAR && m_Object.SameP(1, L"Spacecraft");
    if (status.DispRiseSet && !m_bNotEarth && m_nType != TYPE_SATELLITE && !spacecraft) {
        const double tz = QueryHost(pHost, L"Time.Timezone").atof(0.0);
        CString line;
        const struct {
            const wchar_t* suffix;
            const wchar_t* label;
        } kEvents[] = {{L".Jd.Rise", L"出 "}, {L".Jd.Transit", L" 南中 "}, {L".Jd.Set", L" 没 "}};
        for (const auto& event : kEvents) {
            const CStkStr answer = ask(event.suffix);
            if (!answer.IsEmpty()) line += GetTimeString(answer, tz, event.label);
        }
        if (!line.IsEmpty()) result += line + L"\r\n";
    }
    return result;
}

CString CZntClickData::PositionPrefix() {
    return m_Object.SameP(0, L"Constellation.") ? CString(L"ClickData.Mark") : CString(m_Object);
}
