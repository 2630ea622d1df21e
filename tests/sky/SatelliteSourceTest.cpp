// SPDX-License-Identifier: LGPL-3.0-or-later
// Satellites of the built-in sky end to end: the click texts of the ISS and a
// geostationary satellite at a fixed instant from a committed element file (golden file
// tests/golden/satellites.txt; scripts/update-golden.sh rewrites it), the answers of a
// satellite the model cannot follow, and the reader's reports of damaged sets.
#include <gtest/gtest.h>

#include <fstream>

#include "sky/satellites/SatelliteCatalog.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

const double kInstant = 2459749.0625;  // 2022-06-19 13:30 UTC

TEST(SatelliteSource, ClickTextsOfLowAndGeostationarySatellites) {
    sky::SetTleFiles({std::string(ZCMCOM_TEST_DATA) + "/satellites/reference.tle"});
    SkyClick frame(kInstant, 139.745, 35.654, 40.0, 9.0);
    CSkyHost& host = frame.host;
    CZntClickData& click = frame.click;
    frame.status.DispDistR = frame.status.PlanetPhysicalTable = 1;
    std::string text;
    for (const wchar_t* path : {L"ArtificialSatellite.25544", L"ArtificialSatellite.28884"})
        text += frame.Text(path) + "----\n";
    ExpectGolden(text, "satellites.txt");
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.25544.TLEName"), L"ISS (ZARYA)");
    // The one-line forms: compact text and CDF designation.
    EXPECT_EQ(click.GetText(&host, L"ArtificialSatellite.25544", 1), L"ISS (ZARYA) (25544)");
    EXPECT_EQ(click.StkToCdf(&host, L"ArtificialSatellite.25544"), L"ASAT 25544");
    sky::SetTleFiles({});
}

TEST(SatelliteSource, DamagedSetsAreReportedAndUnfollowableOrbitsAnswerEmpty) {
    TempDir dir;
    const std::string file = dir.File("mine.tle");
    // A good set; one with a wrong checksum; a line 1 alone; one whose perigee lies
    // inside the Earth (mean motion 16.9, eccentricity 0.2).
    std::ofstream(file)
        << "GOOD\n"
           "1 90001U 22001A   22169.50000000  .00000000  00000+0  00000+0 0  9998\n"
           "2 90001  51.6000 100.0000 0001000  90.0000 270.0000 15.50000000    05\n"
           "BAD SUM\n"
           "1 90002U 22001A   22169.50000000  .00000000  00000+0  00000+0 0  9991\n"
           "2 90002  51.6000 100.0000 0001000  90.0000 270.0000 15.50000000    06\n"
           "1 90003U 22001A   22169.50000000  .00000000  00000+0  00000+0 0  9990\n"
           "INSIDE\n"
           "1 90004U 22001A   22169.50000000  .00000000  00000+0  00000+0 0  9991\n"
           "2 90004  51.6000 100.0000 2000000  90.0000 270.0000 16.90000000    04\n";
    sky::SetTleFiles({file});
    const auto catalog = sky::Satellites();
    std::vector<std::string> where;
    for (const sky::TleProblem& p : catalog->tle.problems)
        if (p.file == file) where.push_back(std::to_string(p.line) + " " + p.reason);
    EXPECT_EQ(where, (std::vector<std::string>{"5 checksum of line 1 does not match",
                                               "7 line 1 without a line 2"}));
    CSkyHost host(kInstant);
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.90001.Name"), L"GOOD");
    EXPECT_NE(host.Execute(L"? ArtificialSatellite.90001.LLA.Latitude"), L"");
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.90002.Name"), L"");
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.90004.Name"), L"INSIDE");
    for (const wchar_t* q :
         {L"? ArtificialSatellite.90004.GeocentricDistance",
          L"? ArtificialSatellite.90004.position.RA", L"? ArtificialSatellite.90004.LLA.Altitude"})
        EXPECT_EQ(host.Execute(q), L"") << CString(q).ToUtf8();
    EXPECT_EQ(catalog->Find("good")->number, 90001);
    EXPECT_EQ(catalog->Find("ISS")->number, 25544);
    sky::SetTleFiles({});
}

}  // namespace
