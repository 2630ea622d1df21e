// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Private helpers of the zvacl sources: constants, angle conversions and the few
/// calendar steps that several families share. Not installed for callers.
#include <climits>
#include <cmath>
#include <limits>

namespace zvacl {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kJ2000 = 2451545.0;  ///< 2000 January 1.5 TT
constexpr double kDaysPerJulianCentury = 36525.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
/// Day number (noon JD) of 15 October 1582, the first Gregorian day.
constexpr double kFirstGregorianDay = 2299161.0;
/// Day numbers whose year still fits an int (about 365.25 x 2^31).
constexpr double kMaxDayNumber = 7.8e11;

inline double Rad(double deg) { return deg * kDegToRad; }
inline double Deg(double rad) { return rad * kRadToDeg; }

/// Angle reduced into [0, 360); NaN and infinities give NaN.
inline double Norm360(double a) {
    double r = std::fmod(a, 360.0);
    if (r < 0) r += 360.0;
    if (r >= 360.0) r -= 360.0;
    return r;
}

/// Conversion to int that cannot overflow: NaN gives 0, values beyond the range clamp.
inline int ClampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

/// Leap year of the calendar in force: Julian up to 1582, Gregorian from 1583.
inline bool IsLeapYear(double year) {
    if (year <= 1582) return std::fmod(year, 4.0) == 0.0;
    return (std::fmod(year, 4.0) == 0.0 && std::fmod(year, 100.0) != 0.0) ||
           std::fmod(year, 400.0) == 0.0;
}

/// Days of a month (1..12) in the calendar in force; October 1582 keeps 31 day numbers,
/// the ten dropped ones counting on in the Julian calendar.
inline int DaysInMonth(double year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

/// Calendar date of an integer day number (the JD of that day's noon).
struct CivilDate {
    double year;
    int month;
    int day;
};
CivilDate CivilFromDayNumber(double dayNumber);

/// Delta T (TT - UT) in seconds for a JD in UT.
double DeltaTSeconds(double jdUt);

/// JD in UT of an instant given in TT (the inverse of UtToDt).
double TtToUt(double jdTt);

}  // namespace zvacl
