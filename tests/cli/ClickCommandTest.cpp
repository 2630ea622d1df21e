// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click against the example host files.
#include "cli/Zcm.h"
#include "clickdata/CdStatus.h"
#include "support/TempRegistry.h"

namespace {

const std::string kOrion = "--host examples/hosts/constellation.txt Constellation.Ori";
const std::string kOrionDefault = "オリオン Ori\r\n赤経 05h34m39.0s  赤緯 +05ﾟ57'00\" (J2000)\r\n";

TEST(CliClick, ConstellationExampleShowsEveryLineOfThePositionBlock) {
    int status = -1;
    EXPECT_EQ(Zcm("click --settings init " + kOrion, &status),
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
    EXPECT_EQ(status, 0);
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

TEST(CliClick, SettingsAreTheSavedOnesElseInitAndTrace) {
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
    TempDir dir;
    Zcm("click --compact --trace " + kOrion, &status, dir.File("trace"));
    EXPECT_EQ(ReadFileBytes(dir.File("trace")),
              "? Constellation.Ori.Name\n? Constellation.Ori.Abbreviation\n? time.jd\n"
              "? time.timezone\n? location\n? location.solar.z\n? location.solar.y\n"
              "? location.solar.x\n");
}

TEST(CliClick, SettingsAllAddsTheLaterLinesAfterTheOthers) {
    int status = -1;
    const std::string mars = "--host examples/hosts/mars.txt Solar.Planet.Mars";
    const std::string init = Zcm("click --settings init " + mars, &status);
    const std::string all = Zcm("click --settings all " + mars, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(all.substr(0, init.size()), init);
    EXPECT_EQ(all.substr(init.size()),
              "星座 へびつかい座 (Oph)\r\nエアマス —\r\n恒星時 02h17m09s\r\n星位角 62.64ﾟ\r\n"
              "太陽高度 -54.6ﾟ (夜)\r\n月高度 50.1ﾟ\r\n出まで 10時間21分 南中まで 15時間10分 没まで 19時間59分\r\n"
              "観測好機 なし\r\n光行時間 20分09.34秒\r\n位相角 6.11ﾟ\r\n出典 VSOP87\r\n");
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
