// SPDX-License-Identifier: LGPL-3.0-or-later
// The solar-system text: the kind of body from its object path, its name line, and the
// lines of each kind (the Sun, planets and dwarf planets, their satellites, the Moon,
// comets and minor planets, meteorites, spacecraft, places on a surface).
#include <cmath>

#include "clickdata/ZntClickData.h"

namespace {

enum class SolarKind {
    None,
    Place,
    Sun,
    PlanetLagrangian,
    Planet,
    EarthUmbra,
    PlanetSatellite,
    Moon,
    MoonLagrangian,
    SmallBody,  // comet or minor planet
    Meteorite,
    Spacecraft,
};

// The first test that holds decides; parameters compare without regard to case.
SolarKind Classify(CStkString& path) {
    if (path.SameP(3, L"Place") || path.SameP(5, L"Place")) return SolarKind::Place;
    if (path.SameP(1, L"Sun")) return SolarKind::Sun;
    if (path.SameP(1, L"Planet") || path.SameP(1, L"DwarfPlanet")) {
        if (path.SameP(3, L"LagrangianPoint")) return SolarKind::PlanetLagrangian;
        if (!path.SameP(3, L"Satellite")) {
            if (path.SameP(1, L"Planet") && path.SameP(2, L"Earth") && path.SameP(3, L"Umbra"))
                return SolarKind::EarthUmbra;
            return SolarKind::Planet;
        }
        if (!path.SameP(4, L"Moon")) return SolarKind::PlanetSatellite;
        return path.SameP(5, L"LagrangianPoint") ? SolarKind::MoonLagrangian : SolarKind::Moon;
    }
    if (path.SameP(1, L"Comet") || path.SameP(1, L"MinorPlanet")) return SolarKind::SmallBody;
    if (path.SameP(1, L"Meteorite")) return SolarKind::Meteorite;
    if (path.SameP(1, L"Spacecraft")) return SolarKind::Spacecraft;
    return SolarKind::None;
}

CString Formatted(const wchar_t* format, double a) {
    CString text;
    text.Format(format, a);
    return text;
}

CString Formatted(const wchar_t* format, double a, double b) {
    CString text;
    text.Format(format, a, b);
    return text;
}

CString Formatted(const wchar_t* format, double a, double b, double c) {
    CString text;
    text.Format(format, a, b, c);
    return text;
}

// A distance that the host gives in km, in units of 10,000 km.
CString ManKmLine(const wchar_t* label, const CStkStr& km) {
    CString text;
    text.Format(L"%s %6.2f万 km\r\n", label, km.atof(0.0) / 10000.0);
    return text;
}

}  // namespace

CString CZntClickData::GetTextSolar(CCorZnt* pHost, int bCompact) {
    const CString japanese = QueryObject(pHost, L".JapaneseName");
    const CString english = QueryObject(pHost, L".EnglishName");
    const SolarKind kind = Classify(m_Object);
    const CString both = japanese + L" " + english;
    CString name;
    switch (kind) {
        case SolarKind::None:
            return CString();
        case SolarKind::Place:
        case SolarKind::Sun:
        case SolarKind::Spacecraft:
        case SolarKind::Moon:
            name = both;
            break;
        case SolarKind::SmallBody:
        case SolarKind::Meteorite:
            name = both + L" (" + QueryObject(pHost, L".ID") + L")";
            break;
        case SolarKind::PlanetSatellite:
            name = both + L" (" + QueryObject(pHost, L".Number") + L")";
            break;
        case SolarKind::Planet:
            name = both + (m_Object.SameP(1, L"Planet") ? L" (惑星)" : L" (準惑星)");
            break;
        case SolarKind::EarthUmbra:
            name = japanese + L" (月の距離に応じた地球の影)";
            break;
        case SolarKind::PlanetLagrangian:
            name = QueryHost(pHost, L"solar." + m_Object.GetParamP(1) + L"." +
                                        m_Object.GetParamP(2) + L".japaneseName") +
                   L"ラグランジュ点 " + japanese;
            break;
        case SolarKind::MoonLagrangian:
            name = L"月ラグランジュ点 " + japanese;
            break;
    }
    if (bCompact) return name;

    CString text = name + L"\r\n";
    switch (kind) {
        case SolarKind::Place:
            return text + GetSolarPlace(pHost);
        case SolarKind::Sun:
            return text + GetSolarSun(pHost);
        case SolarKind::Planet:
            return text + GetSolarPlanet(pHost);
        case SolarKind::PlanetLagrangian:
        case SolarKind::MoonLagrangian:
            return text + GetPosString(pHost, 2);
        case SolarKind::PlanetSatellite:
            return text + GetSolarPlanetSatellite(pHost);
        case SolarKind::Moon:
            return text + GetSolarMoon(pHost);
        case SolarKind::SmallBody:
            return text + GetSolarSmallBody(pHost);
        case SolarKind::Meteorite:
            return text + GetSolarMeteorite(pHost);
        case SolarKind::Spacecraft:
            return text + GetSolarSpacecraft(pHost);
        case SolarKind::EarthUmbra:
        case SolarKind::None:
            break;
    }
    return text;
}

CString CZntClickData::GetSolarPlace(CCorZnt* pHost) {
    CString text;
    const CString explanation = QueryObject(pHost, L".Explanation");
    if (!explanation.IsEmpty()) text += explanation + L"\r\n";
    const double longitude = degmal(QueryObject(pHost, L".Longitude").atof(0.0));
    const double latitude = QueryObject(pHost, L".Latitude").atof(0.0);
    text.AppendFormat(L"経度 %6.2f 緯度 %c%5.2f'\r\n", longitude, latitude > 0.0 ? L'+' : L'-',
                      std::fabs(degmal2(latitude)));
    return text;
}

CString CZntClickData::GetSolarSun(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    CString text;
    if (status.DispMag)
        text += Formatted(L"光度 -26.7等 視直径 %3.1f'\r\n",
                          QueryObject(pHost, L".Dm").atof(0.0) * 60.0);
    text += GetPosString(pHost, 2);
    if (status.DispDistR) text += GetAuDistances(pHost, nullptr, 0);
    if (status.PlanetPhysicalTable) {
        const double cm = QueryObject(pHost, L".PhysicalTable.CM").atof(0.0);
        const double de = QueryObject(pHost, L".PhysicalTable.De").atof(0.0);
        text += Formatted(L"中央経度 %3.0fﾟ\r\n中央緯度 %3.0fﾟ\r\n", cm, de);
        text += GetSolarEclipse(pHost);
        const double magnitude = QueryObject(pHost, L".EclipsMagnitude").atof(0.0);
        if (magnitude >= 0.0) text += Formatted(L"食分 %.2f\r\n", magnitude);
    }
    return text;
}

CString CZntClickData::GetSolarPlanet(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    const bool earth = m_Object.SameP(2, L"Earth");
    const auto number = [&](const wchar_t* suffix) { return QueryObject(pHost, suffix).atof(0.0); };
    CString text;
    if (!earth) {
        if (status.DispMag) {
            const double magnitude = number(L".Magnitude");
            const double diameter = number(L".Dm");
            const double lit = number(L".PhysicalTable.K");
            text += Formatted(L"光度 %4.1f等  視直径 %3.1f\"  輝面比 %4.2f\r\n", magnitude,
                              diameter, lit);
        }
        text += GetPosString(pHost, 2);
    }
    if (status.DispDistR) {
        if (earth) {
            text += AuDistanceLine(L"日心距離", QueryObject(pHost, L".HelioCentricDistance"), 0);
        } else {
            text += GetAuDistances(pHost, L".HelioCentricDistance", 0);
            text += GetSolarElongation(pHost);
        }
    }
    if (status.SolarOrbitDetails) text += GetOrbitalElements(pHost, 0);
    if (status.PlanetPhysicalTable) {
        if (m_Object.SameP(2, L"mars")) {
            const double cm = number(L".PhysicalTable.CM");
            const double de = number(L".PhysicalTable.De");
            text += Formatted(L"中央経度 %3.0fﾟ\r\n中央緯度 %3.0fﾟ\r\n", cm, de);
            text += Formatted(L"惑心太陽黄経 %5.1fﾟ\r\n", number(L".PhysicalTable.Ls"));
        } else if (m_Object.SameP(2, L"Jupiter")) {
            const double cm1 = number(L".PhysicalTable.CM1");
            const double cm2 = number(L".PhysicalTable.CM2");
            const double de = number(L".PhysicalTable.De");
            text +=
                Formatted(L"中央経度 %3.0fﾟ(I) %3.0fﾟ(II)\r\n中央緯度 %3.0fﾟ\r\n", cm1, cm2, de);
        } else if (m_Object.SameP(2, L"saturn")) {
            const double cm3 = number(L".PhysicalTable.CM3");
            const double de = number(L".PhysicalTable.De");
            text += Formatted(L"中央経度 %3.0fﾟ(III)\r\n中央緯度 %3.0fﾟ\r\n", cm3, de);
        }
    }
    return text;
}

CString CZntClickData::GetSolarPlanetSatellite(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    CString text;
    const double magnitude = QueryObject(pHost, L".Magnitude").atof(0.0);
    if (status.DispMag) text += Formatted(L"光度 %4.1f等\r\n", magnitude);
    text += GetPosString(pHost, 2);
    if (status.DispDistR) {
        text += GetAuDistances(pHost, nullptr, 0);
        const CStkStr planetocentric = QueryObject(pHost, L".PlanetocentricDistance");
        text += AuDistanceLine(L"日心距離", QueryObject(pHost, L".HeliocentricDistance"), 0);
        text += ManKmLine(L"惑心距離", planetocentric);
    }
    return text;
}

CString CZntClickData::GetSolarMoon(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    const auto number = [&](const wchar_t* suffix) { return QueryObject(pHost, suffix).atof(0.0); };
    CString text;
    if (status.DispMag) {
        const double age = number(L".Age");
        const double diameter = number(L".Dm") * 60.0;
        const double lit = number(L".PhysicalTable.K");
        text += Formatted(L"月齢 %4.1f  視直径 %3.1f'  輝面比 %4.2f\r\n", age, diameter, lit);
    }
    text += GetPosString(pHost, 2);
    if (status.DispDistR) {
        text += ManKmLine(L"地心距離", QueryObject(pHost, L".GeocentricDistance"));
        text += ManKmLine(L"測心距離", QueryObject(pHost, L".TopocentricDistance"));
    }
    if (status.PlanetPhysicalTable) {
        const double cm = number(L".PhysicalTable.CM");
        const double de = number(L".PhysicalTable.De");
        text += Formatted(L"中央経度 %5.1fﾟ  中央緯度 %5.1fﾟ\r\n", cm, de);
        text += GetMoonPhaseLines(pHost);
        const double magnitude = number(L".EclipsMagnitude");
        if (magnitude >= 0.0) text += Formatted(L"食分 %.2f\r\n", magnitude);
    }
    return text;
}

CString CZntClickData::GetSolarSmallBody(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    CString text;
    if (status.DispMag)
        text += FormatAnswerLine(QueryObject(pHost, L".Magnitude"), L"光度 %4.1f等\r\n",
                                 L"光度 --.-等\r\n");
    text += GetPosString(pHost, 2);
    if (status.DispDistR) {
        text += GetAuDistances(pHost, L".HeliocentricDistance", 1);
        text += GetSolarElongation(pHost);
    }
    if (status.SolarOrbitDetails) text += GetOrbitalElements(pHost, m_Object.SameP(1, L"Comet"));
    return text;
}

CString CZntClickData::GetSolarMeteorite(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    CString text;
    const CString memo = QueryObject(pHost, L".Memo");
    if (!memo.IsEmpty()) text += memo + L"\r\n";
    const double fall = QueryObject(pHost, L".TimeOfFall").atof(0.0);
    const double zone = QueryHost(pHost, L"time.timezone").atof(0.0);
    tagADATE local = {};
    if (DateOfJd(fall, zone, 0.0, &local))
        text.AppendFormat(L"落下 %d年%d月%d日 %d時%d分\r\n", local.year, local.month, local.day,
                          local.hour, local.minute);
    else
        text += L"落下 ----年--月--日 --時--分\r\n";
    // A body that has not fallen yet is still in its orbit.
    if (fall > QueryHost(pHost, L"time.jd").atof(0.0)) {
        text += GetPosString(pHost, 2);
        if (status.DispDistR) {
            text += GetAuDistances(pHost, L".HeliocentricDistance", 1);
            text += GetSolarElongation(pHost);
        }
        if (status.SolarOrbitDetails) text += GetOrbitalElements(pHost, 0);
    }
    return text;
}

CString CZntClickData::GetSolarSpacecraft(CCorZnt* pHost) {
    const CCdStatus& status = Status();
    CString text = GetPosString(pHost, 2);
    if (status.DispDistR) text += GetAuDistances(pHost, L".HelioCentricDistance", 1);
    if (status.SolarOrbitDetails) {
        const struct {
            const wchar_t* suffix;
            const wchar_t* label;
        } kSpan[] = {{L".data.start", L"データ開始"}, {L".data.end", L"データ終了"}};
        for (const auto& end : kSpan) {
            const CStkStr answer = QueryObject(pHost, end.suffix);
            tagADATE ut = {};
            if (answer == L"*" || !DateOfJd(answer.atof(0.0), 0.0, 1.0, &ut)) continue;
            text.AppendFormat(L"%s %d/%02d/%02d %02d:%02d:%02d (UT)\r\n", end.label, ut.year,
                              ut.month, ut.day, ut.hour, ut.minute, static_cast<int>(ut.second));
        }
    }
    return text;
}
