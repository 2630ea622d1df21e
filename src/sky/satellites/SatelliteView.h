// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Where a satellite is and how it looks from a site: the TEME state turned Earth-fixed by
/// the sidereal angle (polar motion ignored), the point below it on the WGS-84 ellipsoid,
/// its altitude and azimuth, whether the Sun lights it (the Earth's umbra as a cone) and,
/// from a standard magnitude (at 1000 km, half lit), its visual magnitude.
#include <cmath>

#include "platform/Export.h"
#include "sky/bodies/Ephemeris.h"
#include "sky/satellites/Sgp4.h"

namespace sky {

/// A site on the WGS-84 ellipsoid, with what every look from it shares.
struct ZCMCOM_API Observer {
    /// Works out the site's Earth-fixed place.
    explicit Observer(const Site& site);
    Site site;       ///< the site
    double ecef[3];  ///< km
    /// Sines and cosines of the site's geodetic latitude and longitude.
    /// @{
    double sinLat, cosLat, sinLon, cosLon;
    /// @}
};

/// A satellite as seen from a site at one instant (see Look).
struct SatelliteLook {
    int error = kSgp4BadElements;      ///< the model's error; the rest is NaN unless 0
    double teme[3] = {NAN, NAN, NAN};  ///< km
    double ecef[3] = {NAN, NAN, NAN};  ///< km, Earth-fixed
    /// The sub-satellite point: longitude east and latitude north in degrees, height in km.
    /// @{
    double longitude = NAN, latitude = NAN, height = NAN;
    /// @}
    /// Distances from the Earth's centre and from the site, km.
    /// @{
    double geocentricKm = NAN, topocentricKm = NAN;
    /// @}
    /// Altitude and azimuth in degrees; azimuth from the north through the east.
    /// @{
    double altitude = NAN, azimuth = NAN;
    /// @}
    double sunAltitude = NAN;  ///< at the site, degrees
    bool sunlit = false;       ///< outside the Earth's umbra
    double magnitude = NAN;    ///< NaN: no standard magnitude, or in the shadow
};

/// Looks at the satellite at a UTC Julian Day (taken for UT1 by the sidereal angle).
/// stdMagnitude NaN: no magnitude. withSun false leaves the Sun, the light and the
/// magnitude out (the quick form the pass search uses).
ZCMCOM_API SatelliteLook Look(const Sgp4& model, double jdUtc, const Observer& at,
                              double stdMagnitude = NAN, bool withSun = true);

/// The Sun's geocentric direction of date (unit vector, equator and equinox of date) and
/// distance in km, to about 0.01 degree: enough for the Earth's shadow and the twilight.
ZCMCOM_API void SunOfDate(double jdUt, double dir[3], double* distanceKm);

/// A TEME vector (km) at a UTC Julian Day as a J2000 equatorial one (through the true
/// equator and equinox of date: the equation of the equinoxes, then nutation and
/// precession undone).
ZCMCOM_API Vec TemeToJ2000(const double teme[3], double jdUtc);

/// Geodetic longitude, latitude (degrees) and height (km) on WGS-84 of an Earth-fixed vector.
ZCMCOM_API void Geodetic(const double ecef[3], double* lon, double* lat, double* heightKm);

}  // namespace sky
