// SPDX-License-Identifier: LGPL-3.0-or-later
// The Sun, the Moon, the planets, Pluto and the dwarf planets of the host's catalogue as a
// source of the sky ("Solar.Planet.Mars.position.RA"), seen from the site on the Earth or
// from the body the observer is on; and the Earth's heliocentric place the site answers
// ("Location.Solar.X").
#include <cmath>
#include <cwchar>
#include <algorithm>
#include <utility>
#include <vector>
#include <memory>

#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/Observer.h"
#include "sky/catalogs/Catalog.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

struct SolarBody {
    const wchar_t* path;  // lower case
    Body body;
    const wchar_t* japanese;
    const wchar_t* english;
    double semiMajorAxis;  // mean elements of J2000, au; 0 for the Sun and the Moon
    double eccentricity;
};

// Longer paths first, so the Moon is not taken for the Earth.
const SolarBody kBodies[] = {
    {L"solar.planet.earth.satellite.moon", Body::Moon, L"月", L"Moon", 0, 0},
    {L"solar.moon", Body::Moon, L"月", L"Moon", 0, 0},  // the short name the date object asks
    {L"solar.sun", Body::Sun, L"太陽", L"Sun", 0, 0},
    {L"solar.planet.mercury", Body::Mercury, L"水星", L"Mercury", 0.38709927, 0.20563593},
    {L"solar.planet.venus", Body::Venus, L"金星", L"Venus", 0.72333566, 0.00677672},
    {L"solar.planet.earth", Body::Earth, L"地球", L"Earth", 1.00000261, 0.01671123},
    {L"solar.planet.mars", Body::Mars, L"火星", L"Mars", 1.52371034, 0.09339410},
    {L"solar.planet.jupiter", Body::Jupiter, L"木星", L"Jupiter", 5.20288700, 0.04838624},
    {L"solar.planet.saturn", Body::Saturn, L"土星", L"Saturn", 9.53667594, 0.05386179},
    {L"solar.planet.uranus", Body::Uranus, L"天王星", L"Uranus", 19.18916464, 0.04725744},
    {L"solar.planet.neptune", Body::Neptune, L"海王星", L"Neptune", 30.06992276, 0.00859048},
    {L"solar.dwarfplanet.pluto", Body::Pluto, L"冥王星", L"Pluto", 39.48211675, 0.24882730},
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

class PlanetSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        if (HasPrefix(q, L"location.solar.")) {
            double xyz[3];
            EarthHeliocentric(at.jdUt, xyz);
            const CString axis = q.Mid(15);
            const int i = axis == L"x" ? 0 : axis == L"y" ? 1 : axis == L"z" ? 2 : -1;
            if (i < 0) return false;
            *answer = Num(xyz[i]);
            return true;
        }
        if (!HasPrefix(q, L"solar.")) return false;
        *answer = Property(q, at);
        // Empty: the path may name a moon or a point of the body, which a later source knows.
        return !answer->IsEmpty();
    }

    void List(std::vector<Entry>& out) override { (void)out; }  // the host lists them
    void Changed() override { m_places.clear(); }

private:
    CString Property(const CString& q, const Context& at) {
        const SolarBody* found = nullptr;
        CString property;
        for (const SolarBody& b : kBodies) {
            if (!HasPrefix(q, b.path)) continue;
            const int n = static_cast<int>(std::wcslen(b.path));
            if (q.GetLength() == n) return b.english;
            if (q[n] != L'.') continue;
            found = &b;
            property = q.Mid(n + 1);
            break;
        }
        // A dwarf planet or minor planet of the catalogue, on its Keplerian orbit.
        SolarBody fromCatalog{};
        Kepler kepler;
        const Kepler* orbit = nullptr;
        int index = found ? static_cast<int>(found - kBodies) : -1;
        if (!found && at.catalog && HasPrefix(q, L"solar.dwarfplanet.")) {
            const int dot = q.Find(L'.', 18);
            const CString name = dot < 0 ? q.Mid(18) : q.Mid(18, dot - 18);
            const Orbit* o = at.catalog->FindOrbit(name);
            if (!o) return CString();
            if (dot < 0) return o->english;
            kepler = Kepler{o->a,
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
            fromCatalog = SolarBody{
                L"", Body::Kepler, o->japanese.GetString(), o->english.GetString(), o->a, o->e};
            found = &fromCatalog;
            property = q.Mid(dot + 1);
            index = 100 + static_cast<int>(o - at.catalog->Orbits().data());
            // The places kept are of this catalogue's orbits.
            if (at.catalog != m_catalog) m_places.clear(), m_catalog = at.catalog;
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
        const Site& site = at.site;
        const Body body = found->body;
        // An observer on another body sees the planets, the Sun and the Earth from there.
        const BodyObserver observer{at.observer, at.onSurface, site};
        const bool away = at.observer != Body::Earth;
        const auto placeOf = [&](double jd, bool events) {
            return away ? PlaceFrom(observer, body, jd, events)
                        : PlaceOf(body, jd, site, events, orbit);
        };
        if (property == L"age")
            return body == Body::Moon ? Num(GetMoonAge(at.jdUt), L"%.4f") : CString();
        if (property == L"eclipsmagnitude") {
            if (body == Body::Sun) return Num(SolarEclipseMagnitude(at.jdUt, site), L"%.4f");
            if (body == Body::Moon) return Num(LunarEclipseMagnitude(at.jdUt), L"%.4f");
            return CString();
        }
        if (property == L"dailymotion.ra" || property == L"dailymotion.dec") {
            if (body == observer.body) return CString();
            double dRa = 0.0, dDec = 0.0;
            if (away) {
                const BodyPlace a = placeOf(at.jdUt - 0.5 / 24.0, false),
                                b = placeOf(at.jdUt + 0.5 / 24.0, false);
                dRa = std::remainder(b.apparent.lon - a.apparent.lon, 360.0) * 24.0;
                dDec = (b.apparent.lat - a.apparent.lat) * 24.0;
            } else {
                DailyMotion(body, at.jdUt, site, &dRa, &dDec, orbit);
            }
            return Num(property == L"dailymotion.ra" ? dRa : dDec);
        }
        if (HasPrefix(property, L"physicaltable.") && property != L"physicaltable.k") {
            const Physical ph = PhysicalOf(body, at.jdUt);
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
        const bool events = HasPrefix(property, L"jd.");
        const int key = index * 2 + (events ? 1 : 0);
        auto kept = std::find_if(m_places.begin(), m_places.end(),
                                 [&](const auto& e) { return e.first == key; });
        if (kept == m_places.end())
            kept = m_places.insert(m_places.end(), {key, placeOf(at.jdUt, events)});
        const BodyPlace& p = kept->second;
        const bool earth = body == observer.body;
        const bool sunOrMoon = body == Body::Sun || body == Body::Moon;
        if (property == L"heliocentricdistance")
            return body == Body::Sun ? CString() : Num(p.heliocentricDistance);
        if (earth) return CString();  // the observer's own planet has no place in its sky
        if (events || HasPrefix(property, L"position.")) return PlaceAnswer(p, property);
        if (property == L"geocentricdistance") return Num(p.geocentricDistance);
        if (property == L"topocentricdistance") return Num(p.topocentricDistance);
        if (property == L"magnitude") return Num(p.magnitude, L"%.3f");
        // The Sun's and the Moon's diameters in degrees, the planets' in arc seconds.
        if (property == L"dm") return Num(sunOrMoon ? p.diameter / 3600.0 : p.diameter, L"%.6f");
        if (property == L"physicaltable.k") return Num(p.illuminated, L"%.6f");
        if (property == L"solarelongation")
            return body == Body::Sun ? CString() : Num(p.elongation);
        return CString();
    }

    // Places computed for the current instant, site and observer, by body and kind: a few,
    // kept in a list that keeps its room when cleared.
    std::vector<std::pair<int, BodyPlace>> m_places;
    const Catalog* m_catalog = nullptr;  ///< whose orbits' places are kept
};

const SourceRegistration kPlanets([] { return std::make_unique<PlanetSource>(); },
                                  {L"solar.", L"location.solar."}, SourceRank::First);

}  // namespace
}  // namespace sky
