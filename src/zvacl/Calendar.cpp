// SPDX-License-Identifier: LGPL-3.0-or-later
// Calendar dates and Julian Days: Julian calendar up to 4 October 1582, Gregorian from
// 15 October 1582, astronomical year numbering. Every step uses floor division, so the
// same code serves negative Julian Days and years far outside the historical range.
#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

namespace zvacl {

CivilDate CivilFromDayNumber(double z) {
    // Beyond the years an int can hold the date is pinned to the first day of the
    // extreme year (NaN to year 0); the arithmetic below would lose its integers there.
    if (!(std::fabs(z) < kMaxDayNumber)) {
        const double year = z > 0 ? double(INT_MAX) : (z < 0 ? double(INT_MIN) : 0.0);
        return {year, 1, 1};
    }
    double a = z;
    if (z >= kFirstGregorianDay) {
        const double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1.0 + alpha - std::floor(alpha / 4.0);
    }
    // The Julian part repeats exactly every 1461 days (365.25 x 4), so the floors stay
    // right for negative day numbers as well.
    const double b = a + 1524.0;
    const double c = std::floor((b - 122.1) / 365.25);
    const double d = std::floor(365.25 * c);
    const double e = std::floor((b - d) / 30.6001);
    CivilDate out;
    out.day = static_cast<int>(b - d - std::floor(30.6001 * e));
    out.month = static_cast<int>(e < 14.0 ? e - 1.0 : e - 13.0);
    out.year = out.month > 2 ? c - 4716.0 : c - 4715.0;
    return out;
}

}  // namespace zvacl

using namespace zvacl;

namespace {

// Splits a month count into the year carry and a month 1..12; false when the count is
// too large to keep its integer part.
bool SplitMonth(double month, double* yearCarry, int* m) {
    const double m0 = std::floor(month) - 1.0;
    const double carry = std::floor(m0 / 12.0);
    const double r = m0 - 12.0 * carry;
    if (!(r >= 0.0 && r < 12.0)) return false;
    *yearCarry = carry;
    *m = static_cast<int>(r) + 1;
    return true;
}

bool IsGregorian(double year, int month, double day) {
    if (year != 1582.0) return year > 1582.0;
    if (month != 10) return month > 10;
    return day >= 15.0;
}

// Meeus' day count for a month already in 1..12; the day may carry a fraction and run
// past the month's end.
double MeeusJd(double year, int month, double day, bool gregorian) {
    double y = year;
    int m = month;
    if (m <= 2) {
        y -= 1.0;
        m += 12;
    }
    double b = 0.0;
    if (gregorian) {
        const double a = std::floor(y / 100.0);
        b = 2.0 - a + std::floor(a / 4.0);
    }
    return std::floor(365.25 * (y + 4716.0)) + std::floor(30.6001 * (m + 1)) + day + b - 1524.5;
}

struct SplitTime {
    double dayNumber;  // integer day number (JD of noon)
    double seconds;    // seconds since midnight, [0, 86400)
};

// Splits a JD into its day and its time of day without letting rounding give 86400 s.
SplitTime SplitJd(double jd) {
    SplitTime t;
    t.dayNumber = std::floor(jd + 0.5);
    t.seconds = (jd + 0.5 - t.dayNumber) * kSecondsPerDay;
    if (t.seconds >= kSecondsPerDay) {
        t.dayNumber += 1.0;
        t.seconds = 0.0;
    }
    return t;
}

// Writes date and time fields; a non-finite day or time leaves the integer fields alone
// and marks the record with a NaN second.
void StoreDate(tagADATE* out, double dayNumber, double seconds) {
    if (!std::isfinite(dayNumber) || !std::isfinite(seconds)) {
        out->second = kNaN;
        return;
    }
    const CivilDate c = CivilFromDayNumber(dayNumber);
    double h = std::floor(seconds / 3600.0);
    double rest = seconds - h * 3600.0;
    double m = std::floor(rest / 60.0);
    double s = rest - m * 60.0;
    if (s < 0.0) s = 0.0;  // floating residue just below a whole minute
    out->year = ClampToInt(c.year);
    out->month = c.month;
    out->day = c.day;
    out->hour = static_cast<int>(h);
    out->minute = static_cast<int>(m);
    out->second = s;
}

// Moves the record by calendar months and years, then by days and seconds, and
// normalises every field. clampDay keeps the day within the target month first.
void ShiftDate(tagADATE* date, double years, double months, double days, double seconds,
               bool clampDay) {
    double carry = 0;
    int month = 1;
    if (!SplitMonth(date->month + months, &carry, &month)) {
        date->second = kNaN;
        return;
    }
    const double year = date->year + years + carry;
    double day = date->day;
    if (clampDay) day = std::fmin(day, DaysInMonth(year, month));
    double secs = date->hour * 3600.0 + date->minute * 60.0 + date->second + seconds;
    const double dayCarry = std::floor(secs / kSecondsPerDay);
    secs -= dayCarry * kSecondsPerDay;
    const double jd0 = CalcJd(year, month, day) + days + dayCarry;  // 0h of the new day
    if (!std::isfinite(jd0) || !std::isfinite(secs)) {
        date->second = kNaN;
        return;
    }
    double dayNumber = jd0 + 0.5;
    if (secs >= kSecondsPerDay) {  // floating residue of the carry
        secs -= kSecondsPerDay;
        dayNumber += 1.0;
    }
    if (!(secs >= 0.0 && secs < kSecondsPerDay)) secs = 0.0;  // spans beyond 2^53 s
    StoreDate(date, dayNumber, secs);
}

}  // namespace

double CalcJd(double year, double month, double day) {
    if (!std::isfinite(year) || !std::isfinite(month) || !std::isfinite(day)) return kNaN;
    // Months outside 1..12 carry into the year.
    double carry = 0;
    int m = 1;
    if (!SplitMonth(month, &carry, &m)) return kNaN;
    const double y = year + carry;
    const double whole = std::floor(day);
    // A day inside the month: the calendar of that very date decides, so the dropped
    // days 5 to 14 October 1582 count on in the Julian calendar. Days beyond either end
    // of the month count on from its first day.
    if (whole >= 1.0 && whole <= DaysInMonth(y, m))
        return MeeusJd(y, m, day, IsGregorian(y, m, whole));
    return MeeusJd(y, m, 1.0, IsGregorian(y, m, 1.0)) + (day - 1.0);
}

double GetJd(const tagADATE* date) {
    if (!date) return kNaN;
    const double seconds =
        date->hour * 3600.0 + date->minute * 60.0 + date->second - date->timezone * 3600.0;
    return CalcJd(date->year, date->month, date->day) + seconds / kSecondsPerDay;
}

void JdToDate(double jd, int* year, int* month, double* day) {
    int y = 0;
    int m = 0;
    double d = kNaN;
    if (std::isfinite(jd)) {
        const double z = std::floor(jd + 0.5);
        const CivilDate c = CivilFromDayNumber(z);
        y = ClampToInt(c.year);
        m = c.month;
        d = c.day + (jd + 0.5 - z);
    }
    if (year) *year = y;
    if (month) *month = m;
    if (day) *day = d;
}

void JdToDate2(double jd, tagADATE* out) {
    if (!out) return;
    out->timezone = 0.0;
    if (!std::isfinite(jd)) {
        out->year = out->month = out->day = out->hour = out->minute = 0;
        out->second = kNaN;
        return;
    }
    const SplitTime t = SplitJd(jd);
    StoreDate(out, t.dayNumber, t.seconds);
}

void ChangeTimezone(tagADATE* date, double zoneHours) {
    if (!date) return;
    ShiftDate(date, 0, 0, 0, (zoneHours - date->timezone) * 3600.0, false);
    date->timezone = zoneHours;
}

void ChangeDate(tagADATE* date, const tagSPAN* span, int mode) {
    if (!date || !span) return;
    const double seconds = span->hours * 3600.0 + span->minutes * 60.0 + span->seconds;
    ShiftDate(date, span->years, span->months, span->days, seconds, mode == 1);
}
