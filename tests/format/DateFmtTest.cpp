// SPDX-License-Identifier: LGPL-3.0-or-later
#include <climits>

#include "format/CommonEOS.h"
#include "format/DateFmt.h"

#include "support/Accuracy.h"
#include "support/TestUtil.h"

namespace {

TEST(ParseDate, ErasAndPartialTexts) {
    for (const auto& f : DataFields("format/parse_date.txt", 7)) {
        std::vector<int> v(6, -9), want;
        CCommonDateFmt::ParseDate(W(f[0]), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
        for (size_t i = 1; i < 7; ++i) want.push_back(std::stoi(f[i]));
        EXPECT_EQ(want, v) << f[0];
    }
    // Null results are skipped.
    CCommonDateFmt::ParseDate(L"Sun AD2000/1/2 3:4:5", nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr);
}

TEST(DateFmt, DaysOfTheWeekAndMonthAcrossTheCalendarReform) {
    auto dow = [](int y, int m, int d) {
        return CCommonDateFmt::GetDayOfWeek(tagADATE{y, m, d, 0, 0, 0.0, 0.0});
    };
    EXPECT_EQ(6, dow(2000, 1, 1));    // Saturday
    EXPECT_EQ(4, dow(1582, 10, 4));   // Thursday, last Julian day
    EXPECT_EQ(5, dow(1582, 10, 15));  // Friday, first Gregorian day
    EXPECT_EQ(1, dow(-4712, 1, 1));   // JD 0 began on a Monday
    // Weekdays run on day by day, negative years included.
    for (int day = 2; day <= 28; ++day)
        EXPECT_EQ((dow(-1000, 1, day - 1) + 1) % 7, dow(-1000, 1, day)) << day;
    // 1700 was a leap year only in the Julian calendar; 1582 is Gregorian from October.
    const int cases[][3] = {{1500, 2, 29}, {1900, 2, 28}, {2000, 2, 29},  {1580, 2, 29},
                            {1582, 2, 28}, {1583, 2, 28}, {1584, 2, 29},  {1700, 2, 28},
                            {-4, 2, 29},   {-3, 2, 28},   {2023, 12, 31}, {2023, 4, 30},
                            {2023, 13, 0}, {2023, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c[2], CCommonDateFmt::GetDayOfMonth(c[0], c[1])) << c[0] << "-" << c[1];
    EXPECT_EQ(1, CCommonDateFmt::IsEqualJd(2451545.0, 2451545.0000005));
    EXPECT_EQ(0, CCommonDateFmt::IsEqualJd(2451545.0, 2451545.000002));
}

TEST(ModelEtoJ, LongestInternationalNameFirst) {
    for (const auto& f : DataFields("format/eos_models.txt", 2))
        EXPECT_EQ(W(f[1]), CCommonEOS::ModelEtoJ(W(f[0]))) << f[0];
}

}  // namespace
