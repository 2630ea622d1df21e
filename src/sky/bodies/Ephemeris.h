// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The built-in sky's ephemeris: the places and figures the click texts ask of the Sun,
/// the Moon, the planets and Pluto, and of fixed directions (stars, clicked points), for
/// one instant and one observer. Internal to the library; CSkyHost answers from it.
#include <cmath>
#include <functional>

#include "platform/Export.h"

namespace sky {

/// Kepler: a body on the Keplerian orbit passed with it.
enum class Body {
    Sun,
    Moon,
    Mercury,
    Venus,
    Earth,
    Mars,
    Jupiter,
    Saturn,
    Uranus,
    Neptune,
    Pluto,
    Kepler
};

/// Elements of a Keplerian orbit: J2000 ecliptic angles in degrees, a in au, the mean
/// motion n in degrees a day, the mean anomaly M at the epoch (TT Julian Day); H and G the
/// absolute magnitude and slope; the mean diameter in km (NaN: unknown).
struct Kepler {
    /// Semi-major axis, eccentricity, inclination, mean anomaly, argument of perihelion,
    /// ascending node, mean motion, epoch, absolute magnitude and slope (see above).
    /// @{
    double a = 0, e = 0, i = 0, M = 0, w = 0, node = 0, n = 0, epoch = 0, H = NAN, G = 0.15;
    /// @}
    double diameterKm = NAN;  ///< mean diameter, km; NaN when unknown
};

/// A rectangular vector (au unless said otherwise).
struct Vec {
    /// The components.
    /// @{
    double x, y, z;
    /// @}
};

/// The observer: east longitude and latitude in degrees, height in metres.
struct Site {
    double longitude = 0.0;  ///< degrees east
    double latitude = 0.0;   ///< degrees north
    double height = 0.0;     ///< metres
};

/// A pair of angles in degrees: (right ascension, declination) or (longitude, latitude).
struct Sphere {
    double lon = NAN;  ///< right ascension or longitude, degrees
    double lat = NAN;  ///< declination or latitude, degrees
};

/// The systems a place is given in besides the apparent one; each is built from the place's
/// vectors when asked for.
enum class Frame {
    Equatorial2000,  ///< astrometric, mean equator and equinox J2000
    Equatorial1950,  ///< astrometric, precessed to B1950
    EclipticMean,    ///< apparent, mean ecliptic and equinox of date
    EclipticApp,     ///< apparent, true ecliptic and equinox of date
    Ecliptic2000,    ///< astrometric, ecliptic J2000
    Galactic,        ///< galactic longitude and latitude
};

/// One body at one instant. Distances in au (the Moon's in km); rise, transit and set as
/// UT Julian Days, NaN when the body does not rise or set in the pass.
struct BodyPlace {
    Sphere apparent;                    ///< apparent geocentric, true equator and equinox of date
    double altitude = NAN;              ///< topocentric, without refraction
    double azimuth = NAN;               ///< counted from the south through the west
    double geocentricDistance = NAN;    ///< from the Earth's centre
    double topocentricDistance = NAN;   ///< from the site
    double heliocentricDistance = NAN;  ///< from the Sun
    double magnitude = NAN;             ///< visual magnitude
    double diameter = NAN;              ///< arc seconds
    double illuminated = NAN;           ///< fraction 0..1
    double elongation = NAN;            ///< from the Sun, degrees
    double phaseAngle = NAN;            ///< Sun-body-Earth angle, degrees
    double lightTime = NAN;             ///< seconds, from the body's light-time corrected distance
    /// Rise, transit and set (see above).
    /// @{
    double rise = NAN, transit = NAN, set = NAN;
    /// @}
    /// The place in another system (not finite where the vectors below are not).
    Sphere In(Frame frame) const;
    /// What the other systems are built from: the astrometric geocentric vector (J2000
    /// axes), the apparent one on the mean and on the true equator of date, and the mean and
    /// true obliquity of date (radians).
    /// @{
    Vec astrometric{NAN, NAN, NAN}, meanOfDate{NAN, NAN, NAN}, trueOfDate{NAN, NAN, NAN};
    double eps0 = NAN, eps = NAN;
    /// @}
};

/// The place of a body; withEvents adds rise, transit and set of the pass whose transit is
/// nearest to the instant.
BodyPlace PlaceOf(Body body, double jdUt, const Site& site, bool withEvents,
                  const Kepler* orbit = nullptr);

/// The place of a fixed J2000 direction (a star, a clicked point), with rise, transit and
/// set when withEvents is set.
BodyPlace FixedPlace(double ra2000, double dec2000, double jdUt, const Site& site, bool withEvents);
/// The same for a J2000 direction given as a vector (of any length).
BodyPlace FixedPlace(const Vec& direction2000, double jdUt, const Site& site, bool withEvents);

/// The place of a body that moves about the Sun, whose heliocentric position (J2000
/// equatorial, au) at a TT Julian Day is helio(jdTt): light time, aberration, the horizon,
/// distances, elongation, phase angle, illuminated fraction and, with withEvents, rise,
/// transit and set. Magnitude and diameter are left to the caller.
BodyPlace PlaceOfHeliocentric(const std::function<Vec(double)>& helio, double jdUt,
                              const Site& site, bool withEvents);
/// Fills the places and the horizon of a body from its astrometric geocentric J2000 vector
/// geo and its apparent one (aberration applied; the same for bodies that travel with the
/// Earth), at jdUt (jdTt the same instant in TT). topocentricDistance is set in geo's unit.
void FillPlace(BodyPlace* p, const Vec& geo, const Vec& apparentGeo, double jdUt, double jdTt,
               const Site& site);
/// The same from the astrometric vector alone: the Sun's light deflection and the annual
/// aberration are applied here, and the site's diurnal aberration in the horizon.
ZCMCOM_API void FillAstrometric(BodyPlace* p, const Vec& geo, double jdUt, double jdTt,
                                const Site& site);
/// The Earth's heliocentric position, J2000 equatorial, au, at a TT Julian Day. Positions
/// are not finite where no source holds the instant (sky/bodies/Spans.h).
Vec EarthAt(double jdTt);
/// The Moon's geometric geocentric position, J2000 equatorial, au, at a TT Julian Day.
Vec MoonAt(double jdTt);
/// A planet's (or Pluto's) heliocentric position, J2000 equatorial, au, at a TT Julian Day.
Vec HeliocentricOf(Body body, double jdTt);
/// The same with its velocity, au a day.
Vec EarthAndVelocity(double jdTt, Vec* velocity);
/// The barycentric position of the Earth (ICRF, au) and its velocity (au a day), and the
/// Sun's barycentric position and velocity, at a TT Julian Day: from DE405 where the
/// ephemeris file holds the instant, elsewhere the Earth from the theories and the Sun from
/// the IAU's model (eraEpv00).
/// @{
Vec EarthBarycentric(double jdTt, Vec* velocity = nullptr);
Vec SunBarycentric(double jdTt, Vec* velocity = nullptr);
/// @}
/// The astrometric geocentric place of the Sun, the Moon, a planet or Pluto (J2000, au):
/// the body where the light left it, the Earth where it arrives; distance, when given, gets
/// the geometric distance at the instant (au). Not finite where no source holds the instant.
ZCMCOM_API Vec AstrometricGeocentric(Body body, double jdTt, double* distance = nullptr);
/// The heliocentric position of the Sun (zero), the Moon, a planet or Pluto, J2000
/// equatorial, au, at a TT Julian Day (geometric, no light time).
Vec HeliocentricAt(Body body, double jdTt);
/// TT Julian Day of a UT one (Delta T of the library's clock).
double TtOf(double jdUt);

/// The Earth's heliocentric rectangular position, J2000 ecliptic, au.
void EarthHeliocentric(double jdUt, double xyz[3]);
/// Magnitude of the solar eclipse seen from the site, and of the Moon's umbral eclipse;
/// negative when there is none.
/// @{
double SolarEclipseMagnitude(double jdUt, const Site& site);
double LunarEclipseMagnitude(double jdUt);
/// @}
/// The local circumstances of the solar eclipse in progress at jdUt (magnitude above 0):
/// UT Julian Days of the 1st to 4th contacts of the topocentric discs and of the least
/// separation, the horizon ignored. NaN where a contact does not happen (2nd and 3rd
/// outside a total or annular phase; all when no eclipse is in progress).
struct EclipseContacts {
    /// The contacts and the maximum, UT Julian Days.
    /// @{
    double first = NAN, second = NAN, maximum = NAN, third = NAN, fourth = NAN;
    /// @}
};
/// The contacts of the solar eclipse in progress at jdUt seen from site (see above).
EclipseContacts SolarEclipseContacts(double jdUt, const Site& site);
/// Apparent motion in right ascension and declination, degrees per day.
void DailyMotion(Body body, double jdUt, const Site& site, double* dRa, double* dDec,
                 const Kepler* orbit = nullptr);
/// The face a body turns to the Earth (IAU rotation models): central meridians in degrees
/// (cm: System I, or the only one; cm2: Jupiter's System II; cm3: System III), the
/// planetocentric latitude of the Earth (de) and, for Mars, the Sun's planetocentric
/// longitude (ls). NaN where the body has no such figure here.
struct Physical {
    /// The figures named above, degrees.
    /// @{
    double cm = NAN, cm2 = NAN, cm3 = NAN, de = NAN, ls = NAN;
    /// @}
};
/// The face the body turns to the Earth at jdUt (see Physical).
Physical PhysicalOf(Body body, double jdUt);

/// The IAU abbreviation of the constellation that holds a J2000 direction ("Ori").
const char* ConstellationAt(double ra2000, double dec2000);

}  // namespace sky
