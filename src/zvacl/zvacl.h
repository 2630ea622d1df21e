// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// zvacl: the astronomical calculation library. Plain functions; angles in degrees,
/// Julian Days as double.
#include "platform/WinTypes.h"

/// A date and time in its own time zone. Negative years are astronomical years before the
/// era (0 = 1 BC).
struct tagADATE {
    int year;         ///< astronomical year (0 = 1 BC)
    int month;        ///< 1 to 12
    int day;          ///< day of the month
    int hour;         ///< 0 to 23
    int minute;       ///< 0 to 59
    double second;    ///< seconds, with fraction
    double timezone;  ///< hours east of Greenwich
};

/// A time span; each field may be negative.
struct tagSPAN {
    int years;       ///< calendar years
    int months;      ///< calendar months
    int days;        ///< days
    int hours;       ///< hours
    int minutes;     ///< minutes
    double seconds;  ///< seconds, with fraction
};

/// A principal phase of the Moon: 0 new, 1 first quarter, 2 full, 3 last quarter.
struct tagMOONPHASE {
    int phase;  ///< 0 new, 1 first quarter, 2 full, 3 last quarter
    double jd;  ///< the instant, Julian Day in UT
};

static_assert(sizeof(tagADATE) == 40, "tagADATE layout");
static_assert(sizeof(tagSPAN) == 32, "tagSPAN layout");
static_assert(sizeof(tagMOONPHASE) == 16, "tagMOONPHASE layout");

/// @name Calendar and time
/// Calendar: Julian up to 4 October 1582, Gregorian from 15 October 1582; the ten dropped
/// days (5 to 14 October 1582) count on in the Julian calendar. Days and months outside
/// their ranges carry (day 0 is the last day of the previous month). Non-finite input
/// gives NaN results and never crashes; integer outputs that cannot hold a result are
/// clamped.
/// @{

/// Julian Day of the instant the record denotes (its time zone applied).
ZCMCOM_API double GetJd(const tagADATE* date);
/// Julian Day of a calendar date; the day may carry a fraction.
ZCMCOM_API double CalcJd(double year, double month, double day);
/// Re-expresses the record for the same instant in the given zone (hours east).
ZCMCOM_API void ChangeTimezone(tagADATE* date, double zoneHours);
/// Adds the span and normalises every field, carrying in both directions. mode 0: days
/// beyond the month's end carry on (31 January + 1 month = 3 March in a common year);
/// mode 1: the day is first kept within the target month (31 January + 1 month = 28 or
/// 29 February). Other modes act as 0.
ZCMCOM_API void ChangeDate(tagADATE* date, const tagSPAN* span, int mode);
/// Calendar date of a JD; the day carries the fraction of the day.
ZCMCOM_API void JdToDate(double jd, int* year, int* month, double* day);
/// Date and time of a JD; the record's time zone is set to 0, so it denotes that JD.
ZCMCOM_API void JdToDate2(double jd, tagADATE* out);
/// JD in dynamical time (TT) of a JD in UT: Delta T by the Espenak-Meeus expressions.
ZCMCOM_API double UtToDt(double jdUt);
/// Heliocentric ecliptic longitude and latitude (lb, degrees) and radius vector (r, au)
/// on the mean ecliptic and equinox of date, for the JD in TT. body -3: the Earth; any
/// other body gives NaN. Either output may be null.
ZCMCOM_API void CalcPlanetLbr(int body, double jdTt, double* lb, double* r);
/// Local apparent sidereal time in degrees [0, 360) for a JD in UT and an east-positive
/// longitude in degrees.
ZCMCOM_API double GetLst(double jdUt, double longitudeDeg);
/// The angle in [0, 360).
ZCMCOM_API double degmal(double a);
/// The angle in (-180, 180], then held within [-90, 90].
ZCMCOM_API double degmal2(double a);
/// Position angle (north through east, [0, 360)) of the second point seen from the first
/// and their separation, in degrees; points are (right ascension, declination) in
/// degrees. Identical points give 0 and 0.
ZCMCOM_API void AdToPaDist(const double* from, const double* to, double* pa, double* dist);
/// Up to capacity consecutive principal phases of the Moon in time order, the first the
/// last one at or before the record's instant; JDs in UT. Returns how many were written:
/// 0 for a null record or array, a capacity below 1, or a non-finite date.
ZCMCOM_API int GetMoonPhases(const tagADATE* date, tagMOONPHASE* phases, int capacity);
/// The Moon's age at an instant (Julian Day, UT): days since the last new moon at or before it.
ZCMCOM_API double GetMoonAge(double jdUt);
/// out[1] = the apparent altitude for the true altitude in[1] (degrees), standard
/// atmosphere; no refraction from 6 degrees below the horizon down. out[0] = in[0].
ZCMCOM_API void AtmosphericRefraction(const double* in, double* out);
/// The mean obliquity of the ecliptic (IAU 1980) at a Julian Day in TT, degrees.
ZCMCOM_API double GetMeanObliquity(double jdTt);
/// Airmass at a true altitude (degrees) by Kasten and Young (1989); NaN at or below the
/// horizon, where there is none to give.
ZCMCOM_API double GetAirmass(double altitudeDeg);
/// @}
