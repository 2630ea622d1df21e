// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Meteor showers: the table the sky ships (data/showers.txt), the Sun's longitude that
/// times them, and the radiant of a date (internal to the built-in sky).
#include <istream>
#include <string>
#include <vector>

namespace sky {

/// One shower. Solar longitudes and angles in degrees (J2000); drifts in degrees per degree
/// of solar longitude; NaN where the table has no value.
struct Shower {
    /// Code ("PER"), English and Japanese names, IAU number and parent body.
    /// @{
    std::string code, name, japanese, iau, parent;
    /// @}
    /// Solar longitudes of the start, the peak and the end of activity.
    /// @{
    double start = 0, peak = 0, end = 0;
    /// @}
    /// Zenithal hourly rate (below 0: unknown), entry speed (km/s) and population index.
    /// @{
    double zhr = -1, speed = 0, population = 0;
    /// @}
    /// The radiant at the peak and its drift.
    /// @{
    double ra = 0, dec = 0, dRa = 0, dDec = 0;
    /// @}
};

/// The showers of a table; each damaged line is left out and told in problems
/// ("line 7: ...").
std::vector<Shower> ReadShowers(std::istream& in, std::vector<std::string>* problems);

/// The Sun's geocentric longitude on the ecliptic J2000, degrees, at a UT Julian Day.
double SunLongitude2000(double jdUt);
/// The first UT Julian Day at or after jdUt when the Sun's longitude reaches lambda.
double NextSunLongitude(double jdUt, double lambda);
/// The radiant at the Sun's longitude lambda, drifted from the peak's (the drift held to the
/// span of activity, outside which the table tells nothing): J2000 RA and Dec, degrees.
void RadiantAt(const Shower& s, double lambda, double* ra, double* dec);

}  // namespace sky
