// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky as a planetarium: its answer conventions and statements, the click
// texts of the library computed against it, and the date object driving it.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <memory>
#include <set>
#include <sstream>

#include "dateobs/DateObs.h"
#include "sky/Answer.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
#include "host/StkString.h"
#include "dirode/Registry.h"
#include "platform/Afx.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TempRegistry.h"
#include "support/TestUtil.h"
#include "SkyTables.h"

namespace {

constexpr double kTokyoEvening = 2461381.0;  // 2026-12-06 12:00 UT, 21:00 JST

double Num(CSkyHost& host, const wchar_t* query) { return _wtof(host.Execute(query)); }

TEST(SkyHostAnswers, NamesMatchWithoutRegardToCaseAndCatalogueObjects) {
    CSkyHost host(kTokyoEvening);
    EXPECT_EQ(host.Execute(L"? UT(Time)"), L"UT AD2026/12/06 12:00:00");
    EXPECT_EQ(host.Execute(L"? ut( time )"), host.Execute(L"? UT(time)"));
    EXPECT_EQ(host.Execute(L"? SOLAR.PLANET.MARS.position.ra"),
              host.Execute(L"? Solar.Planet.Mars.Position.RA"));
    ExpectAnswersIn(host, "sky/answers.txt");
    EXPECT_GT(Num(host, L"? Solar.Planet.Earth.HelioCentricDistance"), 0.98);
    EXPECT_NE(host.Execute(L"? Star.HIP.11767.Jd.Transit"), L"*");
    host.SetMark(12.0, 89.0);
    EXPECT_EQ(host.Execute(L"? Equatorial.Position.Constellation"), L"UMi");
    // 88 constellations, the planets, Pluto, Ceres, 110 Messier objects and named stars.
    const std::vector<CString> known = host.KnownObjects();
    EXPECT_GT(known.size(), 88u + 110u + 12u + 300u);
    std::set<CString> constellations;
    for (const CString& line : known)
        if (line.Left(14) == L"Constellation.") constellations.insert(line.Mid(14, 3));
    EXPECT_EQ(constellations.size(), 88u);
    EXPECT_EQ(std::count_if(known.begin(), known.end(),
                            [](const CString& l) { return l.Left(18) == L"Constellation.Ser\t"; }),
              1);
    // Ceres's 939 km seen from its distance.
    EXPECT_NEAR(Num(host, L"? Solar.DwarfPlanet.Ceres.Dm") *
                    Num(host, L"? Solar.DwarfPlanet.Ceres.GeocentricDistance"),
                939.4 / 149597870.7 * 206264.806, 1e-4);
    // Polaris never rises at Santiago.
    host.SetSite(-70.6483, -33.4489, 570);
    EXPECT_EQ(host.Execute(L"? Star.HIP.11767.Jd.Rise"), L"*");
    EXPECT_LT(Num(host, L"? Star.HIP.11767.position.Altitude"), 0.0);
}

// A source ranked first is asked before the default ones, whatever the order in which they
// registered: this one, registered after the library's, takes a path the stars' source
// would otherwise claim (and answer empty).
class ProbeSource : public sky::Source {
public:
    bool Answer(const CString& q, const sky::Context&, CString* answer) override {
        if (q != L"star.hip.32349.probe") return false;
        *answer = L"first";
        return true;
    }
    void List(std::vector<sky::Entry>&) override {}
};
const sky::SourceRegistration kProbe([] { return std::make_unique<ProbeSource>(); }, {},
                                     sky::SourceRank::First);

TEST(SkyHostAnswers, SourcesRankedFirstAreAskedFirst) {
    CSkyHost host(kTokyoEvening);
    EXPECT_EQ(host.Execute(L"? Star.HIP.32349.Probe"), L"first");
    EXPECT_EQ(host.Execute(L"? Star.HIP.32349.Nothing"), L"");
}

// Numbers are written as printf writes them: halfway cases, negative zero, large values.
TEST(SkyHostAnswers, NumbersAreWrittenAsPrintfWritesThem) {
    for (const wchar_t* format : {L"%.0f", L"%.1f", L"%.4f", L"%.8f", L"%.3e"})
        for (double v :
             {0.5, 2.5, 0.125, -0.0, -4e-9, 123.456789012345, 359.999999999, 1e20, -1e70}) {
            wchar_t printed[160];
            std::swprintf(printed, 160, format, v);
            EXPECT_EQ(sky::Answer(v, format), CString(printed)) << format << " " << v;
        }
    EXPECT_EQ(sky::Answer(NAN, L"%.8f"), L"*");
}

TEST(SkyHostAnswers, TimeAndPlace) {
    CSkyHost host(kTokyoEvening + 0.6 / 86400.0);
    host.SetSite(139.69, 35.69, 40);
    host.SetTimezone(9);
    ExpectAnswers(host, {{L"? UT(time)", L"UT AD2026/12/06 12:00:01"},  // nearest second
                         {L"? LST(Time.Hour)", L"21"},
                         {L"? LST(Time.Day)", L"6"},
                         {L"? Time.Timezone", L"9"}});
    EXPECT_NEAR(Num(host, L"? time.jd"), kTokyoEvening + 0.6 / 86400.0, 1e-8);
    EXPECT_EQ(host.Execute(L"? Location"), L"Location(\"Site\", 139.690000, 35.690000, 40.0)");
    EXPECT_NEAR(Num(host, L"? Location.Latitude"), 35.69, 1e-9);
    // Local sidereal time, and the Earth's heliocentric place (about 1 au).
    EXPECT_NEAR(Num(host, L"? Time.SiderealTime") * 15.0, GetLst(host.GetJd(), 139.69), 1e-6);
    const double x = Num(host, L"? location.solar.x"), y = Num(host, L"? location.solar.y");
    EXPECT_NEAR(std::hypot(x, y), 0.985, 0.002);
    // Years before the era come with the "BC" marker and the year counted from 1.
    host.SetJd(1721057.5 + 10.0);  // 11 January 1 BC (year 0)
    EXPECT_EQ(host.Execute(L"? UT(time)").Left(9), L"UT BC1/01");
}

TEST(SkyHostAnswers, DefaultSiteIsTheStoredOneElseTokyo) {
    TempRegistry registry;
    const TestZones zones;
    const auto site = [](CSkyHost& h) {
        return std::vector<double>{Num(h, L"? Location.Longitude"), Num(h, L"? Location.Latitude"),
                                   Num(h, L"? Location.Altitude"), h.GetTimezone()};
    };
    const std::vector<double> tokyo{139.745, 35.654, 40.0, 9.0};
    CSkyHost first(kTokyoEvening);
    EXPECT_EQ(site(first), tokyo);
    first.SetSite(-70.6483, -33.4489, 570.0);
    ASSERT_TRUE(first.SaveSite());
    CSkyHost second(kTokyoEvening);  // (Santiago keeps daylight saving in December: UTC-3)
    EXPECT_EQ(site(second), (std::vector<double>{-70.6483, -33.4489, 570.0, -3.0}));

    // A stored site that is not one is left alone; a missing height is sea level.
    for (const std::string& row : DataRows("sky/stored_sites.txt", 3)) {
        const std::vector<std::string> f = TabFields(row);
        const bool usable = f[2] == "usable";
        ASSERT_TRUE(first.SaveSite());  // the Santiago site again
        ASSERT_TRUE(CRegistry::Write(L"Default", W(f[0]), W(f[1])));
        CSkyHost host(kTokyoEvening);
        EXPECT_EQ(host.LoadSite(), usable) << row;
        EXPECT_EQ(site(host), usable ? (std::vector<double>{-70.6483, -33.4489, 0.0, -3.0}) : tokyo)
            << row;
    }
}

TEST(SkyHostStatements, TimeSiteLocksAndLimitsAreTakenAndRecorded) {
    CSkyHost host(2451545.0);
    host.Execute(L"Time = UT(2026, 12, 6, 12, 0, 0); Show Sky");
    EXPECT_NEAR(host.GetJd(), kTokyoEvening, 1e-9);
    host.Execute(
        L"Location.Longitude = -70.64830000; Location.Latitude = -33.44890000; Location.Altitude = "
        L"570.0");
    host.Execute(L"Time.Timezone = -4.000000 ; Show Zentar");
    EXPECT_NEAR(Num(host, L"? Location.Longitude"), -70.6483, 1e-9);
    EXPECT_NEAR(Num(host, L"? Location.Altitude"), 570.0, 1e-9);
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), L"-4");
    host.Execute(
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; "
        L"Time.Lock.Offset = -6; Show Sky");
    const auto lock = host.GetTimeLock();
    EXPECT_EQ(std::make_tuple(lock.locked, lock.event, lock.byDegree, lock.offset),
              std::make_tuple(1, 2, 1, -6));
    EXPECT_EQ(host.Execute(L"? Time.Lock"), L"TRUE");
    host.Execute(L"Star.AutoMagnitudeLimit.Minimum = 5.250000 ; Show Zentar");
    EXPECT_EQ(host.Execute(L"? Star.AutoMagnitudeLimit.Minimum"), L"5.25");
    host.Execute(L"Location = Solar.Planet.Mars(10.000000, 20.000000, 0.000000)");
    EXPECT_EQ(host.Execute(L"? Location"), L"Solar.Planet.Mars");
    host.Execute(
        L"Location = Solar.Planet.Earth; Location = Location(139.000000, 35.000000, 10.000000)");
    EXPECT_EQ(host.Execute(L"? Location").Left(9), L"Location(");
    EXPECT_NEAR(Num(host, L"? Location.Longitude"), 139.0, 1e-9);
    // Bad statements change nothing.
    host.Execute(L"Time = UT(2026, 12); Location.Latitude = north; Time.Timezone = ");
    EXPECT_NEAR(host.GetJd(), kTokyoEvening, 1e-9);
    EXPECT_NEAR(Num(host, L"? Location.Latitude"), 35.0, 1e-9);
    EXPECT_EQ(host.Statements().size(), 20u);
}

TEST(SkyHostStatements, ResetGivesANewHostsStateAndCatalogue) {
    CSkyHost fresh(kTokyoEvening), host(2451545.0);
    const std::string file = ::testing::TempDir() + "skyhost_reset.txt";
    // A dwarf planet of its own and a star that takes over Polaris's number.
    WriteFileBytes(file,
                   "K\tx\tVesta2\t\t2.36\t0.09\t7.1\t20\t150\t103\t0.27\t2461000.5\t3.2\n"
                   "S\t11767\t1\t2\t9\t0\tPsc\t\t\tNotPolaris\t\n");
    for (int load = 0; load < 2; ++load) {  // the second time into the host's own copy
        ASSERT_EQ(host.LoadCatalog(file.c_str()), 2);
        host.Execute(L"Location = Solar.Planet.Mars; Time.Lock = TRUE");
        EXPECT_EQ(host.Execute(L"? Solar.DwarfPlanet.Vesta2"), L"Vesta2");
        host.Reset(kTokyoEvening);
        for (const wchar_t* q : {L"? Solar.DwarfPlanet.Vesta2", L"? Location", L"? Time.Lock",
                                 L"? UT(time)", L"? Solar.DwarfPlanet.Ceres.position.RA"})
            EXPECT_EQ(host.Execute(q), fresh.Execute(q)) << q;
        EXPECT_EQ(host.KnownObjects(), fresh.KnownObjects());
        EXPECT_TRUE(host.Statements().empty());
    }
}

// One line of a text that contains the marker.
CString LineWith(const CString& text, const wchar_t* marker) {
    int start = 0;
    while (start < text.GetLength()) {
        int end = text.Find(L"\r\n", start);
        if (end < 0) end = text.GetLength();
        const CString line = text.Mid(start, end - start);
        if (line.Find(marker) >= 0) return line;
        start = end + 2;
    }
    return CString();
}

// The click texts of the library computed against the sky seen from Tokyo.
class SkyHostClickTexts : public ::testing::Test {
protected:
    SkyClick frame{kTokyoEvening, 139.69, 35.69, 40};
    CSkyHost& host = frame.host;
    CZntClickData& clickData = frame.click;
};

TEST_F(SkyHostClickTexts, NumbersAgreeWithTheReferenceEphemeris) {
    const std::vector<std::string> rows = DataRows("sky/clicks.txt", 9);
    ASSERT_EQ(rows.size(), 5u);
    for (const std::string& row : rows) {
        std::istringstream s(row);
        std::string object;
        double jd, lon, lat, height, refRa, refDec, refAlt, refAz;  // the site is the frame's
        s >> jd >> lon >> lat >> height >> object >> refRa >> refDec >> refAlt >> refAz;
        const CString text = clickData.GetText(&host, W(object), 0);
        SCOPED_TRACE(object + "\n" + text.ToUtf8());
        // "赤経 10h26m47.2s  赤緯 +12ﾟ22'48" (視位置)"
        const CString app = LineWith(text, L"(視位置)");
        int rh = 0, rm = 0, dd = 0, dm = 0, ds = 0;
        double rs = 0.0;
        wchar_t sign = 0;
        ASSERT_EQ(swscanf(app.GetString(), L"赤経 %dh%dm%lfs 赤緯 %lc%dﾟ%d'%d", &rh, &rm, &rs,
                          &sign, &dd, &dm, &ds),
                  7);
        const double ra = rh + rm / 60.0 + rs / 3600.0;
        const double dec = (sign == L'-' ? -1 : 1) * (dd + dm / 60.0 + ds / 3600.0);
        // Printed to 0.1 s; the Moon's reference takes TT from PyEphem's Delta T, 4 s ahead.
        const bool moon = object.find("Moon") != std::string::npos;
        EXPECT_NEAR(ra, refRa, (moon ? 0.7 : 0.15) / 3600.0);
        EXPECT_NEAR(dec, refDec, (moon ? 10.0 : 2.0) / 3600.0);
        double az = 0.0, alt = 0.0;
        ASSERT_EQ(swscanf(LineWith(text, L"方位 ").GetString(), L"方位 %lfﾟ 高度 %lfﾟ", &az, &alt),
                  2);
        // The Moon's 0.0036 deg measured is that Delta T apart too.
        EXPECT_NEAR(alt, refAlt, moon ? 0.0072 : 0.003);
        EXPECT_NEAR(az, refAz, moon ? 0.0072 : 0.003);
    }
}

TEST_F(SkyHostClickTexts, MarsTextIsTheKeptOne) {
    const CString text = clickData.GetText(&host, L"Solar.Planet.Mars", 0);
    ExpectGolden(text.ToUtf8(), "sky/mars.txt");
    // The same instant and site give the cached text.
    EXPECT_EQ(clickData.GetText(&host, L"Solar.Planet.Mars", 0), text);
    host.SetJd(kTokyoEvening + 1.0);
    EXPECT_NE(clickData.GetText(&host, L"Solar.Planet.Mars", 0), text);
}

TEST(SkyHostDateObs, TheDateObjectReadsAndDrivesTheHost) {
    AfxGetThread()->m_pMainWnd = nullptr;
    CSkyHost host(kTokyoEvening);
    host.SetSite(139.69, 35.69, 40);
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    tagADATE d = obs.GetADate();
    EXPECT_EQ(std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second),
              std::make_tuple(2026, 12, 6, 12, 0, 0.0));
    EXPECT_NEAR(obs.GetLatitude(), 35.69, 1e-6);
    EXPECT_EQ(obs.GetLocationObject(), 4);
    EXPECT_NEAR(obs.GetMoonAge(), Num(host, L"? Solar.Planet.Earth.Satellite.Moon.Age"), 1e-9);

    // A date typed in Japan Standard Time moves the host.
    tagADATE edit{2027, 1, 1, 0, 30, 0.0, 9.0};
    obs.UpdateDateByUI(&edit);
    EXPECT_EQ(host.Execute(L"? UT(time)"), L"UT AD2026/12/31 15:30:00");
    obs.UpdateByCorZnt();
    d = obs.GetADate();
    EXPECT_EQ(std::make_tuple(d.year, d.month, d.day, d.hour, d.minute),
              std::make_tuple(2026, 12, 31, 15, 30));

    // Rise lock, a site and a magnitude limit.
    obs.UpdateDateByUI(&edit, 1, 30);
    EXPECT_EQ(std::make_tuple(host.GetTimeLock().locked, host.GetTimeLock().event,
                              host.GetTimeLock().offset),
              std::make_tuple(1, 1, 30));
    obs.UpdateObsByUI(-0.0015, 51.4769, 46.0, 0.0);
    EXPECT_NEAR(Num(host, L"? Location.Latitude"), 51.4769, 1e-6);
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), L"0");
    obs.UpdateMagByUI(5.5);
    EXPECT_EQ(host.Execute(L"? Star.AutoMagnitudeLimit.Minimum"), L"5.5");
    obs.UpdateLocationObjectByUI(5, 0);
    EXPECT_EQ(host.Execute(L"? Location"), L"Solar.Planet.Mars");
    obs.UpdateByCorZnt();
    EXPECT_EQ(obs.GetLocationObject(), 5);
}

// Worked examples of the physical ephemeris of Mars, Jupiter and the Moon in Meeus,
// Astronomical Algorithms (tests/data/sky/physical.txt), and the rotation of Mars.
TEST(SkyHostPhysical, CentralMeridiansAndLatitudesAgreeWithPublishedExamples) {
    for (const std::string& row : DataRows("sky/physical.txt", 4)) {
        const std::vector<std::string> f = TabFields(row);
        CSkyHost host(std::stod(f[0]));
        EXPECT_NEAR(NumberOf(host.Execute(W(f[1]))), std::stod(f[2]), std::stod(f[3])) << row;
    }
    // Mars turns 350.89 degrees a day.
    CSkyHost later(2461381.0);
    const double cm0 = Num(later, L"? Solar.Planet.Mars.PhysicalTable.CM");
    later.SetJd(2461381.0 + 1.0 / 24.0);
    EXPECT_NEAR(std::fmod(Num(later, L"? Solar.Planet.Mars.PhysicalTable.CM") - cm0 + 360.0, 360.0),
                14.62, 0.05);
    // Bodies without a rotation model here answer empty.
    EXPECT_EQ(later.Execute(L"? Solar.Planet.Venus.PhysicalTable.CM"), L"");
    EXPECT_EQ(later.Execute(L"? Solar.Planet.Mars.PhysicalTable.CM2"), L"");
}

}  // namespace
