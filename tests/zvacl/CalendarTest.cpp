// Calendar dates, Julian Days and the record arithmetic built on them.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "zvacl/zvacl.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

tagADATE Date(int y, int mo, int d, int h = 0, int mi = 0, double s = 0, double tz = 0) {
    tagADATE a;
    a.year = y;
    a.month = mo;
    a.day = d;
    a.hour = h;
    a.minute = mi;
    a.second = s;
    a.timezone = tz;
    return a;
}

tagSPAN Span(int y, int mo, int d, int h = 0, int mi = 0, double s = 0) {
    tagSPAN p;
    p.years = y;
    p.months = mo;
    p.days = d;
    p.hours = h;
    p.minutes = mi;
    p.seconds = s;
    return p;
}

#define EXPECT_DATE(a, y, mo, d, h, mi, s)            \
    do {                                              \
        EXPECT_EQ((a).year, (y));                     \
        EXPECT_EQ((a).month, (mo));                   \
        EXPECT_EQ((a).day, (d));                      \
        EXPECT_EQ((a).hour, (h));                     \
        EXPECT_EQ((a).minute, (mi));                  \
        EXPECT_NEAR((a).second, (s), 1e-6);           \
    } while (0)

int DayOfWeek(int y, int m, int d) {
    const long w = static_cast<long>(CalcJd(y, m, d) + 1.5);
    return static_cast<int>(((w % 7) + 7) % 7);
}

}  // namespace

// Worked examples of the standard Julian Day algorithm, both calendars and both eras.
TEST(ZvaclCalendar, PublishedJulianDays) {
    struct {
        double y, m, d, jd;
    } const cases[] = {
        {2000, 1, 1.5, 2451545.0},   {1999, 1, 1.0, 2451179.5},   {1987, 1, 27.0, 2446822.5},
        {1987, 6, 19.5, 2446966.0},  {1988, 1, 27.0, 2447187.5},  {1988, 6, 19.5, 2447332.0},
        {1900, 1, 1.0, 2415020.5},   {1600, 1, 1.0, 2305447.5},   {1600, 12, 31.0, 2305812.5},
        {837, 4, 10.3, 2026871.8},   {-123, 12, 31.0, 1676496.5}, {-122, 1, 1.0, 1676497.5},
        {-1000, 7, 12.5, 1356001.0}, {-1000, 2, 29.0, 1355866.5}, {-1001, 8, 17.9, 1355671.4},
        {-4712, 1, 1.5, 0.0},        {1957, 10, 4.81, 2436116.31}, {333, 1, 27.5, 1842713.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(CalcJd(c.y, c.m, c.d), c.jd, 1e-9) << c.y << "-" << c.m << "-" << c.d;
        int y = 0, m = 0;
        double d = 0;
        JdToDate(c.jd, &y, &m, &d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_NEAR(d, c.d, 1e-8);
    }
    int y = 0, m = 0;
    double d = 0;
    JdToDate(1507900.13, &y, &m, &d);  // a date of the year 585 BC
    EXPECT_EQ(y, -584);
    EXPECT_EQ(m, 5);
    EXPECT_NEAR(d, 28.63, 1e-8);
}

TEST(ZvaclCalendar, ReformOf1582AndTheDropppedDays) {
    EXPECT_EQ(CalcJd(1582, 10, 4), 2299159.5);
    EXPECT_EQ(CalcJd(1582, 10, 15), 2299160.5);
    // A dropped day counts on in the Julian calendar: 10 October is the Gregorian 20th.
    EXPECT_EQ(CalcJd(1582, 10, 10), CalcJd(1582, 10, 20));
    int y, m;
    double d;
    JdToDate(2299160.49, &y, &m, &d);
    EXPECT_EQ(m, 10);
    EXPECT_NEAR(d, 4.99, 1e-6);
    JdToDate(2299160.5, &y, &m, &d);
    EXPECT_NEAR(d, 15.0, 1e-9);
    // Julian leap years before the reform, Gregorian after it.
    EXPECT_EQ(CalcJd(1500, 3, 1) - CalcJd(1500, 2, 28), 2.0);
    EXPECT_EQ(CalcJd(1700, 3, 1) - CalcJd(1700, 2, 28), 1.0);
    EXPECT_EQ(CalcJd(2000, 3, 1) - CalcJd(2000, 2, 28), 2.0);
    EXPECT_EQ(CalcJd(0, 3, 1) - CalcJd(0, 2, 28), 2.0);    // 1 BC
    EXPECT_EQ(CalcJd(-4, 3, 1) - CalcJd(-4, 2, 28), 2.0);  // 5 BC
    EXPECT_EQ(CalcJd(-1, 3, 1) - CalcJd(-1, 2, 28), 1.0);
}

TEST(ZvaclCalendar, DayOfWeekFromTheJulianDay) {
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);    // Saturday
    EXPECT_EQ(DayOfWeek(1954, 6, 30), 3);   // Wednesday
    EXPECT_EQ(DayOfWeek(1582, 10, 4), 4);   // Thursday, and the next day is Friday 15th
    EXPECT_EQ(DayOfWeek(1582, 10, 15), 5);
    EXPECT_EQ(DayOfWeek(2024, 2, 29), 4);
}

// Every day from 4713 BC to AD 9999 (sampled densely) converts to a date and back, and
// consecutive days are consecutive dates.
TEST(ZvaclCalendar, RoundTripsEveryDayAndTime) {
    tagADATE a;
    double worstSeconds = 0;
    for (double jd = -1000.0; jd < 5373484.5; jd += 7.123456789) {
        JdToDate2(jd, &a);
        ASSERT_GE(a.second, 0.0);
        ASSERT_LT(a.second, 60.0);
        ASSERT_GE(a.month, 1);
        ASSERT_LE(a.month, 12);
        ASSERT_GE(a.day, 1);
        ASSERT_LE(a.day, 31);
        worstSeconds = std::fmax(worstSeconds, std::fabs(GetJd(&a) - jd) * 86400.0);
    }
    EXPECT_LT(worstSeconds, 1e-3);
    // Far outside the historical range too (the date range callers accept).
    for (double jd : {-34803211.5, -1e7 + 0.3, 2e7 + 0.77, 38245309.5}) {
        JdToDate2(jd, &a);
        EXPECT_LT(std::fabs(GetJd(&a) - jd) * 86400.0, 1e-2) << jd;
    }
    // Day by day across year 0 and the reform: each next day is the next date.
    tagADATE prev;
    JdToDate2(CalcJd(-2, 12, 1), &prev);
    for (double jd = CalcJd(-2, 12, 2); jd < CalcJd(3, 1, 1); jd += 1.0) {
        JdToDate2(jd, &a);
        tagADATE next = prev;
        tagSPAN oneDay = Span(0, 0, 1);
        ChangeDate(&next, &oneDay, 0);
        ASSERT_EQ(a.year, next.year);
        ASSERT_EQ(a.month, next.month);
        ASSERT_EQ(a.day, next.day);
        prev = a;
    }
}

TEST(ZvaclCalendar, GetJdAppliesTheZoneAndJdToDate2GivesUt) {
    tagADATE jst = Date(2000, 1, 1, 21, 0, 0, 9.0);
    EXPECT_NEAR(GetJd(&jst), 2451545.0, 1e-9);
    tagADATE out = Date(1, 1, 1, 1, 1, 1, 5.5);
    JdToDate2(2451545.25, &out);
    EXPECT_DATE(out, 2000, 1, 1, 18, 0, 0.0);
    EXPECT_EQ(out.timezone, 0.0);  // the record now denotes the same instant
    EXPECT_NEAR(GetJd(&out), 2451545.25, 1e-9);
    // Just before midnight the seconds never round up to 60.
    JdToDate2(std::nextafter(2451545.5, 0.0), &out);
    EXPECT_LT(out.second, 60.0);
    EXPECT_EQ(out.hour, 23);
}

TEST(ZvaclCalendar, ChangeTimezoneKeepsTheInstant) {
    tagADATE a = Date(2024, 1, 1, 5, 0, 0, 9.0);
    ChangeTimezone(&a, 0.0);
    EXPECT_DATE(a, 2023, 12, 31, 20, 0, 0.0);
    EXPECT_EQ(a.timezone, 0.0);
    ChangeTimezone(&a, 5.75);  // Nepal
    EXPECT_DATE(a, 2024, 1, 1, 1, 45, 0.0);
    ChangeTimezone(&a, -12.0);
    EXPECT_DATE(a, 2023, 12, 31, 8, 0, 0.0);
    tagADATE leap = Date(2024, 3, 1, 0, 30, 15.25, 1.0);
    const double before = GetJd(&leap);
    ChangeTimezone(&leap, -3.5);
    EXPECT_DATE(leap, 2024, 2, 29, 20, 0, 15.25);
    EXPECT_NEAR(GetJd(&leap), before, 1e-9);
    tagADATE reform = Date(1582, 10, 15, 3, 0, 0, 9.0);
    ChangeTimezone(&reform, 0.0);
    EXPECT_DATE(reform, 1582, 10, 4, 18, 0, 0.0);
}

TEST(ZvaclCalendar, ChangeDateCarriesEveryFieldBothWays) {
    // The half-second rounding step of the callers, carried through a year end.
    tagADATE a = Date(2023, 12, 31, 23, 59, 59.6);
    tagSPAN half = Span(0, 0, 0, 0, 0, 0.5);
    ChangeDate(&a, &half, 0);
    EXPECT_DATE(a, 2024, 1, 1, 0, 0, 0.1);
    // Negative fields borrow.
    a = Date(2024, 3, 1, 0, 0, 0);
    tagSPAN back = Span(0, 0, 0, 0, -1);
    ChangeDate(&a, &back, 0);
    EXPECT_DATE(a, 2024, 2, 29, 23, 59, 0.0);
    a = Date(1, 1, 1);
    tagSPAN oneSecondBack = Span(0, 0, 0, 0, 0, -1);
    ChangeDate(&a, &oneSecondBack, 0);
    EXPECT_DATE(a, 0, 12, 31, 23, 59, 59.0);
    // Across the reform in both directions.
    a = Date(1582, 10, 4, 12);
    tagSPAN day = Span(0, 0, 1);
    ChangeDate(&a, &day, 0);
    EXPECT_DATE(a, 1582, 10, 15, 12, 0, 0.0);
    tagSPAN dayBack = Span(0, 0, -1);
    ChangeDate(&a, &dayBack, 0);
    EXPECT_DATE(a, 1582, 10, 4, 12, 0, 0.0);
    // Large spans in units that are not their own: 1000 hours, 100000 seconds, 30 months.
    a = Date(2024, 1, 1);
    tagSPAN hours = Span(0, 0, 0, 1000);
    ChangeDate(&a, &hours, 0);
    EXPECT_DATE(a, 2024, 2, 11, 16, 0, 0.0);
    tagSPAN months = Span(0, 30, 0);
    ChangeDate(&a, &months, 0);
    EXPECT_DATE(a, 2026, 8, 11, 16, 0, 0.0);
    tagSPAN monthsBack = Span(0, -32, 0);
    ChangeDate(&a, &monthsBack, 0);
    EXPECT_DATE(a, 2023, 12, 11, 16, 0, 0.0);
    // A record that is itself out of range is normalised too.
    a = Date(2023, 14, 0, 25, -1, 61.5);
    tagSPAN none = Span(0, 0, 0);
    ChangeDate(&a, &none, 0);
    EXPECT_DATE(a, 2024, 2, 1, 1, 0, 1.5);
}

TEST(ZvaclCalendar, MonthStepsCarryOrClampByMode) {
    tagSPAN month = Span(0, 1, 0);
    tagADATE a = Date(2023, 1, 31);
    ChangeDate(&a, &month, 0);  // mode 0: the surplus days carry on
    EXPECT_DATE(a, 2023, 3, 3, 0, 0, 0.0);
    a = Date(2024, 1, 31);
    ChangeDate(&a, &month, 1);  // mode 1: stays within the target month
    EXPECT_DATE(a, 2024, 2, 29, 0, 0, 0.0);
    tagSPAN year = Span(1, 0, 0);
    a = Date(2024, 2, 29, 6);
    ChangeDate(&a, &year, 0);
    EXPECT_DATE(a, 2025, 3, 1, 6, 0, 0.0);
    a = Date(2024, 2, 29, 6);
    ChangeDate(&a, &year, 1);
    EXPECT_DATE(a, 2025, 2, 28, 6, 0, 0.0);
    a = Date(1500, 2, 29);  // a Julian leap day four Julian years on
    tagSPAN four = Span(4, 0, 0);
    ChangeDate(&a, &four, 1);
    EXPECT_DATE(a, 1504, 2, 29, 0, 0, 0.0);
}

TEST(ZvaclCalendar, BadInputNeverCrashes) {
    EXPECT_TRUE(std::isnan(CalcJd(kNaN, 1, 1)));
    EXPECT_TRUE(std::isnan(CalcJd(2000, kInf, 1)));
    EXPECT_TRUE(std::isnan(GetJd(nullptr)));
    int y = 7, m = 7;
    double d = 7;
    JdToDate(kNaN, &y, &m, &d);
    EXPECT_TRUE(std::isnan(d));
    JdToDate(-kInf, &y, &m, &d);
    JdToDate(1e300, &y, &m, &d);
    EXPECT_EQ(y, INT_MAX);
    JdToDate(2451545.0, nullptr, nullptr, nullptr);
    tagADATE a = Date(2000, 1, 1);
    JdToDate2(kInf, &a);
    EXPECT_TRUE(std::isnan(a.second));
    JdToDate2(-1e300, &a);
    EXPECT_EQ(a.year, INT_MIN);
    JdToDate2(0, nullptr);
    a = Date(2000, 1, 1);
    ChangeTimezone(&a, kNaN);
    EXPECT_TRUE(std::isnan(a.second));
    ChangeTimezone(nullptr, 0);
    a = Date(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1e300, -1e300);
    ChangeTimezone(&a, 0);
    tagSPAN huge = Span(INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, -kInf);
    a = Date(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0);
    ChangeDate(&a, &huge, 7);
    huge.seconds = 0;
    a = Date(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0);
    ChangeDate(&a, &huge, 0);
    ChangeDate(&a, nullptr, 0);
    ChangeDate(nullptr, &huge, 0);
}
