// SPDX-License-Identifier: LGPL-3.0-or-later
#include <algorithm>

#include "cli/Zcm.h"

TEST(CliCoord, PrintsTheFormatterTextAsUtf8) {
    ExpectOutputs({{"coord ra 23.9999999 4",
                    "00h00m00.000s\n"},  // one row per formatter: tests/format has the rest
                   {"coord dec -0.5 1",
                    "-00\xEF\xBE\x9F"
                    "30'\n"},
                   {"coord lon -10 1",
                    "350\xEF\xBE\x9F"
                    "00'\n"},
                   {"coord radeg nan 3", " --.-----   \n"},
                   {"radec \"12h34m56.7s +12\xEF\xBE\x9F"
                    "34'56.7\\\"\"",
                    "12 34 56.7 1 12 34 56.7\n"}});
}

TEST(CliCoord, BadArgumentsGiveAOneLineErrorAndStatusTwo) {
    for (const char* args : {"coord ra abc 1", "coord ra 1 9", "coord ra 1 0", "coord xx 1 1",
                             "coord ra 1", "nosuchcommand", "radec '   '", ""}) {
        int status = -1;
        const std::string err = Zcm(args, &status, "&1 >/dev/null");  // standard error only
        EXPECT_EQ(status, 2) << args;
        if (*args) {  // (no command at all shows the usage)
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << args;
        }
    }
}

TEST(CliHelp, ListsTheSubcommands) {
    int status = -1;
    const std::string out = Zcm("--help", &status);
    EXPECT_EQ(status, 0);
    for (const char* name :
         {"coord", "radec", "click", "apps", "date", "eos", "ping", "listen", "send", "urlencode"})
        EXPECT_NE(out.find(name), std::string::npos) << name;
    // Every subcommand, nested ones too, answers --help on standard output.
    for (const char* name :
         {"apps",    "cdf",        "click",         "coord",        "radec",
          "date",    "date parse", "date dow",      "date days",    "eos",
          "cameras", "textfile",   "textfile info", "textfile cat", "textfile convert",
          "ping",    "listen",     "send",          "urlencode",    "observer",
          "sky",     "tz",         "tzmap",         "find"}) {
        EXPECT_NE(
            Zcm(std::string(name) + " --help", &status).find("Usage: zcmcom " + std::string(name)),
            std::string::npos)
            << name;
        EXPECT_EQ(status, 0) << name;
    }
}
