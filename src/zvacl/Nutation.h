// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Nutation in longitude and obliquity (IAU 1980 theory, the 63 largest terms) and the
/// mean obliquity of the ecliptic. Private to zvacl.

namespace zvacl {

struct Nutation {
    double dPsi;     ///< nutation in longitude, degrees
    double dEps;     ///< nutation in obliquity, degrees
    double meanEps;  ///< mean obliquity of the ecliptic, degrees
    double omega;    ///< longitude of the Moon's ascending node, degrees
};

Nutation ComputeNutation(double jdTt);

}  // namespace zvacl
