// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The moons of Mars and the major moons of Jupiter, Saturn and Uranus: their places about
/// their planets (internal to the built-in sky).
#include <complex>

#include "platform/String.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// One moon the sky knows: its planet, its names and its number in the planet's order of
/// discovery ("I", "XIV"), its radius in km and its absolute magnitude.
struct MoonInfo {
    Body planet;               ///< the planet it circles
    const wchar_t* english;    ///< English name
    const wchar_t* japanese;   ///< Japanese name
    const wchar_t* number;     ///< Roman numeral
    int index;                 ///< within its planet's theory
    double radiusKm;           ///< mean radius, km
    double absoluteMagnitude;  ///< V at 1 au from the Sun and the Earth, full phase
};

/// Every moon, in the planets' order and each planet's moons outwards.
const MoonInfo* Moons(int* count);
/// A moon by its planet's and its own English names in lower case ("jupiter", "io");
/// nullptr when the sky does not know it.
const MoonInfo* FindMoon(const CString& planetLower, const CString& moonLower);

/// The moon's position about its planet at a TT Julian Day: J2000 equatorial, au.
Vec MoonOffset(const MoonInfo& moon, double jdTt);

/// The Galilean moons by the theory E5 in its higher-accuracy form (0 Io .. 3 Callisto):
/// ecliptic and equinox of date, au.
Vec GalileanMoon(int index, double jdTt);
/// Saturn's major moons (0 Mimas .. 5 Titan, 7 Iapetus): ecliptic and equinox B1950, au;
/// NaN for Hyperion (6), which has a theory of its own.
Vec SaturnMoon(int index, double jdTt);
/// Hyperion by TASS 1.7: J2000 equatorial, au.
Vec Hyperion(double jdTt);
/// Mars' moons (0 Phobos, 1 Deimos): J2000 equatorial, au.
Vec MarsMoon(int index, double jdTt);
/// Uranus' five major moons by GUST86 (0 Miranda, 1 Ariel, 2 Umbriel, 3 Titania, 4 Oberon):
/// J2000 equatorial, au.
Vec UranusMoon(int index, double jdTt);

/// A moon on the ellipse of its mean motion n (rad/day) about a body of GM mu (au^3/day^2),
/// mean longitude lambda, eccentricity vector z = e exp(i varpi) and inclination vector
/// zeta = sin(i/2) exp(i node), in the frame these are referred to; au.
Vec OnEllipse(double mu, double n, double lambda, std::complex<double> z,
              std::complex<double> zeta);

}  // namespace sky
