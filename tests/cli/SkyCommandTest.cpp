// zcmcom click against the built-in sky (no host file), and zcmcom sky.
#include "support/TempRegistry.h"
#include "support/TestUtil.h"

namespace {

std::string Zcmcom(const std::string& args, int* status) {
    return RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>&1", status);
}

const char kMarsTonight[] = "click --settings init --at 2026-12-06T21:00:00+09:00 --site 139.69,35.69,40 ";

}  // namespace

TEST(CliSky, ClickComputesTheTextForTheGivenInstantAndSite) {
    int status = -1;
    const std::string mars = Zcmcom(std::string(kMarsTonight) + "Solar.Planet.Mars", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(mars.find("火星 Mars (惑星)\r\n"), std::string::npos) << mars;
    EXPECT_NE(mars.find("出 22:28 南中 05:06 没 11:44"), std::string::npos) << mars;
    // The same instant written in UT, and without an offset (the site's zone, +9).
    EXPECT_EQ(Zcmcom("click --settings init --at 2026-12-06T12:00:00Z --site 139.69,35.69,40 Solar.Planet.Mars", &status), mars);
    EXPECT_EQ(Zcmcom("click --settings init --at '2026-12-06 21:00' --site 139.69,35.69,40 Solar.Planet.Mars", &status), mars);
    // A bare point of the sky, given with --point.
    const std::string point = Zcmcom(std::string(kMarsTonight) + "--point 5.5,-5 Equatorial", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(point.find("オリオン座 Ori"), std::string::npos) << point;
}

TEST(CliSky, BadOptionsAreRefused) {
    int status = -1;
    for (const char* args : {"click --at 2026-13-01T00:00:00Z Solar.Sun", "click --at yesterday Solar.Sun",
                             "click --site 139.69 Solar.Sun", "click --site 139,95 Solar.Sun",
                             "click --site 1,2,3,4 Solar.Sun", "click --point 25,0 Equatorial",
                             "click --host x.txt --at 2026-12-06T12:00:00Z Solar.Sun", "sky --bogus",
                             "sky --save-site"}) {
        const std::string out = Zcmcom(args, &status);
        EXPECT_EQ(status, 2) << args << "\n" << out;
        EXPECT_NE(out.find("zcmcom"), std::string::npos) << args << "\n" << out;
    }
}

TEST(CliSky, SkyListsWhatTheBuiltInSkyKnows) {
    int status = -1;
    const std::string out = Zcmcom("sky --at 2026-12-06T12:00:00Z --site 139.69,35.69,40", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.rfind("# UT AD2026/12/06 12:00:00  zone 9  site Location(", 0), 0u) << out.substr(0, 200);
    for (const char* line : {"\nSolar.Planet.Mars\n", "\nSolar.DwarfPlanet.Ceres\n", "\nConstellation.Ori\tオリオン座 Orion\n",
                             "\nDeepSkyObject.M.42\tNGC 1976 Orion Nebula\n", "\nStar.HIP.32349\tシリウス Sirius\n",
                             "\nEquatorial\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
}

TEST(CliSky, SavedSiteBecomesTheDefault) {
    TempRegistry registry;  // the child processes inherit its location
    int status = -1;
    const std::string at = "sky --at 2026-12-06T12:00:00Z";
    EXPECT_NE(Zcmcom(at, &status).find("zone 9  site Location(\"Site\", 139.745000, 35.654000, 40.0)"), std::string::npos);
    Zcmcom(at + " --site -70.6483,-33.4489,570 --save-site", &status);
    EXPECT_EQ(status, 0);
    const std::string out = Zcmcom(at, &status);
    EXPECT_NE(out.find("zone -4  site Location(\"Site\", -70.648300, -33.448900, 570.0)"), std::string::npos)
        << out.substr(0, 200);
}

TEST(CliSky, ElementFilesOfTheUserAddBodiesAndReplaceBundledOnes) {
    TempDir dir;
    // Halley's next return as a newer file would give it, a new comet, and a bad line.
    WriteFileBytes(dir.File("CometEls.txt"),
                   "0001P         2061 07 28.1000  0.590000  0.967000  112.0000   59.0000  162.0000  20610101   "
                   "4.0  6.0  1P/Halley\n"
                   "    CK99Z010  2030 01 01.0000  1.000000  1.000000   10.0000   20.0000   30.0000             "
                   "9.0  4.0  C/2099 Z1 (Nobody)\nnot an orbit\n");
    int status = -1;
    const std::string halley = Zcmcom("click --settings init --at 2061-07-01T00:00Z --elements " +
                                          dir.File("CometEls.txt") + " Solar.Comet.Halley", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(halley.find("近日点通過時刻 2061年 7月28.10000日 TT"), std::string::npos) << halley;
    EXPECT_NE(halley.find("CometEls.txt:3: line too short"), std::string::npos) << halley;
    const std::string list = Zcmcom("sky --elements " + dir.File("CometEls.txt"), &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(list.find("\nSolar.Comet.C2099Z1\tC/2099 Z1 / Nobody\n"), std::string::npos);
    EXPECT_NE(list.find("\nSolar.MinorPlanet.4\t4 / (4) Vesta / Vesta / ベスタ\n"), std::string::npos);
    EXPECT_NE(Zcmcom("sky --elements " + dir.File("none.txt"), &status).find("cannot read --elements"), std::string::npos);
    EXPECT_EQ(status, 2);
}
