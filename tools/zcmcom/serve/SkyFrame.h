// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Catalogue stars placed the way the page places them from /api/catalog and the frame of
// /api/sky: proper motion to the instant, aberration, precession-nutation, sidereal time;
// refraction separately. The server's star places are these, so both agree to the digit.
#include "sky/Chart.h"

namespace serve {

// The standard atmosphere of the texts' refracted altitudes.
constexpr double kRefractionTempC = 10.0, kRefractionHpa = 1010.0;

struct StarFrame {
    sky::ChartFrame f;
    double lat = 0.0, lon = 0.0;
    double years = 0.0;  // Julian years of TT since J2000, for proper motions
};

StarFrame StarFrameAt(double jdUt, double lon, double lat, double height);

// Airless altitude and azimuth (degrees, azimuth from the north through the east) of a
// catalogue place (J2000 degrees at epoch J2000, proper motion in mas a year, that in RA
// times cos dec; NaN: none).
void StarHorizon(const StarFrame& frame, double ra, double dec, double pmRa, double pmDec,
                 double* alt, double* az);

// The altitude seen through the standard atmosphere from an airless one.
double Refracted(double airlessAlt);

}  // namespace serve
