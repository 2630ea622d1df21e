// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom passes: the passes of a satellite from the bundled or the user's elements, the
// warning about old elements and the refusals.
#include "cli/Zcm.h"

namespace {

const std::string kTokyo = " --site 139.745,35.654,40";

int Lines(const std::string& text, const std::string& start) {
    int n = 0;
    for (size_t p = 0; (p = text.find("\n" + start, p)) != std::string::npos; ++p) ++n;
    return n;
}

TEST(CliPasses, ListsPassesAndWarnsAboutOldElements) {
    int status = -1;
    const std::string all =
        Zcmcom("passes ISS --all --days 2 --at 2022-06-18T00:00:00Z" + kTokyo, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(all.rfind("# ISS (ZARYA) (25544), elements of 2022-06-15 23:35:24 UTC", 0), 0u)
        << all;
    // Skyfield counts 14 passes over Tokyo in those two days (tests/data/satellites).
    EXPECT_EQ(Lines(all, "2022-06-"), 14) << all;
    EXPECT_EQ(all.find("warning"), std::string::npos);
    // At noon nothing is visible, and the list says so.
    EXPECT_NE(Zcmcom("passes ISS --days 0.1 --at 2022-06-18T03:00:00Z" + kTokyo, &status)
                  .find("\n# no visible pass in these 0.1 days\n"),
              std::string::npos);
    // The visible ones are those at dawn, lit while the sky is dark; a month later the
    // same elements come with a warning.
    const std::string late =
        Zcmcom("passes 25544 --days 3 --at 2022-07-20T00:00:00Z" + kTokyo, &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(late.find("zcmcom: warning: the elements of ISS (ZARYA) (25544) are 34 days older"),
              std::string::npos)
        << late;
}

TEST(CliPasses, UserElementsWinWhenNewerAndBadSetsAreReported) {
    // Newer elements of the ISS, and a set whose first line fails its checksum.
    const std::string file = std::string(ZCMCOM_TEST_DATA) + "/cli/iss.tle";
    int status = -1;
    const std::string out =
        Zcmcom("passes ISS --days 1 --at 2022-07-20T00:00:00Z --tle " + file + kTokyo, &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("elements of 2022-07-19 12:00:00 UTC"), std::string::npos) << out;
    EXPECT_NE(out.find(file + ":4: checksum of line 1 does not match (skipped)"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("warning"), std::string::npos) << out;
    // The same file named by the environment.
    const std::string env =
        RunCommand("ZCMCOM_SKY_TLE=" + file + " " + ZCMCOM_CLI +
                       " passes ISS --days 1 --at 2022-07-20T00:00:00Z" + kTokyo + " 2>&1",
                   &status);
    EXPECT_NE(env.find("elements of 2022-07-19 12:00:00 UTC"), std::string::npos) << env;
}

TEST(CliPasses, RefusesBadArguments) {
    ExpectStatus(2, {"passes", "passes ISS --days 0", "passes ISS --days x", "passes ISS HST"});
}

}  // namespace
