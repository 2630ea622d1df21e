// SPDX-License-Identifier: LGPL-3.0-or-later
// The helpers the builders share: coordinate texts under the switches, clock times, periods
// and decimals (the measuring line, the hourly motion and the elongation from the Sun are
// golden cases, tests/golden/click_texts.txt).
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

using SharedLines = ClickDataTest;

TEST_F(SharedLines, CoordinateFormattersFollowTheSwitches) {
    EXPECT_EQ(cd.FormatHms(L"5.5", 3), L"05h30m00.00s");
    EXPECT_EQ(cd.FormatLong(L"*", 2), L"---ﾟ--'--\"");
    status.Precision = 1;
    EXPECT_EQ(cd.FormatLati(L"*", 4), L" --ﾟ--'");
    EXPECT_EQ(cd.FormatLati(L"-12.5", 4), L"-12ﾟ30'");
    cd.SetExtraOption(1);
    EXPECT_EQ(cd.FormatHms(L"5.5", 1), L"05h30m00.000s");
    EXPECT_EQ(cd.FormatLong(L"83.5", 1), L" 83ﾟ30'00.00\"");
    EXPECT_EQ(cd.FormatLati(L"*", 1), L" --ﾟ--'--.--\"");
    status.RaInDegrees = 1;
    EXPECT_EQ(cd.FormatHms(L"5.5", 2), L"82.500000    ");
    EXPECT_EQ(cd.FormatLati(L"12.5", 2), L"+12.500000");
    EXPECT_EQ(cd.FormatLong(L"", 2), L"0.000000    ");
}

TEST(SharedHelpers, PeriodsClockTimesAndEclipseTimes) {
    // Periods with three significant figures.
    const std::pair<double, const wchar_t*> kCases[] = {
        {12345.6, L"12300"}, {5.678, L"5.68"}, {0.1234, L"0.120"}, {99.996, L"100"}};
    for (const auto& c : kCases)
        EXPECT_EQ(ClickDataProbe::GetPeriodString(c.first), c.second) << c.first;
    // Clock times of Julian Days.
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.5, 2461015.75", 9.0, L"出 "),
              L"出 09:00,15:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"*", 9.0, L"没 "), L"没 --:--");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"", 9.0, L"没 "), L"没 ");
    // 29.9 s stays in its minute, 30.1 s rounds up.
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034606", 0.0, L""), L"00:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034838", 0.0, L""), L"00:01");
    // Eclipse times wrap past midnight.
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.75, L"食甚 "), L"食甚 06:00:00");
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.4999999, L""), L"00:00:00");
}

TEST(DecimalTrimming, WithAndWithoutTheZero) {
    const struct {
        const wchar_t* in;
        const wchar_t* trimmed;
        const wchar_t* kept;
    } kCases[] = {
        {L"0.50", L"0.5", L"0.5"}, {L"3.000", L"3.", L"3.0"}, {L"100", L"100", L"100"},
        {L"5.", L"5.", L"5.0"},    {L"", L"", L""},           {L"*", L"*", L"*"},
        {L".000", L".", L".0"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ClickDataProbe::TrimDecimals(c.in, 0), c.trimmed) << CString(c.in).ToUtf8();
        EXPECT_EQ(ClickDataProbe::TrimDecimals(c.in, 1), c.kept) << CString(c.in).ToUtf8();
    }
}

}  // namespace
