// SPDX-License-Identifier: LGPL-3.0-or-later
// The position block: every line under its switch, the precision layouts and their
// alignment blanks, the observer lines, and the exact queries sent.
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kStar = L"Star.HIP.27989";
const wchar_t* const kJd = L"2461015.5";

// The host's local sidereal time is made exactly 120 degrees (8h), so hour angles follow
// from the right ascension alone: H = 120 - 15 x RA.
CString LongitudeForLst120() {
    const double jd = _wtof(kJd);
    double lon = 120.0 - GetLst(jd, 0.0);
    for (int i = 0; i < 64 && GetLst(jd, lon) != 120.0; ++i)
        lon = std::nextafter(lon, GetLst(jd, lon) < 120.0 ? 1e9 : -1e9);
    CString text;
    text.Format(L"%.17g", lon);
    return text;
}

CString RaForHourAngle(double H) {
    double ra = (120.0 - H) / 15.0;
    if (ra < 0) ra += 24.0;
    CString text;
    text.Format(L"%.17g", ra);
    return text;
}

// Queries of the whole block, in order, for an object on the Earth outside the
// solar-system view.
std::vector<CString> CoordinateQueries(bool withDateApp) {
    std::vector<CString> q = Ask(kStar, {L".position.RA", L".position.DEC"});
    if (withDateApp)
        q = q + Ask(kStar, {L".position.EquatorialDateApp.RA", L".position.EquatorialDateApp.DEC"});
    return q + Ask(kStar, {L".position.EquatorialB1950.RA", L".position.EquatorialB1950.DEC",
                           L".position.Ecliptical.Lambda", L".position.Ecliptical.Beta",
                           L".position.EclipticDateApp.Lambda", L".position.EclipticDateApp.Beta",
                           L".position.EclipticJ2000.Lambda", L".position.EclipticJ2000.Beta",
                           L".position.Galactical.Longitude", L".position.Galactical.Latitude"});
}

const std::vector<CString> kProjection = {L"? View.Projection"};
const std::vector<CString> kHorizon = Ask(kStar, {L".position.Altitude", L".position.Azimuth"});
const std::vector<CString> kHourAngle =
    Ask(kStar, {L".position.EquatorialDateApp.RA"}) + std::vector<CString>{L"? time.jd", L"? location.longitude"};
const std::vector<CString> kRiseSet =
    std::vector<CString>{L"? Time.Timezone"} + Ask(kStar, {L".Jd.Rise", L".Jd.Transit", L".Jd.Set"});

class PositionBlock : public ClickDataTest {
protected:
    void SetUp() override {
        status.Init();
        host.Answer(L"? View.Projection", L"Sky");
        AnswerObject(host, kStar,
                     {{L".position.RA", L"5.5"}, {L".position.DEC", L"-12.5"},
                      {L".position.EquatorialDateApp.RA", L"5.75"}, {L".position.EquatorialDateApp.DEC", L"7.25"},
                      {L".position.EquatorialB1950.RA", L"5.25"}, {L".position.EquatorialB1950.DEC", L"-0.5"},
                      {L".position.Ecliptical.Lambda", L"83.5"}, {L".position.Ecliptical.Beta", L"-1.25"},
                      {L".position.EclipticDateApp.Lambda", L"84"}, {L".position.EclipticDateApp.Beta", L"*"},
                      {L".position.EclipticJ2000.Lambda", L"82.75"}, {L".position.EclipticJ2000.Beta", L"-1"},
                      {L".position.Galactical.Longitude", L"200.125"}, {L".position.Galactical.Latitude", L"-20.5"},
                      {L".position.Altitude", L"90"}, {L".position.Azimuth", L"270"},
                      {L".Jd.Rise", L"2461015.25"}, {L".Jd.Transit", L"2461015.5"}, {L".Jd.Set", L"2461015.75"}});
        host.Answer(L"? time.jd", kJd);
        host.Answer(L"? location.longitude", LongitudeForLst120());
        host.Answer(L"? Time.Timezone", L"9");
        cd.SetObject(kStar, CZntClickData::TYPE_STAR);
    }

    void SetHourAngle(double H) {
        host.Answer(L"? " + CString(kStar) + L".position.EquatorialDateApp.RA", RaForHourAngle(H));
    }
    void AllOff() {
        status.DispEqt2000 = status.DispEqtDateApp = status.DispEqt1950 = status.DispEclDateMean = 0;
        status.DispEclDateApp = status.DispEcl2000 = status.DispGal = 0;
        status.DispHrz = status.DispHourAngle = status.DispRiseSet = 0;
    }
    // Every line off but the one of this switch.
    void OnlyLine(int& flag) {
        AllOff();
        flag = 1;
    }
};

// The horizon line and the corrected altitude under it.
CString Horizon(const wchar_t* line, const wchar_t* corrected) {
    return CString(line) + L"\r\n標準大気差補正済み高度 " + corrected + L"\r\n";
}

TEST_F(PositionBlock, EveryLineWithAlignmentBlanks) {
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 3),
                               L"赤経 05h30m00.00s  赤緯 -12ﾟ30'00.0\" (J2000)\r\n"
                               L"赤経 05h45m00.0s   赤緯 +07ﾟ15'00\"   (視位置)\r\n"
                               L"赤経 05h15m00.0s   赤緯 -00ﾟ30'00\"   (B1950)\r\n"
                               L"黄経  83ﾟ30'00\"    黄緯 -01ﾟ15'00\"   (平均位置)\r\n"
                               L"黄経  84ﾟ00'00\"    黄緯  --ﾟ--'--\"   (視位置)\r\n"
                               L"黄経  82ﾟ45'00\"    黄緯 -01ﾟ00'00\"   (J2000)\r\n"
                               L"銀経 200ﾟ07'30\"    銀緯 -20ﾟ30'00\"\r\n"
                               L"方位 270.000ﾟ      高度  90.000ﾟ\r\n"
                               L"標準大気差補正済み高度  90.000ﾟ\r\n"
                               L"時角 02h15m00s (33.750ﾟ)\r\n出 03:00 南中 09:00 没 15:00\r\n",
                               host, kProjection + CoordinateQueries(true) + kHorizon + kHourAngle + kRiseSet));
    // Precision 4 reduces the later lines to 3.
    EXPECT_EQ(cd.GetPosString(&host, 4).Left(86), L"赤経 05h30m00.000s  赤緯 -12ﾟ30'00.00\" (J2000)\r\n"
                                                  L"赤経 05h45m00.00s   赤緯 +07ﾟ15'00.0\"  (視位置)\r\n");
}

TEST_F(PositionBlock, LowPrecisionSwitchUsesLayout1EverywhereWithoutBlanks) {
    status.Precision = 1;
    const CString expected =
        L"赤経 05h30.0m  赤緯 -12ﾟ30' (J2000)\r\n"
        L"赤経 05h45.0m  赤緯 +07ﾟ15' (視位置)\r\n"
        L"赤経 05h15.0m  赤緯 -00ﾟ30' (B1950)\r\n"
        L"黄経  83ﾟ30'   黄緯 -01ﾟ15' (平均位置)\r\n"
        L"黄経  84ﾟ00'   黄緯  --ﾟ--' (視位置)\r\n"
        L"黄経  82ﾟ45'   黄緯 -01ﾟ00' (J2000)\r\n"
        L"銀経 200ﾟ08'   銀緯 -20ﾟ30'\r\n"
        L"方位 270.0ﾟ    高度  90.0ﾟ\r\n"
        L"標準大気差補正済み高度  90.0ﾟ\r\n"
        L"時角 02h15m (33.8ﾟ)\r\n"
        L"出 03:00 南中 09:00 没 15:00\r\n";
    EXPECT_EQ(cd.GetPosString(&host, 3), expected);
}

TEST_F(PositionBlock, EveryFlagOffStillAsksForTheProjection) {
    AllOff();
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 3), L"", host, kProjection));
}

// Lines 1 and 3 to 7: what the solar-system view and an observer off the Earth both show.
const wchar_t* const kWithoutObserverLines =
    L"赤経 05h30m00.0s  赤緯 -12ﾟ30'00\" (J2000)\r\n"
    L"赤経 05h15m00.0s  赤緯 -00ﾟ30'00\" (B1950)\r\n"
    L"黄経  83ﾟ30'00\"   黄緯 -01ﾟ15'00\" (平均位置)\r\n"
    L"黄経  84ﾟ00'00\"   黄緯  --ﾟ--'--\" (視位置)\r\n"
    L"黄経  82ﾟ45'00\"   黄緯 -01ﾟ00'00\" (J2000)\r\n"
    L"銀経 200ﾟ07'30\"   銀緯 -20ﾟ30'00\"\r\n";

TEST_F(PositionBlock, SolarSystemViewAndObserversOffTheEarthLeaveOutTheObserverLines) {
    for (const bool solarView : {true, false}) {
        if (solarView) host.Answer(L"? View.Projection", L"solarsystem");
        cd.SetNotEarth(!solarView);
        EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), kWithoutObserverLines, host,
                                   kProjection + CoordinateQueries(false)));
        host.Answer(L"? View.Projection", L"Sky");
    }
    // Precision 1 reduces the later lines to 2, without alignment blanks.
    cd.SetNotEarth(1);
    const CString later = kWithoutObserverLines;
    EXPECT_EQ(cd.GetPosString(&host, 1), L"赤経 05h30.0m  赤緯 -12ﾟ30' (J2000)\r\n" + later.Mid(later.Find(L"\n") + 1));
}

TEST_F(PositionBlock, AzimuthFromTheNorthAddsTheMarkAndItsPad) {
    OnlyLine(status.DispHrz);
    cd.SetOriginNorth(1);
    EXPECT_EQ(cd.GetPosString(&host, 3),
              Horizon(L"方位  90.000ﾟ      高度  90.000ﾟ     (北原点)", L" 90.000ﾟ"));
    host.Answer(L"? Star.HIP.27989.position.Azimuth", L"0");
    status.Precision = 1;
    EXPECT_EQ(cd.GetPosString(&host, 3),
              Horizon(L"方位 180.0ﾟ    高度  90.0ﾟ  (北原点)", L" 90.0ﾟ"));
}

TEST_F(PositionBlock, UnknownAltitudeAndAzimuthGivePlaceholders) {
    OnlyLine(status.DispHrz);
    host.Answer(L"? Star.HIP.27989.position.Altitude", L"*");
    host.Answer(L"? Star.HIP.27989.position.Azimuth", L"*");
    EXPECT_EQ(cd.GetPosString(&host, 2), Horizon(L"方位   -.---ﾟ    高度   -.---ﾟ", L"  -.---ﾟ"));
    status.Precision = 1;
    EXPECT_EQ(cd.GetPosString(&host, 2), Horizon(L"方位   -.-ﾟ    高度   -.-ﾟ", L"  -.-ﾟ"));
}

TEST_F(PositionBlock, CorrectedAltitudeBelowMinus3IsNotPrintedAsANumber) {
    OnlyLine(status.DispHrz);
    // The true altitude whose corrected altitude is just below -3.
    double in[2] = {0.0, -3.0}, out[2];
    for (AtmosphericRefraction(in, out); out[1] >= -3.0; AtmosphericRefraction(in, out)) in[1] -= 0.01;
    CString answer;
    answer.Format(L"%.17g", in[1]);
    host.Answer(L"? Star.HIP.27989.position.Altitude", answer);
    EXPECT_NE(cd.GetPosString(&host, 2).Find(L"補正済み高度 < -3.000ﾟ\r\n"), -1);
}

TEST_F(PositionBlock, HourAngleSignsAndCarries) {
    OnlyLine(status.DispHourAngle);
    const struct { double H; int precision; const wchar_t* text; } kCases[] = {
        {-15.0, 0, L"時角 -01h00m00s (-15.000ﾟ)\r\n"},
        {180.0, 0, L"時角 12h00m00s (180.000ﾟ)\r\n"},
        {180.5, 0, L"時角 -11h58m00s (-179.500ﾟ)\r\n"},
        // 0h59m59.6s: the seconds carry into the minutes, the minutes into the hours.
        {(59.0 + 59.6 / 60.0) / 60.0 * 15.0, 0, L"時角 01h00m00s (14.998ﾟ)\r\n"},
        // 0h59m30s at low precision: the half minute rounds up and carries.
        {(59.5 / 60.0) * 15.0, 1, L"時角 01h00m (14.9ﾟ)\r\n"},
        {-(59.5 / 60.0) * 15.0, 1, L"時角 -01h00m (-14.9ﾟ)\r\n"},
    };
    for (const auto& c : kCases) {
        status.Precision = c.precision;
        SetHourAngle(c.H);
        EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), c.text, host, kProjection + kHourAngle))
            << "H = " << c.H;
    }
}

TEST_F(PositionBlock, HourAngleWithoutRightAscensionAsksNoTime) {
    OnlyLine(status.DispHourAngle);
    const std::vector<CString> raOnly = kProjection + Ask(kStar, {L".position.EquatorialDateApp.RA"});
    for (const wchar_t* answer : {L"*", L""}) {
        host.Answer(L"? Star.HIP.27989.position.EquatorialDateApp.RA", answer);
        EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), L"時角 --h--m--s = -.---ﾟ\r\n", host, raOnly));
    }
    status.Precision = 1;
    EXPECT_EQ(cd.GetPosString(&host, 2), L"時角 --h--m = -.-ﾟ\r\n");
}

TEST_F(PositionBlock, RiseTransitSetVariants) {
    OnlyLine(status.DispRiseSet);
    host.Answer(L"? Star.HIP.27989.Jd.Rise", L"");
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), L" 南中 09:00 没 15:00\r\n", host,
                               kProjection + kRiseSet));
    host.Answer(L"? Star.HIP.27989.Jd.Rise", L"*");
    host.Answer(L"? Star.HIP.27989.Jd.Set", L"2461015.75, 2461016.7");
    EXPECT_EQ(cd.GetPosString(&host, 2), L"出 --:-- 南中 09:00 没 15:00,13:48\r\n");
    host.ClearLog();
    host.Answer(L"? Star.HIP.27989.Jd.Rise", L"");
    host.Answer(L"? Star.HIP.27989.Jd.Transit", L"");
    host.Answer(L"? Star.HIP.27989.Jd.Set", L"");
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), L"", host, kProjection + kRiseSet));
}

TEST_F(PositionBlock, SatellitesAndSpacecraftHaveNoRiseAndSet) {
    OnlyLine(status.DispRiseSet);
    cd.SetObject(L"ArtificialSatellite.ISS", CZntClickData::TYPE_SATELLITE);
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), L"", host, kProjection));
    cd.SetObject(L"Solar.spacecraft.Voyager1", CZntClickData::TYPE_SOLAR);
    EXPECT_EQ(cd.GetPosString(&host, 2), L"");
    host.Answer(L"? Solar.Planet.Mars.Jd.Transit", L"2461015.5");
    cd.SetObject(L"Solar.Planet.Mars", CZntClickData::TYPE_SOLAR);
    EXPECT_EQ(cd.GetPosString(&host, 2), L" 南中 09:00\r\n");
}

TEST_F(PositionBlock, ConstellationCallFormAsksForTheClickedPoint) {
    OnlyLine(status.DispEqt2000);
    host.Answer(L"? ClickData.Mark.position.RA", L"5.5");
    cd.SetObject(L"Constellation.(Ori)", CZntClickData::TYPE_CONSTELLATION);
    EXPECT_TRUE(TextAndQueries(cd.GetPosString(&host, 2), L"赤経 05h30m00.0s  赤緯 +00ﾟ00'00\" (J2000)\r\n",
                               host, kProjection + Ask(L"ClickData.Mark", {L".position.RA", L".position.DEC"})));
    // A dotted constellation path asks for the constellation itself.
    cd.SetObject(L"Constellation.Ori", CZntClickData::TYPE_CONSTELLATION);
    cd.GetPosString(&host, 2);
    EXPECT_TRUE(QueriesAre(host, kProjection + Ask(L"Constellation.Ori", {L".position.RA", L".position.DEC"})));
}

TEST_F(PositionBlock, AnswersThatAreNotNumbersOrAbsurdlyLongDoNotBreakTheBlock) {
    const CString huge(L'9', 5000);
    for (const wchar_t* suffix : {L".position.RA", L".position.Altitude", L".position.Azimuth",
                                  L".position.EquatorialDateApp.RA", L".Jd.Rise"})
        host.Answer(L"? " + CString(kStar) + suffix, huge);
    host.Answer(L"? Star.HIP.27989.position.DEC", L"north");
    host.Answer(L"? Star.HIP.27989.Jd.Set", L"1e308,nan,,x," + huge);
    host.Answer(L"? time.jd", L"inf");
    const CString text = cd.GetPosString(&host, 3);
    EXPECT_NE(text.Find(L"時角 --h--m--s = -.---ﾟ\r\n"), -1);
    EXPECT_NE(text.Find(L"赤緯 +00ﾟ00'00.0\" (J2000)"), -1);
}

}  // namespace
