// SPDX-License-Identifier: LGPL-3.0-or-later
#include <climits>

#include "format/CommonEOS.h"
#include "format/DateFmt.h"

#include "support/TestUtil.h"

namespace {

TEST(ParseDate, ErasAndPartialTexts) {
    const std::pair<const wchar_t*, std::vector<int>> cases[] = {
        {L"Sun BC100/3/4 5:06:07", {-99, 3, 4, 5, 6, 7}},
        {L"Sat BC1/1/1 0:0:0", {0, 1, 1, 0, 0, 0}},                  // 1 BC is year 0
        {L"Sun BC-2147483648/1/1 0:0:0", {INT_MAX, 1, 1, 0, 0, 0}},  // saturates
        {L"garbage", {0, 0, 0, 0, 0, 0}},
        {L"Tue AD2024/5", {2024, 5, 0, 0, 0, 0}},          // stops at the end
        {L"Tue AD2024-5-1 1:2:3", {2024, 0, 0, 0, 0, 0}},  // and at a mismatch
        {L"Tue BC", {0, 0, 0, 0, 0, 0}},                   // no year read: none made up
        {L"Wed AD-44/3/15 12:00:00", {-44, 3, 15, 12, 0, 0}},
        {L"Thu AD99999999999/1/1 0:0:0", {2147483647, 1, 1, 0, 0, 0}}};
    for (const auto& [text, want] : cases) {
        std::vector<int> v(6, -9);
        CCommonDateFmt::ParseDate(text, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
        EXPECT_EQ(want, v) << CString(text).ToUtf8();
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
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Canon EOS 760D", L"Canon EOS 8000D"},
        {L"Canon EOS 200D II", L"Canon EOS Kiss X10"},
        {L"Canon EOS 200D", L"Canon EOS Kiss X9"},
        {L"Canon EOS R5", L"Canon EOS R5"},
        {L"EOS 1500D", L"EOS Kiss X90"},
        {L"Canon EOS M50 Mark", L"Canon EOS Kiss M Mark"},
        {L"canon eos 760d", L"canon eos 760d"},  // case counts
        {L"EOS 760D / EOS 760D", L"EOS 8000D / EOS 8000D"},
        {L"", L""}};
    for (const auto& [international, japanese] : cases)
        EXPECT_EQ(CString(japanese), CCommonEOS::ModelEtoJ(international));
}

}  // namespace
