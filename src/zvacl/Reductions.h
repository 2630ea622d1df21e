// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The reductions by ERFA that zvacl and the built-in sky share (not installed): the
/// nutation (IAU 2000A with the IAU 2006 adjustments), the apparent sidereal time of the IAU
/// 2006/2000A models and the refraction for a temperature and a pressure.
#include "platform/Export.h"

namespace zvacl {

/// The nutation in longitude and in obliquity, radians, at a TT Julian Day: over 1960-2060
/// from the table made by ERFA when the library is built (within a microarcsecond of the
/// series), else from the series itself (tens of microseconds a call). eect, when given,
/// gets the complementary terms of the equation of the equinoxes (radians) of the same table.
ZCMCOM_API void Nutation2000A(double jdTt, double* dpsi, double* deps, double* eect = nullptr);
/// Asks for the nutation table's coefficients at a TT Julian Day ahead of Nutation2000A, so
/// an instant far from earlier ones does not wait for them.
ZCMCOM_API void PrefetchNutation(double jdTt);

/// The Sun's barycentric position (au) and velocity (au a day), GCRS axes, at a TT Julian
/// Day: over 1960-2060 from the table made by ERFA (eraEpv00) when the library is built,
/// else from that series itself (37 microseconds a call).
ZCMCOM_API void SunBarycentric(double jdTt, double position[3], double velocity[3]);

/// Greenwich apparent sidereal time, radians in [0, 2 pi), from UT1 and TT Julian Days and
/// the nutation in longitude dpsi (radians): the IAU 2006 mean sidereal time and the
/// equation of the equinoxes with its complementary terms.
ZCMCOM_API double ApparentSiderealTime(double jdUt1, double jdTt, double dpsi);

/// The refraction in degrees for a true (airless) altitude in degrees, at a temperature (deg
/// C) and pressure (hPa), for visual light in air of 50 % humidity: from 15 degrees up ERFA's
/// model (eraRefco's constants A tan z + B tan^3 z, as eraAtioq applies them); from 15 down
/// to 5 degrees a blend into Saemundsson's formula scaled by pressure and temperature, which
/// holds near the horizon where that model fails; tapered to none from 1 to 6 degrees below
/// the horizon.
ZCMCOM_API double RefractionDeg(double altitudeDeg, double tempC, double pressureHpa);
/// The constants A and B (radians) of the model RefractionDeg follows from 15 degrees up,
/// for that temperature and pressure.
ZCMCOM_API void RefractionConstants(double tempC, double pressureHpa, double* a, double* b);

}  // namespace zvacl
