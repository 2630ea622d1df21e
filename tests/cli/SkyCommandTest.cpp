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
    for (const char* at : {"2026-12-06T12:00:00Z", "'2026-12-06 21:00'"})
        EXPECT_EQ(Zcmcom(std::string("click --settings init --at ") + at +
                             " --site 139.69,35.69,40 Solar.Planet.Mars",
                         &status),
                  mars)
            << at;
    // Days and seconds that exist only sometimes: a leap day, a leap second (also in +9).
    for (const char* at :
         {"2024-02-29T12:00Z", "2016-12-31T23:59:60Z", "2017-01-01T08:59:60.5+09"}) {
        Zcmcom(std::string("click --compact --at ") + at + " Solar.Sun", &status);
        EXPECT_EQ(status, 0) << at;
    }
    // A bare point of the sky, given with --point.
    const std::string point =
        Zcmcom(std::string(kMarsTonight) + "--point 5.5,-5 Equatorial", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(point.find("オリオン座 Ori"), std::string::npos) << point;
}

TEST(CliSky, TextsKeepTheirFactsStraight) {
    // A moon's source is its own theory; a magnitude just below zero is 0.0, not -0.0; a
    // shower's span, rate and speed; a deep-sky object's Japanese name before its English one.
    const char* kLines[][2] = {
        {"--at 2026-12-06T12:00Z --settings all Solar.Planet.Jupiter.Satellite.Io",
         "\n出典 E5 (衛星) / JPL DE405 (木星)\r\n"},
        {"--at 2026-12-27T18:00Z Mars", "\n光度  0.0等  "},
        {"--at 2026-12-06T12:00Z Geminids",
         "\n活動期間 12月3日頃～12月20日頃\r\nZHR 120  対地速度 35km/s\r\n"},
        {"--at 2026-12-06T12:00Z M31",
         "アンドロメダ銀河 Andromeda Galaxy M 31 (NGC 224, PGC 2557, UGC 454) 銀河\r\n"},
    };
    for (const auto& [args, line] : kLines) {
        int status = -1;
        const std::string text = Zcmcom(std::string("click --site 139.69,35.69 ") + args, &status);
        EXPECT_EQ(status, 0) << args;
        EXPECT_NE(text.find(line), std::string::npos) << args << ":\n" << text;
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
    // Halley's next return as a newer file would give it, a new comet, and a bad line.
    const std::string file = std::string(ZCMCOM_TEST_DATA) + "/cli/CometEls.txt";
    int status = -1;
    const std::string halley = Zcmcom(
        "click --settings init --at 2061-07-01T00:00Z --elements " + file + " Solar.Comet.Halley",
        &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(halley.find("近日点通過時刻 2061年 7月28.10000日 TT"), std::string::npos) << halley;
    EXPECT_NE(halley.find("CometEls.txt:3: line too short"), std::string::npos) << halley;
    const std::string list = Zcmcom("sky --at 2026-12-06T12:00Z --elements " + file, &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(list.find("\nSolar.Comet.C2099Z1\tC/2099 Z1 / Nobody\n"), std::string::npos);
    EXPECT_NE(list.find("\nSolar.MinorPlanet.4\t4 / (4) Vesta / Vesta / ベスタ\n"),
              std::string::npos);
    // Not beside --host; both commands' help shows it.
    Zcmcom("click --host " + file + " --elements " + file + " Solar.Sun", &status);
    EXPECT_EQ(status, 2);
    for (const char* command : {"click --help", "sky --help"})
        EXPECT_NE(Zcmcom(command, &status).find("--elements FILE"), std::string::npos) << command;
}

// Each name lookup builds the whole name index (seconds under the sanitizers): the names
// themselves are the index's tests (tests/sky/NamesTest.cpp); here, that click takes one
// (UTF-8, with a space) and that a miss is reported, in two tests that can run side by side;
// texts that are no name are bad options (tests/data/cli/exit_status.txt).
TEST(CliSky, ClickTakesAName) {
    int status = -1;
    const std::string at =
        "click --settings init --at 2026-12-06T12:00:00Z --site 139.69,35.69,40 ";
    const std::string sirius = Zcmcom(at + "Star.HIP.32349", &status);
    EXPECT_EQ(status, 0);
    for (const char* name : {"シリウス", "'HIP 32349'"})
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
    for (const char* line :
         {"# zone America/Chicago (UTC-5 at the instant)\n", "\n第1接触  12:23:20\r\n",
          "第2接触  13:40:42\r\n", "第4接触  15:02:41\r\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << out;  // in CDT
    // The same local time written without an offset is read on the site's clock.
    EXPECT_EQ(
        Zcmcom("click --settings init --at '2024-04-08 13:00' --site -96.797,32.7767 Solar.Sun",
               &status),
        Zcmcom("click " + dallas + "Solar.Sun", &status));
    const std::string london = "click --settings init --site London,GB Solar.Sun --at ";
    EXPECT_NE(Zcmcom(london + "2026-07-01T12:00Z", &status).find("出 04:48 "),
              std::string::npos);  // BST
    EXPECT_NE(Zcmcom(london + "2026-01-15T12:00Z", &status).find("出 07:59 "),
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
    // A town by its English or Japanese name, in any case and width, takes the town's zone;
    // unknown and ambiguous towns are bad arguments (tests/data/cli/exit_status.txt).
    for (const char* town : {"Tokyo", "'ＴＯＫＹＯ'", "東京", "大阪", "'osaka, jp'"}) {
        out = Zcmcom(std::string("sky --trace --at 2026-12-06T12:00Z --site ") + town, &status);
        EXPECT_EQ(out.rfind("# zone Asia/Tokyo (UTC+9 at the instant)\n# UT AD2026/12/06 "
                            "12:00:00  zone 9  site Location(\"Site\", 13",
                            0),
                  0u)
            << town << ": " << out.substr(0, 160);
    }
}
