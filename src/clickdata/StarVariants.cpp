// SPDX-License-Identifier: LGPL-3.0-or-later
// Stars of the variable-star and double-star catalogues and planets of other stars, and the
// choice among the four star builders.
#include <climits>
#include <cmath>
#include <cstdlib>

#include "clickdata/ZntClickData.h"

namespace {

// A variable-star magnitude, or its placeholder.
CString MagnitudeOrDashes(const CString& answer) {
    if (answer == L"*") return L"-.--";
    CString text;
    text.Format(L"%.2f", _wtof(answer));
    return text;
}

// The path of the double-star system of a component: all before the last ".", or empty
// when there is no "." after the first character.
CString ParentPath(const CString& path) {
    const int dot = path.ReverseFind(L'.');
    return dot > 0 ? path.Left(dot) : CString();
}

}  // namespace

CString CZntClickData::DispatchStar(CCorZnt* pHost, int bCompact) {
    if (m_Object.SameP(1, L"GCVS")) return GetTextStarGcvs(pHost, bCompact);
    if (m_Object.SameP(1, L"WDS")) return GetTextStarWds(pHost, bCompact);
    if (m_Object.SameP(1, L"ExtraSolarPlanet")) return GetTextExoPlanet(pHost, bCompact);
    if (m_Object.SameP(2, L"Planet")) {
        // "Star.<star>.Planet.<letter>" is the planet "star.ExtraSolarPlanet.<star><letter>".
        // Only its text is built under that name: the object stays the path the caller gave,
        // as it is after a text served from the cache.
        const CString planet =
            L"star.ExtraSolarPlanet." + m_Object.GetParamP(1) + m_Object.GetParamP(3);
        return WithObject(planet, [&] { return GetTextExoPlanet(pHost, bCompact); });
    }
    return GetTextStar(pHost, bCompact);
}

CString CZntClickData::GetTextStarGcvs(CCorZnt* pHost, int bCompact) {
    CString text = L"変光星 " + QueryObject(pHost, L".Name");
    if (bCompact) return text;
    text += L"\r\n";
    text += GetHipLine(pHost);
    const CCdStatus& status = Status();
    if (status.DispMag) {
        const CString maximum = MagnitudeOrDashes(QueryObject(pHost, L".Magnitude.Maximum"));
        const CString minimum = MagnitudeOrDashes(QueryObject(pHost, L".Magnitude.Minimum"));
        text += L"光度 極大 " + maximum + L"等 極小 " + minimum + L"等\r\n";
    }
    text += GetPosString(pHost, 3);
    if (!status.StarDetails) return text;

    AppendAnswerLine(text, L"変光星タイプ ", QueryObject(pHost, L".VariableType"));
    AppendAnswerLine(text, L"スペクトル型 ", QueryObject(pHost, L".SpectralType"));
    bool epochKnown = false, periodKnown = false;
    double epoch = 0.0, period = 0.0;  // Julian date, days
    const CString epochAnswer = QueryObject(pHost, L".Epoch");
    if (epochAnswer != L"*") {
        const CString e = TrimDecimals(epochAnswer, 1);
        text += L"元期 " + e + L"\r\n";
        epoch = _wtof(e);
        epochKnown = true;
    }
    const CStkStr year = QueryObject(pHost, L".Year");
    if (year != L"*") text.AppendFormat(L"出現 %d年\r\n", year.atoi(0));
    const CString periodAnswer = QueryObject(pHost, L".Period");
    if (periodAnswer != L"*") {
        const CString p = TrimDecimals(periodAnswer, 1);
        text += L"周期 " + p + L"日\r\n";
        period = _wtof(p);
        periodKnown = true;
    }
    const CString rise = QueryObject(pHost, L".M_mD");  // rise time, percent of the period
    if (rise != L"*") {
        text += L"M-m/D " + rise;
        if (periodKnown) text.AppendFormat(L" (%.1f日)", _wtof(rise) * period / 100.0);
        text += L"\r\n";
    }
    // Where the star is in its cycle now. Only a positive period has cycles to count.
    if (epochKnown && periodKnown && period > 0.0 && std::isfinite(period)) {
        tagADATE date;
        GetDate(pHost, &date);
        const double jd = GetJd(&date);
        const double cycles = std::floor((jd - epoch) / period);
        if (std::isfinite(cycles) && std::fabs(cycles) <= INT_MAX) {
            const int n = static_cast<int>(cycles);
            const double rest = jd - (n * period + epoch);
            text.AppendFormat(L"現在の状態 元期%c%d周期＋%.2f日\r\n", n >= 0 ? L'＋' : L'－',
                              std::abs(n), rest);
        }
    }
    AppendAnswerLine(text, L"別名 ", QueryObject(pHost, L".OtherDesign"));
    return text;
}

CString CZntClickData::GetTextStarWds(CCorZnt* pHost, int bCompact) {
    CString text = L"二重星 " + QueryObject(pHost, L".Name");
    if (bCompact) return text;
    text += L"\r\n";
    const CCdStatus& status = Status();
    if (status.DispMag) text += GetMagnitudeLine(pHost);
    text += GetPosString(pHost, 3);
    if (!status.StarDetails) return text;

    // System-wide values belong to the parent path, the component's to the object path.
    const CString parent = ParentPath(m_Object);
    const auto askParent = [&](const CString& suffix) { return QueryHost(pHost, parent + suffix); };
    if (!parent.IsEmpty()) {
        const CString components = askParent(L".Components");
        const CString name = QueryObject(pHost, L".ComponentName");
        if (!components.IsEmpty() || !name.IsEmpty()) {
            text += L"コンポーネント " + name;
            if (!components.IsEmpty()) text += L"(" + components + L")";
            text += L"\r\n";
        }
    }
    AppendAnswerLine(text, L"スペクトル型 ", QueryObject(pHost, L".SpectralType"));
    if (!parent.IsEmpty()) {
        CString discoverer = askParent(L".Discoverer");
        discoverer.Remove(L' ');
        AppendAnswerLine(text, L"発見者/番号 ", discoverer);
        const CStkStr count = askParent(L".ObsCount");
        if (count != L"*") text.AppendFormat(L"観測数 %d\r\n", count.atoi(0));
        const struct {
            const wchar_t* prefix;
            const wchar_t* label;
        } kMeasurements[] = {{L".FirstObs", L"最初の"}, {L".LastObs", L"最後の"}};
        for (const auto& m : kMeasurements) {
            const int year = askParent(CString(m.prefix) + L".Epoch").atoi(0);
            const int angle = askParent(CString(m.prefix) + L".Theta").atoi(0);
            const double separation = askParent(CString(m.prefix) + L".Rho").atof(0.0);
            text.AppendFormat(L"%s観測 %d年（位置角 %dﾟ 角距離 %.1f arcsec）\r\n", m.label, year,
                              angle, separation);
        }
    }
    text += GetProperMotionLines(pHost, 1000.0);  // the host gives arc seconds a year
    if (!parent.IsEmpty()) AppendAnswerLine(text, L"BD番号 ", askParent(L".BD"));
    return text;
}

CString CZntClickData::GetTextExoPlanet(CCorZnt* pHost, int bCompact) {
    CString text = L"系外惑星 " + QueryObject(pHost, L".Name");
    if (bCompact) return text;
    text += L"\r\n";
    text += GetPosString(pHost, 3);
    text += L"公転周期 " + TrimDecimals(QueryObject(pHost, L".OrbitalPeriod"), 0) + L"日\r\n";
    text += L"軌道長半径 " + TrimDecimals(QueryObject(pHost, L".SemiMajorAxis"), 0) + L"au\r\n";
    text += L"離心率 " + TrimDecimals(QueryObject(pHost, L".eccentricity"), 0) + L"\r\n";
    return text;
}
