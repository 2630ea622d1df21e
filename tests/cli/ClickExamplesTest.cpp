// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click and zcmcom cdf against the example host files: each prints its name line, a
// line of its kind's own and its compact form (tests/clickdata checks the builders' full texts).
#include <sstream>

#include "cli/Zcm.h"
#include "support/Accuracy.h"

namespace {

// The example host files and what each prints (tests/data/cli/examples.txt).
TEST(CliClickExamples, EveryExamplePrintsInFullAndCompactForm) {
    for (const std::string& row : DataRows("cli/examples.txt", 5)) {
        std::istringstream s(row);
        std::string file, path, name, line, cdf;
        for (std::string* f : {&file, &path, &name, &line, &cdf}) std::getline(s, *f, '\t');
        const std::string host = "--host examples/hosts/" + file + ".txt " + path;
        int status = -1;
        const std::string full = Zcm("click --settings init " + host, &status);
        EXPECT_EQ(status, 0) << file;
        EXPECT_EQ(full.rfind(name + "\r\n", 0), 0u) << file << "\n" << full;
        EXPECT_NE(full.find("\n" + line + "\r\n"), std::string::npos) << file << "\n" << full;
        EXPECT_EQ(Zcm("click --compact --settings init " + host, &status), name + "\n") << file;
        if (cdf != "-") {
            EXPECT_EQ(Zcm("cdf " + host, &status), cdf + "\n") << file;
        }
    }
}

TEST(CliCdf, Arguments) {
    int status = -1;
    // The bare sky names its constellation (the switch is on by default); an unknown kind
    // has no designation.
    EXPECT_EQ(Zcm("cdf --host examples/hosts/equatorial.txt Equatorial", &status), "CONS CMa\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Zcm("cdf --host examples/hosts/equatorial.txt Nothing", &status), "\n");
    EXPECT_EQ(status, 0);
    ExpectStatus(2, {"cdf Star.HIP.1", "cdf --host", "cdf --compact --host x Star.HIP.1",
                     "cdf --settings odd --host examples/hosts/star-named.txt X",
                     "cdf --host examples/hosts/star-named.txt A B"});
    ExpectStatus(1, {"cdf --host /nonexistent/file X"});
}

}  // namespace
