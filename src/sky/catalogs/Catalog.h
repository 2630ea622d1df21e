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

struct Star {
    int hip = 0;
    /// Place, J2000, degrees.
    /// @{
    double ra = 0.0, dec = 0.0;
    /// @}
    double mag = 0.0, bv = NAN;
    CString constellation;  ///< abbreviation
    CString bayer, flamsteed, english, japanese;
};

struct Constellation {
    CString abbreviation, latin, english, japanese;
    /// Where its name stands, J2000 degrees.
    /// @{
    double ra = 0.0, dec = 0.0;
    /// @}
};

struct DeepSky {
    int messier = 0;
    CString ngc, type, english, japanese;
    /// Place (J2000, degrees), magnitude and size (arc minutes).
    /// @{
    double ra = 0.0, dec = 0.0, mag = NAN, size = NAN;
    /// @}
    CString sizeText;  ///< "66x60": arc minutes
};

/// A body on a Keplerian orbit (J2000 ecliptic elements, degrees, au, degrees a day).
struct Orbit {
    CString id, english, japanese;
    double a = 0, e = 0, i = 0, M = 0, w = 0, node = 0, n = 0, epoch = 0, H = NAN;
};

class Catalog {
public:
    /// Reads the text written by tools/skydata; returns the number of records read.
    int Load(const char* path);
    const Star* FindStar(int hip) const;
    const Constellation* FindConstellation(const CString& abbreviation) const;
    const DeepSky* FindMessier(int number) const;
    const Orbit* FindOrbit(const CString& englishName) const;
    const std::vector<Star>& Stars() const { return m_stars; }
    const std::vector<Constellation>& Constellations() const { return m_constellations; }
    const std::vector<DeepSky>& Messier() const { return m_messier; }
    const std::vector<Orbit>& Orbits() const { return m_orbits; }

private:
    std::vector<Star> m_stars;
    std::vector<Constellation> m_constellations;
    std::vector<DeepSky> m_messier;
    std::vector<Orbit> m_orbits;
    std::unordered_map<int, size_t> m_starIndex;
};

}  // namespace sky
