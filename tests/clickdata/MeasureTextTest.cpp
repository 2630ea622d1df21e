// The measuring line, the hourly motion and the elongation from the Sun.
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

using SolarHelpers = ClickDataTest;

TEST_F(SolarHelpers, DailyMotionFourLinesPerHour) {
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

TEST_F(SolarHelpers, SolarElongationSideFromTheLongitudes) {
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

}  // namespace
