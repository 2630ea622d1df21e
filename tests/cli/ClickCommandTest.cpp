// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click against the example host files.
#include "cli/Zcm.h"
#include "clickdata/CdStatus.h"
#include "support/TempRegistry.h"

namespace {

const std::string kOrion = "--host examples/hosts/constellation.txt Constellation.Ori";
const std::string kOrionDefault = "オリオン Ori\r\n赤経 05h34m39.0s  赤緯 +05ﾟ57'00\" (J2000)\r\n";

// Whole outputs against their golden files in tests/golden/cli/; with trace, what goes to
// standard error is compared instead, else standard error stays empty.
TEST(CliGolden, OutputsAndTracesMatchTheirGoldenFiles) {
    const struct {
        std::string args, golden;
        bool trace;
    } cases[] = {
        {"click --settings init " + kOrion, "click_orion.txt", false},
        {"click --compact --trace " + kOrion, "click_orion_trace.txt", true},
        {"cdf --trace --host examples/hosts/star-named.txt Star.HIP.27989", "cdf_star_trace.txt",
         true},
        {"observer --host tests/golden/cli/observer_host.txt", "observer.txt", false},
        {"find orion", "find_orion.txt", false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        int status = -1;
        const std::string out = Zcm(c.args, &status, dir.File("err")),
                          err = ReadFileBytes(dir.File("err"));
        EXPECT_EQ(status, 0) << c.args;
        ExpectGolden(c.trace ? err : out, "cli/" + c.golden);
        EXPECT_TRUE(c.trace || err.empty()) << c.args << ": " << err;
    }
}

TEST(CliClick, EquatorialExampleWithTheMeasuringLine) {
    int status = -1;
    const std::string out =
        Zcm("click --settings init --host examples/hosts/equatorial.txt Equatorial", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.substr(0, out.find("\r\n")), "おおいぬ CMa");
    EXPECT_NE(out.find("標準大気差補正済み高度 < -3.000ﾟ\r\n"), std::string::npos);
    EXPECT_NE(out.find("没 07:24,07:20\r\n"), std::string::npos);
    // The measuring lines close the text; the last has no CR LF of its own.
    EXPECT_NE(out.find("\r\n赤経差 +00h49m58.8s  赤緯差 - 24ﾟ07'24\"\r\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.rfind("\r\n") + 2), "位置角  152ﾟ56'55\"   角距離   27ﾟ06'18\"\n");
    EXPECT_EQ(Zcm("click --compact --host examples/hosts/equatorial.txt Equatorial", &status),
              "おおいぬ CMa\n");
}

TEST(CliClick, SettingsAreTheSavedOnesElseInit) {
    int status = -1;
    EXPECT_EQ(Zcm("click --settings default " + kOrion, &status), kOrionDefault);
    {
        TempRegistry reg;  // an empty registry: --settings registry leaves the default switches,
        EXPECT_EQ(Zcm("click --settings registry " + kOrion, &status), kOrionDefault);
        EXPECT_EQ(status, 0);
        const std::string init = Zcm("click --settings init " + kOrion, &status);
        EXPECT_EQ(Zcm("click " + kOrion, &status), init);  // and no --settings means init
        CCdStatus saved;  // once settings are saved, they are the ones used
        saved.Save();
        EXPECT_EQ(Zcm("click " + kOrion, &status), kOrionDefault);
    }
}

TEST(CliClick, SettingsAllAddsTheLaterLinesAfterTheOthers) {
    int status = -1;
    const std::string mars = "--host examples/hosts/mars.txt Solar.Planet.Mars";
    const std::string init = Zcm("click --settings init " + mars, &status);
    const std::string all = Zcm("click --settings all " + mars, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(all.substr(0, init.size()), init);
    ExpectGolden(all.substr(init.size()), "cli/click_mars_later.txt");
}

TEST(CliClick, UnknownKindsAndBadArguments) {
    int status = -1;
    EXPECT_EQ(Zcm("click --host examples/hosts/constellation.txt Nothing", &status), "");
    EXPECT_EQ(status, 0);
    ExpectStatus(2, {"click --host", "click --host a b c",
                     "click --settings odd --host examples/hosts/constellation.txt X",
                     "click --bogus --host examples/hosts/constellation.txt X"});
    ExpectStatus(1, {"click --host /nonexistent/file X"});
}

}  // namespace
