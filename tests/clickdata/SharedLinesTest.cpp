// SPDX-License-Identifier: LGPL-3.0-or-later
// The lines and helpers the builders share: the measuring line, the hourly motion, the
// elongation from the Sun, coordinate texts under the switches, clock times, periods and
// decimals.
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const std::vector<CString> kMeasureQueries =
    Ask(L"Measure", {L".Visible", L".Connecting", L".Origin.position.EquatorialDateApp.RA",
                     L".Origin.position.EquatorialDateApp.DEC", L".End.position.EquatorialDateApp.RA",
                     L".End.position.EquatorialDateApp.DEC", L".Origin.position.EclipticDateApp.Lambda",
                     L".Origin.position.EclipticDateApp.Beta", L".End.position.EclipticDateApp.Lambda",
                     L".End.position.EclipticDateApp.Beta"});

class MeasureLine : public ClickDataTest {
protected:
    void SetUp() override {
        host.Answer(L"? Measure.Visible", L"TRUE");
        host.Answer(L"? Measure.Connecting", L"true");
        Ends(L"Origin", L"23.8333333333333", L"10", L"355.5", L"-1");
        Ends(L"End", L"0.1666666666667", L"10", L"2.5", L"1");
    }
    void Ends(const CString& end, const wchar_t* ra, const wchar_t* dec, const wchar_t* lambda,
              const wchar_t* beta) {
        AnswerObject(host, L"Measure." + end,
                     {{L".position.EquatorialDateApp.RA", ra}, {L".position.EquatorialDateApp.DEC", dec},
                      {L".position.EclipticDateApp.Lambda", lambda}, {L".position.EclipticDateApp.Beta", beta}});
    }
};

TEST_F(MeasureLine, NothingUnlessTheToolIsShownAndConnecting) {
    host.Answer(L"? Measure.Visible", L"1");
    EXPECT_TRUE(TextAndQueries(cd.GetMeasureString(&host), L"", host, {L"? Measure.Visible"}));
    host.Answer(L"? Measure.Visible", L"True");
    host.Answer(L"? Measure.Connecting", L"FALSE");
    EXPECT_TRUE(TextAndQueries(cd.GetMeasureString(&host), L"", host,
                               {L"? Measure.Visible", L"? Measure.Connecting"}));
}

TEST_F(MeasureLine, DifferencesAreSignedAndNotWrapped) {
    // 23h50m to 0h10m is printed as minus 23h40m; the longitude difference is not reduced.
    EXPECT_TRUE(TextAndQueries(cd.GetMeasureString(&host),
                               L"赤経差 -23h40m00.0s  赤緯差 +  0ﾟ00'00\"\r\n"
                               L"黄経差 -353ﾟ00'00\"   黄緯差 +  2ﾟ00'00\"\r\n",
                               host, kMeasureQueries));
    status.Precision = 1;
    EXPECT_EQ(cd.GetMeasureString(&host),
              L"赤経差 -23h40.0m  赤緯差 +  0ﾟ00'\r\n黄経差 -353ﾟ00'   黄緯差 +  2ﾟ00'\r\n");
    cd.SetExtraOption(1);
    EXPECT_EQ(cd.GetMeasureString(&host),
              L"赤経差 -23h40m00.000s  赤緯差 +  0ﾟ00'00.00\"\r\n"
              L"黄経差 -353ﾟ00'00.00\"   黄緯差 +  2ﾟ00'00.00\"\r\n");
}

TEST_F(MeasureLine, DegreesSwitchPrintsDecimalDegrees) {
    status.RaInDegrees = 1;
    EXPECT_EQ(cd.GetMeasureString(&host),
              L"赤経差 -355.0000     赤緯差 +0.0000    \r\n"
              L"黄経差 -353.0000     黄緯差 +2.0000    \r\n");
}

TEST_F(MeasureLine, PositionAngleAndDistanceEndWithoutALineBreak) {
    status.DispAzmth = 1;
    Ends(L"Origin", L"0", L"0", L"0", L"0");
    Ends(L"End", L"1", L"0", L"0", L"0");
    EXPECT_TRUE(TextAndQueries(cd.GetMeasureString(&host),
                               L"赤経差 +01h00m00.0s  赤緯差 +  0ﾟ00'00\"\r\n"
                               L"黄経差 +  0ﾟ00'00\"   黄緯差 +  0ﾟ00'00\"\r\n"
                               L"位置角   90ﾟ00'00\"   角距離   15ﾟ00'00\"",
                               host, kMeasureQueries));
}

TEST_F(MeasureLine, EndAtTheOriginPrintsPlusZeros) {
    Ends(L"End", L"23.8333333333333", L"10", L"355.5", L"-1");
    EXPECT_EQ(cd.GetMeasureString(&host),
              L"赤経差 +00h00m00.0s  赤緯差 +  0ﾟ00'00\"\r\n"
              L"黄経差 +  0ﾟ00'00\"   黄緯差 +  0ﾟ00'00\"\r\n");
}

using SharedLines = ClickDataTest;

TEST_F(SharedLines, DailyMotionFourLinesPerHour) {
    Object(L"Solar.Planet.Mars", CZntClickData::TYPE_SOLAR,
           {{L".DailyMotion.RA", L"15"}, {L".DailyMotion.Dec", L"*"}, {L".position.EquatorialDateApp.RA", L"6"}});
    EXPECT_TRUE(TextAndQueries(cd.GetDailyMotion(&host),
                               L"移動量(赤経) 150.000 s/時間\r\n"
                               L"移動量(赤緯) 0.00 \"/時間\r\n"
                               L"移動方向 90.00 度\r\n"
                               L"移動量   2250.00 \"/時間\r\n",
                               host,
                               Ask(L"Solar.Planet.Mars",
                                   {L".DailyMotion.RA", L".DailyMotion.Dec",
                                    L".position.EquatorialDateApp.RA",
                                    L".position.EquatorialDateApp.DEC"})));
}

TEST_F(SharedLines, SolarElongationSideFromTheLongitudes) {
    Object(L"Solar.Planet.Venus", CZntClickData::TYPE_SOLAR,
           {{L".SolarElongation", L"*"}, {L".position.Ecliptical.Lambda", L"10"}});
    host.Answer(L"? solar.sun.position.Ecliptical.Lambda", L"350");
    EXPECT_TRUE(TextAndQueries(cd.GetSolarElongation(&host), L"", host,
                               {L"? Solar.Planet.Venus.SolarElongation"}));
    host.Answer(L"? Solar.Planet.Venus.SolarElongation", L"20.5");
    EXPECT_TRUE(TextAndQueries(cd.GetSolarElongation(&host), L"太陽離角 20.500ﾟE\r\n", host,
                               {L"? Solar.Planet.Venus.SolarElongation",
                                L"? Solar.Planet.Venus.position.Ecliptical.Lambda",
                                L"? solar.sun.position.Ecliptical.Lambda"}));
    host.Answer(L"? solar.sun.position.Ecliptical.Lambda", L"190");
    EXPECT_EQ(cd.GetSolarElongation(&host), L"太陽離角 20.500ﾟW\r\n");
    host.Answer(L"? solar.sun.position.Ecliptical.Lambda", L"");
    EXPECT_EQ(cd.GetSolarElongation(&host), L"太陽離角 20.500ﾟ\r\n");
}

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

TEST_F(SharedLines, PeriodsWithThreeSignificantFigures) {
    const std::pair<double, const wchar_t*> kCases[] = {
        {12345.6, L"12300"}, {5.678, L"5.68"}, {0.1234, L"0.120"}, {99.996, L"100"}};
    for (const auto& c : kCases) EXPECT_EQ(ClickDataProbe::GetPeriodString(c.first), c.second) << c.first;
}

TEST_F(SharedLines, ClockTimesOfJulianDays) {
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.5, 2461015.75", 9.0, L"出 "), L"出 09:00,15:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"*", 9.0, L"没 "), L"没 --:--");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"", 9.0, L"没 "), L"没 ");
    // 29.9 s stays in its minute, 30.1 s rounds up.
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034606", 0.0, L""), L"00:00");
    EXPECT_EQ(ClickDataProbe::GetTimeString(L"2461015.50034838", 0.0, L""), L"00:01");
}

TEST_F(SharedLines, EclipseTimeWrapsPastMidnight) {
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.75, L"食甚 "), L"食甚 06:00:00");
    EXPECT_EQ(ClickDataProbe::GetEclipseTime(2461015.4999999, L""), L"00:00:00");
}

TEST(DecimalTrimming, WithAndWithoutTheZero) {
    const struct { const wchar_t* in; const wchar_t* trimmed; const wchar_t* kept; } kCases[] = {
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
