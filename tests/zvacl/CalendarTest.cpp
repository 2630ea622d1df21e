// SPDX-License-Identifier: LGPL-3.0-or-later
// Calendar dates, Julian Days and the record arithmetic built on them.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

#include "support/Accuracy.h"
#include "zvacl/ZvaclTestUtil.h"

using namespace zvacltest;

// Worked examples of the standard algorithm in both calendars and both eras, both ways.
TEST(ZvaclCalendar, PublishedJulianDaysTheReformOf1582AndLeapYears) {
    struct {
        double y, m, d, jd;
    } const cases[] = {
        {2000, 1, 1.5, 2451545.0},   {1987, 6, 19.5, 2446966.0},   {1988, 1, 27.0, 2447187.5},
        {1900, 1, 1.0, 2415020.5},   {1600, 12, 31.0, 2305812.5},  {837, 4, 10.3, 2026871.8},
        {-123, 12, 31.0, 1676496.5}, {-1000, 2, 29.0, 1355866.5},  {-1001, 8, 17.9, 1355671.4},
        {-4712, 1, 1.5, 0.0},        {1957, 10, 4.81, 2436116.31}, {-584, 5, 28.63, 1507900.13},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(CalcJd(c.y, c.m, c.d), c.jd, 1e-9) << c.y << "-" << c.m << "-" << c.d;
        int y = 0, m = 0;
        double d = 0;
        JdToDate(c.jd, &y, &m, &d);
        EXPECT_TRUE(y == c.y && m == c.m && std::fabs(d - c.d) < 1e-8) << y << "-" << m << "-" << d;
    }
    // The reform of 1582: 4 October is followed by 15 October.
    EXPECT_EQ(CalcJd(1582, 10, 15) - CalcJd(1582, 10, 4), 1.0);
    // A dropped day counts on in the Julian calendar: 10 October is the Gregorian 20th.
    EXPECT_EQ(CalcJd(1582, 10, 10), CalcJd(1582, 10, 20));
    // Days from 28 February to 1 March: the Julian rule for 1500, the Gregorian one for
    // 1700 and 2000; year 0 (1 BC) is a leap year, year -1 is not.
    struct {
        int year;
        double days;
    } const kFebruaries[] = {{1500, 2}, {1700, 1}, {2000, 2}, {0, 2}, {-1, 1}};
    for (const auto& f : kFebruaries)
        EXPECT_EQ(CalcJd(f.year, 3, 1) - CalcJd(f.year, 2, 28), f.days) << f.year;
}

// Dates from 4713 BC to AD 9999 (and the callers' whole range) convert and come back to
// well within a millisecond; day by day across year 0 and 1582 each next day is the
// date that ChangeDate gives for one day on.
TEST(ZvaclCalendar, RoundTripsEveryDayAndTime) {
    WorstError worst;
    for (double jd = -1000.0; jd < 5373484.5; jd += 7.123456789) {
        const tagADATE a = DateOf(jd);
        ASSERT_TRUE(a.second >= 0.0 && a.second < 60.0 && a.month >= 1 && a.month <= 12);
        worst.Add((GetJd(&a) - jd) * 86400.0, jd);
    }
    worst.Expect("calendar round trip", 1e-3, "s");
    for (double jd : {-34803211.5, 38245309.5}) {
        const tagADATE a = DateOf(jd);
        EXPECT_LT(std::fabs(GetJd(&a) - jd) * 86400.0, 1e-2) << jd;
    }
    auto day = [](const tagADATE& a) { return Str(a).substr(0, Str(a).find(' ')); };
    for (double start : {CalcJd(-1, 12, 1), CalcJd(1582, 1, 1)}) {
        tagADATE next = DateOf(start);
        for (double jd = start + 1; jd < start + 800; jd += 1.0) {
            next = Changed(next, Span(0, 0, 1));
            ASSERT_EQ(day(DateOf(jd)), day(next)) << jd;
        }
    }
}

TEST(ZvaclCalendar, ZonesAndJdToDate2) {
    const tagADATE jst = Date(2000, 1, 1, 21, 0, 0, 9.0);
    EXPECT_NEAR(GetJd(&jst), 2451545.0, 1e-9);
    EXPECT_EQ(Str(DateOf(2451545.25)), "2000-01-01 18:00:00.000000");
    EXPECT_EQ(DateOf(2451545.25).timezone, 0.0);  // the record now denotes that very JD
    const tagADATE last = DateOf(std::nextafter(2451545.5, 0.0));  // seconds never round up to 60
    EXPECT_EQ(last.hour * 100 + last.minute, 2359);
    EXPECT_LT(last.second, 60.0);

    // Another zone: the same instant, across a year, a leap day and the 1582 reform.
    struct {
        tagADATE from;
        double zone;
        const char* expected;
    } const kCases[] = {
        {Date(2024, 1, 1, 5, 0, 0, 9.0), 0.0, "2023-12-31 20:00:00.000000"},
        {Date(2023, 12, 31, 20), 5.75, "2024-01-01 01:45:00.000000"},
        {Date(2024, 3, 1, 0, 30, 15.25, 1.0), -3.5, "2024-02-29 20:00:15.250000"},
        {Date(1582, 10, 15, 3, 0, 0, 9.0), 0.0, "1582-10-04 18:00:00.000000"},
    };
    for (const auto& c : kCases) {
        const tagADATE a = InZone(c.from, c.zone);
        EXPECT_EQ(Str(a), c.expected);
        EXPECT_EQ(a.timezone, c.zone);
        EXPECT_NEAR(GetJd(&a), GetJd(&c.from), 1e-9) << c.expected;
    }
}

// Every field carries both ways; mode 0 lets the surplus days of a month or year step
// carry on, mode 1 keeps within the target month.
TEST(ZvaclCalendar, ChangeDateCarriesEveryFieldBothWays) {
    const tagSPAN month = Span(0, 1, 0), year = Span(1, 0, 0);
    // the callers' half-second rounding, a second back from AD 1, a day over the reform,
    // 30 months and 1000 hours, a record itself out of range
    EXPECT_EQ(Str(Changed(Date(2023, 12, 31, 23, 59, 59.6), Span(0, 0, 0, 0, 0, 0.5))),
              "2024-01-01 00:00:00.100000");
    EXPECT_EQ(Str(Changed(Date(1, 1, 1), Span(0, 0, 0, 0, 0, -1))), "0-12-31 23:59:59.000000");
    EXPECT_EQ(Str(Changed(Date(1582, 10, 4, 12), Span(0, 0, 1))), "1582-10-15 12:00:00.000000");
    EXPECT_EQ(Str(Changed(Date(2024, 1, 1), Span(0, 30, 0, 1000))), "2026-08-11 16:00:00.000000");
    EXPECT_EQ(Str(Changed(Date(2023, 14, 0, 25, -1, 61.5), Span(0, 0, 0))),
              "2024-02-01 01:00:01.500000");
    EXPECT_EQ(Str(Changed(Date(2023, 1, 31), month, 0)), "2023-03-03 00:00:00.000000");
    EXPECT_EQ(Str(Changed(Date(2024, 1, 31), month, 1)), "2024-02-29 00:00:00.000000");
    EXPECT_EQ(Str(Changed(Date(2024, 2, 29, 6), year, 0)), "2025-03-01 06:00:00.000000");
    EXPECT_EQ(Str(Changed(Date(2024, 2, 29, 6), year, 1)), "2025-02-28 06:00:00.000000");
}

TEST(ZvaclCalendar, BadInputNeverCrashes) {
    EXPECT_TRUE(std::isnan(CalcJd(kNaN, 1, 1)) && std::isnan(CalcJd(2000, kInf, 1)) &&
                std::isnan(GetJd(nullptr)));
    int y = 7, m = 7;
    double d = 7;
    JdToDate(kNaN, &y, &m, &d);
    EXPECT_TRUE(std::isnan(d));
    JdToDate(1e300, &y, &m, &d);
    JdToDate(2451545.0, nullptr, nullptr, nullptr);
    EXPECT_EQ((std::tuple{y, std::isnan(DateOf(kInf).second), DateOf(-1e300).year}),
              (std::tuple{INT_MAX, true, INT_MIN}));
    JdToDate2(0, nullptr);
    EXPECT_TRUE(std::isnan(InZone(Date(2000, 1, 1), kNaN).second));
    ChangeTimezone(nullptr, 0);
    InZone(Date(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1e300, -1e300), 0);
    tagSPAN huge = Span(INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, -kInf);
    tagADATE a = Changed(Date(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN), huge, 7);
    huge.seconds = 0;
    ChangeDate(&a, &huge, 0);
    ChangeDate(&a, nullptr, 0);
    ChangeDate(nullptr, &huge, 0);
}
