// SPDX-License-Identifier: LGPL-3.0-or-later
// Artificial satellites (distances, the point below the satellite, the epoch of its
// orbital elements) and meteor showers (the radiant and the date of the next peak).
#include <cmath>

#include "clickdata/ZntClickData.h"

namespace {

// An angle of the sub-satellite point as hemisphere word and degrees, minutes and whole
// seconds. Seconds that round to 60 carry into the minutes, and minutes into degrees.
CString SubPointAngle(double v, const wchar_t* positive, const wchar_t* negative, int width) {
    CString text = v >= 0.0 ? positive : negative;
    const double a = std::fabs(v);
    if (!(a < 1e9)) {  // no finite angle
        text += CString(L'-', width) + L"ﾟ--'--\"";
        return text;
    }
    int d = static_cast<int>(std::floor(a));
    const double minutes = (a - d) * 60.0;
    int m = static_cast<int>(std::floor(minutes));
    double s = std::nearbyint((minutes - m) * 60.0);
    if (s >= 60.0) {
        s = 0.0;
        if (++m >= 60) {
            m = 0;
            ++d;
        }
    }
    text.AppendFormat(L"%*dﾟ%02d'%02.0f\"", width, d, m, s);
    return text;
}

// The epoch answer: one Julian Day, or two separated by a comma (either side may be
// empty). Values that are not there stay -1.
void SplitEpochs(const CString& answer, double epochs[2]) {
    epochs[0] = epochs[1] = -1.0;
    const int comma = answer.Find(L',');
    if (comma < 0) {
        epochs[0] = _wtof(answer);
        return;
    }
    CString first = answer.Left(comma);
    CString second = answer.Mid(comma + 1);
    first.Trim();
    second.Trim();
    if (!first.IsEmpty()) epochs[0] = _wtof(first);
    if (!second.IsEmpty()) epochs[1] = _wtof(second);
}

bool IsEpoch(double jd) { return jd > 0.0 && std::isfinite(jd); }

}  // namespace

CString CZntClickData::GetTextSatellite(CCorZnt* pHost, int bCompact) {
    CString name = QueryObject(pHost, L".Name");
    if (name.IsEmpty()) name = QueryObject(pHost, L".TLEName");
    const CString number = QueryObject(pHost, L".Number");
    CString text = name + L" (" + number + L")";
    if (bCompact) return text;
    text += L"\r\n";
    text += GetPosString(pHost, 2);

    const CCdStatus& status = Status();
    if (status.DispDistR) {
        const double geocentric = QueryObject(pHost, L".GeocentricDistance").atof(0.0);
        const double topocentric = QueryObject(pHost, L".TopocentricDistance").atof(0.0);
        text.AppendFormat(L"地心距離 %.0f km\r\n測心距離 %.0f km\r\n", geocentric, topocentric);
    }
    if (status.PlanetPhysicalTable) {
        const double longitude = QueryObject(pHost, L".LLA.Longitude").atof(0.0);
        const double latitude = QueryObject(pHost, L".LLA.Latitude").atof(0.0);
        const double altitude = QueryObject(pHost, L".LLA.Altitude").atof(0.0) / 1000.0;
        text += L"直下点 " + SubPointAngle(longitude, L"東経", L"西経", 3) + L" " +
                SubPointAngle(latitude, L"北緯", L"南緯", 2) + L"\r\n";
        text.AppendFormat(L"高度 %.1f km\r\n", altitude);
    }

    const CString answer = QueryObject(pHost, L".Element.JulianEpoch");
    if (!answer.IsEmpty()) {
        double epochs[2];
        SplitEpochs(answer, epochs);
        const bool both = IsEpoch(epochs[0]) && IsEpoch(epochs[1]);
        for (int i = 0; i < 2; ++i) {
            tagADATE ut = {};
            // Rounded to the microsecond shown, so the seconds never read 60.
            if (!IsEpoch(epochs[i]) || !DateOfJd(epochs[i], 0.0, 1e-6, &ut)) continue;
            CString label = L"元期";
            if (both) label.AppendFormat(L"(%d)", i + 1);
            text.AppendFormat(L"%s %d年%02d月%02d日%02d時%02d分%09.6f秒(UTC)\r\n", label, ut.year,
                              ut.month, ut.day, ut.hour, ut.minute, ut.second);
        }
    }
    return text;
}

CString CZntClickData::GetTextMeteor(CCorZnt* pHost, int bCompact) {
    CString text = QueryObject(pHost, L".Name") + L"流星群の放射点";
    if (bCompact) return text;
    text += L"\r\n";
    text += GetPosString(pHost, 2);

    tagADATE now = {};
    GetDate(pHost, &now);
    const double lambda = QueryObject(pHost, L".LambdaOfPeak").atof(0.0);
    // The next time the Sun reaches the peak's longitude, so just after a peak the date is
    // next year's.
    const double peak = GetJdSunLambda(GetJd(&now), lambda);
    tagADATE local = {};
    if (std::isfinite(lambda) && DateOfJd(peak, now.timezone, 0.0, &local))
        text.AppendFormat(L"極大日 %d月%d日頃\r\n", local.month, local.day);
    else
        text += L"極大日 --月--日頃\r\n";
    // The span of activity around that peak (the Sun's longitudes at its start and end, the
    // one before the peak and the one after), the hourly rate and the speed, when the host
    // knows them.
    const CString start = QueryObject(pHost, L".Activity.Start"),
                  end = QueryObject(pHost, L".Activity.End");
    tagADATE first = {}, last = {};
    if (IsPresent(start) && IsPresent(end) && _wtof(end) - _wtof(start) >= 359.0)
        text += L"活動期間 通年\r\n";
    else if (std::isfinite(lambda) && IsPresent(start) && IsPresent(end) &&
             DateOfJd(GetJdSunLambda(peak - 365.0, _wtof(start)), now.timezone, 0.0, &first) &&
             DateOfJd(GetJdSunLambda(peak, _wtof(end)), now.timezone, 0.0, &last))
        text.AppendFormat(L"活動期間 %d月%d日頃～%d月%d日頃\r\n", first.month, first.day,
                          last.month, last.day);
    const CString zhr = QueryObject(pHost, L".ZHR"), speed = QueryObject(pHost, L".Speed");
    CString rates;
    if (IsPresent(zhr)) rates.Format(L"ZHR %d", static_cast<int>(_wtof(zhr) + 0.5));
    if (IsPresent(speed))
        rates.AppendFormat(L"%s対地速度 %dkm/s", rates.IsEmpty() ? L"" : L"  ",
                           static_cast<int>(_wtof(speed) + 0.5));
    if (!rates.IsEmpty()) text += rates + L"\r\n";
    return text;
}
