#pragma once
// Runs the zcmcom program from the source folder (where examples/ lies).
#include <initializer_list>
#include <string>

#include "support/TestUtil.h"

// Standard output of `zcmcom ARGS`; standard error goes to the file `err`.
inline std::string Zcm(const std::string& args, int* status, const std::string& err = "/dev/null") {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI + " " + args +
                          " 2>" + err,
                      status);
}

// Every argument list ends with exit status `want`.
inline void ExpectStatus(int want, std::initializer_list<const char*> argLists) {
    for (const char* args : argLists) {
        int status = -1;
        Zcm(args, &status);
        EXPECT_EQ(want, status) << args;
    }
}
