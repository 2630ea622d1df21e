// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The bundled catalogue of the built-in sky: stars to about magnitude 6 with their names
/// and designations, the 88 constellations, and the Messier objects (internal).
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/String.h"

namespace sky {

/// A star of the bundled catalogue.
struct Star {
    int hip = 0;  ///< Hipparcos number
    /// Place, J2000, degrees.
    /// @{
    double ra = 0.0, dec = 0.0;
    /// @}
    /// Visual magnitude and B-V colour index (NaN when unknown).
    /// @{
    double mag = 0.0, bv = NAN;
    /// @}
    CString constellation;  ///< abbreviation
    /// Bayer letter, Flamsteed number, proper names in English and Japanese (empty when
    /// none).
    /// @{
    CString bayer, flamsteed, english, japanese;
    /// @}
};

/// One of the 88 constellations.
struct Constellation {
    /// IAU abbreviation ("Ori"), Latin, English and Japanese names.
    /// @{
    CString abbreviation, latin, english, japanese;
    /// @}
    /// Where its name stands, J2000 degrees.
    /// @{
    double ra = 0.0, dec = 0.0;
    /// @}
};

/// A Messier object.
struct DeepSky {
    int messier = 0;  ///< Messier number
    /// NGC designation, type, English and Japanese names.
    /// @{
    CString ngc, type, english, japanese;
    /// @}
    /// Place (J2000, degrees), magnitude and size (arc minutes).
    /// @{
    double ra = 0.0, dec = 0.0, mag = NAN, size = NAN;
    /// @}
    CString sizeText;  ///< "66x60": arc minutes
};

/// A body on a Keplerian orbit (J2000 ecliptic elements, degrees, au, degrees a day).
struct Orbit {
    /// Identifier, English and Japanese names.
    /// @{
    CString id, english, japanese;
    /// @}
    /// Elements as in Kepler: semi-major axis, eccentricity, inclination, mean anomaly,
    /// argument of perihelion, node, mean motion, epoch (TT Julian Day), absolute magnitude.
    /// @{
    double a = 0, e = 0, i = 0, M = 0, w = 0, node = 0, n = 0, epoch = 0, H = NAN;
    /// @}
};

/// The bundled catalogue in memory: stars, constellations, Messier objects and orbits.
class Catalog {
public:
    /// Reads the text written by tools/skydata; returns the number of records read.
    int Load(const char* path);
    /// Back to the records of prefix, a catalogue this one was copied from before further
    /// Loads: what they read is dropped, and a star number they took over is prefix's again.
    void Truncate(const Catalog& prefix);
    /// A record by Hipparcos number, abbreviation (any case), Messier number or English name;
    /// nullptr when there is none.
    /// @{
    const Star* FindStar(int hip) const;
    const Constellation* FindConstellation(const CString& abbreviation) const;
    const DeepSky* FindMessier(int number) const;
    const Orbit* FindOrbit(const CString& englishName) const;
    /// @}
    /// Every record of a kind, in the file's order.
    /// @{
    const std::vector<Star>& Stars() const { return m_stars; }
    const std::vector<Constellation>& Constellations() const { return m_constellations; }
    const std::vector<DeepSky>& Messier() const { return m_messier; }
    const std::vector<Orbit>& Orbits() const { return m_orbits; }
    /// @}

private:
    std::vector<Star> m_stars;
    std::vector<Constellation> m_constellations;
    std::vector<DeepSky> m_messier;
    std::vector<Orbit> m_orbits;
    std::unordered_map<int, size_t> m_starIndex;
};

}  // namespace sky
