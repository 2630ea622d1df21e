// The helpers the builders share: coordinate texts under the switches, trailing zeros,
// clock times, periods, the host's local date and the instant of a solar longitude.
#include <gtest/gtest.h>

#include <cmath>

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
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } kCases[] = {{L"1.2500", L"1.25"}, {L"100", L"100"}, {L"1.000", L"1."}, {L"", L""}};
    for (const auto& c : kCases) {
        CString text = c.in;
        ClickDataProbe::TrimTrailingZero(text);
        EXPECT_EQ(text, c.out);
    }
}

TEST_F(TextHelpers, PeriodsWithThreeSignificantFigures) {
    EXPECT_EQ(ClickDataProbe::GetPeriodString(12345.6), L"12300");
    EXPECT_EQ(ClickDataProbe::GetPeriodString(56.78), L"56.8");
    EXPECT_EQ(ClickDataProbe::GetPeriodString(5.678), L"5.68");
    EXPECT_EQ(ClickDataProbe::GetPeriodString(0.1234), L"0.120");
    EXPECT_EQ(ClickDataProbe::GetPeriodString(99.996), L"100");
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
    FakeHost host{{L"? LST(Time.Year)", L"2026"},   {L"? LST(Time.Month)", L"12"},
                  {L"? LST(Time.Day)", L"6"},       {L"? LST(Time.Hour)", L"21"},
                  {L"? LST(Time.Minute)", L"5"},    {L"? LST(Time.Second)", L"30.5"},
                  {L"? Time.Timezone", L"9"}};
    tagADATE date = {};
    ClickDataProbe::GetDate(&host, &date);
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 6);
    EXPECT_EQ(date.hour, 21);
    EXPECT_EQ(date.minute, 5);
    EXPECT_DOUBLE_EQ(date.second, 30.5);
    EXPECT_DOUBLE_EQ(date.timezone, 9.0);
    EXPECT_TRUE(QueriesAre(host, {L"? LST(Time.Year)", L"? LST(Time.Month)", L"? LST(Time.Day)",
                                  L"? LST(Time.Hour)", L"? LST(Time.Minute)",
                                  L"? LST(Time.Second)", L"? Time.Timezone"}));
}

double SunLambdaAt(double jd) {
    double lb[2], r;
    CalcPlanetLbr(-3, UtToDt(jd), lb, &r);
    return degmal(lb[0] + 180.0);
}

TEST_F(TextHelpers, InstantOfASolarLongitude) {
    const double start = 2461015.5;
    const double now = SunLambdaAt(start);
    // Ahead: days later, even in December when the Sun moves faster than its mean motion
    // and the first estimate overshoots.
    for (double ahead : {0.5, 10.0, 30.0, 90.0}) {
        const double jd = ClickDataProbe::GetJdSunLambda(start, degmal(now + ahead));
        EXPECT_NEAR(jd - start, ahead, 0.05 * ahead + 0.5) << ahead;
        EXPECT_LT(std::fabs(degmal(SunLambdaAt(jd) - now - ahead + 180.0) - 180.0), 0.1);
    }
    // Just passed: the next time round, about a year later.
    const double behind = ClickDataProbe::GetJdSunLambda(start, degmal(now - 0.5));
    EXPECT_NEAR(behind - start, 365.25 - 0.5, 3.0);
}

TEST_F(TextHelpers, InstantOfASolarLongitudeNextTo360) {
    // Shortly before the March equinox: a target a hair below 360 ends next to it, even
    // when the estimate lands just past 0.
    double start = 2461105.5;
    while (start < 2461135.5 && !(SunLambdaAt(start) > 359.5 && SunLambdaAt(start) < 359.9))
        start += 0.05;
    ASSERT_LT(start, 2461135.5);
    const double jd = ClickDataProbe::GetJdSunLambda(start, 359.9999);
    EXPECT_LT(jd - start, 2.0);
    EXPECT_GT(jd, start);
}

}  // namespace
