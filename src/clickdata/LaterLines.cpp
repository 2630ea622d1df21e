// SPDX-License-Identifier: LGPL-3.0-or-later
// The lines added after the first release: constellation, observing conditions, light time
// and phase angle, provenance. Each asks only what its own switch needs, and a property the
// host does not know (empty), has no value for ("*") or answers with something that is not
// a number gives no line, so a planetarium that knows none of them shows today's text.
#include <cmath>
#include <cwctype>

#include "clickdata/LineParts.h"
#include "clickdata/ZntClickData.h"

namespace {

constexpr double kMostDaysAhead = 400.0;

bool IsFieldFrame(int type) {
    return type == CZntClickData::TYPE_FIELDOFVIEW || type == CZntClickData::TYPE_ANGLEOFVIEW ||
           type == CZntClickData::TYPE_MOSAICOFFIELD;
}

// The darkness the Sun's altitude (degrees) leaves: day while any of its disc is up,
// twilight down to 18 degrees below the horizon, night below.
const wchar_t* Darkness(double sunAltitude) {
    if (sunAltitude > -0.833) return L"昼";
    if (sunAltitude > -18.0) return L"薄明";
    return L"夜";
}

// A light time in seconds, to the hundredth: "1.28秒", "8分19.01秒", "4時間09分12.34秒".
CString LightTimeText(double seconds) {
    const long long centis = std::llround(seconds * 100.0);
    const long long h = centis / 360000, m = centis / 6000 % 60;
    const double s = static_cast<double>(centis % 6000) / 100.0;
    CString text;
    if (h > 0)
        text.Format(L"%lld時間%02lld分%05.2f秒", h, m, s);
    else if (m > 0)
        text.Format(L"%lld分%05.2f秒", m, s);
    else
        text.Format(L"%.2f秒", s);
    return text;
}

}  // namespace

namespace clickdata {

void SplitClock(double hours, int* hh, int* mm, int* ss) {
    int h = static_cast<int>(std::floor(hours));
    const double mf = (hours - h) * 60.0;
    int m = static_cast<int>(std::floor(mf));
    int s = static_cast<int>(std::floor((mf - m) * 60.0 + 0.5));
    if (s == 60) {
        s = 0;
        if (++m == 60) {
            m = 0;
            ++h;
        }
    }
    *hh = h;
    *mm = m;
    *ss = s;
}

bool AnswerNumber(const CString& answer, double* out) {
    CString t = answer;
    t.Trim();
    if (t.IsEmpty()) return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    if (end == t.GetString() || *end != L'\0' || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

CString WithoutNegativeZeros(const CString& text) {
    std::wstring s = text.str();
    const auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    for (size_t i = 0; (i = s.find(L"-0.0", i)) != std::wstring::npos; ++i) {
        const wchar_t before = i ? s[i - 1] : L' ';
        if (digit(before) || std::iswalpha(before) || before == L'.') continue;
        size_t end = i + 3;
        while (end < s.size() && s[end] == L'0') ++end;
        if (end < s.size() && digit(s[end])) continue;  // -0.01 is below zero
        if (before == L' ' && i > 0)
            s[i] = L' ';
        else
            s.erase(i, 1);
    }
    return CString(s.c_str());
}

CString HoursMinutes(double days) {
    const long long minutes = std::llround(days * 1440.0);
    CString text;
    if (minutes < 60)
        text.Format(L"%lld分", minutes);
    else
        text.Format(L"%lld時間%02lld分", minutes / 60, minutes % 60);
    return text;
}

}  // namespace clickdata

CString CZntClickData::GetLaterLines(CCorZnt* pHost) {
    const CCdStatus& s = Status();
    CString text;
    if (!IsFieldFrame(m_nType)) {
        const CString prefix = PositionPrefix();
        if (s.DispConstellation) text += GetConstellationLine(pHost, prefix);
        if (s.DispAirmass || s.DispSiderealTime || s.DispParallacticAngle ||
            s.DispSunMoonAltitude || s.DispTimeToEvents || s.DispObservingWindow)
            text += GetObservingLines(pHost, prefix);
        if (m_nType == TYPE_SOLAR && (s.DispLightTime || s.DispPhaseAngle))
            text += GetSolarBodyLines(pHost);
        if (s.DispVariableForecast && m_nType == TYPE_STAR && m_Object.SameP(1, L"GCVS"))
            text += GetVariableForecast(pHost);
    }
    if (s.DispFieldRatio) text += GetFieldRatio(pHost);
    if (s.DispProvenance) {
        const CString provenance = QueryObject(pHost, L".Provenance");
        if (IsPresent(provenance)) text += L"出典 " + provenance + L"\r\n";
    }
    // Elements past their useful age say so whatever the switches.
    if (m_nType == TYPE_SATELLITE || m_Object.SameP(1, L"Comet") ||
        m_Object.SameP(1, L"MinorPlanet")) {
        const CString warning = QueryObject(pHost, L".Provenance.Warning");
        if (IsPresent(warning)) text += L"注意 " + warning + L"\r\n";
    }
    return text;
}

CString CZntClickData::GetConstellationLine(CCorZnt* pHost, const CString& prefix) {
    const CString name = QueryHost(pHost, prefix + L".position.Constellation.JapaneseName");
    const CString abbreviation = QueryHost(pHost, prefix + L".position.Constellation.Abbreviation");
    if (IsPresent(name)) {
        CString line = L"星座 " + name;
        if (IsPresent(abbreviation)) line += L" (" + abbreviation + L")";
        return line + L"\r\n";
    }
    return IsPresent(abbreviation) ? L"星座 " + abbreviation + L"\r\n" : CString();
}

CString CZntClickData::GetObservingLines(CCorZnt* pHost, const CString& prefix) {
    // Lines of an observer on the Earth looking at the sky.
    if (m_bNotEarth || QueryHost(pHost, L"View.Projection").CompareNoCase(L"SolarSystem") == 0)
        return CString();
    const CCdStatus& s = Status();
    const auto number = [&](const CString& query, double* v) {
        return clickdata::AnswerNumber(QueryHost(pHost, query), v);
    };
    CString text;
    double v = 0.0;
    if (s.DispAirmass && number(prefix + L".position.Altitude", &v)) {
        if (v <= 0.0) {
            text += L"エアマス —\r\n";
        } else if (double airmass = 0.0;
                   number(prefix + L".position.Airmass", &airmass) && airmass >= 1.0) {
            text.AppendFormat(L"エアマス %.3f", airmass);
            if (number(prefix + L".position.ExtinctedMagnitude", &v))
                text.AppendFormat(L" (減光後 %.2f等)", v);
            text += L"\r\n";
        }
    }
    if (s.DispSiderealTime && number(L"Time.SiderealTime", &v)) {
        int hh = 0, mm = 0, ss = 0;
        const double hours = std::fmod(v, 24.0);  // exact, for any size
        clickdata::SplitClock(hours < 0.0 ? hours + 24.0 : hours, &hh, &mm, &ss);
        text.AppendFormat(L"恒星時 %02dh%02dm%02ds\r\n", hh % 24, mm, ss);
    }
    if (s.DispParallacticAngle && number(prefix + L".position.ParallacticAngle", &v))
        text.AppendFormat(L"星位角 %.2fﾟ\r\n", v);
    if (s.DispSunMoonAltitude) {
        if (number(L"Solar.Sun.position.Altitude", &v))
            text.AppendFormat(L"太陽高度 %.1fﾟ (%s)\r\n", v, Darkness(v));
        if (number(L"Solar.Planet.Earth.Satellite.Moon.position.Altitude", &v))
            text.AppendFormat(L"月高度 %.1fﾟ\r\n", v);
    }
    // Satellites and spacecraft have passes, not a daily rise and set.
    const bool spacecraft = m_nType == TYPE_SOLAR && m_Object.SameP(1, L"Spacecraft");
    if ((s.DispTimeToEvents || s.DispObservingWindow) && m_nType != TYPE_SATELLITE && !spacecraft)
        text += GetEventLines(pHost, prefix);
    return text;
}

CString CZntClickData::GetEventLines(CCorZnt* pHost, const CString& prefix) {
    const CCdStatus& s = Status();
    CString text;
    double now = 0.0;
    if (s.DispTimeToEvents && clickdata::AnswerNumber(QueryHost(pHost, L"time.jd"), &now)) {
        const struct {
            const wchar_t* suffix;
            const wchar_t* label;
        } kEvents[] = {{L".Jd.NextRise", L"出まで "},
                       {L".Jd.NextTransit", L"南中まで "},
                       {L".Jd.NextSet", L"没まで "}};
        CString line;
        for (const auto& event : kEvents) {
            double jd = 0.0;
            // The next events lie within a few days; anything else is no answer to show.
            if (!clickdata::AnswerNumber(QueryHost(pHost, prefix + event.suffix), &jd) ||
                jd < now || jd - now > kMostDaysAhead)
                continue;
            if (!line.IsEmpty()) line += L" ";
            line += event.label + clickdata::HoursMinutes(jd - now);
        }
        if (!line.IsEmpty()) text += line + L"\r\n";
    }
    if (s.DispObservingWindow) {
        // "start,end" in UT Julian Days, or "0" for no window tonight.
        const CString answer = QueryHost(pHost, prefix + L".Jd.ObservingWindow");
        const int comma = answer.Find(L',');
        double start = 0.0, end = 0.0, zone = 0.0;
        if (comma < 0 && clickdata::AnswerNumber(answer, &start) && start == 0.0) {
            text += L"観測好機 なし\r\n";
        } else if (comma > 0 && clickdata::AnswerNumber(answer.Left(comma), &start) &&
                   clickdata::AnswerNumber(answer.Mid(comma + 1), &end) && start > 0.0 &&
                   end >= start && end - start <= kMostDaysAhead &&
                   clickdata::AnswerNumber(QueryHost(pHost, L"Time.Timezone"), &zone)) {
            tagADATE from{}, to{};
            if (DateOfJd(start, zone, 60.0, &from) && DateOfJd(end, zone, 60.0, &to))
                text.AppendFormat(L"観測好機 %02d:%02d〜%02d:%02d\r\n", from.hour, from.minute,
                                  to.hour, to.minute);
        }
    }
    return text;
}

CString CZntClickData::GetSolarBodyLines(CCorZnt* pHost) {
    const CCdStatus& s = Status();
    CString text;
    double v = 0.0;
    // Up to a light year: beyond that the host's answer is not a solar-system body's.
    if (s.DispLightTime &&
        clickdata::AnswerNumber(QueryObject(pHost, L".position.LightTime"), &v) && v >= 0.0 &&
        v < 3.16e7)
        text += L"光行時間 " + LightTimeText(v) + L"\r\n";
    if (s.DispPhaseAngle &&
        clickdata::AnswerNumber(QueryObject(pHost, L".position.PhaseAngle"), &v))
        text.AppendFormat(L"位相角 %.2fﾟ\r\n", v);
    return text;
}
