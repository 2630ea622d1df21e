// SPDX-License-Identifier: LGPL-3.0-or-later
// CSkyHost: the properties every object gets from its other answers, whichever source
// knows it: the constellation's Japanese name, the magnitude after atmospheric extinction,
// the parallactic angle, the next rise, transit and set, tonight's observing window, and
// which theory or catalogue gave the numbers.
#include <cmath>
#include <cwchar>
#include <string>

#include "sky/Answer.h"
#include "sky/SkyHost.h"
#include "sky/bodies/Spans.h"
#include "sky/catalogs/Catalog.h"
#include "sky/events/Windows.h"
#include "zvacl/zvacl.h"

namespace {

constexpr double kRad = 3.141592653589793 / 180.0;

// The derived properties, by the end of the query that asks them.
enum class Derived {
    None,
    ConstellationName,
    Extincted,
    Parallactic,
    NextRise,
    NextTransit,
    NextSet,
    Window,
    Provenance
};

struct DerivedSuffix {
    constexpr DerivedSuffix(const wchar_t* s, Derived w)
        : suffix(s), length(static_cast<int>(std::char_traits<wchar_t>::length(s))), what(w) {}
    const wchar_t* suffix;
    int length;
    Derived what;
};
constexpr DerivedSuffix kDerived[] = {
    {L".position.constellation.japanesename", Derived::ConstellationName},
    {L".position.extinctedmagnitude", Derived::Extincted},
    {L".position.parallacticangle", Derived::Parallactic},
    {L".jd.nextrise", Derived::NextRise},
    {L".jd.nexttransit", Derived::NextTransit},
    {L".jd.nextset", Derived::NextSet},
    {L".jd.observingwindow", Derived::Window},
    {L".provenance", Derived::Provenance},
};

// A number answer, NaN for anything else.
double Value(const CString& answer) {
    CString t = answer;
    t.Trim();
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    return t.IsEmpty() || *end != L'\0' ? NAN : v;
}

// Visual extinction per airmass at a height in metres: Rayleigh scattering, aerosols and
// ozone after Green (1992).
double Extinction(double height) {
    const double h = std::fmax(0.0, height);
    return 0.1451 * std::exp(-h / 7996.0) + 0.120 * std::exp(-h / 1500.0) + 0.016;
}

// The ephemeris or theory of a body's place at a TT Julian Day, "範囲外" added where the
// instant lies outside its span (the places are "*" then); empty for other paths.
CString BodySource(const CString& path, double jdTt) {
    static const struct {
        const wchar_t* path;
        sky::Body body;
    } kBodies[] = {{L"solar.sun", sky::Body::Sun},
                   {L"solar.moon", sky::Body::Moon},
                   {L"solar.planet.earth.satellite.moon", sky::Body::Moon},
                   {L"solar.planet.mercury", sky::Body::Mercury},
                   {L"solar.planet.venus", sky::Body::Venus},
                   {L"solar.planet.mars", sky::Body::Mars},
                   {L"solar.planet.jupiter", sky::Body::Jupiter},
                   {L"solar.planet.saturn", sky::Body::Saturn},
                   {L"solar.planet.uranus", sky::Body::Uranus},
                   {L"solar.planet.neptune", sky::Body::Neptune},
                   {L"solar.dwarfplanet.pluto", sky::Body::Pluto}};
    for (const auto& b : kBodies) {
        if (path != b.path) continue;
        bool inside = false;
        CString name = sky::SourceOf(b.body, jdTt, &inside).name;
        return inside ? name : name + L" 範囲外";
    }
    return CString();
}

// A planet's moon: its own theory, then the planet's source (lower-case path); empty for
// other paths.
CString MoonSource(const CString& path, double jdTt) {
    static const struct {
        const wchar_t* prefix;
        const wchar_t* theory;
        const wchar_t* planet;
        const wchar_t* planetName;
    } kMoons[] = {
        {L"solar.planet.mars.satellite.", L"JPL平均軌道要素", L"solar.planet.mars", L"火星"},
        {L"solar.planet.jupiter.satellite.", L"E5", L"solar.planet.jupiter", L"木星"},
        {L"solar.planet.saturn.satellite.hyperion", L"TASS 1.7", L"solar.planet.saturn", L"土星"},
        {L"solar.planet.saturn.satellite.", L"Harper-Taylor", L"solar.planet.saturn", L"土星"},
        {L"solar.planet.uranus.satellite.", L"GUST86", L"solar.planet.uranus", L"天王星"},
    };
    for (const auto& m : kMoons)
        if (path.Left(CString(m.prefix).GetLength()) == m.prefix)
            return CString(m.theory) + L" (衛星) / " + BodySource(m.planet, jdTt) + L" (" +
                   m.planetName + L")";
    return CString();
}

// The catalogue of an object's numbers, by its path (lower case).
const wchar_t* ProvenanceOf(const CString& path) {
    const auto starts = [&](const wchar_t* prefix) {
        return path.Left(CString(prefix).GetLength()) == prefix;
    };
    if (starts(L"solar.dwarfplanet.")) return L"ケプラー軌道要素 (d3-celestial)";
    if (starts(L"star.hip.")) return L"Hipparcos (d3-celestial)";
    if (starts(L"deepskyobject.m.")) return L"Messier (d3-celestial)";
    return nullptr;
}

}  // namespace

std::vector<CString> CSkyHost::QueryAt(double jdUt, const std::vector<CString>& queries) {
    const double saved = m_jd;
    SetJd(jdUt);
    std::vector<CString> answers;
    for (const CString& q : queries) answers.push_back(Query(q));
    SetJd(saved);
    return answers;
}

CString CSkyHost::QueryDerived(const CString& q) {
    Derived what = Derived::None;
    CString path;
    const int n = q.GetLength();
    const wchar_t* const end = q.GetString() + n;
    for (const auto& d : kDerived) {
        // Compared from the end, where the paths asked differ.
        const int m = d.length;
        int k = 1;
        while (k <= m && k <= n && end[-k] == d.suffix[m - k]) ++k;
        if (k > m && n > m) {
            what = d.what;
            path = q.Left(n - m);
            break;
        }
    }
    if (what == Derived::None) return CString();
    // Only objects with a place: anything else is unknown here too.
    const CString ra = Query(path + L".position.equatorialdateapp.ra");
    if (ra.IsEmpty()) return CString();
    const bool earthSite = m_locationBody.IsEmpty();
    switch (what) {
        case Derived::ConstellationName: {
            const sky::Constellation* c =
                Cat().FindConstellation(Query(path + L".position.constellation"));
            return c ? c->japanese : CString();
        }
        case Derived::Extincted: {
            const double m = Value(Query(path + L".magnitude"));
            const double x = Value(Query(path + L".position.airmass"));
            return earthSite ? sky::Answer(m + Extinction(m_height) * x, L"%.3f") : CString(L"*");
        }
        case Derived::Parallactic: {
            // The angle at the object from the north pole to the zenith, positive west of the
            // meridian.
            const double dec = Value(Query(path + L".position.equatorialdateapp.dec")) * kRad;
            const double H = (GetLst(m_jd, m_lon) - 15.0 * Value(ra)) * kRad;
            const double phi = m_lat * kRad;
            const double q = std::atan2(
                std::sin(H), std::tan(phi) * std::cos(dec) - std::sin(dec) * std::cos(H));
            return earthSite ? sky::Answer(q / kRad, L"%.4f") : CString(L"*");
        }
        case Derived::NextRise:
        case Derived::NextTransit:
        case Derived::NextSet: {
            if (!earthSite) return L"*";
            // The three are asked together, and each pass gives all three at once.
            NextEvents& n = m_next;
            if (n.path != path || n.jd != m_jd || n.lon != m_lon || n.lat != m_lat ||
                n.height != m_height || n.markRa != m_mark[0] || n.markDec != m_mark[1]) {
                // Each pass is computed once, and only as far as the next events need.
                std::vector<CString> passes[3];
                const auto pass = [&](int k) -> const std::vector<CString>& {
                    if (passes[k].empty())
                        passes[k] = QueryAt(m_jd + k, {path + L".jd.rise", path + L".jd.transit",
                                                       path + L".jd.set"});
                    return passes[k];
                };
                double events[3];
                for (int e = 0; e < 3; ++e)
                    events[e] = sky::NextEvent(
                        [&](double t) {
                            return Value(pass(static_cast<int>(std::lround(t - m_jd)))[e]);
                        },
                        m_jd);
                n = NextEvents{path,     m_jd,      m_lon,     m_lat,
                               m_height, m_mark[0], m_mark[1], {events[0], events[1], events[2]}};
            }
            const int e = what == Derived::NextRise ? 0 : what == Derived::NextTransit ? 1 : 2;
            return sky::Answer(n.events[e], L"%.6f");
        }
        case Derived::Window: {
            if (!earthSite) return L"*";
            const auto altitudeOf = [&](const CString& object) {
                return [this, object](double t) {
                    return Value(QueryAt(t, {object + L".position.altitude"})[0]);
                };
            };
            const sky::ObservingWindow w =
                sky::WindowTonight(altitudeOf(L"solar.sun"), altitudeOf(path), m_jd);
            if (!w.night || !std::isfinite(w.start)) return L"0";
            CString s;
            s.Format(L"%.6f,%.6f", w.start, w.end);
            return s;
        }
        case Derived::Provenance: {
            const double jdTt = sky::TtOf(m_jd);
            const CString body = BodySource(path, jdTt);
            if (!body.IsEmpty()) return body;
            const CString moon = MoonSource(path, jdTt);
            if (!moon.IsEmpty()) return moon;
            const wchar_t* p = ProvenanceOf(path);
            return p ? CString(p) : CString();
        }
        default:
            return CString();
    }
}
