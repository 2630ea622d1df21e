// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click against the built-in sky (no host file), and zcmcom sky.
#include "support/TempRegistry.h"
#include "cli/Zcm.h"

namespace {

const char kMarsTonight[] =
    "click --settings init --at 2026-12-06T21:00:00+09:00 --site 139.69,35.69,40 ";

}  // namespace

TEST(CliSky, ClickComputesTheTextForTheGivenInstantAndSite) {
    int status = -1;
    const std::string mars = Zcmcom(std::string(kMarsTonight) + "Solar.Planet.Mars", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(mars.find("火星 Mars (惑星)\r\n"), std::string::npos) << mars;
    EXPECT_NE(mars.find("出 22:28 南中 05:06 没 11:44"), std::string::npos) << mars;
    // The same instant written in UT, and without an offset (the site's zone, +9).
    EXPECT_EQ(Zcmcom("click --settings init --at 2026-12-06T12:00:00Z --site 139.69,35.69,40 "
                     "Solar.Planet.Mars",
                     &status),
              mars);
    EXPECT_EQ(Zcmcom("click --settings init --at '2026-12-06 21:00' --site 139.69,35.69,40 "
                     "Solar.Planet.Mars",
                     &status),
              mars);
    // A bare point of the sky, given with --point.
    const std::string point =
        Zcmcom(std::string(kMarsTonight) + "--point 5.5,-5 Equatorial", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(point.find("オリオン座 Ori"), std::string::npos) << point;
}

TEST(CliSky, BadOptionsAreRefused) {
    int status = -1;
    for (const char* args :
         {"click --at 2026-13-01T00:00:00Z Solar.Sun", "click --at yesterday Solar.Sun",
          "click --site 139.69 Solar.Sun", "click --site 139,95 Solar.Sun",
          "click --site 1,2,3,4 Solar.Sun", "click --point 25,0 Equatorial",
          "click --host x.txt --at 2026-12-06T12:00:00Z Solar.Sun", "sky --bogus",
          "sky --save-site", "find ''", "click \"$(printf '\\377')\"",  // texts that are no name
          "find $(head -c 100000 /dev/zero | tr '\\0' a)"}) {
        const std::string out = Zcmcom(args, &status);
        EXPECT_EQ(status, 2) << args << "\n" << out;
        EXPECT_NE(out.find("zcmcom"), std::string::npos) << args << "\n" << out;
    }
}

TEST(CliSky, SkyListsWhatTheBuiltInSkyKnows) {
    int status = -1;
    const std::string out = Zcmcom("sky --at 2026-12-06T12:00:00Z --site 139.69,35.69,40", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.rfind("# UT AD2026/12/06 12:00:00  zone 9  site Location(", 0), 0u)
        << out.substr(0, 200);
    for (const char* line : {"\nSolar.Planet.Mars\n", "\nSolar.DwarfPlanet.Ceres\n",
                             "\nConstellation.Ori\tオリオン座 Orion\n",
                             "\nDeepSkyObject.M.42\tNGC 1976 Orion Nebula\n",
                             "\nStar.HIP.32349\tシリウス Sirius\n", "\nEquatorial\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
}

TEST(CliSky, SavedSiteBecomesTheDefault) {
    TempRegistry registry;  // the child processes inherit its location
    int status = -1;
    const std::string at = "sky --at 2026-12-06T12:00:00Z";
    EXPECT_NE(
        Zcmcom(at, &status).find("zone 9  site Location(\"Site\", 139.745000, 35.654000, 40.0)"),
        std::string::npos);
    Zcmcom(at + " --site -70.6483,-33.4489,570 --save-site", &status);
    EXPECT_EQ(status, 0);
    const std::string out = Zcmcom(at, &status);
    // (Santiago keeps daylight saving in December: UTC-3.)
    EXPECT_NE(out.find("zone -3  site Location(\"Site\", -70.648300, -33.448900, 570.0)"),
              std::string::npos)
        << out.substr(0, 200);
}

TEST(CliSky, ElementFilesOfTheUserAddBodiesAndReplaceBundledOnes) {
    TempDir dir;
    // Halley's next return as a newer file would give it, a new comet, and a bad line.
    WriteFileBytes(dir.File("CometEls.txt"),
                   "0001P         2061 07 28.1000  0.590000  0.967000  112.0000   59.0000  "
                   "162.0000  20610101   "
                   "4.0  6.0  1P/Halley\n"
                   "    CK99Z010  2030 01 01.0000  1.000000  1.000000   10.0000   20.0000   "
                   "30.0000             "
                   "9.0  4.0  C/2099 Z1 (Nobody)\nnot an orbit\n");
    int status = -1;
    const std::string halley = Zcmcom("click --settings init --at 2061-07-01T00:00Z --elements " +
                                          dir.File("CometEls.txt") + " Solar.Comet.Halley",
                                      &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(halley.find("近日点通過時刻 2061年 7月28.10000日 TT"), std::string::npos) << halley;
    EXPECT_NE(halley.find("CometEls.txt:3: line too short"), std::string::npos) << halley;
    const std::string list =
        Zcmcom("sky --at 2026-12-06T12:00Z --elements " + dir.File("CometEls.txt"), &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(list.find("\nSolar.Comet.C2099Z1\tC/2099 Z1 / Nobody\n"), std::string::npos);
    EXPECT_NE(list.find("\nSolar.MinorPlanet.4\t4 / (4) Vesta / Vesta / ベスタ\n"),
              std::string::npos);
    // Not beside --host; both commands' help shows it.
    Zcmcom("click --host " + dir.File("CometEls.txt") + " --elements " + dir.File("CometEls.txt") +
               " Solar.Sun",
           &status);
    EXPECT_EQ(status, 2);
    for (const char* command : {"click --help", "sky --help"})
        EXPECT_NE(Zcmcom(command, &status).find("--elements FILE"), std::string::npos) << command;
}

// Each name lookup builds the whole name index (seconds under the sanitizers): the names
// themselves are the index's tests (tests/sky/NamesTest.cpp); here, that click takes one
// (UTF-8, with a space) and that a miss is reported, in two tests that can run side by side;
// texts that are no name are bad options.
TEST(CliSky, ClickTakesAName) {
    int status = -1;
    const std::string at =
        "click --settings init --at 2026-12-06T12:00:00Z --site 139.69,35.69,40 ";
    const std::string sirius = Zcmcom(at + "Star.HIP.32349", &status);
    EXPECT_EQ(status, 0);
    for (const char* name :
         {"\xE3\x82\xB7\xE3\x83\xAA\xE3\x82\xA6\xE3\x82\xB9", "'HIP 32349'"})  // シリウス
        EXPECT_EQ(Zcmcom(at + name, &status), sirius) << name;
}

TEST(CliSky, UnknownObjectsAreReported) {
    // Unknown objects (a path with no text of its own too): one line naming the closest on
    // standard error, nothing on standard output, status 3.
    TempDir dir;
    int status = -1;
    for (const char* args : {"click --at 2026-12-06T12:00Z Nonesuch",
                             "click --at 2026-12-06T12:00Z Solar.Moon", "find Nonesuch"}) {
        const std::string err =
            RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>&1 >" + dir.File("out"), &status);
        EXPECT_EQ(status, 3) << args;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_NE(err.find("closest: "), std::string::npos) << err;
        EXPECT_EQ(ReadFileBytes(dir.File("out")), "") << args;
    }
}

TEST(CliSky, LocalTimesAreTheSiteClocksWithDaylightSaving) {
    // Offsets of the tests' zones (tests/data/tz/zones.zi) at these instants: Chicago -5,
    // London +1 in July and 0 in January, Tokyo +9.
    int status = -1;
    const std::string dallas = "--settings init --at 2024-04-08T18:00:00Z --site -96.797,32.7767 ";
    std::string out = Zcmcom("click --trace " + dallas + "Solar.Sun", &status);
    EXPECT_EQ(status, 0);
    for (const char* line : {"# zone America/Chicago (UTC-5 at the instant)\n",
                             "\n\xE7\xAC\xAC"
                             "1\xE6\x8E\xA5\xE8\xA7\xA6  12:23:12\r\n",
                             "\xE7\xAC\xAC"
                             "2\xE6\x8E\xA5\xE8\xA7\xA6  13:40:36\r\n",
                             "\xE7\xAC\xAC"
                             "4\xE6\x8E\xA5\xE8\xA7\xA6  15:02:33\r\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << out;  // 第1接触 ... in CDT
    // The same local time written without an offset is read on the site's clock.
    EXPECT_EQ(
        Zcmcom("click --settings init --at '2024-04-08 13:00' --site -96.797,32.7767 Solar.Sun",
               &status),
        Zcmcom("click " + dallas + "Solar.Sun", &status));
    const std::string london = "click --settings init --site -0.1276,51.5072 Solar.Sun --at ";
    EXPECT_NE(Zcmcom(london + "2026-07-01T12:00Z", &status).find("\xE5\x87\xBA 04:48 "),
              std::string::npos);  // 出, BST
    EXPECT_NE(Zcmcom(london + "2026-01-15T12:00Z", &status).find("\xE5\x87\xBA 07:59 "),
              std::string::npos);  // GMT
    // --tz names the zone; an unknown one is a bad argument.
    out = Zcmcom("sky --trace --tz Asia/Tokyo --at 2026-12-06T12:00:00Z --site -96.797,32.7767",
                 &status);
    EXPECT_EQ(
        out.rfind("# zone Asia/Tokyo (UTC+9 at the instant)\n# UT AD2026/12/06 12:00:00  zone 9 ",
                  0),
        0u)
        << out.substr(0, 120);
    Zcmcom("sky --tz Mars/Olympus", &status);
    EXPECT_EQ(status, 2);
}
