// SPDX-License-Identifier: LGPL-3.0-or-later
// One object's properties from Stellarium's /api/objects/info JSON, in the library's
// units and sign conventions, and what Stellarium does not give worked out from what it
// gives: the B1950 and mean-of-date places, rise, transit and set as Julian Days,
// azimuth from the south, geocentric and heliocentric distances, the Moon's age.
#include <cmath>

#include "hosts/stellarium/StellariumJson.hpp"
#include "sky/Constants.h"
#include "zvacl/zvacl.h"

namespace stellarium {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRad = kPi / 180.0;
constexpr double kAuKm = sky::kKmPerAu;
constexpr double kEarthRadiusAu = sky::kEarthRadiusKm / kAuKm;
constexpr double kLightSecondsPerAu = sky::kKmPerAu / sky::kSpeedOfLightKmPerS;
constexpr double kB1950 = 2433282.4235;  // TT Julian Day of the epoch B1950.0

double Norm360(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

CString Num(double v, const wchar_t* format = L"%.8f") {
    if (!std::isfinite(v)) return L"*";
    CString s;
    s.Format(format, v);
    return s;
}

// Equatorial (degrees) to ecliptic of the given obliquity.
void ToEcliptic(double ra, double dec, double eps, double* lon, double* lat) {
    const double a = ra * kRad, d = dec * kRad, e = eps * kRad;
    *lon = Norm360(std::atan2(std::sin(a) * std::cos(e) + std::tan(d) * std::sin(e), std::cos(a)) /
                   kRad);
    *lat = std::asin(std::sin(d) * std::cos(e) - std::cos(d) * std::sin(e) * std::sin(a)) / kRad;
}

// Kind of object, for the length of its day and the form of its numbers.
enum class Kind { Sun, Moon, Planet, Fixed };

Kind KindOf(const CString& path) {
    if (path == L"solar.sun") return Kind::Sun;
    if (path == L"solar.moon" || path == L"solar.planet.earth.satellite.moon") return Kind::Moon;
    if (StartsWith(path, L"solar.")) return Kind::Planet;
    return Kind::Fixed;
}

// The interval between two transits (days): the sidereal day for what is fixed on the sky.
double DayLength(Kind k) { return k == Kind::Moon ? 1.0351 : k == Kind::Fixed ? 0.99727 : 1.0; }

// Rise, transit and set (UT JDs) of the pass whose transit is nearest the instant, from
// Stellarium's local clock hours of the pass about the instant (whole days apart on the
// clock); NaN where it gives none.
void Events(const nlohmann::json& j, const InfoContext& at, double out[3]) {
    const double day = 1.0;
    const double rise = Number(j, "rise-dhr"), transit = Number(j, "transit-dhr"),
                 set = Number(j, "set-dhr");
    double t = JdOfLocalHour(at.jdUt, at.zone, transit);
    if (std::isfinite(t)) t += day * std::round((at.jdUt - t) / day);
    out[1] = t;
    // Rise within the day before the transit, set within the day after it.
    double r = JdOfLocalHour(at.jdUt, at.zone, rise), s = JdOfLocalHour(at.jdUt, at.zone, set);
    if (std::isfinite(r) && std::isfinite(t)) r -= day * std::floor((r - t) / day + 1.0);
    if (std::isfinite(s) && std::isfinite(t)) s -= day * std::floor((s - t) / day);
    const bool circumpolar = Text(j, "rise") == "---" || Text(j, "set") == "---";
    out[0] = circumpolar ? NAN : r;
    out[2] = circumpolar ? NAN : s;
}

// The next event at or after the instant.
double Next(double jd, double now, Kind kind) {
    if (!std::isfinite(jd)) return NAN;
    const double day = DayLength(kind);
    return jd < now ? jd + day * std::ceil((now - jd) / day) : jd;
}

// Mean orbital elements of J2000 (semi-major axis au, eccentricity) of the planets.
bool Elements(const CString& path, double* a, double* e) {
    static const struct {
        const wchar_t* path;
        double a, e;
    } kElements[] = {
        {L"solar.planet.mercury", 0.38709927, 0.20563593},
        {L"solar.planet.venus", 0.72333566, 0.00677672},
        {L"solar.planet.mars", 1.52371034, 0.09339410},
        {L"solar.planet.jupiter", 5.20288700, 0.04838624},
        {L"solar.planet.saturn", 9.53667594, 0.05386179},
        {L"solar.planet.uranus", 19.18916464, 0.04725744},
        {L"solar.planet.neptune", 30.06992276, 0.00859048},
        {L"solar.dwarfplanet.pluto", 39.48211675, 0.24882730},
    };
    for (const auto& k : kElements)
        if (path == k.path) return *a = k.a, *e = k.e, true;
    return false;
}

const wchar_t* JapaneseNameOf(const CString& path) {
    static const struct {
        const wchar_t* path;
        const wchar_t* name;
    } kNames[] = {{L"solar.sun", L"太陽"},
                  {L"solar.moon", L"月"},
                  {L"solar.planet.earth.satellite.moon", L"月"},
                  {L"solar.planet.mercury", L"水星"},
                  {L"solar.planet.venus", L"金星"},
                  {L"solar.planet.mars", L"火星"},
                  {L"solar.planet.jupiter", L"木星"},
                  {L"solar.planet.saturn", L"土星"},
                  {L"solar.planet.uranus", L"天王星"},
                  {L"solar.planet.neptune", L"海王星"},
                  {L"solar.dwarfplanet.pluto", L"冥王星"}};
    for (const auto& n : kNames)
        if (path == n.path) return n.name;
    return nullptr;
}

// Stellarium's kinds of deep-sky object in the words of the library's texts.
CString DeepSkyType(const std::string& type) {
    static const struct {
        const char* type;
        const wchar_t* name;
    } kTypes[] = {{"HII region", L"散光星雲"},
                  {"emission nebula", L"散光星雲"},
                  {"nebula", L"散光星雲"},
                  {"reflection nebula", L"反射星雲"},
                  {"planetary nebula", L"惑星状星雲"},
                  {"dark nebula", L"暗黒星雲"},
                  {"supernova remnant", L"超新星残骸"},
                  {"open star cluster", L"散開星団"},
                  {"globular star cluster", L"球状星団"},
                  {"galaxy", L"銀河"},
                  {"spiral galaxy", L"渦巻銀河"},
                  {"elliptical galaxy", L"楕円銀河"},
                  {"lenticular galaxy", L"レンズ状銀河"},
                  {"irregular galaxy", L"不規則銀河"}};
    for (const auto& t : kTypes)
        if (type == t.type) return t.name;
    return CString(type.c_str());
}

// The designations of a deep-sky object other than the path's own, as "NGC 1976, M 42".
CString OtherDesignations(const std::string& all, const CString& own) {
    CString out;
    for (const CString& d : SplitDesignations(all)) {
        if (d.CompareNoCase(own) == 0 ||
            !(StartsWith(d, L"M ") || StartsWith(d, L"NGC ") || StartsWith(d, L"IC ")))
            continue;
        if (!out.IsEmpty()) out += L", ";
        out += d;
    }
    return out;
}

// "M 42", "NGC 7000" of a canonical deep-sky path.
CString DesignationOf(const CString& path) {
    const CString rest = path.Mid(14);  // after "deepskyobject."
    const int dot = rest.Find(L'.');
    CString catalogue = rest.Left(dot);
    catalogue.MakeUpper();
    return catalogue + L" " + rest.Mid(dot + 1);
}

// Arc minutes to a tenth, without a trailing ".0".
CString Minutes(double v) {
    CString t;
    t.Format(L"%.1f", v);
    if (t.Right(2) == L".0") t = t.Left(t.GetLength() - 2);
    return t + L"'";
}

// An object's places as the library gives them: geocentric, where Stellarium gives the
// observer's (topocentric) places of the bodies of the solar system.
struct Place {
    double ra, dec, ra2000, dec2000, elong, elat, elong2000, elat2000, glong, glat;
};

void ToVector(double ra, double dec, double r, double v[3]) {
    v[0] = r * std::cos(dec * kRad) * std::cos(ra * kRad);
    v[1] = r * std::cos(dec * kRad) * std::sin(ra * kRad);
    v[2] = r * std::sin(dec * kRad);
}

void FromVector(const double v[3], double* ra, double* dec) {
    *ra = Norm360(std::atan2(v[1], v[0]) / kRad);
    *dec = std::atan2(v[2], std::hypot(v[0], v[1])) / kRad;
}

// Galactic longitude and latitude of a J2000 place (the IAU 1958 pole, as in Hipparcos).
void ToGalactic(double ra, double dec, double* l, double* b) {
    static const double m[3][3] = {{-0.0548755604, -0.8734370902, -0.4838350155},
                                   {0.4941094279, -0.4448296300, 0.7469822445},
                                   {-0.8676661490, -0.1980763734, 0.4559837762}};
    double v[3], g[3];
    ToVector(ra, dec, 1.0, v);
    for (int i = 0; i < 3; ++i) g[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    FromVector(g, l, b);
}

// Moves a topocentric place (degrees, distance au) to the Earth's centre: the observer's
// vector added, in the place's own frame.
void ToGeocentric(double* ra, double* dec, double distance, const double observer[3]) {
    double v[3];
    ToVector(*ra, *dec, distance, v);
    for (int i = 0; i < 3; ++i) v[i] += observer[i];
    FromVector(v, ra, dec);
}

// The observer about the Earth's centre (au), equator and equinox of date (WGS 84).
void ObserverOfDate(const InfoContext& at, double v[3]) {
    const double phi = at.latitude * kRad, u = std::atan(0.99664719 * std::tan(phi));
    const double h = at.height / (sky::kEarthRadiusKm * 1000.0);
    const double rhoSin = 0.99664719 * std::sin(u) + h * std::sin(phi),
                 rhoCos = std::cos(u) + h * std::cos(phi);
    const double lst = GetLst(at.jdUt, at.longitude) * kRad;
    v[0] = kEarthRadiusAu * rhoCos * std::cos(lst);
    v[1] = kEarthRadiusAu * rhoCos * std::sin(lst);
    v[2] = kEarthRadiusAu * rhoSin;
}

// Takes the annual aberration out of a J2000 place (degrees): Stellarium's J2000 places
// are apparent directions in that frame, the library's are astrometric (Meeus, 23.3).
void RemoveAberration(double jdTt, double* ra, double* dec) {
    const double T = (jdTt - 2451545.0) / 36525.0;
    double lbr[2] = {0, 0};
    CalcPlanetLbr(-3, jdTt, lbr, nullptr);
    const double sun = (lbr[0] + 180.0) * kRad, k = 20.49552 / 3600.0,
                 e = 0.016708634 - 0.000042037 * T;
    const double pi = (102.93735 + 1.71946 * T) * kRad, eps = GetMeanObliquity(2451545.0) * kRad;
    const double a = *ra * kRad, d = *dec * kRad;
    const double dRa =
        (-k * (std::cos(a) * std::cos(sun) * std::cos(eps) + std::sin(a) * std::sin(sun)) +
         e * k * (std::cos(a) * std::cos(pi) * std::cos(eps) + std::sin(a) * std::sin(pi))) /
        std::cos(d);
    const double tilt = std::tan(eps) * std::cos(d) - std::sin(a) * std::sin(d);
    const double dDec =
        -k * (std::cos(sun) * std::cos(eps) * tilt + std::cos(a) * std::sin(d) * std::sin(sun)) +
        e * k * (std::cos(pi) * std::cos(eps) * tilt + std::cos(a) * std::sin(d) * std::sin(pi));
    *ra = Norm360(*ra - dRa);
    *dec -= dDec;
}

Place PlaceOf(const nlohmann::json& j, const InfoContext& at, bool moon) {
    Place p{Number(j, "ra"),    Number(j, "dec"),  Number(j, "raJ2000"),    Number(j, "decJ2000"),
            Number(j, "elong"), Number(j, "elat"), Number(j, "elongJ2000"), Number(j, "elatJ2000"),
            Number(j, "glong"), Number(j, "glat")};
    const double jdTt = UtToDt(at.jdUt);
    const double distance = Number(j, "distance");
    const double topoRa = p.ra, topoDec = p.dec, raw2000Ra = p.ra2000, raw2000Dec = p.dec2000;
    if (distance > 0) {
        // The bodies of the solar system: seen from the Earth's centre.
        double ofDate[3], obsRa = 0, obsDec = 0, of2000[3];
        ObserverOfDate(at, ofDate);
        FromVector(ofDate, &obsRa, &obsDec);
        Precess(jdTt, 2451545.0, &obsRa, &obsDec);
        ToVector(obsRa, obsDec, kEarthRadiusAu, of2000);
        ToGeocentric(&p.ra, &p.dec, distance, ofDate);
        ToGeocentric(&p.ra2000, &p.dec2000, distance, of2000);
    }
    // The Moon travels with the Earth: Stellarium gives it no annual aberration.
    if (!moon) RemoveAberration(jdTt, &p.ra2000, &p.dec2000);
    // The ecliptic and galactic places move as the equatorial ones did.
    const auto shift = [](double* lon, double* lat, double lon0, double lat0, double lon1,
                          double lat1) {
        *lon = Norm360(*lon + std::remainder(lon1 - lon0, 360.0));
        *lat += lat1 - lat0;
    };
    double l0, b0, l1, b1;
    const double eps = GetMeanObliquity(jdTt);
    ToEcliptic(topoRa, topoDec, eps, &l0, &b0);
    ToEcliptic(p.ra, p.dec, eps, &l1, &b1);
    shift(&p.elong, &p.elat, l0, b0, l1, b1);
    ToEcliptic(raw2000Ra, raw2000Dec, GetMeanObliquity(2451545.0), &l0, &b0);
    ToEcliptic(p.ra2000, p.dec2000, GetMeanObliquity(2451545.0), &l1, &b1);
    shift(&p.elong2000, &p.elat2000, l0, b0, l1, b1);
    ToGalactic(raw2000Ra, raw2000Dec, &l0, &b0);
    ToGalactic(p.ra2000, p.dec2000, &l1, &b1);
    shift(&p.glong, &p.glat, l0, b0, l1, b1);
    return p;
}

// Distance from the Earth's centre (au) of a body at a topocentric apparent place.
double Geocentric(const nlohmann::json& j, const InfoContext& at) {
    double v[3], observer[3];
    ToVector(Number(j, "ra"), Number(j, "dec"), Number(j, "distance"), v);
    ObserverOfDate(at, observer);
    return std::sqrt((v[0] + observer[0]) * (v[0] + observer[0]) +
                     (v[1] + observer[1]) * (v[1] + observer[1]) +
                     (v[2] + observer[2]) * (v[2] + observer[2]));
}

CString PositionAnswer(const nlohmann::json& j, const CString& what, const InfoContext& at,
                       bool moon) {
    const double jdTt = UtToDt(at.jdUt);
    const Place place = PlaceOf(j, at, moon);
    const double ra2000 = place.ra2000, dec2000 = place.dec2000;
    if (what == L"ra") return Num(Norm360(ra2000) / 15.0);
    if (what == L"dec") return Num(dec2000);
    if (what == L"equatorialdateapp.ra") return Num(Norm360(place.ra) / 15.0);
    if (what == L"equatorialdateapp.dec") return Num(place.dec);
    if (StartsWith(what, L"equatorialb1950.")) {
        double ra = ra2000, dec = dec2000;
        Precess(2451545.0, kB1950, &ra, &dec);
        return Num(what == L"equatorialb1950.ra" ? Norm360(ra) / 15.0 : dec);
    }
    if (StartsWith(what, L"ecliptical.")) {
        double ra = ra2000, dec = dec2000, lon = 0, lat = 0;
        Precess(2451545.0, jdTt, &ra, &dec);
        ToEcliptic(ra, dec, GetMeanObliquity(jdTt), &lon, &lat);
        return Num(what == L"ecliptical.lambda" ? lon : lat);
    }
    if (what == L"eclipticdateapp.lambda") return Num(Norm360(place.elong));
    if (what == L"eclipticdateapp.beta") return Num(place.elat);
    if (what == L"eclipticj2000.lambda") return Num(Norm360(place.elong2000));
    if (what == L"eclipticj2000.beta") return Num(place.elat2000);
    if (what == L"galactical.longitude") return Num(Norm360(place.glong));
    if (what == L"galactical.latitude") return Num(place.glat);
    // Stellarium's azimuth runs from the north through the east, the library's from the south.
    if (what == L"altitude") return Num(Number(j, "altitude-geometric"));
    if (what == L"azimuth") return Num(Norm360(Number(j, "azimuth-geometric") + 180.0));
    if (what == L"airmass") return Num(GetAirmass(Number(j, "altitude-geometric")));
    if (what == L"constellation" || what == L"constellation.abbreviation")
        return CString(Text(j, "iauConstellation").c_str());
    if (what == L"parallacticangle") return Num(Number(j, "parallacticAngle"), L"%.4f");
    if (what == L"extinctedmagnitude") {
        const double m = Number(j, "vmage");
        return m >= 99 ? CString(L"*") : Num(m, L"%.3f");
    }
    if (what == L"lighttime") {
        const double d = Number(j, "distance");
        return d > 0 ? Num(Geocentric(j, at) * kLightSecondsPerAu, L"%.4f") : CString();
    }
    if (what == L"phaseangle") {
        const double p = Number(j, "phase-angle");
        return std::isfinite(p) ? Num(p / kRad) : CString();
    }
    return CString();
}

}  // namespace

void Precess(double jdFrom, double jdTo, double* ra, double* dec) {
    const double T = (jdFrom - 2451545.0) / 36525.0, t = (jdTo - jdFrom) / 36525.0;
    const double as = kRad / 3600.0;
    const double zeta = ((2306.2181 + 1.39656 * T - 0.000139 * T * T) * t +
                         (0.30188 - 0.000344 * T) * t * t + 0.017998 * t * t * t) *
                        as;
    const double z = ((2306.2181 + 1.39656 * T - 0.000139 * T * T) * t +
                      (1.09468 + 0.000066 * T) * t * t + 0.018203 * t * t * t) *
                     as;
    const double theta = ((2004.3109 - 0.85330 * T - 0.000217 * T * T) * t -
                          (0.42665 + 0.000217 * T) * t * t - 0.041833 * t * t * t) *
                         as;
    const double a = *ra * kRad, d = *dec * kRad;
    const double A = std::cos(d) * std::sin(a + zeta);
    const double B =
        std::cos(theta) * std::cos(d) * std::cos(a + zeta) - std::sin(theta) * std::sin(d);
    const double C =
        std::sin(theta) * std::cos(d) * std::cos(a + zeta) + std::cos(theta) * std::sin(d);
    *ra = Norm360((std::atan2(A, B) + z) / kRad);
    *dec = std::asin(std::fmax(-1.0, std::fmin(1.0, C))) / kRad;
}

double JdOfLocalHour(double jdUt, double zone, double hour) {
    if (!std::isfinite(hour) || hour < 0 || hour > 24) return NAN;
    const double midnight =
        std::floor(jdUt + zone / 24.0 + 0.5) - 0.5;  // local midnight, on the local clock
    return midnight + (hour - zone) / 24.0;
}

CString AnswerFromInfo(const nlohmann::json& j, const CString& path, const CString& p,
                       const InfoContext& at) {
    if (!j.is_object() || !Flag(j, "found", true)) return CString();
    const Kind kind = KindOf(path);
    const bool star = StartsWith(path, L"star."), deepSky = StartsWith(path, L"deepskyobject.");
    const std::string name = Text(j, "name"), localized = Text(j, "localized-name");
    if (StartsWith(p, L"position.")) return PositionAnswer(j, p.Mid(9), at, kind == Kind::Moon);
    if (StartsWith(p, L"jd.")) {
        double events[3];
        Events(j, at, events);
        const CString e = p.Mid(3);
        const int i = e == L"rise" || e == L"nextrise"         ? 0
                      : e == L"transit" || e == L"nexttransit" ? 1
                      : e == L"set" || e == L"nextset"         ? 2
                                                               : -1;
        if (e == L"observingwindow") return L"*";
        if (i < 0) return CString();
        return StartsWith(e, L"next") ? Num(Next(events[i], at.jdUt, kind), L"%.6f")
                                      : Num(events[i]);
    }
    if (p.IsEmpty() || p == L"englishname" || (p == L"name" && !star))
        return CString((star && localized == name ? std::string()
                        : localized.empty()       ? name
                                                  : localized)
                           .c_str());
    if (p == L"name") return CString(localized == name ? "" : localized.c_str());
    if (p == L"japanesename") {
        const wchar_t* ja = JapaneseNameOf(path);
        return ja ? CString(ja) : CString();
    }
    if (p == L"provenance") return L"Stellarium";
    if (p == L"magnitude") {
        const double m = Number(j, "vmag");
        return !(m < 99) ? CString(L"*") : Num(m, star ? L"%.2f" : deepSky ? L"%.1f" : L"%.3f");
    }
    if (star) {
        if (p == L"hipparcosnumber") return path.Mid(9);
        if (p == L"constellation.abbreviation") return CString(Text(j, "iauConstellation").c_str());
        if (p == L"magnitude.bv") return Num(Number(j, "bV"), L"%.3f");
        if (p == L"magnitude.bt" || p == L"magnitude.vt" || p == L"propermotion.ra" ||
            p == L"propermotion.dec")
            return L"*";
        if (p == L"pi") return Num(Number(j, "parallax") * 1000.0, L"%.2f");  // arc seconds to mas
        if (p == L"spectraltype") return CString(Text(j, "spectral-class").c_str());
        return CString();
    }
    if (deepSky) {
        const CString own = DesignationOf(path);
        if (p == L"catalognumber" || p == L"number") return own;
        if (p == L"subcatalognumber.strings")
            return OtherDesignations(Text(j, "designations"), own);
        if (p == L"type.name") return DeepSkyType(Text(j, "object-type"));
        if (p == L"size") {
            const double d = Number(j, "size-dd");
            return d > 0 ? Minutes(d * 60.0) : CString(L"*");
        }
        return CString();
    }
    if (kind == Kind::Fixed) return CString();  // a meteor shower's other properties
    // The Sun, the Moon and the planets.
    const double distance = Number(j, "distance");
    const double geo = distance > 0 ? Geocentric(j, at) : NAN;
    const double elongation = Number(j, "elongation") / kRad;
    if (p == L"dm") {
        const double d = Number(j, "size-dd");
        return Num(kind == Kind::Planet ? d * 3600.0 : d, L"%.6f");
    }
    if (p == L"physicaltable.k")
        return kind == Kind::Sun ? Num(1.0, L"%.6f") : Num(Number(j, "phase"), L"%.6f");
    // The Moon's distances in km, the others' in au.
    const double unit = kind == Kind::Moon ? kAuKm : 1.0;
    if (p == L"geocentricdistance") return Num(geo * unit);
    if (p == L"topocentricdistance") return Num(distance * unit);
    if (p == L"heliocentricdistance") {
        if (kind == Kind::Sun) return CString();
        double R = at.sunDistance;
        if (!std::isfinite(R)) CalcPlanetLbr(-3, UtToDt(at.jdUt), nullptr, &R);
        return Num(std::sqrt(R * R + geo * geo - 2 * R * geo * std::cos(elongation * kRad)));
    }
    if (p == L"solarelongation") return kind == Kind::Sun ? CString() : Num(elongation);
    if (p == L"age") return kind == Kind::Moon ? Num(GetMoonAge(at.jdUt), L"%.4f") : CString();
    if (p == L"eclipsmagnitude") {
        if (kind == Kind::Moon) return Num(Number(j, "umbral-eclipse-magnitude"), L"%.4f");
        if (kind == Kind::Sun) {
            const double m = Number(j, "solar-eclipse-magnitude");
            return Num(std::isfinite(m) ? m : 0.0, L"%.4f");
        }
        return CString();
    }
    double a = 0, e = 0;
    if (Elements(path, &a, &e)) {
        if (p == L"semimajoraxis") return Num(a);
        if (p == L"eccentricity") return Num(e);
        if (p == L"revolutionperiod") return Num(std::pow(a, 1.5), L"%.6f");
    }
    // Central meridian and latitude: the Moon's from its libration.
    const bool moon = kind == Kind::Moon;
    if (p == L"physicaltable.cm")
        return Num(Norm360(Number(j, moon ? "libration_l" : "central_l")), L"%.4f");
    if (p == L"physicaltable.de")
        return Num(Number(j, moon ? "libration_b" : "central_b"), L"%.4f");
    return CString();
}

CString AnswerFromInfo(const std::string& infoJson, const CString& path, const CString& property,
                       const InfoContext& at) {
    const nlohmann::json info = nlohmann::json::parse(infoJson, nullptr, false);
    return info.is_discarded() ? CString() : AnswerFromInfo(info, path, property, at);
}

}  // namespace stellarium
