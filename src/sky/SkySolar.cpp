// SPDX-License-Identifier: LGPL-3.0-or-later
// CSkyHost: the answers about the Sun, the Moon, the planets and Pluto, and the position
// properties shared with every fixed point of the sky.
#include <cmath>
#include <cwchar>

#include "sky/Answer.h"
#include "sky/catalogs/Catalog.h"
#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/Observer.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
#include "zvacl/zvacl.h"

namespace {

struct SolarBody {
    const wchar_t* path;  // lower case
    sky::Body body;
    const wchar_t* japanese;
    const wchar_t* english;
    double semiMajorAxis;  // mean elements of J2000, au; 0 for the Sun and the Moon
    double eccentricity;
};

// Longer paths first, so the Moon is not taken for the Earth.
const SolarBody kBodies[] = {
    {L"solar.planet.earth.satellite.moon", sky::Body::Moon, L"月", L"Moon", 0, 0},
    {L"solar.moon", sky::Body::Moon, L"月", L"Moon", 0, 0},  // the short name the date object asks
    {L"solar.sun", sky::Body::Sun, L"太陽", L"Sun", 0, 0},
    {L"solar.planet.mercury", sky::Body::Mercury, L"水星", L"Mercury", 0.38709927, 0.20563593},
    {L"solar.planet.venus", sky::Body::Venus, L"金星", L"Venus", 0.72333566, 0.00677672},
    {L"solar.planet.earth", sky::Body::Earth, L"地球", L"Earth", 1.00000261, 0.01671123},
    {L"solar.planet.mars", sky::Body::Mars, L"火星", L"Mars", 1.52371034, 0.09339410},
    {L"solar.planet.jupiter", sky::Body::Jupiter, L"木星", L"Jupiter", 5.20288700, 0.04838624},
    {L"solar.planet.saturn", sky::Body::Saturn, L"土星", L"Saturn", 9.53667594, 0.05386179},
    {L"solar.planet.uranus", sky::Body::Uranus, L"天王星", L"Uranus", 19.18916464, 0.04725744},
    {L"solar.planet.neptune", sky::Body::Neptune, L"海王星", L"Neptune", 30.06992276, 0.00859048},
    {L"solar.dwarfplanet.pluto", sky::Body::Pluto, L"冥王星", L"Pluto", 39.48211675, 0.24882730},
};

// Mean diameters of the minor bodies the catalogue may hold, km.
double DiameterKm(const CString& english) {
    static const struct {
        const wchar_t* name;
        double km;
    } kSizes[] = {{L"Ceres", 939.4}, {L"Pallas", 513.0}, {L"Juno", 254.0}, {L"Vesta", 525.4}};
    for (const auto& s : kSizes)
        if (english.CompareNoCase(s.name) == 0) return s.km;
    return NAN;
}

CString Num(double v, const wchar_t* format = L"%.8f") { return sky::Answer(v, format); }

}  // namespace

CString CSkyHost::QueryPoint(const CString& property, double ra, double dec) {
    const bool events = property.Left(3) == L"jd.";
    const sky::Site site{m_lon, m_lat, m_height};
    // Kept by direction only when it is one (NaN would upset the map's order).
    if (!std::isfinite(ra) || !std::isfinite(dec))
        return sky::PlaceAnswer(sky::FixedPlace(ra * 15.0, dec, m_jd, site, events), property);
    std::shared_ptr<sky::BodyPlace>& slot = m_points[{ra, dec, events ? 1.0 : 0.0}];
    if (!slot)
        slot =
            std::make_shared<sky::BodyPlace>(sky::FixedPlace(ra * 15.0, dec, m_jd, site, events));
    return sky::PlaceAnswer(*slot, property);
}

CString CSkyHost::QuerySolar(const CString& q) {
    // The solar eclipse in progress at the site, and its contacts.
    static const CString contact = L"solar.earth.solareclipse.contacttime.";
    if (q == L"solar.earth.besselelement.apply" || q.Left(contact.GetLength()) == contact) {
        const sky::Site site{m_lon, m_lat, m_height};
        if (!m_contacts)
            m_contacts =
                std::make_shared<sky::EclipseContacts>(sky::SolarEclipseContacts(m_jd, site));
        const sky::EclipseContacts& c = *m_contacts;
        if (q.Left(contact.GetLength()) != contact)
            return std::isfinite(c.first) ? L"TRUE" : L"FALSE";
        const CString which = q.Mid(contact.GetLength());
        const double jd = which == L"1st"   ? c.first
                          : which == L"2nd" ? c.second
                          : which == L"max" ? c.maximum
                          : which == L"3rd" ? c.third
                          : which == L"4th" ? c.fourth
                                            : 0.0;
        return jd == 0.0 ? CString() : Num(jd);
    }
    const SolarBody* found = nullptr;
    CString property;
    for (const SolarBody& b : kBodies) {
        const int n = static_cast<int>(std::wcslen(b.path));
        if (q.GetLength() < n || std::wcsncmp(q.GetString(), b.path, n) != 0) continue;
        if (q.GetLength() == n) return b.english;
        if (q[n] != L'.') continue;
        found = &b;
        property = q.Mid(n + 1);
        break;
    }
    // A dwarf planet or minor planet of the catalogue, on its Keplerian orbit.
    SolarBody fromCatalog{};
    sky::Kepler kepler;
    const sky::Kepler* orbit = nullptr;
    int index = found ? static_cast<int>(found - kBodies) : -1;
    if (!found && q.Left(18) == L"solar.dwarfplanet.") {
        const int dot = q.Find(L'.', 18);
        const CString name = dot < 0 ? q.Mid(18) : q.Mid(18, dot - 18);
        const sky::Orbit* o = Cat().FindOrbit(name);
        if (!o) return CString();
        if (dot < 0) return o->english;
        kepler = sky::Kepler{o->a,
                             o->e,
                             o->i,
                             o->M,
                             o->w,
                             o->node,
                             o->n,
                             o->epoch,
                             o->H,
                             0.15,
                             DiameterKm(o->english)};
        orbit = &kepler;
        m_names[0] = o->japanese;
        m_names[1] = o->english;
        fromCatalog = SolarBody{
            L"", sky::Body::Kepler, m_names[0].GetString(), m_names[1].GetString(), o->a, o->e};
        found = &fromCatalog;
        property = q.Mid(dot + 1);
        index = 100 + static_cast<int>(o - Cat().Orbits().data());
    }
    if (!found) return CString();
    if (property == L"japanesename") return found->japanese;
    if (property == L"englishname") return found->english;
    if (found->semiMajorAxis > 0) {
        if (property == L"semimajoraxis") return Num(found->semiMajorAxis, L"%.8f");
        if (property == L"eccentricity") return Num(found->eccentricity, L"%.8f");
        if (property == L"revolutionperiod")
            return Num(std::pow(found->semiMajorAxis, 1.5), L"%.6f");
    }
    const sky::Site site{m_lon, m_lat, m_height};
    const sky::Body body = found->body;
    // An observer on another body sees the planets, the Sun and the Earth from there.
    sky::BodyObserver observer{sky::Body::Earth, m_onSurface, site};
    const bool away =
        !m_locationBody.IsEmpty() && sky::ObserverBody(m_locationBody, &observer.body);
    const auto placeOf = [&](double jd, bool events) {
        return away ? sky::PlaceFrom(observer, body, jd, events)
                    : sky::PlaceOf(body, jd, site, events, orbit);
    };
    if (property == L"age")
        return body == sky::Body::Moon ? Num(GetMoonAge(m_jd), L"%.4f") : CString();
    if (property == L"eclipsmagnitude") {
        if (body == sky::Body::Sun) return Num(sky::SolarEclipseMagnitude(m_jd, site), L"%.4f");
        if (body == sky::Body::Moon) return Num(sky::LunarEclipseMagnitude(m_jd), L"%.4f");
        return CString();
    }
    if (property == L"dailymotion.ra" || property == L"dailymotion.dec") {
        if (body == observer.body) return CString();
        double dRa = 0.0, dDec = 0.0;
        if (away) {
            const sky::BodyPlace a = placeOf(m_jd - 0.5 / 24.0, false),
                                 b = placeOf(m_jd + 0.5 / 24.0, false);
            dRa = std::remainder(b.apparent.lon - a.apparent.lon, 360.0) * 24.0;
            dDec = (b.apparent.lat - a.apparent.lat) * 24.0;
        } else {
            sky::DailyMotion(body, m_jd, site, &dRa, &dDec, orbit);
        }
        return Num(property == L"dailymotion.ra" ? dRa : dDec);
    }

    if (property.Left(14) == L"physicaltable." && property != L"physicaltable.k") {
        const sky::Physical ph = sky::PhysicalOf(body, m_jd);
        const CString which = property.Mid(14);
        const double v = which == L"cm"    ? ph.cm
                         : which == L"cm1" ? ph.cm
                         : which == L"cm2" ? ph.cm2
                         : which == L"cm3" ? ph.cm3
                         : which == L"de"  ? ph.de
                         : which == L"ls"  ? ph.ls
                                           : NAN;
        return std::isfinite(v) ? Num(v, L"%.4f") : CString();
    }
    const bool events = property.Left(3) == L"jd.";
    std::shared_ptr<sky::BodyPlace>& slot = m_places[index * 2 + (events ? 1 : 0)];
    if (!slot) slot = std::make_shared<sky::BodyPlace>(placeOf(m_jd, events));
    const sky::BodyPlace& p = *slot;
    const bool earth = body == observer.body;
    const bool sunOrMoon = body == sky::Body::Sun || body == sky::Body::Moon;
    if (property == L"heliocentricdistance")
        return body == sky::Body::Sun ? CString() : Num(p.heliocentricDistance);
    if (earth) return CString();  // the observer's own planet has no place in its sky
    if (property.Left(3) == L"jd." || property.Left(9) == L"position.")
        return sky::PlaceAnswer(p, property);
    if (property == L"geocentricdistance") return Num(p.geocentricDistance);
    if (property == L"topocentricdistance") return Num(p.topocentricDistance);
    if (property == L"magnitude") return Num(p.magnitude, L"%.3f");
    // The Sun's and the Moon's diameters in degrees, the planets' in arc seconds.
    if (property == L"dm") return Num(sunOrMoon ? p.diameter / 3600.0 : p.diameter, L"%.6f");
    if (property == L"physicaltable.k") return Num(p.illuminated, L"%.6f");
    if (property == L"solarelongation")
        return body == sky::Body::Sun ? CString() : Num(p.elongation);
    return CString();
}
