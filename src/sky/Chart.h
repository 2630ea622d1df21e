// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// What a sky chart needs of the built-in sky besides the places of the moving bodies: the
/// fixed objects of the bundled catalogue (stars, Messier objects, constellation names and
/// figures) and a fast turn of J2000 directions into the horizon of a site, good for drawing
/// (precession, nutation and sidereal time; no aberration or refraction).
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// An object drawn where the catalogue puts it: its path for the click texts
/// ("Star.HIP.32349", "DeepSkyObject.M.42"), the name to show, "star" or "dso", J2000
/// degrees and the magnitude (NaN: unknown).
struct ChartObject {
    CString path;      ///< the object's path, as the click texts take it
    CString name;      ///< the name to show
    CString kind;      ///< "star" or "dso"
    double ra = 0.0;   ///< J2000 right ascension, degrees
    double dec = 0.0;  ///< J2000 declination, degrees
    double mag = NAN;  ///< visual magnitude; NaN when unknown
};
/// A constellation's name and where it stands (J2000 degrees).
struct ChartLabel {
    CString name;          ///< the name to show
    CString abbreviation;  ///< the three-letter abbreviation ("Ori")
    double ra = 0.0;       ///< J2000 right ascension of the label, degrees
    double dec = 0.0;      ///< J2000 declination of the label, degrees
};
/// One segment of a constellation figure, J2000 degrees.
struct ChartSegment {
    double ra1 = 0.0;   ///< first end: right ascension, degrees
    double dec1 = 0.0;  ///< first end: declination, degrees
    double ra2 = 0.0;   ///< second end: right ascension, degrees
    double dec2 = 0.0;  ///< second end: declination, degrees
};
/// Everything fixed a chart draws.
struct ChartCatalogue {
    std::vector<ChartObject> objects;    ///< stars to magnitude 6, then the Messier objects
    std::vector<ChartLabel> labels;      ///< the constellations' names
    std::vector<ChartSegment> segments;  ///< the constellation figures
};

/// Read once per process from the bundled catalogue and data/constellines.txt; empty parts
/// when the files are missing.
ZCMCOM_API const ChartCatalogue& FixedChartObjects();

/// What a chart needs to place J2000 directions itself at an instant and site, as the
/// library reduces them: u' = normalise(u + velocity) (aberration), d = npb u' (true
/// equator and equinox of date), then the hour angle lst - RA(d) and the site's latitude.
struct ChartFrame {
    /// The instant, UT and TT Julian Days.
    /// @{
    double jdUt = 0.0, jdTt = 0.0;
    /// @}
    double lst = 0.0;         ///< local apparent sidereal time, degrees
    double npb[3][3] = {};    ///< J2000 (GCRS) to true equator and equinox of date
    double velocity[3] = {};  ///< the observer's barycentric velocity over c, J2000 axes
};

/// The frame of an instant (UT Julian Day) at a site on the Earth.
ZCMCOM_API ChartFrame ChartFrameAt(double jdUt, const Site& site);

/// The horizon of a site at an instant.
class ZCMCOM_API HorizonFrame {
public:
    /// The frame at a Julian Day (UT) for a site (east longitude and latitude, degrees).
    HorizonFrame(double jdUt, const Site& site);
    /// Altitude and azimuth (from the north through the east), degrees, of a J2000 direction.
    void ToHorizon(double ra, double dec, double* alt, double* az) const;
    /// The J2000 direction (degrees) of an altitude and azimuth.
    void ToJ2000(double alt, double az, double* ra, double* dec) const;

private:
    double m[3][3];  // J2000 equatorial to (south, east, zenith)
};

}  // namespace sky
