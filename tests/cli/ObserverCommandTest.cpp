// SPDX-License-Identifier: LGPL-3.0-or-later
#include "cli/Zcm.h"

TEST(CliObserver, BadFilesAndArguments) {
    ExpectStatus(1, {"observer --host /nonexistent/host.txt"});
    ExpectStatus(2, {"observer", "observer FILE", "observer --host a b"});
    // A file without a readable time still prints, and says so.
    int status = -1;
    TempDir dir;
    WriteFileBytes(dir.File("host.txt"), "# nothing\n? UT(time)\tgarbage\nno tab here\n");
    const std::string out = Zcmcom("observer --host " + dir.File("host.txt"), &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("no readable answer"), std::string::npos) << out;
    EXPECT_NE(out.find("JD: "), std::string::npos) << out;
}
