// SPDX-License-Identifier: LGPL-3.0-or-later
// Bad arguments and failures, each with its exit status and a one-line "zcmcom: " message
// that says why.
#include <cerrno>
#include <cstring>

#include "cli/Zcm.h"
#include "net/NetTestUtil.h"

namespace {

struct Row {
    const char* env;  // put before the command
    const char* args;
    const char* out;  // where standard output goes
    int status;
    std::string reason;  // part of the message
};

TEST(CliExitStatus, EveryFaultHasItsStatusAndReason) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "line\n");
    const std::string convert = "textfile convert " + dir.File("in.txt") + " /dev/full ";
    const std::string utf8 = convert + "utf8", sjis = convert + "sjis";
    const Row rows[] = {
        {"", "sky --site nan,0 --save-site", "/dev/null", 2, "bad --site"},
        {"", "sky --site 0,inf", "/dev/null", 2, "bad --site"},
        {"", "click --point nan,nan Equatorial", "/dev/null", 2, "bad --point"},
        {"", "tz nan 0", "/dev/null", 2, "must be numbers"},
        {"", "tz 0 inf", "/dev/null", 2, "must be numbers"},
        {"", "radec hello", "/dev/null", 2, "no right ascension"},
        {"", "date parse garbage", "/dev/null", 2, "not a date"},
        {"", "date dow 2000 -5 -5", "/dev/null", 2, "MONTH must be 1 to 12"},
        {"", "date dow 2000 2 30", "/dev/null", 2, "no such day"},
        {"", "date days 2000 13", "/dev/null", 2, "MONTH must be 1 to 12"},
        {"", "click --host /tmp X", "/dev/null", 1, "cannot read host file '/tmp': is a folder"},
        // (the system's reasons in the user's language)
        {"", "click --host /nonexistent/file X", "/dev/null", 1, strerror(ENOENT)},
        {"", "passes ISS --tle /nonexistent/file.tle", "/dev/null", 1, "cannot read TLE file"},
        {"", "sky --elements /nonexistent/file.txt", "/dev/null", 1, "cannot read --elements"},
        {"", "click --elements /tmp Sirius", "/dev/null", 1, "'/tmp': is a folder"},
        {"", "passes NO-SUCH-SATELLITE", "/dev/null", 3, "no satellite 'NO-SUCH-SATELLITE'"},
        {"", "coord ra 1 1", "/dev/full", 1,
         std::string("cannot write to standard output: ") + strerror(ENOSPC)},
        {"", "sky", "/dev/full", 1, "cannot write to standard output"},
        {"", utf8.c_str(), "/dev/null", 1, std::string("/dev/full: ") + strerror(ENOSPC)},
        {"", sjis.c_str(), "/dev/null", 1, strerror(ENOSPC)},
        {"ZCMCOM_REGISTRY_USER=/dev/null/x/user.sqlite", "sky --site 1,2 --save-site", "/dev/null",
         1, "the site could not be stored: the folder of /dev/null/x/user.sqlite does not exist"},
        {"", "click --bogus X", "/dev/null", 2, "--bogus"},
        {"", "send h 1 t --wait 1", "/dev/null", 2, "--wait requires --reply"},
    };
    for (const Row& r : rows) {
        int status = -1;
        const std::string err = RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + r.env +
                                               " " + ZCMCOM_CLI + " " + r.args + " 2>&1 >" + r.out,
                                           &status);
        EXPECT_EQ(status, r.status) << r.args;
        EXPECT_EQ(err.rfind("zcmcom: ", 0), 0u) << r.args << ": " << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << r.args << ": " << err;
        EXPECT_NE(err.find(r.reason), std::string::npos) << r.args << ": " << err;
    }
}

TEST(CliExitStatus, ASilentServerEndsTheWaitForAReplyWithAMessage) {
    int port = 0;  // a loopback port that takes the connection and never answers
    const int fd = BindLoopback(SOCK_STREAM, &port);
    ASSERT_GE(fd, 0);
    int status = -1;
    const std::string err =
        Zcm("send 127.0.0.1 " + std::to_string(port) + " hello --reply --wait 1", &status, "&1");
    close(fd);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "zcmcom: no reply before the time-out (--wait)\n");
}

}  // namespace
