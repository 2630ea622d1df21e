// SPDX-License-Identifier: LGPL-3.0-or-later
// Satellites of the built-in sky end to end: the click texts of the ISS and a
// geostationary satellite at a fixed instant from a committed element file (golden file
// tests/golden/satellites.txt; scripts/update-golden.sh rewrites it), the answers of a
// satellite the model cannot follow, the reader's reports of damaged sets, and which of
// several sets of one satellite answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <utility>

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
    // A good set; one with a wrong checksum; a line 1 alone; one whose perigee lies
    // inside the Earth (mean motion 16.9, eccentricity 0.2).
    const std::string file = std::string(ZCMCOM_TEST_DATA) + "/satellites/damaged.tle";
    sky::SetTleFiles({file});
    // A satellite read alone has the sets the whole catalogue has for it.
    const auto good = sky::SatelliteNumbered(90001), iss = sky::SatelliteNumbered(25544);
    const auto catalog = sky::Satellites();
    for (const auto& [alone, number] : {std::pair{good, 90001}, std::pair{iss, 25544}}) {
        ASSERT_EQ(alone->choices.size(), 1u);
        const auto &got = alone->choices.at(number), &want = catalog->choices.at(number);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(std::tie(got[i].name, got[i].file, got[i].epochJd, got[i].bstar),
                      std::tie(want[i].name, want[i].file, want[i].epochJd, want[i].bstar));
        EXPECT_EQ(alone->tle.sets.at(number).epochJd, catalog->tle.sets.at(number).epochJd);
    }
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

TEST(SatelliteSource, UserFileWinsThenUpdatedCopyThenBundledAndNearestEpochAnswers) {
    // Two sets of 2006 in the user's file; one of 2010 in the updated copy; the bundled one
    // of 2022.
    TempDir data;
    EnvRestorer xdg("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    std::filesystem::create_directories(data.File("zcmcom"));
    const std::string updated =
        "MOLNIYA 2-14\n"
        "1 08195U 75081A   10100.50000000  .00000099  00000-0  11873-3 0   814\n"
        "2 08195  64.1600 289.5000 6880000 264.5000 120.0000  2.00491000222437\n";
    WriteFileBytes(data.File("zcmcom/satellites.tle"), updated);
    const std::string user = std::string(ZCMCOM_TEST_DATA) + "/satellites/molniya.tle";
    const struct {
        bool userFile;
        double jd;
        const wchar_t* provenance;
    } cases[] = {
        {true, 2453912.33333, L"molniya.tle 元期 2006-06-25"},  // the instant of the set
        {true, 2453700.5, L"molniya.tle 元期 2006-01-15"},      // nearer the earlier set
        {true, 2459750.5, L"molniya.tle 元期 2006-06-25"},      // the user's file still wins
        {false, 2459750.5, L"satellites.tle (updated) 元期 2010-04-10"},
    };
    for (const auto& c : cases) {
        sky::SetTleFiles(c.userFile ? std::vector<std::string>{user} : std::vector<std::string>{});
        CSkyHost host(c.jd);
        EXPECT_EQ(host.Execute(L"? ArtificialSatellite.8195.Provenance"), c.provenance) << c.jd;
        EXPECT_NE(host.Execute(L"? ArtificialSatellite.8195.LLA.Altitude"), L"");
    }
    // Elements years from the instant say so; the bundled set answers once the copy goes.
    CSkyHost host(2459750.5);
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.8195.Provenance.Warning"),
              L"軌道要素が古い: 元期から4454日 (目安は14日以内)");
    std::filesystem::remove(data.File("zcmcom/satellites.tle"));
    host.SetJd(2459750.5 + 1e-6);
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.8195.Provenance"),
              L"satellites.tle (bundled) 元期 2022-06-12");
    EXPECT_EQ(host.Execute(L"? ArtificialSatellite.8195.Provenance.Warning"), L"");
}

}  // namespace
