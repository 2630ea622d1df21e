// SPDX-License-Identifier: LGPL-3.0-or-later
#include "cli/Zcm.h"

namespace {

// What zcmcom observer prints (standard error included) for a host file holding hostText.
std::string Observer(const std::string& hostText, int* status) {
    TempDir dir;
    WriteFileBytes(dir.File("host.txt"), hostText);
    return Zcm("observer --host '" + dir.File("host.txt") + "'", status, "&1");
}

}  // namespace

TEST(CliObserver, PrintsTheStateReadFromTheHostFile) {
    int status = -1;
    const std::string out = Observer(
        "\xEF\xBB\xBF# Tokyo, spring 2024\r\n"
        "? ut(time)\tUT  AD2024/03/15 12:00:00\r\n"
        "? Time.Timezone\t9\n"
        "? Solar.Moon.Age\t5.25\n"
        "? Location\tLocation(\"\xE6\x9D\xB1\xE4\xBA\xAC\", 139.7, 35.7)\n"
        "? Location.Longitude\t139.7\n"
        "? Location.Latitude\t35.7\n"
        "? Location.Altitude\t40\n"
        "? Star.AutoMagnitudeLimit.Minimum\t6.54\n"
        "? Time.SiderealTime\t23.99999\n",
        &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "UT: 2024-03-15 12:00:00\n"
              "Local time: 2024-03-15 21:00:00\n"
              "Zone: +9.00\n"
              "Body: 4 Solar.Planet.Earth\n"
              "Site: longitude 139.700000 latitude 35.700000 height 40.0 m\n"
              "Magnitude limit: 6.5\n"
              "Moon age: 5.25\n"
              "Sidereal time: 00:00:00\n"
              "JD: 2460385.000000\n"
              "MJD: 60384.500000\n");
}

TEST(CliObserver, BadFilesAndArguments) {
    ExpectStatus(1, {"observer --host /nonexistent/host.txt"});
    ExpectStatus(2, {"observer", "observer FILE", "observer --host a b"});
    // A file without a readable time still prints, and says so.
    int status = -1;
    const std::string out = Observer("# nothing\n? UT(time)\tgarbage\nno tab here\n", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("no readable answer"), std::string::npos) << out;
    EXPECT_NE(out.find("JD: "), std::string::npos) << out;
}
