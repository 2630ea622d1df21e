// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/CivilTime.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

namespace {

// Whether UTC y-mo-d ended with a leap second (23:59:60): the days of the IERS bulletins C
// from 1972 to 2016, the last one up to now.
bool LeapSecondDay(int y, int mo, int d) {
    static const int kDays[] = {
        19720630, 19721231, 19731231, 19741231, 19751231, 19761231, 19771231, 19781231, 19791231,
        19810630, 19820630, 19830630, 19850630, 19871231, 19891231, 19901231, 19920630, 19930630,
        19940630, 19951231, 19970630, 19981231, 20051231, 20081231, 20120630, 20150630, 20161231};
    const int day = y * 10000 + mo * 100 + d;
    return std::find(std::begin(kDays), std::end(kDays), day) != std::end(kDays);
}

// Second 60 is a leap second only at 23:59:60 UTC of such a day.
bool IsLeapSecond(int y, int mo, int d, int h, int mi, double zone) {
    const tagADATE local{y, mo, d, h, mi, 0.0, zone};
    const double jd = GetJd(&local);
    tagADATE utc{};
    JdToDate2(jd + 30.0 / 86400.0, &utc);  // mid-minute, so rounding cannot move the day
    return utc.hour == 23 && utc.minute == 59 && LeapSecondDay(utc.year, utc.month, utc.day);
}

}  // namespace

bool IsRealCivilTime(int y, int mo, int d, int h, int mi, double s, double zone) {
    return CivilTimeProblem(y, mo, d, h, mi, s, zone).empty();
}

std::string CivilTimeProblem(int y, int mo, int d, int h, int mi, double s, double zone) {
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    char date[48];
    snprintf(date, sizeof date, "%04d-%02d-%02d", y, mo, d);
    if (mo < 1 || mo > 12) return std::string(date) + ": there is no month " + std::to_string(mo);
    const int days = zvacl::DaysInMonth(y, mo);
    if (d < 1 || d > days)
        return std::string(date) + ": " + kMonths[mo - 1] + " " + std::to_string(y) + " has " +
               std::to_string(days) + " days";
    if (h < 0 || h > 23) return "hour " + std::to_string(h) + ": hours run from 00 to 23";
    if (mi < 0 || mi > 59) return "minute " + std::to_string(mi) + ": minutes run from 00 to 59";
    if (!(s >= 0 && s < 61) || (s >= 60 && !IsLeapSecond(y, mo, d, h, mi, zone)))
        return "second 60 exists only as a leap second, at 23:59:60 UTC of the days that had one";
    return std::string();
}
