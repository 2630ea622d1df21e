// SPDX-License-Identifier: LGPL-3.0-or-later
#include "cli/Zcm.h"

TEST(CliCoord, PrintsTheFormatterTextAsUtf8) {
    // One row per formatter: tests/format has the rest.
    ExpectOutputs({{"coord ra 23.9999999 4", "00h00m00.000s\n"},
                   {"coord dec -0.5 1", "-00ﾟ30'\n"},
                   {"coord lon -10 1", "350ﾟ00'\n"},
                   {"coord radeg nan 3", " --.-----   \n"},
                   {"radec \"12h34m56.7s +12ﾟ34'56.7\\\"\"", "12 34 56.7 1 12 34 56.7\n"}});
}

TEST(CliHelp, ListsTheSubcommands) {
    int status = -1;
    const std::string out = Zcm("--help", &status);
    EXPECT_EQ(status, 0);
    ExpectStatus(2, {""});  // no command at all shows the usage (bad ones: ExitStatusTest.cpp)
    // The top help lists every subcommand; each, nested ones too, answers --help on standard
    // output.
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
        EXPECT_NE(out.find(std::string(name).substr(0, std::string(name).find(' '))),
                  std::string::npos)
            << name;
    }
    // Grouped by what they work on, "help" listed last.
    size_t at = 0;
    for (const char* group : {"\nSky:\n  click ", "\nTime:\n  date ", "\nFiles:\n",
                              "\nNetwork:\n  ping ", "\nCamera:\n", "\nHelp:\n  help "})
        EXPECT_NE(at = out.find(group, at), std::string::npos) << group << out;
}
