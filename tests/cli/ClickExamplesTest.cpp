// zcmcom click against the example hosts of the solar system, satellites, meteor showers
// and field frames: each prints its name line, its position block and its own lines.
#include <gtest/gtest.h>

#include "support/TestUtil.h"

namespace {

struct Example {
    const char* file;  // in examples/hosts/, without ".txt"
    const char* path;
    const char* name;  // the name line
    const char* line;  // a line of the kind's own, with its line end
};

const Example kExamples[] = {
    {"sun-eclipse", "Solar.Sun", "太陽 Sun", "食の最大 09:55:21  継続時間 02m23s\r\n"},
    {"moon", "Solar.Planet.Earth.Satellite.Moon", "月 Moon", "満月 08:14\r\n"},
    {"mars", "Solar.Planet.Mars", "火星 Mars (惑星)", "惑心太陽黄経 302.4ﾟ\r\n"},
    {"jupiter", "Solar.Planet.Jupiter", "木星 Jupiter (惑星)", "中央経度 123ﾟ(I)  45ﾟ(II)\r\n"},
    {"comet", "Solar.Comet.C2025A6", "レモン彗星 Lemmon (C/2025 A6)", "近日点通過時刻 2025年11月8.16740日 TT\r\n"},
    {"minor-planet", "Solar.MinorPlanet.4", "ベスタ Vesta (4)", "軌道長半径 2.361535 au\r\n"},
    {"meteorite", "Solar.Meteorite.Nogata", "直方隕石 Nogata (M861)", "落下 861年5月19日 12時0分\r\n"},
    {"spacecraft", "Solar.Spacecraft.Hayabusa2", "はやぶさ2 Hayabusa2", "データ終了 2031/03/02 00:00:00 (UT)\r\n"},
    {"moon-place", "Solar.Planet.Earth.Satellite.Moon.Place.Tycho", "ティコ Tycho", "経度 348.64 緯度 -43.31'\r\n"},
    {"satellite", "ArtificialSatellite.25544", "ISS (ZARYA) (25544)", "直下点 東経141ﾟ14'04\" 南緯39ﾟ00'00\"\r\n"},
    {"meteor", "Meteor.Geminids", "ふたご座流星群の放射点", "極大日 12月14日頃\r\n"},
    {"angle-of-view", "AngleOfView.Main", "メイン ASI2600MC Pro (2.54ﾟ×1.70ﾟ)", "ガイドエリア 4.8 × 3.6 mm チップ間隔 18.5 mm\r\n"},
    {"mosaic", "MosaicOfField.2", "M31モザイク  (6.87ﾟ×4.58ﾟ×2×3フレーム, No.2)", "重なり 15 %, 赤道座標\r\n"},
    {"field-of-view", "FieldOfViewCircle.Finder", "ファインダー (6.00ﾟ)", "時角 -01h31m52s (-22.965ﾟ)\r\n"},
};

std::string Click(const Example& e, const char* options, int* status) {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI + " click " + options +
                          " --host examples/hosts/" + e.file + ".txt " + e.path + " 2>&1",
                      status);
}

TEST(CliClickExamples, EveryExamplePrintsInFullAndCompactForm) {
    for (const Example& e : kExamples) {
        int status = -1;
        const std::string full = Click(e, "--settings init", &status);
        EXPECT_EQ(status, 0) << e.file;
        EXPECT_EQ(full.rfind(std::string(e.name) + "\r\n", 0), 0u) << e.file << "\n" << full;
        EXPECT_NE(full.find(std::string("\n") + e.line), std::string::npos) << e.file << "\n" << full;
        EXPECT_EQ(Click(e, "--compact --settings init", &status), std::string(e.name) + "\n") << e.file;
    }
}

TEST(CliClickExamples, MoonWithItsWholePositionBlock) {
    int status = -1;
    EXPECT_EQ(Click(kExamples[1], "--settings init", &status),
              "月 Moon\r\n"
              "月齢 15.4  視直径 33.4'  輝面比 0.98\r\n"
              "赤経 05h17m06.0s  赤緯 +27ﾟ38'24\" (J2000)\r\n"
              "赤経 05h18m43.5s  赤緯 +27ﾟ39'47\" (視位置)\r\n"
              "赤経 05h13m57.8s  赤緯 +27ﾟ35'34\" (B1950)\r\n"
              "黄経  80ﾟ50'33\"   黄緯 +04ﾟ33'16\" (平均位置)\r\n"
              "黄経  80ﾟ50'37\"   黄緯 +04ﾟ33'16\" (視位置)\r\n"
              "黄経  80ﾟ28'50\"   黄緯 +04ﾟ33'16\" (J2000)\r\n"
              "銀経 177ﾟ38'54\"   銀緯 -05ﾟ57'52\"\r\n"
              "方位 268.663ﾟ     高度  50.894ﾟ\r\n"
              "標準大気差補正済み高度  50.908ﾟ\r\n"
              "時角 -03h01m35s (-45.394ﾟ)\r\n"
              "出 16:31 南中 00:01 没 07:32\r\n"
              "地心距離  35.85万 km\r\n"
              "測心距離  35.48万 km\r\n"
              "中央経度  -3.8ﾟ  中央緯度   1.5ﾟ\r\n"
              "満月 08:14\r\n");
    EXPECT_EQ(status, 0);
}

}  // namespace
