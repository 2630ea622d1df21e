#include <algorithm>

#include "support/TestUtil.h"

namespace {

std::string Cli(const std::string& args, int* status) {
    return RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>/dev/null", status);
}

}  // namespace

TEST(CliCoord, PrintsTheFormatterTextAsUtf8) {
    int status = -1;
    EXPECT_EQ(Cli("coord ra 23.9999999 4", &status), "00h00m00.000s\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Cli("coord dec -0.5 1", &status), "-00\xEF\xBE\x9F" "30'\n");
    EXPECT_EQ(Cli("coord lon -10 1", &status), "350\xEF\xBE\x9F" "00'\n");
    EXPECT_EQ(Cli("coord decdeg 5 1", &status), " +5.000\n");
    EXPECT_EQ(Cli("coord radeg nan 3", &status), " --.-----   \n");
    EXPECT_EQ(Cli("coord ra 1 -2", &status), "--h--m--.-s\n");
}

TEST(CliCoord, BadArgumentsExitWithStatusTwo) {
    for (const char* args : {"coord ra abc 1", "coord ra 1 9", "coord ra 1 0", "coord xx 1 1",
                             "coord ra 1", "nosuchcommand", ""}) {
        int status = -1;
        const std::string err =
            RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>&1 >/dev/null", &status);
        EXPECT_EQ(status, 2) << args;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n') >= 1, true) << args;
    }
}

TEST(CliRaDec, PrintsTheSevenFields) {
    int status = -1;
    EXPECT_EQ(Cli("radec \"12h34m56.7s +12\xEF\xBE\x9F" "34'56.7\\\"\"", &status),
              "12 34 56.7 1 12 34 56.7\n");
    EXPECT_EQ(status, 0);
    Cli("radec '   '", &status);
    EXPECT_EQ(status, 1);
}

TEST(CliHelp, ListsTheSubcommands) {
    int status = -1;
    const std::string out = Cli("--help", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("coord"), std::string::npos);
    EXPECT_NE(out.find("radec"), std::string::npos);
}
