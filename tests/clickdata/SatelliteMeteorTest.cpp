// SPDX-License-Identifier: LGPL-3.0-or-later
// Artificial satellites (distances, the point below them, the element epochs) and meteor
// showers (the next peak).
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kIss = L"ArtificialSatellite.ISS";
class Satellite : public ClickDataTest {
protected:
    void SetUp() override {
        Object(kIss, CZntClickData::TYPE_SATELLITE, {{L".Name", L"ISS (ZARYA)"}, {L".Number", L"25544"}});
    }
    // The epoch lines for an answer to ".Element.JulianEpoch".
    CString Epochs(const wchar_t* answer) {
        host.Answer(CString(L"? ") + kIss + L".Element.JulianEpoch", answer);
        const CString text = cd.GetTextSatellite(&host, 0);
        host.ClearLog();
        return text.Mid(CString(L"ISS (ZARYA) (25544)\r\n").GetLength() + CString(kNoPosition).GetLength());
    }
};

TEST_F(Satellite, FullText) {
    AnswerObject(host, kIss,
                 {{L".GeocentricDistance", L"6791.4"}, {L".TopocentricDistance", L"420.6"},
                  // 139ﾟ59'59.964": the seconds round to 60 and carry into minutes and degrees.
                  {L".LLA.Longitude", L"139.99999"}, {L".LLA.Latitude", L"-0.5"},
                  {L".LLA.Altitude", L"420123"}, {L".Element.JulianEpoch", L"2461015.25, 2461016.75"}});
    status.DispDistR = status.PlanetPhysicalTable = 1;
    EXPECT_TRUE(TextAndQueries(cd.GetTextSatellite(&host, 0),
                               CString(L"ISS (ZARYA) (25544)\r\n") + kNoPosition +
                                   L"地心距離 6791 km\r\n測心距離 421 km\r\n"
                                   L"直下点 東経140ﾟ00'00\" 南緯 0ﾟ30'00\"\r\n高度 420.1 km\r\n"
                                   L"元期(1) 2025年12月05日18時00分00.000000秒(UTC)\r\n"
                                   L"元期(2) 2025年12月07日06時00分00.000000秒(UTC)\r\n",
                               host,
                               Ask(kIss, {L".Name", L".Number"}) + J2000Queries(kIss) +
                                   Ask(kIss, {L".GeocentricDistance", L".TopocentricDistance", L".LLA.Longitude",
                                              L".LLA.Latitude", L".LLA.Altitude", L".Element.JulianEpoch"})));
}

TEST_F(Satellite, NameFromTheTleWhenThereIsNoName) {
    AnswerObject(host, kIss, {{L".Name", L""}, {L".TLEName", L"ISS"}, {L".Number", L""}});
    EXPECT_TRUE(TextAndQueries(cd.GetTextSatellite(&host, 1), L"ISS ()", host,
                               Ask(kIss, {L".Name", L".TLEName", L".Number"})));
}

TEST_F(Satellite, SubSatellitePoint) {
    status.PlanetPhysicalTable = 1;
    const struct { const wchar_t* longitude; const wchar_t* latitude; const wchar_t* line; } kCases[] = {
        {L"0", L"0", L"東経  0ﾟ00'00\" 北緯 0ﾟ00'00\""},
        {L"-0.5", L"51.6", L"西経  0ﾟ30'00\" 北緯51ﾟ36'00\""},
        {L"-179.999999", L"-51.99999", L"西経180ﾟ00'00\" 南緯52ﾟ00'00\""},
        // 59.5 s rounds up, 59.4 s down.
        {L"10.0165277778", L"10.0165", L"東経 10ﾟ01'00\" 北緯10ﾟ00'59\""},
        // Answers that are no angle at all.
        {L"nan", L"inf", L"西経---ﾟ--'--\" 北緯--ﾟ--'--\""},
        {L"1e300", L"-1e300", L"東経---ﾟ--'--\" 南緯--ﾟ--'--\""},
    };
    for (const auto& c : kCases) {
        AnswerObject(host, kIss, {{L".LLA.Longitude", c.longitude}, {L".LLA.Latitude", c.latitude}});
        EXPECT_EQ(cd.GetTextSatellite(&host, 0), CString(L"ISS (ZARYA) (25544)\r\n") + kNoPosition + L"直下点 " +
                                                     c.line + L"\r\n高度 0.0 km\r\n")
            << c.longitude;
    }
}

TEST_F(Satellite, EpochAnswers) {
    const CString one = L"元期 2025年12月05日18時00分00.000000秒(UTC)\r\n";
    const CString two = L"元期(1) 2025年12月05日18時00分00.000000秒(UTC)\r\n"
                        L"元期(2) 2025年12月07日06時00分00.000000秒(UTC)\r\n";
    // Either side of the comma may be empty or not positive: one line for the other. Past
    // the second comma nothing counts.
    for (const wchar_t* single : {L"2461015.25", L" , 2461015.25", L"2461015.25 ,", L"0,2461015.25", L"2461015.25,-1"})
        EXPECT_EQ(Epochs(single), one) << CString(single).ToUtf8();
    for (const wchar_t* pair : {L"2461015.25,2461016.75", L"2461015.25,2461016.75,2461099"})
        EXPECT_EQ(Epochs(pair), two) << CString(pair).ToUtf8();
    for (const wchar_t* none : {L"", L",", L",,,", L"-2461015.25", L"*", L"nan", L"inf,nan", L"abc"})
        EXPECT_EQ(Epochs(none), L"") << CString(none).ToUtf8();
}

TEST_F(Satellite, EpochSecondsNeverReadSixty) {
    // This Julian Day lies 0.45 microseconds before 00:17 (in 3070 BC, where a double
    // holds the time finely enough): the microseconds shown round into the minute
    // instead of reading 60.
    const CString text = Epochs(L"600000.51180555555");
    EXPECT_EQ(text.Find(L"60.000000"), -1) << text.ToUtf8();
    EXPECT_NE(text.Find(L"日00時17分00.000000秒(UTC)"), -1) << text.ToUtf8();
}

class Meteor : public ClickDataTest {
protected:
    void SetUp() override {
        Object(L"Meteor.Perseids", CZntClickData::TYPE_METEOR, {{L".Name", L"ペルセウス座"}, {L".LambdaOfPeak", L"140.0"}});
    }
    static CString Text(const wchar_t* peakLine) {
        return CString(L"ペルセウス座流星群の放射点\r\n") + kNoPosition + peakLine + L"\r\n";
    }
    void Today(const wchar_t* year, const wchar_t* month, const wchar_t* day) {
        AnswerDate(host, {year, month, day, L"21", L"0", L"0", L"9"});
    }
};

TEST_F(Meteor, NextPeak) {
    // The Sun reaches 140.0ﾟ (equinox of date) on 12 August 2025 around 11h UT.
    Today(L"2025", L"8", L"10");
    EXPECT_TRUE(TextAndQueries(cd.GetTextMeteor(&host, 0),
                               Text(L"極大日 8月12日頃"), host,
                               std::vector<CString>{L"? Meteor.Perseids.Name"} + J2000Queries(L"Meteor.Perseids") + DateQueries() +
                                   std::vector<CString>{L"? Meteor.Perseids.LambdaOfPeak"}));
    // Just after the peak: next year's.
    Today(L"2025", L"8", L"14");
    EXPECT_EQ(cd.GetTextMeteor(&host, 0), Text(L"極大日 8月13日頃"));
    // The Quadrantids (283.16ﾟ) seen on 5 January: next January.
    host.Answer(L"? Meteor.Perseids.LambdaOfPeak", L"283.16");
    Today(L"2026", L"1", L"5");
    EXPECT_EQ(cd.GetTextMeteor(&host, 0), Text(L"極大日 1月4日頃"));
    Today(L"2025", L"12", L"31");
    EXPECT_EQ(cd.GetTextMeteor(&host, 0), Text(L"極大日 1月3日頃"));
    // A peak longitude that is no number has no date.
    host.Answer(L"? Meteor.Perseids.LambdaOfPeak", L"nan");
    EXPECT_EQ(cd.GetTextMeteor(&host, 0), Text(L"極大日 --月--日頃"));
}

double SunLongitude(double jd) {
    double lb[2], r;
    CalcPlanetLbr(-3, UtToDt(jd), lb, &r);
    return degmal(lb[0] + 180.0);
}

TEST_F(Meteor, PeakIsAlwaysWithinTheComingYear) {
    // From every fifth day of a year, for showers all round the ecliptic (including the
    // fast-moving Sun of December and January, where a step overshoots most).
    for (const double lambda : {283.16, 32.32, 45.5, 140.0, 208.0, 262.2, 359.95}) {
        for (int day = 0; day < 366; day += 5) {
            const double start = 2460676.5 + day;  // from 1 January 2025
            const double peak = ClickDataProbe::GetJdSunLambda(start, lambda);
            EXPECT_GE(peak, start - 0.1) << lambda << " " << day;
            EXPECT_LT(peak - start, 365.6) << lambda << " " << day;
            EXPECT_LT(std::fabs(degmal(SunLongitude(peak) - lambda + 180.0) - 180.0), 0.1);
        }
    }
}

TEST_F(Meteor, PeakNextTo360) {
    // Shortly before the March equinox: a target a hair below 360 ends next to it, even
    // when the estimate lands just past 0.
    double start = 2461105.5;
    while (start < 2461135.5 && !(SunLongitude(start) > 359.5 && SunLongitude(start) < 359.9)) start += 0.05;
    ASSERT_LT(start, 2461135.5);
    const double jd = ClickDataProbe::GetJdSunLambda(start, 359.9999);
    EXPECT_LT(jd - start, 2.0);
    EXPECT_GT(jd, start);
}

}  // namespace
