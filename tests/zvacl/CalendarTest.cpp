// Calendar dates, Julian Days and the record arithmetic built on them.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "zvacl/ZvaclTestUtil.h"

using namespace zvacltest;

// Worked examples of the standard algorithm in both calendars and both eras, both ways.
TEST(ZvaclCalendar, PublishedJulianDays) {
    struct {
        double y, m, d, jd;
    } const cases[] = {
        {2000, 1, 1.5, 2451545.0},   {1987, 6, 19.5, 2446966.0},  {1988, 1, 27.0, 2447187.5},
        {1900, 1, 1.0, 2415020.5},   {1600, 12, 31.0, 2305812.5}, {837, 4, 10.3, 2026871.8},
        {-123, 12, 31.0, 1676496.5}, {-1000, 2, 29.0, 1355866.5}, {-1001, 8, 17.9, 1355671.4},
        {-4712, 1, 1.5, 0.0},        {1957, 10, 4.81, 2436116.31}, {-584, 5, 28.63, 1507900.13},
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
    // The callers' day of the week: floor(JD + 1.5) mod 7, 0 = Sunday.
    EXPECT_EQ(static_cast<long>(CalcJd(2000, 1, 1) + 1.5) % 7, 6);    // Saturday
    EXPECT_EQ(static_cast<long>(CalcJd(1582, 10, 15) + 1.5) % 7, 5);  // Friday
}

TEST(ZvaclCalendar, ReformOf1582AndLeapYears) {
    EXPECT_EQ(CalcJd(1582, 10, 15) - CalcJd(1582, 10, 4), 1.0);
    // A dropped day counts on in the Julian calendar: 10 October is the Gregorian 20th.
    EXPECT_EQ(CalcJd(1582, 10, 10), CalcJd(1582, 10, 20));
    EXPECT_EQ(CalcJd(1500, 3, 1) - CalcJd(1500, 2, 28), 2.0);  // Julian rule
    EXPECT_EQ(CalcJd(1700, 3, 1) - CalcJd(1700, 2, 28), 1.0);  // Gregorian rule
    EXPECT_EQ(CalcJd(2000, 3, 1) - CalcJd(2000, 2, 28), 2.0);
    EXPECT_EQ(CalcJd(0, 3, 1) - CalcJd(0, 2, 28), 2.0);  // 1 BC
    EXPECT_EQ(CalcJd(-1, 3, 1) - CalcJd(-1, 2, 28), 1.0);
}

// Dates from 4713 BC to AD 9999 (and the callers' whole range) convert and come back to
// well within a millisecond; day by day across year 0 and 1582 each next day is the
// date that ChangeDate gives for one day on.
TEST(ZvaclCalendar, RoundTripsEveryDayAndTime) {
    tagADATE a;
    double worst = 0;
    for (double jd = -1000.0; jd < 5373484.5; jd += 7.123456789) {
        JdToDate2(jd, &a);
        ASSERT_TRUE(a.second >= 0.0 && a.second < 60.0 && a.month >= 1 && a.month <= 12);
        worst = std::fmax(worst, std::fabs(GetJd(&a) - jd) * 86400.0);
    }
    EXPECT_LT(worst, 1e-3);
    for (double jd : {-34803211.5, 38245309.5}) {
        JdToDate2(jd, &a);
        EXPECT_LT(std::fabs(GetJd(&a) - jd) * 86400.0, 1e-2) << jd;
    }
    const tagSPAN oneDay = Span(0, 0, 1);
    for (double start : {CalcJd(-1, 12, 1), CalcJd(1582, 1, 1)}) {
        tagADATE next;
        JdToDate2(start, &next);
        for (double jd = start + 1; jd < start + 800; jd += 1.0) {
            ChangeDate(&next, &oneDay, 0);
            JdToDate2(jd, &a);
            ASSERT_TRUE(a.year == next.year && a.month == next.month && a.day == next.day) << jd;
        }
    }
}

TEST(ZvaclCalendar, ZonesAndJdToDate2) {
    tagADATE jst = Date(2000, 1, 1, 21, 0, 0, 9.0);
    EXPECT_NEAR(GetJd(&jst), 2451545.0, 1e-9);
    tagADATE out = Date(1, 1, 1, 1, 1, 1, 5.5);
    JdToDate2(2451545.25, &out);
    EXPECT_DATE(out, 2000, 1, 1, 18, 0, 0.0);
    EXPECT_EQ(out.timezone, 0.0);  // the record now denotes that very JD
    JdToDate2(std::nextafter(2451545.5, 0.0), &out);  // seconds never round up to 60
    EXPECT_EQ(out.hour * 100 + out.minute, 2359);
    EXPECT_LT(out.second, 60.0);

    tagADATE a = Date(2024, 1, 1, 5, 0, 0, 9.0);
    ChangeTimezone(&a, 0.0);
    EXPECT_DATE(a, 2023, 12, 31, 20, 0, 0.0);
    EXPECT_EQ(a.timezone, 0.0);
    ChangeTimezone(&a, 5.75);
    EXPECT_DATE(a, 2024, 1, 1, 1, 45, 0.0);
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
    tagADATE a = Date(2023, 12, 31, 23, 59, 59.6);  // the callers' half-second rounding
    const tagSPAN half = Span(0, 0, 0, 0, 0, 0.5);
    ChangeDate(&a, &half, 0);
    EXPECT_DATE(a, 2024, 1, 1, 0, 0, 0.1);
    a = Date(1, 1, 1);
    const tagSPAN secondBack = Span(0, 0, 0, 0, 0, -1);
    ChangeDate(&a, &secondBack, 0);
    EXPECT_DATE(a, 0, 12, 31, 23, 59, 59.0);
    a = Date(1582, 10, 4, 12);
    const tagSPAN day = Span(0, 0, 1);
    ChangeDate(&a, &day, 0);
    EXPECT_DATE(a, 1582, 10, 15, 12, 0, 0.0);
    a = Date(2024, 1, 1);
    const tagSPAN mixed = Span(0, 30, 0, 1000);  // 30 months and 1000 hours
    ChangeDate(&a, &mixed, 0);
    EXPECT_DATE(a, 2026, 8, 11, 16, 0, 0.0);
    a = Date(2023, 14, 0, 25, -1, 61.5);  // a record itself out of range
    const tagSPAN none = Span(0, 0, 0);
    ChangeDate(&a, &none, 0);
    EXPECT_DATE(a, 2024, 2, 1, 1, 0, 1.5);
}

TEST(ZvaclCalendar, MonthStepsCarryOrClampByMode) {
    const tagSPAN month = Span(0, 1, 0), year = Span(1, 0, 0);
    tagADATE a = Date(2023, 1, 31);
    ChangeDate(&a, &month, 0);  // mode 0: the surplus days carry on
    EXPECT_DATE(a, 2023, 3, 3, 0, 0, 0.0);
    a = Date(2024, 1, 31);
    ChangeDate(&a, &month, 1);  // mode 1: stays within the target month
    EXPECT_DATE(a, 2024, 2, 29, 0, 0, 0.0);
    a = Date(2024, 2, 29, 6);
    ChangeDate(&a, &year, 0);
    EXPECT_DATE(a, 2025, 3, 1, 6, 0, 0.0);
    a = Date(2024, 2, 29, 6);
    ChangeDate(&a, &year, 1);
    EXPECT_DATE(a, 2025, 2, 28, 6, 0, 0.0);
}

TEST(ZvaclCalendar, BadInputNeverCrashes) {
    EXPECT_TRUE(std::isnan(CalcJd(kNaN, 1, 1)));
    EXPECT_TRUE(std::isnan(CalcJd(2000, kInf, 1)));
    EXPECT_TRUE(std::isnan(GetJd(nullptr)));
    int y = 7, m = 7;
    double d = 7;
    JdToDate(kNaN, &y, &m, &d);
    EXPECT_TRUE(std::isnan(d));
    JdToDate(1e300, &y, &m, &d);
    EXPECT_EQ(y, INT_MAX);
    JdToDate(2451545.0, nullptr, nullptr, nullptr);
    tagADATE a;
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
    a = Date(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN);
    ChangeDate(&a, &huge, 7);
    huge.seconds = 0;
    ChangeDate(&a, &huge, 0);
    ChangeDate(&a, nullptr, 0);
    ChangeDate(nullptr, &huge, 0);
}
