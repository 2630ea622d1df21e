// SPDX-License-Identifier: LGPL-3.0-or-later
// The Lagrangian points of the Sun-Earth and Earth-Moon systems and the Earth's shadow at
// the Moon's distance, as a source of the sky: "Solar.Planet.Earth.LagrangianPoint.L2",
// "Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L4", "Solar.Planet.Earth.Umbra".
// Places are geometric, as seen from the Earth's centre at the instant.
#include <cmath>
#include <memory>

#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/Lagrange.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

// Gravitational parameters, m^3/s^2 (IAU 2009 / DE430).
constexpr double kGmSun = 1.32712440041e20, kGmEarth = 3.986004418e14, kGmMoon = 4.9028e12;
constexpr double kSunRadiusKm = 696000.0;

// The position on the line of the two bodies, in units of their distance from the
// barycentre (primary at -mu, secondary at 1 - mu), where the pull of both balances the
// rotation: one root in each of the three intervals, found by bisection.
double Collinear(int point, double mu) {
    const auto f = [mu](double r) {
        const double a = r + mu, b = r - 1.0 + mu;
        return r - (1.0 - mu) * a / std::pow(std::fabs(a), 3) - mu * b / std::pow(std::fabs(b), 3);
    };
    double lo = point == 1 ? -mu + 1e-9 : point == 2 ? 1.0 - mu + 1e-9 : -2.0;
    double hi = point == 1 ? 1.0 - mu - 1e-9 : point == 2 ? 2.0 : -mu - 1e-9;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if ((f(mid) > 0) == (f(hi) > 0))
            hi = mid;
        else
            lo = mid;
    }
    return 0.5 * (lo + hi);
}

Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A vector turned by angle (radians) about the unit axis n.
Vec Turned(const Vec& a, const Vec& n, double angle) {
    return a * std::cos(angle) + Cross(n, a) * std::sin(angle) +
           n * (Dot(n, a) * (1.0 - std::cos(angle)));
}

// The point of a system whose secondary is at s from the primary, moving with velocity v
// relative to it: relative to the primary.
Vec PointOf(int point, double mu, const Vec& s, const Vec& v) {
    if (point <= 3) return s * (Collinear(point, mu) + mu);
    Vec n = Cross(s, v);
    n = n * (1.0 / Norm(n));
    return Turned(s, n, (point == 4 ? 60.0 : -60.0) * kRad);
}

}  // namespace

Vec LagrangianPoint(bool earthMoon, int point, double jdTt) {
    if (point < 1 || point > 5) return Vec{NAN, NAN, NAN};
    if (earthMoon) {
        const Vec m = MoonAt(jdTt);
        const Vec v = (MoonAt(jdTt + 0.01) - MoonAt(jdTt - 0.01)) * (1.0 / 0.02);
        return PointOf(point, kGmMoon / (kGmEarth + kGmMoon), m, v);
    }
    Vec velocity{};
    const Vec earth = EarthAndVelocity(jdTt, &velocity);
    const double mu = (kGmEarth + kGmMoon) / (kGmSun + kGmEarth + kGmMoon);
    // From the Sun, then seen from the Earth.
    return PointOf(point, mu, earth, velocity) - earth;
}

Shadow EarthShadow(double jdTt) {
    const Vec sun = -1.0 * EarthAt(jdTt);
    const double dSun = Norm(sun) * kKmPerAu, dMoon = Norm(MoonAt(jdTt)) * kKmPerAu;
    const double parallaxMoon = std::asin(kEarthRadiusKm / dMoon),
                 parallaxSun = std::asin(kEarthRadiusKm / dSun);
    const double sunRadius = std::asin(kSunRadiusKm / dSun);
    Shadow s;
    s.centre = sun * (-dMoon / (Norm(sun) * kKmPerAu) / kKmPerAu);
    s.distanceKm = dMoon;
    s.umbra = (parallaxMoon + parallaxSun - sunRadius) / kRad;
    s.penumbra = (parallaxMoon + parallaxSun + sunRadius) / kRad;
    return s;
}

namespace {

class LagrangeSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        static const CString kSunEarth = L"solar.planet.earth.lagrangianpoint.";
        static const CString kEarthMoon = L"solar.planet.earth.satellite.moon.lagrangianpoint.";
        static const CString kUmbra = L"solar.planet.earth.umbra";
        if (!HasPrefix(q, L"solar.planet.earth.")) return false;
        const double jdTt = TtOf(at.jdUt);
        if (HasPrefix(q, kUmbra)) {
            if (q.GetLength() > kUmbra.GetLength() && q[kUmbra.GetLength()] != L'.') return false;
            const CString property = q.Mid(kUmbra.GetLength() + 1);
            const Shadow s = EarthShadow(jdTt);
            if (property.IsEmpty() || property == L"englishname")
                *answer = L"Umbra";
            else if (property == L"japanesename")
                *answer = L"地球の本影";
            else if (property == L"radius.umbra")
                *answer = sky::Answer(s.umbra, L"%.6f");
            else if (property == L"radius.penumbra")
                *answer = sky::Answer(s.penumbra, L"%.6f");
            else if (property == L"geocentricdistance")
                *answer = sky::Answer(s.distanceKm, L"%.1f");
            else
                *answer = Place(s.centre, at, jdTt, property);
            return true;
        }
        const bool moon = HasPrefix(q, kEarthMoon);
        if (!moon && !HasPrefix(q, kSunEarth)) return false;
        CString name, property;
        if (!NextElement(q, (moon ? kEarthMoon : kSunEarth).GetLength(), &name, &property))
            return false;
        if (name.GetLength() != 2 || name[0] != L'l' || name[1] < L'1' || name[1] > L'5')
            return false;
        const int point = name[1] - L'0';
        CString upper = name;
        upper.MakeUpper();
        if (property.IsEmpty() || property == L"englishname" || property == L"japanesename") {
            *answer = upper;
            return true;
        }
        const Vec geo = LagrangianPoint(moon, point, jdTt);
        if (property == L"geocentricdistance")
            *answer = sky::Answer(Norm(geo) * (moon ? kKmPerAu : 1.0), L"%.8f");
        else
            *answer = Place(geo, at, jdTt, property);
        return true;
    }

    void List(std::vector<Entry>& out) override {
        for (int i = 1; i <= 5; ++i) {
            CString n;
            n.Format(L"L%d", i);
            out.push_back(
                Entry{L"Solar.Planet.Earth.LagrangianPoint." + n, {n}, L"lagrangian point", NAN});
            out.push_back(Entry{L"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint." + n,
                                {n},
                                L"lagrangian point",
                                NAN});
        }
        out.push_back(
            Entry{L"Solar.Planet.Earth.Umbra", {L"Umbra", L"地球の本影"}, L"shadow", NAN});
    }

private:
    static CString Place(const Vec& geo, const Context& at, double jdTt, const CString& property) {
        if (!HasPrefix(property, L"position.")) return CString();
        BodyPlace p;
        FillPlace(&p, geo, geo, at.jdUt, jdTt, at.site);
        return PlaceAnswer(p, property);
    }
};

const SourceRegistration kLagrange([] { return std::make_unique<LagrangeSource>(); },
                                   {L"solar.planet.earth."});

}  // namespace

}  // namespace sky
