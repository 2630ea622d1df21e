// SPDX-License-Identifier: LGPL-3.0-or-later
// The solar-system text: the kind of body from its path, the name lines, and the lines of
// each kind under their switches, with the exact queries sent; and its shared parts: the
// solar eclipse block, the Moon's phases of the local day (with the real phase
// calculation), the orbital elements, and answers that are no usable numbers.
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

std::vector<CString> Names(const CString& path) { return Ask(path, {L".JapaneseName", L".EnglishName"}); }

// The queries of a body's text: its names, what comes before the position, the position
// (J2000 only), what comes after.
std::vector<CString> BodyQueries(const CString& path, std::initializer_list<const wchar_t*> before,
                                 std::initializer_list<const wchar_t*> after) {
    return Names(path) + Ask(path, before) + J2000Queries(path) + Ask(path, after);
}

class SolarText : public ClickDataTest {
protected:
    CString Text(const CString& path, int bCompact) {
        cd.SetObject(path, CZntClickData::TYPE_SOLAR);
        return cd.GetTextSolar(&host, bCompact);
    }
    // Names the body and answers (suffix, answer) for it; returns its path.
    CString Body(const wchar_t* path, const wchar_t* japanese, const wchar_t* english,
                 std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers = {}) {
        AnswerObject(host, path, {{L".JapaneseName", japanese}, {L".EnglishName", english}});
        AnswerObject(host, path, answers);
        return path;
    }
};

TEST_F(SolarText, NameLineOfEveryKind) {
    host.Answer(L"? solar.Planet.Jupiter.japaneseName", L"木星");
    const struct {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* extraQuery;  // after the two names
    } kCases[] = {
        // A place is recognised before anything else, also on the Moon.
        {L"Solar.Planet.Earth.Satellite.Moon.Place.Tycho", L"和 En", nullptr},
        {L"Solar.Sun", L"和 En", nullptr},
        {L"Solar.Comet.1P", L"和 En (1P)", L".ID"},
        {L"Solar.Planet.Jupiter.Satellite.Io", L"和 En (I)", L".Number"},
        {L"solar.PLANET.mars", L"和 En (惑星)", nullptr},
        {L"Solar.DwarfPlanet.Pluto", L"和 En (準惑星)", nullptr},
        {L"Solar.Planet.Earth.Umbra", L"和 (月の距離に応じた地球の影)", nullptr},
        {L"Solar.DwarfPlanet.Earth.Umbra", L"和 En (準惑星)", nullptr},
        {L"Solar.Planet.Jupiter.LagrangianPoint.L4", L"木星ラグランジュ点 和", nullptr},
        {L"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L1", L"月ラグランジュ点 和", nullptr},
        {L"Solar.Nebula.X", L"", nullptr},
    };
    for (const auto& c : kCases) {
        Body(c.path, L"和", L"En", {{L".ID", L"1P"}, {L".Number", L"I"}});
        std::vector<CString> queries = Names(c.path);
        if (c.extraQuery) queries = queries + Ask(c.path, {c.extraQuery});
        if (CString(c.path).Find(L"LagrangianPoint.L4") > 0)
            queries.push_back(L"? solar.Planet.Jupiter.japaneseName");
        EXPECT_TRUE(TextAndQueries(Text(c.path, 1), c.name, host, queries)) << CString(c.path).ToUtf8();
    }
    // In full, a Lagrangian point has its position; the Earth's shadow none.
    EXPECT_EQ(Text(L"Solar.Planet.Jupiter.LagrangianPoint.L4", 0), CString(L"木星ラグランジュ点 和\r\n") + kNoPosition);
    EXPECT_EQ(Text(L"Solar.Planet.Earth.Umbra", 0), L"和 (月の距離に応じた地球の影)\r\n");
}

TEST_F(SolarText, Sun) {
    const CString sun = Body(L"Solar.Sun", L"太陽", L"Sun",
                             {{L".Dm", L"0.27"}, {L".position.RA", L"10.75"}, {L".position.DEC", L"8"},
                              {L".GeocentricDistance", L"1.0087"}, {L".TopocentricDistance", L"1.00869"},
                              {L".PhysicalTable.CM", L"123.4"}, {L".PhysicalTable.De", L"-3.6"},
                              {L".EclipsMagnitude", L"1.013"}});
    host.Answer(L"? solar.earth.besselelement.apply", L"FALSE");
    status.DispMag = status.DispDistR = status.PlanetPhysicalTable = 1;
    EXPECT_TRUE(TextAndQueries(
        Text(sun, 0),
        L"太陽 Sun\r\n光度 -26.7等 視直径 16.2'\r\n"
        L"赤経 10h45m00.0s  赤緯 +08ﾟ00'00\" (J2000)\r\n"
        L"地心距離  1.00870 au\r\n測心距離  1.00869 au\r\n"
        L"中央経度 123ﾟ\r\n中央緯度  -4ﾟ\r\n食分 1.01\r\n",
        host,
        BodyQueries(sun, {L".Dm"},
                    {L".GeocentricDistance", L".TopocentricDistance", L".PhysicalTable.CM", L".PhysicalTable.De"}) +
            std::vector<CString>{L"? solar.earth.besselelement.apply"} + Ask(sun, {L".EclipsMagnitude"})));
    // A negative eclipse magnitude has no line; "*" reads as 0.
    status.DispMag = status.DispDistR = 0;
    const CString physical = L"太陽 Sun\r\n赤経 10h45m00.0s  赤緯 +08ﾟ00'00\" (J2000)\r\n中央経度 123ﾟ\r\n中央緯度  -4ﾟ\r\n";
    host.Answer(L"? Solar.Sun.EclipsMagnitude", L"-1");
    EXPECT_EQ(Text(sun, 0), physical);
    host.Answer(L"? Solar.Sun.EclipsMagnitude", L"*");
    EXPECT_EQ(Text(sun, 0), physical + L"食分 0.00\r\n");
}

TEST_F(SolarText, Planets) {
    const CString mars = Body(L"Solar.Planet.Mars", L"火星", L"Mars",
                              {{L".Magnitude", L"1.23"}, {L".Dm", L"4.14"}, {L".PhysicalTable.K", L"0.978"},
                               {L".GeocentricDistance", L"2.3456789"}, {L".TopocentricDistance", L"2.345678"},
                               {L".HelioCentricDistance", L"1.4"}, {L".SolarElongation", L"45.5"},
                               {L".position.Ecliptical.Lambda", L"300"}, {L".RevolutionPeriod", L"1.8808"},
                               {L".SemiMajorAxis", L"1.523679"}, {L".Eccentricity", L"0.0934"},
                               {L".PhysicalTable.CM", L"123.4"}, {L".PhysicalTable.De", L"-5.2"},
                               {L".PhysicalTable.Ls", L"300.12"}});
    host.Answer(L"? solar.sun.position.Ecliptical.Lambda", L"250");
    status.DispMag = status.DispDistR = status.SolarOrbitDetails = status.PlanetPhysicalTable = 1;
    EXPECT_TRUE(TextAndQueries(
        Text(mars, 0),
        CString(L"火星 Mars (惑星)\r\n光度  1.2等  視直径 4.1\"  輝面比 0.98\r\n") + kNoPosition +
            L"地心距離  2.34568 au\r\n測心距離  2.34568 au\r\n日心距離  1.40000 au\r\n"
            L"太陽離角 45.500ﾟE\r\n"
            L"公転周期 1.88年\r\n軌道長半径 1.523679 au\r\n離心率 0.093400\r\n"
            L"中央経度 123ﾟ\r\n中央緯度  -5ﾟ\r\n惑心太陽黄経 300.1ﾟ\r\n",
        host,
        BodyQueries(mars, {L".Magnitude", L".Dm", L".PhysicalTable.K"},
                    {L".GeocentricDistance", L".TopocentricDistance", L".HelioCentricDistance",
                     L".SolarElongation", L".position.Ecliptical.Lambda"}) +
            std::vector<CString>{L"? solar.sun.position.Ecliptical.Lambda"} +
            Ask(mars, {L".RevolutionPeriod", L".SemiMajorAxis", L".Eccentricity", L".PhysicalTable.CM",
                       L".PhysicalTable.De", L".PhysicalTable.Ls"})));

    // The physical tables of Jupiter and Saturn (body names in any case); other bodies
    // have none.
    status = CCdStatus();
    status.PlanetPhysicalTable = 1;
    AnswerObject(host, L"Solar.Planet.JUPITER",
                 {{L".PhysicalTable.CM1", L"10.4"}, {L".PhysicalTable.CM2", L"200.6"}, {L".PhysicalTable.De", L"3.2"}});
    AnswerObject(host, L"Solar.Planet.Saturn", {{L".PhysicalTable.CM3", L"45"}, {L".PhysicalTable.De", L"20"}});
    const std::pair<const wchar_t*, const wchar_t*> kCases[] = {
        {L"Solar.Planet.JUPITER", L"中央経度  10ﾟ(I) 201ﾟ(II)\r\n中央緯度   3ﾟ\r\n"},
        {L"Solar.Planet.Saturn", L"中央経度  45ﾟ(III)\r\n中央緯度  20ﾟ\r\n"},
        {L"Solar.Planet.Uranus", L""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Text(c.first, 0), L"  (惑星)\r\n" + CString(kNoPosition) + c.second) << CString(c.first).ToUtf8();
}

TEST_F(SolarText, TheEarthShowsOnlyItsDistanceFromTheSun) {
    const CString earth = Body(L"Solar.Planet.Earth", L"地球", L"Earth", {{L".HelioCentricDistance", L"0.9856"}});
    status.DispMag = status.DispDistR = status.PlanetPhysicalTable = 1;
    EXPECT_TRUE(TextAndQueries(Text(earth, 0), L"地球 Earth (惑星)\r\n日心距離  0.98560 au\r\n", host,
                               Names(earth) + Ask(earth, {L".HelioCentricDistance"})));
}

TEST_F(SolarText, SatelliteOfAPlanet) {
    const CString io = Body(L"Solar.Planet.Jupiter.Satellite.Io", L"イオ", L"Io",
                            {{L".Number", L"I"}, {L".Magnitude", L"5.02"}, {L".GeocentricDistance", L"4.5"},
                             {L".TopocentricDistance", L"4.49999"}, {L".PlanetocentricDistance", L"421800"},
                             {L".HeliocentricDistance", L"5.1"}});
    status.DispDistR = 1;
    // The magnitude is asked even when it is not shown.
    EXPECT_TRUE(TextAndQueries(
        Text(io, 0),
        CString(L"イオ Io (I)\r\n") + kNoPosition +
            L"地心距離  4.50000 au\r\n測心距離  4.49999 au\r\n日心距離  5.10000 au\r\n惑心距離  42.18万 km\r\n",
        host,
        BodyQueries(io, {L".Number", L".Magnitude"},
                    {L".GeocentricDistance", L".TopocentricDistance", L".PlanetocentricDistance",
                     L".HeliocentricDistance"})));
}

TEST_F(SolarText, MoonWithItsPhaseOfTheDay) {
    const CString moon = Body(L"Solar.Planet.Earth.Satellite.Moon", L"月", L"Moon",
                              {{L".Age", L"14.93"}, {L".Dm", L"0.5"}, {L".PhysicalTable.K", L"0.994"},
                               {L".GeocentricDistance", L"384400"}, {L".TopocentricDistance", L"380000"},
                               {L".PhysicalTable.CM", L"-5.26"}, {L".PhysicalTable.De", L"1.5"},
                               {L".EclipsMagnitude", L"-0.5"}});
    // 5 December 2025, 21:00 in Japan: the full Moon of 4 December 23:14 UT fell at 08:14.
    AnswerDate(host, {L"2025", L"12", L"5", L"21", L"0", L"0", L"9"});
    status.DispMag = status.DispDistR = status.PlanetPhysicalTable = 1;
    EXPECT_TRUE(TextAndQueries(
        Text(moon, 0),
        CString(L"月 Moon\r\n月齢 14.9  視直径 30.0'  輝面比 0.99\r\n") + kNoPosition +
            L"地心距離  38.44万 km\r\n測心距離  38.00万 km\r\n中央経度  -5.3ﾟ  中央緯度   1.5ﾟ\r\n満月 08:14\r\n",
        host,
        BodyQueries(moon, {L".Age", L".Dm", L".PhysicalTable.K"},
                    {L".GeocentricDistance", L".TopocentricDistance", L".PhysicalTable.CM", L".PhysicalTable.De"}) +
            DateQueries() + Ask(moon, {L".EclipsMagnitude"})));
    // The distances in 10,000 km do not follow the precision.
    status.Precision = 1;
    EXPECT_NE(Text(moon, 0).Find(L"\r\n地心距離  38.44万 km\r\n測心距離  38.00万 km\r\n"), -1);
}

TEST_F(SolarText, CometWithUnknownAnswers) {
    const CString comet = Body(L"Solar.Comet.C2023A3", L"紫金山・アトラス彗星", L"Tsuchinshan-ATLAS",
                               {{L".ID", L"C/2023 A3"}, {L".Magnitude", L"*"}, {L".GeocentricDistance", L"*"},
                                {L".TopocentricDistance", L"1.23456789"}, {L".HeliocentricDistance", L"*"},
                                {L".SolarElongation", L"*"}, {L".RevolutionPeriod", L"*"},
                                {L".TimeOfPerihelionPassage", L"2451545.0"}, {L".Eccentricity", L"1"},
                                {L".PerihelionDistance", L"0.39"}});
    status.DispMag = status.DispDistR = status.SolarOrbitDetails = 1;
    EXPECT_TRUE(TextAndQueries(
        Text(comet, 0),
        CString(L"紫金山・アトラス彗星 Tsuchinshan-ATLAS (C/2023 A3)\r\n光度 --.-等\r\n") + kNoPosition +
            L"地心距離 --.----- au\r\n測心距離  1.23457 au\r\n日心距離 --.----- au\r\n"
            L"近日点通過時刻 2000年 1月1.50000日 TT\r\n離心率 1.0\r\n近日点距離 0.390000 au\r\n"
            L"移動量(赤経) 0.000 s/時間\r\n移動量(赤緯) 0.00 \"/時間\r\n移動方向 0.00 度\r\n移動量   0.00 \"/時間\r\n",
        host,
        BodyQueries(comet, {L".ID", L".Magnitude"},
                    {L".GeocentricDistance", L".TopocentricDistance", L".HeliocentricDistance",
                     L".SolarElongation", L".RevolutionPeriod", L".TimeOfPerihelionPassage", L".Eccentricity",
                     L".PerihelionDistance", L".DailyMotion.RA", L".DailyMotion.Dec",
                     L".position.EquatorialDateApp.RA", L".position.EquatorialDateApp.DEC"})));
    // Short placeholders of the distances.
    status.DispMag = status.SolarOrbitDetails = 0;
    status.Precision = 1;
    EXPECT_EQ(Text(comet, 0), L"紫金山・アトラス彗星 Tsuchinshan-ATLAS (C/2023 A3)\r\n赤経 00h00.0m  赤緯 +00ﾟ00' (J2000)\r\n"
                              L"地心距離 --.--- au\r\n測心距離  1.235 au\r\n日心距離 --.--- au\r\n");
}

TEST_F(SolarText, MeteoriteInThePastAndStillInOrbit) {
    // Fell at 12:00:59 UT on 1 January 2000: 21:00 in Japan, the seconds dropped.
    const CString meteorite = Body(L"Solar.Meteorite.Ogi", L"小城隕石", L"Ogi",
                                   {{L".ID", L"M1"}, {L".Memo", L"佐賀県に落下"}, {L".TimeOfFall", L"2451545.00068287"},
                                    {L".GeocentricDistance", L"0.1"}, {L".TopocentricDistance", L"0.1"},
                                    {L".HeliocentricDistance", L"1.1"}, {L".RevolutionPeriod", L"*"},
                                    {L".SemiMajorAxis", L"1.5"}, {L".Eccentricity", L"0.25"}});
    host.Answer(L"? time.timezone", L"9");
    host.Answer(L"? time.jd", L"2461015.5");
    status.DispDistR = status.SolarOrbitDetails = 1;
    const std::vector<CString> head = Names(meteorite) + Ask(meteorite, {L".ID", L".Memo", L".TimeOfFall"}) +
                                      std::vector<CString>{L"? time.timezone", L"? time.jd"};
    EXPECT_TRUE(TextAndQueries(Text(meteorite, 0),
                               L"小城隕石 Ogi (M1)\r\n佐賀県に落下\r\n落下 2000年1月1日 21時0分\r\n", host, head));
    // Before its fall the body is shown like a minor planet.
    host.Answer(L"? time.jd", L"2451000");
    host.Answer(L"? Solar.Meteorite.Ogi.Memo", L"");
    EXPECT_EQ(Text(meteorite, 0), CString(L"小城隕石 Ogi (M1)\r\n落下 2000年1月1日 21時0分\r\n") + kNoPosition +
                                      L"地心距離  0.10000 au\r\n測心距離  0.10000 au\r\n日心距離  1.10000 au\r\n"
                                      L"軌道長半径 1.500000 au\r\n離心率 0.250000\r\n");
}

TEST_F(SolarText, SpacecraftDataSpanToTheNearestSecond) {
    // 12:34:59.6 UT on 1 January 2000, and 23:59:59.7 UT on 31 December 2025, which
    // rounds into the next year.
    const CString probe = Body(L"Solar.Spacecraft.Hayabusa2", L"はやぶさ2", L"Hayabusa2",
                               {{L".GeocentricDistance", L"*"}, {L".TopocentricDistance", L"*"},
                                {L".HelioCentricDistance", L"0.98"}, {L".data.start", L"2451545.0243009259"},
                                {L".data.end", L"2461041.4999965278"}});
    status.DispDistR = status.SolarOrbitDetails = 1;
    EXPECT_TRUE(TextAndQueries(Text(probe, 0),
                               CString(L"はやぶさ2 Hayabusa2\r\n") + kNoPosition +
                                   L"地心距離 --.----- au\r\n測心距離 --.----- au\r\n日心距離  0.98000 au\r\n"
                                   L"データ開始 2000/01/01 12:35:00 (UT)\r\nデータ終了 2026/01/01 00:00:00 (UT)\r\n",
                               host,
                               BodyQueries(probe, {},
                                           {L".GeocentricDistance", L".TopocentricDistance",
                                            L".HelioCentricDistance", L".data.start", L".data.end"})));
    // An end that the host does not know has no line.
    host.Answer(L"? Solar.Spacecraft.Hayabusa2.data.end", L"*");
    status.DispDistR = 0;
    EXPECT_EQ(Text(probe, 0), CString(L"はやぶさ2 Hayabusa2\r\n") + kNoPosition +
                                  L"データ開始 2000/01/01 12:35:00 (UT)\r\n");
}

TEST_F(SolarText, PlaceOnASurface) {
    const CString crater = Body(L"Solar.Planet.Earth.Satellite.Moon.Place.Tycho", L"ティコ", L"Tycho",
                                {{L".Explanation", L"光条の目立つクレーター"}, {L".Longitude", L"-11.36"},
                                 {L".Latitude", L"-43.31"}});
    EXPECT_TRUE(TextAndQueries(Text(crater, 0),
                               L"ティコ Tycho\r\n光条の目立つクレーター\r\n経度 348.64 緯度 -43.31'\r\n", host,
                               Names(crater) + Ask(crater, {L".Explanation", L".Longitude", L".Latitude"})));
    // No explanation line when there is none; a latitude of exactly 0 shows '-'.
    AnswerObject(host, crater, {{L".Explanation", L""}, {L".Longitude", L"0"}, {L".Latitude", L"0"}});
    EXPECT_EQ(Text(crater, 0), L"ティコ Tycho\r\n経度   0.00 緯度 - 0.00'\r\n");
}

// Julian Day (UT) of a Japanese clock time on 2 September 2035.
CString JdOfJst(int h, int m, double s) {
    CString text;
    text.Format(L"%.10f", 2464572.5 + (h * 3600 + m * 60 + s - 9 * 3600) / 86400.0);
    return text;
}

const wchar_t* const kContact = L"? Solar.Earth.SolarEclipse.ContactTime.";

class SolarLines : public ClickDataTest {
protected:
    void SetUp() override {
        cd.SetObject(L"Solar.Sun", CZntClickData::TYPE_SOLAR);
        host.Answer(L"? solar.earth.besselelement.apply", L"True");
        host.Answer(L"? Time.Timezone", L"9");
        Contacts(JdOfJst(8, 37, 12), JdOfJst(9, 54, 10), JdOfJst(9, 55, 21), JdOfJst(9, 56, 33),
                 JdOfJst(11, 23, 5));
    }
    void Contacts(const CString& first, const CString& second, const CString& max,
                  const CString& third, const CString& fourth) {
        const std::pair<const wchar_t*, const CString*> kTimes[] = {
            {L"1st", &first}, {L"2nd", &second}, {L"Max", &max}, {L"3rd", &third}, {L"4th", &fourth}};
        for (const auto& t : kTimes) host.Answer(kContact + CString(t.first), *t.second);
    }
    static std::vector<CString> AllQueries() {
        return {L"? solar.earth.besselelement.apply", CString(kContact) + L"1st", L"? Time.Timezone",
                CString(kContact) + L"2nd", CString(kContact) + L"Max", CString(kContact) + L"3rd",
                CString(kContact) + L"4th"};
    }
};

TEST_F(SolarLines, TotalEclipseWithTheLengthOfTotality) {
    EXPECT_TRUE(TextAndQueries(cd.GetSolarEclipse(&host),
                               L"第1接触  08:37:12\r\n第2接触  09:54:10\r\n食の最大 09:55:21  継続時間 02m23s\r\n"
                               L"第3接触  09:56:33\r\n第4接触  11:23:05\r\n",
                               host, AllQueries()));
    // 2 min 59.6 s of totality: the seconds round to a whole minute.
    host.Answer(CString(kContact) + L"3rd", JdOfJst(9, 57, 9.6));
    EXPECT_EQ(cd.GetSolarEclipse(&host),
              L"第1接触  08:37:12\r\n第2接触  09:54:10\r\n食の最大 09:55:21  継続時間 03m00s\r\n"
              L"第3接触  09:57:10\r\n第4接触  11:23:05\r\n");
}

TEST_F(SolarLines, PartialPhasesHaveNoDuration) {
    Contacts(JdOfJst(8, 37, 12), L"*", JdOfJst(9, 55, 21), L"*", JdOfJst(11, 23, 5));
    EXPECT_TRUE(TextAndQueries(cd.GetSolarEclipse(&host),
                               L"第1接触  08:37:12\r\n食の最大 09:55:21\r\n第4接触  11:23:05\r\n", host,
                               AllQueries()));
    // Without a maximum the duration has no line to stand on.
    Contacts(JdOfJst(8, 37, 12), JdOfJst(9, 54, 10), L"*", JdOfJst(9, 56, 33), JdOfJst(11, 23, 5));
    EXPECT_EQ(cd.GetSolarEclipse(&host),
              L"第1接触  08:37:12\r\n第2接触  09:54:10\r\n第3接触  09:56:33\r\n第4接触  11:23:05\r\n");
}

TEST_F(SolarLines, NoEclipseAsksNoFurther) {
    host.Answer(CString(kContact) + L"1st", L"*");
    EXPECT_TRUE(TextAndQueries(cd.GetSolarEclipse(&host), L"", host,
                               {L"? solar.earth.besselelement.apply", CString(kContact) + L"1st"}));
    for (const wchar_t* off : {L"FALSE", L"", L"*"}) {
        host.Answer(L"? solar.earth.besselelement.apply", off);
        EXPECT_TRUE(TextAndQueries(cd.GetSolarEclipse(&host), L"", host, {L"? solar.earth.besselelement.apply"}));
    }
}

TEST_F(SolarLines, ContactTimesThatAreNoNumbers) {
    // No clock for what is no number; a huge one is read as it is (its day has no time
    // left in a double).
    Contacts(L"nan", L"inf", JdOfJst(9, 55, 21), L"1e308", L"-inf");
    EXPECT_EQ(cd.GetSolarEclipse(&host),
              L"第1接触  --:--:--\r\n第2接触  --:--:--\r\n食の最大 09:55:21  継続時間 --m--s\r\n"
              L"第3接触  00:00:00\r\n第4接触  --:--:--\r\n");
}

// A host whose local date is the given one (its clock at noon) in the given zone.
void AnswerNoon(FakeHost& host, const wchar_t* year, const wchar_t* month, const wchar_t* day, const CString& zone) {
    AnswerDate(host, {year, month, day, L"12", L"0", L"0", zone});
}

// The zone (hours) in which the full Moon of 4 December 2025 falls at the given number
// of seconds before the end of the local day.
CString ZoneForFullMoonBeforeMidnight(double secondsBefore) {
    tagADATE date = {2025, 12, 4, 12, 0, 0.0, 0.0};
    tagMOONPHASE phases[6];
    const int n = GetMoonPhases(&date, phases, 6);
    int full = 0;
    while (full < n && phases[full].phase != 2) ++full;
    EXPECT_LT(full, n);
    const double midnightUt = 2461014.5;  // end of 4 December, UT
    CString zone;
    zone.Format(L"%.12f", (midnightUt - secondsBefore / 86400.0 - phases[full].jd) * 24.0);
    return zone;
}

TEST_F(SolarLines, MoonPhaseInTheLastMinuteOfTheDay) {
    // 23:59:29 stays in its minute; 23:59:45 rounds to the day's end, shown as 24:00, as
    // the phase still belongs to this day.
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(31.0));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 23:59\r\n");
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(15.0));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 24:00\r\n");
    // 23:58:59.8: the seconds carry into the minute.
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(60.2));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 23:59\r\n");
}

TEST_F(SolarLines, MoonPhasesOfOtherDays) {
    // Last quarter of 11 December 2025, 20:51:38 UT: 05:52 on the 12th in Japan, 20:52
    // on the 11th in UT.
    AnswerNoon(host, L"2025", L"12", L"12", L"9");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"下弦 05:52\r\n");
    AnswerNoon(host, L"2025", L"12", L"11", L"9");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"");
    AnswerNoon(host, L"2025", L"12", L"11", L"0");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"下弦 20:52\r\n");
    // A date the host cannot give.
    AnswerNoon(host, L"0", L"0", L"0", L"nan");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"");
}

TEST_F(SolarLines, OrbitalElementsTheHostDoesNotKnow) {
    // The layouts with real values are in the solar-text tests. Placeholders (the
    // minor-planet layout); no period line at all.
    cd.SetObject(L"Solar.Comet.2P", CZntClickData::TYPE_SOLAR);
    for (const wchar_t* suffix : {L".RevolutionPeriod", L".TimeOfPerihelionPassage", L".SemiMajorAxis",
                                  L".Eccentricity", L".PerihelionDistance"})
        host.Answer(L"? Solar.Comet.2P" + CString(suffix), L"*");
    EXPECT_EQ(cd.GetOrbitalElements(&host, 0), L"軌道長半径 -.------ au\r\n離心率 -.-\r\n");
    EXPECT_TRUE(QueriesAre(host, Ask(L"Solar.Comet.2P", {L".RevolutionPeriod", L".SemiMajorAxis", L".Eccentricity"})));
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 ----年--月--.-----日 TT\r\n");
    EXPECT_EQ(cd.GetPerihelionDistance(&host), L"近日点距離 -.------ au\r\n");
    // Answers that read as no finite number show the placeholders too; an empty answer
    // reads as 0 (4713 BC for a date).
    AnswerObject(host, L"Solar.Comet.2P",
                 {{L".TimeOfPerihelionPassage", L"nan"}, {L".Eccentricity", L"inf"}, {L".RevolutionPeriod", L"-inf"}});
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 ----年--月--.-----日 TT\r\n");
    EXPECT_EQ(cd.GetEccentricity(&host), L"離心率 -.-\r\n");
    EXPECT_EQ(cd.GetRevPeriod(&host), L"");
    host.Answer(L"? Solar.Comet.2P.TimeOfPerihelionPassage", L"");
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 -4712年 1月1.50000日 TT\r\n");
    host.Answer(L"? Solar.Comet.2P.TimeOfPerihelionPassage", L"1e300");
    EXPECT_EQ(cd.GetPerihelionPassage(&host).Left(8), L"近日点通過時刻 ");
}

TEST_F(SolarLines, DatesOfJulianDays) {
    // A Julian Day or zone that is no number gives no date; a huge Julian Day gives one
    // clamped to the calendar's ends.
    tagADATE d = {};
    for (const double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_FALSE(ClickDataProbe::DateOfJd(bad, 0.0, 1.0, &d));
        EXPECT_FALSE(ClickDataProbe::DateOfJd(2451545.0, bad, 0.0, &d));
    }
    EXPECT_EQ(d.year, 0);
    EXPECT_TRUE(ClickDataProbe::DateOfJd(-1e300, 0.0, 1.0, &d));
    EXPECT_TRUE(ClickDataProbe::DateOfJd(1e300, 9.0, 1e-6, &d));
}

}  // namespace
