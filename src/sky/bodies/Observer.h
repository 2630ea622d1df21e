// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The sky seen from a body other than the Earth: from its centre, or from a site on its
/// surface where the body has a rotation model (the Moon and Mars, IAU WGCCRE 2009), so the
/// Earth, the Sun and the planets get their places, horizon, rise and set from there.
#include "platform/String.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// An observer away from the Earth. On the surface: planetocentric east longitude and
/// latitude (degrees) and the height (m) above the body's mean sphere.
struct BodyObserver {
    Body body = Body::Earth;  ///< the body it stands on
    bool surface = false;     ///< on the surface at site, else at the centre
    Site site;                ///< the site on the surface
};

/// The body of a location path ("Solar.Planet.Mars", "Solar.Planet.Earth.Satellite.Moon",
/// "Solar.Sun", "Solar.Planet.Earth", any case); false for paths of no known body.
bool ObserverBody(const CString& path, Body* body);
/// Whether the body has a rotation model here, so a site on it has a horizon.
bool HasRotationModel(Body body);

/// The observer's heliocentric position, J2000 equatorial, au, at a TT Julian Day.
Vec ObserverAt(const BodyObserver& o, double jdTt);

/// The place of a body seen by the observer: the J2000 direction with light time, the other
/// systems from it with aberration by the observer's motion; the local horizon on a surface
/// (NaN at a centre; azimuth from the south through the west); geocentricDistance is the
/// distance from the body's centre and topocentricDistance from the site; magnitude and
/// diameter scaled from the Earth's view by distance. withEvents adds rise, transit and set
/// of the current or next pass above the site's horizon (the centre at altitude 0, no
/// atmosphere) where the body has a surface site.
BodyPlace PlaceFrom(const BodyObserver& o, Body target, double jdUt, bool withEvents);

}  // namespace sky
