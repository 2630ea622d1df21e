// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Runs the zcmcom program from the source folder (where examples/ lies).
#include <initializer_list>
#include <string>
#include <utility>

#include "support/TestUtil.h"

// Standard output of `zcmcom ARGS` over the tests' own time zones; standard error goes to
// the file `err`.
inline std::string Zcm(const std::string& args, int* status, const std::string& err = "/dev/null") {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && TZDIR='" + TestZoneFolder() +
                          "' " + ZCMCOM_CLI + " " + args + " 2>" + err,
                      status);
}

// Standard output and standard error of `zcmcom ARGS`, together.
inline std::string Zcmcom(const std::string& args, int* status) { return Zcm(args, status, "&1"); }

// Every argument list ends with exit status `want`.
inline void ExpectStatus(int want, std::initializer_list<const char*> argLists) {
    for (const char* args : argLists) {
        int status = -1;
        Zcm(args, &status);
        EXPECT_EQ(want, status) << args;
    }
}

// Each argument list prints exactly its text and ends with status 0.
inline void ExpectOutputs(std::initializer_list<std::pair<std::string, std::string>> cases) {
    for (const auto& [args, want] : cases) {
        int status = -1;
        EXPECT_EQ(Zcm(args, &status), want) << args;
        EXPECT_EQ(status, 0) << args;
    }
}
