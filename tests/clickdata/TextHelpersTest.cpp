// The helpers the builders share: coordinate texts under the switches, trailing zeros,
// clock times, periods and the host's local date.
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

class TextHelpers : public ::testing::Test {
protected:
    CCdStatus status;
    ClickDataProbe cd{status};
};

TEST_F(TextHelpers, CoordinateFormattersFollowTheSwitches) {
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

TEST_F(TextHelpers, TrimTrailingZero) {
    const std::pair<const wchar_t*, const wchar_t*> kCases[] = {
        {L"1.2500", L"1.25"}, {L"100", L"100"}, {L"1.000", L"1."}, {L"", L""}};
    for (const auto& c : kCases) {
        CString text = c.first;
        ClickDataProbe::TrimTrailingZero(text);
        EXPECT_EQ(text, c.second);
    }
}

TEST_F(TextHelpers, PeriodsWithThreeSignificantFigures) {
    const std::pair<double, const wchar_t*> kCases[] = {
        {12345.6, L"12300"}, {56.78, L"56.8"}, {5.678, L"5.68"}, {0.1234, L"0.120"}, {99.996, L"100"}};
    for (const auto& c : kCases) EXPECT_EQ(ClickDataProbe::GetPeriodString(c.first), c.second) << c.first;
}

TEST_F(TextHelpers, ClockTimesOfJulianDays) {
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.5, 2461015.75", 9.0, L"出 "), L"出 09:00,15:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"*", 9.0, L"没 "), L"没 --:--");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"", 9.0, L"没 "), L"没 ");
    // 29.9 s stays in its minute, 30.1 s rounds up.
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034606", 0.0, L""), L"00:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034838", 0.0, L""), L"00:01");
}

TEST_F(TextHelpers, EclipseTimeWrapsPastMidnight) {
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.75, L"食甚 "), L"食甚 06:00:00");
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.4999999, L""), L"00:00:00");
}

TEST_F(TextHelpers, LocalDateInQueryOrder) {
    FakeHost host;
    AnswerDate(host, {L"2026", L"12", L"6", L"21", L"5", L"30.5", L"9"});
    tagADATE date = {};
    ClickDataProbe::GetDate(&host, &date);
    EXPECT_EQ(std::vector<int>({date.year, date.month, date.day, date.hour, date.minute}),
              std::vector<int>({2026, 12, 6, 21, 5}));
    EXPECT_DOUBLE_EQ(date.second, 30.5);
    EXPECT_DOUBLE_EQ(date.timezone, 9.0);
    EXPECT_TRUE(QueriesAre(host, DateQueries()));
}

}  // namespace
