// SPDX-License-Identifier: LGPL-3.0-or-later
// The moons the sky knows and their positions about their planets in one frame.
#include "sky/bodies/Moons.h"

#include <cmath>

#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

// Radii and absolute magnitudes: IAU/JPL mean values.
const MoonInfo kMoons[] = {
    {Body::Mars, L"Phobos", L"フォボス", L"M1", 0, 11.08, 11.8},
    {Body::Mars, L"Deimos", L"ダイモス", L"M2", 1, 6.2, 12.89},
    {Body::Jupiter, L"Io", L"イオ", L"J1", 0, 1821.6, -1.68},
    {Body::Jupiter, L"Europa", L"エウロパ", L"J2", 1, 1560.8, -1.41},
    {Body::Jupiter, L"Ganymede", L"ガニメデ", L"J3", 2, 2631.2, -2.09},
    {Body::Jupiter, L"Callisto", L"カリスト", L"J4", 3, 2410.3, -1.05},
    {Body::Saturn, L"Mimas", L"ミマス", L"S1", 0, 198.2, 3.3},
    {Body::Saturn, L"Enceladus", L"エンケラドゥス", L"S2", 1, 252.1, 2.1},
    {Body::Saturn, L"Tethys", L"テティス", L"S3", 2, 531.1, 0.6},
    {Body::Saturn, L"Dione", L"ディオネ", L"S4", 3, 561.4, 0.8},
    {Body::Saturn, L"Rhea", L"レア", L"S5", 4, 763.8, 0.1},
    {Body::Saturn, L"Titan", L"タイタン", L"S6", 5, 2574.7, -1.28},
    {Body::Saturn, L"Hyperion", L"ヒペリオン", L"S7", 6, 135.0, 4.63},
    {Body::Saturn, L"Iapetus", L"イアペトゥス", L"S8", 7, 734.5, 1.5},
    {Body::Uranus, L"Miranda", L"ミランダ", L"U5", 0, 235.8, 3.6},
    {Body::Uranus, L"Ariel", L"アリエル", L"U1", 1, 578.9, 1.45},
    {Body::Uranus, L"Umbriel", L"ウンブリエル", L"U2", 2, 584.7, 2.10},
    {Body::Uranus, L"Titania", L"チタニア", L"U3", 3, 788.9, 1.02},
    {Body::Uranus, L"Oberon", L"オベロン", L"U4", 4, 761.4, 1.23},
};

const wchar_t* PlanetName(Body body) {
    switch (body) {
        case Body::Mars:
            return L"mars";
        case Body::Jupiter:
            return L"jupiter";
        case Body::Saturn:
            return L"saturn";
        case Body::Uranus:
            return L"uranus";
        default:
            return L"";
    }
}

}  // namespace

const MoonInfo* Moons(int* count) {
    *count = static_cast<int>(sizeof kMoons / sizeof kMoons[0]);
    return kMoons;
}

const MoonInfo* FindMoon(const CString& planetLower, const CString& moonLower) {
    for (const MoonInfo& m : kMoons) {
        CString name(m.english);
        name.MakeLower();
        if (name == moonLower && planetLower == PlanetName(m.planet)) return &m;
    }
    return nullptr;
}

Vec MoonOffset(const MoonInfo& moon, double jdTt) {
    if (moon.planet == Body::Mars) return MarsMoon(moon.index, jdTt);
    if (moon.planet == Body::Uranus) return UranusMoon(moon.index, jdTt);
    if (moon.planet == Body::Jupiter) {
        // Ecliptic of date to the equator of date, then back to J2000.
        const Vec equ = EclipticToEquatorial(GalileanMoon(moon.index, jdTt), MeanObliquity(jdTt));
        return Transpose(Precession(jdTt)) * equ;
    }
    if (moon.planet == Body::Saturn && moon.index == 6) return Hyperion(jdTt);
    constexpr double kB1950 = 2433282.4235;
    const Vec equ = EclipticToEquatorial(SaturnMoon(moon.index, jdTt), MeanObliquity(kB1950));
    return Transpose(Precession(kB1950)) * equ;
}

Vec OnEllipse(double mu, double n, double lambda, std::complex<double> z,
              std::complex<double> zeta) {
    const double axis = std::cbrt(mu / (n * n));
    const double e = std::abs(z), peri = std::arg(z);
    const double incl = 2.0 * std::asin(std::abs(zeta)), node = std::arg(zeta);
    const double M = std::remainder(lambda - peri, 2 * M_PI);
    double E = M;
    for (int it = 0; it < 8; ++it) E -= (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
    const Vec orbital{axis * (std::cos(E) - e), axis * std::sqrt(1.0 - e * e) * std::sin(E), 0.0};
    return R3(-node) * (R1(-incl) * (R3(-(peri - node)) * orbital));
}

}  // namespace sky
