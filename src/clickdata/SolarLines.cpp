// SPDX-License-Identifier: LGPL-3.0-or-later
// Parts of the solar-system text that several kinds of body share: distances in au, the
// orbital elements, the solar eclipse of the moment and the Moon's phases of the day.
#include <cmath>
#include <iterator>

#include "clickdata/ZntClickData.h"

namespace {

// The contacts of a solar eclipse, in the order they are asked.
enum Contact { kSecond, kMaximum, kThird, kFourth, kContacts };

const wchar_t* const kContactQueries[kContacts] = {
    L"Solar.Earth.SolarEclipse.ContactTime.2nd", L"Solar.Earth.SolarEclipse.ContactTime.Max",
    L"Solar.Earth.SolarEclipse.ContactTime.3rd", L"Solar.Earth.SolarEclipse.ContactTime.4th"};

// The length of the central phase, minutes and seconds ("02m59s"); the seconds are
// rounded, and 60 of them make a minute.
CString CentralDuration(double secondContact, double thirdContact) {
    const double m = std::fmod((thirdContact - secondContact) * 24.0 * 60.0, 60.0);
    if (!std::isfinite(m)) return L"--m--s";
    int whole = static_cast<int>(std::floor(m));
    int seconds = static_cast<int>(std::floor((m - whole) * 60.0 + 0.5));
    if (seconds >= 60) {
        whole += 1;
        seconds = 0;
    }
    CString text;
    text.Format(L"%02dm%02ds", whole, seconds);
    return text;
}

const wchar_t* const kPhaseNames[] = {L"新月", L"上弦", L"満月", L"下弦"};

}  // namespace

CString CZntClickData::AuDistanceLine(const wchar_t* label, const CString& answer,
                                      int bPlaceholder) const {
    const bool coarse = Status().Precision == 1;
    const CString format = CString(label) + (coarse ? L" %6.3f au\r\n" : L" %8.5f au\r\n");
    if (bPlaceholder)
        return FormatAnswerLine(
            answer, format, CString(label) + (coarse ? L" --.--- au\r\n" : L" --.----- au\r\n"));
    CString text;
    text.Format(format, _wtof(answer));
    return text;
}

CString CZntClickData::GetAuDistances(CCorZnt* pHost, const wchar_t* helioSuffix,
                                      int bPlaceholder) {
    CString text =
        AuDistanceLine(L"地心距離", QueryObject(pHost, L".GeocentricDistance"), bPlaceholder);
    text += AuDistanceLine(L"測心距離", QueryObject(pHost, L".TopocentricDistance"), bPlaceholder);
    if (helioSuffix)
        text += AuDistanceLine(L"日心距離", QueryObject(pHost, helioSuffix), bPlaceholder);
    return text;
}

CString CZntClickData::GetRevPeriod(CCorZnt* pHost) {
    const CStkStr answer = QueryObject(pHost, L".RevolutionPeriod");
    const double years = answer.atof(0.0);
    if (answer == L"*" || !std::isfinite(years)) return CString();
    CString text;
    text.Format(L"公転周期 %s年\r\n", GetPeriodString(years));
    return text;
}

CString CZntClickData::GetPerihelionPassage(CCorZnt* pHost) {
    const CStkStr answer = QueryObject(pHost, L".TimeOfPerihelionPassage");
    const double jd = answer.atof(0.0);
    if (answer == L"*" || !std::isfinite(jd)) return L"近日点通過時刻 ----年--月--.-----日 TT\r\n";
    int year = 0, month = 0;
    double day = 0.0;
    JdToDate(jd, &year, &month, &day);
    CString text;
    text.Format(L"近日点通過時刻 %d年%2d月%.5f日 TT\r\n", year, month, day);
    return text;
}

CString CZntClickData::GetSemiMajorAxis(CCorZnt* pHost) {
    return FormatAnswerLine(QueryObject(pHost, L".SemiMajorAxis"), L"軌道長半径 %.6f au\r\n",
                            L"軌道長半径 -.------ au\r\n");
}

CString CZntClickData::GetEccentricity(CCorZnt* pHost) {
    const CString answer = QueryObject(pHost, L".Eccentricity");
    // A parabolic orbit is shown as exactly 1.
    if (answer != L"*" && _wtof(answer) == 1.0) return L"離心率 1.0\r\n";
    return FormatAnswerLine(answer, L"離心率 %.6f\r\n", L"離心率 -.-\r\n");
}

CString CZntClickData::GetPerihelionDistance(CCorZnt* pHost) {
    return FormatAnswerLine(QueryObject(pHost, L".PerihelionDistance"), L"近日点距離 %.6f au\r\n",
                            L"近日点距離 -.------ au\r\n");
}

CString CZntClickData::GetOrbitalElements(CCorZnt* pHost, int bComet) {
    CString text = GetRevPeriod(pHost);
    if (!bComet) {
        text += GetSemiMajorAxis(pHost);
        return text + GetEccentricity(pHost);
    }
    text += GetPerihelionPassage(pHost);
    text += GetEccentricity(pHost);
    text += GetPerihelionDistance(pHost);
    return text + GetDailyMotion(pHost);
}

CString CZntClickData::GetSolarEclipse(CCorZnt* pHost) {
    if (!QueryHost(pHost, L"solar.earth.besselelement.apply").Same(L"TRUE")) return CString();
    const CStkStr first = QueryHost(pHost, L"Solar.Earth.SolarEclipse.ContactTime.1st");
    if (first == L"*") return CString();
    // Contact times are Julian Days in UT; the lines show the local clock.
    const double offset = QueryHost(pHost, L"Time.Timezone").atof(0.0) / 24.0;
    CStkStr contact[kContacts];
    for (int i = 0; i < kContacts; ++i) contact[i] = QueryHost(pHost, kContactQueries[i]);
    const auto known = [&](int i) { return contact[i] != L"*"; };
    const auto clock = [&](const CStkStr& jd, const wchar_t* label) {
        return GetEclipseTime(jd.atof(0.0) + offset, label);
    };

    CString text = clock(first, L"第1接触  ") + L"\r\n";
    if (known(kSecond)) text += clock(contact[kSecond], L"第2接触  ") + L"\r\n";
    if (known(kMaximum)) {
        text += clock(contact[kMaximum], L"食の最大 ");
        if (known(kSecond) && known(kThird))
            text += L"  継続時間 " +
                    CentralDuration(contact[kSecond].atof(0.0), contact[kThird].atof(0.0));
        text += L"\r\n";
    }
    if (known(kThird)) text += clock(contact[kThird], L"第3接触  ") + L"\r\n";
    if (known(kFourth)) text += clock(contact[kFourth], L"第4接触  ") + L"\r\n";
    return text;
}

// Each principal phase that falls on the host's local day, at its local time rounded to
// the minute. A phase in the day's last half minute rounds to 24:00: it still belongs to
// this day, and 00:00 would read as the day's start.
CString CZntClickData::GetMoonPhaseLines(CCorZnt* pHost) {
    tagADATE now = {};
    GetDate(pHost, &now);
    tagMOONPHASE phases[6] = {};
    const int n = GetMoonPhases(&now, phases, static_cast<int>(std::size(phases)));
    tagADATE midnight = now;
    midnight.hour = midnight.minute = 0;
    midnight.second = 0.0;
    const double jd0 = GetJd(&midnight);
    CString text;
    for (int i = 0; i < n; ++i) {
        const tagMOONPHASE& p = phases[i];
        tagADATE local = {};
        if (!(jd0 <= p.jd && p.jd < jd0 + 1.0) || p.phase < 0 ||
            p.phase >= static_cast<int>(std::size(kPhaseNames)) ||
            !DateOfJd(p.jd, now.timezone, 0.0, &local))
            continue;
        const int minutes = local.hour * 60 + local.minute + (local.second >= 30.0 ? 1 : 0);
        text.AppendFormat(L"%s %02d:%02d\r\n", kPhaseNames[p.phase], minutes / 60, minutes % 60);
    }
    return text;
}
