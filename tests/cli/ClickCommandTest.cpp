// zcmcom click against the example host files.
#include <gtest/gtest.h>

#include <fstream>

#include "support/TestUtil.h"

namespace {

std::string Click(const std::string& args, int* status, const char* stderrTo = "/dev/null") {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI + " click " +
                          args + " 2>" + stderrTo,
                      status);
}

TEST(CliClick, ConstellationExampleShowsEveryLineOfThePositionBlock) {
    int status = -1;
    const std::string out =
        Click("--settings init --host examples/hosts/constellation.txt Constellation.Ori", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "オリオン Ori\r\n"
              "赤経 05h34m39.0s  赤緯 +05ﾟ57'00\" (J2000)\r\n"
              "赤経 05h35m44.9s  赤緯 +05ﾟ58'02\" (視位置)\r\n"
              "赤経 05h32m30.1s  赤緯 +05ﾟ56'10\" (B1950)\r\n"
              "黄経  84ﾟ11'02\"   黄緯 -17ﾟ26'29\" (平均位置)\r\n"
              "黄経  84ﾟ10'49\"   黄緯 -17ﾟ26'30\" (視位置)\r\n"
              "黄経  83ﾟ50'01\"   黄緯 -17ﾟ26'25\" (J2000)\r\n"
              "銀経 199ﾟ58'56\"   銀緯 -13ﾟ32'28\"\r\n"
              "方位 288.765ﾟ     高度  12.346ﾟ\r\n"
              "標準大気差補正済み高度  12.420ﾟ\r\n"
              "時角 -03h14m39s (-48.664ﾟ)\r\n"
              "出 17:41 南中 00:03 没 06:24\r\n");
}

TEST(CliClick, EquatorialExampleWithTheMeasuringLine) {
    int status = -1;
    const std::string out =
        Click("--settings init --host examples/hosts/equatorial.txt Equatorial", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.substr(0, out.find("\r\n")), "おおいぬ CMa");
    EXPECT_NE(out.find("標準大気差補正済み高度 < -3.000ﾟ\r\n"), std::string::npos);
    EXPECT_NE(out.find("没 07:24,07:20\r\n"), std::string::npos);
    // The measuring line closes the text; its last line has no CR LF of its own.
    EXPECT_NE(out.find("赤経差 +00h49m58.8s  赤緯差 - 24ﾟ07'24\"\r\n"
                       "黄経差 + 15ﾟ18'13\"   黄緯差 - 23ﾟ34'45\"\r\n"
                       "位置角  152ﾟ56'55\"   角距離   27ﾟ06'18\"\n"),
              std::string::npos);
}

TEST(CliClick, CompactDefaultAndTrace) {
    int status = -1;
    EXPECT_EQ(Click("--compact --host examples/hosts/equatorial.txt Equatorial", &status),
              "おおいぬ CMa\n");
    EXPECT_EQ(Click("--host examples/hosts/constellation.txt Constellation.Ori", &status),
              "オリオン Ori\r\n赤経 05h34m39.0s  赤緯 +05ﾟ57'00\" (J2000)\r\n");
    TempDir dir;
    const std::string trace = dir.File("trace");
    Click("--compact --trace --host examples/hosts/constellation.txt Constellation.Ori", &status,
          trace.c_str());
    std::ifstream in(trace);
    const std::string sent((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(sent,
              "? Constellation.Ori.Name\n? Constellation.Ori.Abbreviation\n? time.jd\n"
              "? time.timezone\n? location\n? location.solar.z\n? location.solar.y\n"
              "? location.solar.x\n");
}

TEST(CliClick, SettingsFromTheRegistry) {
    TempDir dir;
    const std::string env = "ZCMCOM_REGISTRY_USER=" + dir.File("user.db") +
                            " ZCMCOM_REGISTRY_MACHINE=" + dir.File("machine.db") + " ";
    int status = -1;
    // An empty registry leaves the default switches.
    const std::string out = RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + env +
                                           ZCMCOM_CLI +
                                           " click --settings registry --host "
                                           "examples/hosts/constellation.txt Constellation.Ori",
                                       &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "オリオン Ori\r\n赤経 05h34m39.0s  赤緯 +05ﾟ57'00\" (J2000)\r\n");
}

TEST(CliClick, UnknownKindsAndBadArguments) {
    int status = -1;
    EXPECT_EQ(Click("--host examples/hosts/constellation.txt Nothing", &status), "");
    EXPECT_EQ(status, 0);
    for (const char* args : {"--host", "--host a b c",
                             "--settings odd --host examples/hosts/constellation.txt X",
                             "--bogus --host examples/hosts/constellation.txt X"}) {
        Click(args, &status);
        EXPECT_EQ(status, 2) << args;
    }
    Click("--host /nonexistent/file X", &status);
    EXPECT_EQ(status, 1);
}

}  // namespace
