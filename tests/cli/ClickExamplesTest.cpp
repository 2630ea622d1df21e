// zcmcom click against the example hosts of the solar system, satellites, meteor showers
// and field frames: each prints its name line, its position block and its own lines.
#include <gtest/gtest.h>

#include <sstream>

#include "support/TestUtil.h"

namespace {

struct Example {
    const char* file;  // in examples/hosts/, without ".txt"
    const char* path;
    int positionLines;
    const char* lines;  // the text without its position block, LF line ends
};

const Example kExamples[] = {
    {"sun-eclipse", "Solar.Sun", 11,
      "太陽 Sun\n"
      "光度 -26.7等 視直径 15.9'\n"
      "地心距離  1.00925 au\n"
      "測心距離  1.00925 au\n"
      "中央経度 119ﾟ\n"
      "中央緯度   7ﾟ\n"
      "第1接触  08:37:12\n"
      "第2接触  09:54:10\n"
      "食の最大 09:55:21  継続時間 02m23s\n"
      "第3接触  09:56:33\n"
      "第4接触  11:23:05\n"
      "食分 1.01\n"},
    {"moon", "Solar.Planet.Earth.Satellite.Moon", 11,
      "月 Moon\n"
      "月齢 15.4  視直径 33.4'  輝面比 0.98\n"
      "地心距離  35.85万 km\n"
      "測心距離  35.48万 km\n"
      "中央経度  -3.8ﾟ  中央緯度   1.5ﾟ\n"
      "満月 08:14\n"},
    {"mars", "Solar.Planet.Mars", 11,
      "火星 Mars (惑星)\n"
      "光度  1.3等  視直径 3.9\"  輝面比 0.99\n"
      "地心距離  2.38943 au\n"
      "測心距離  2.38940 au\n"
      "日心距離  1.41881 au\n"
      "太陽離角 11.620ﾟE\n"
      "公転周期 1.88年\n"
      "軌道長半径 1.523679 au\n"
      "離心率 0.093400\n"
      "中央経度 210ﾟ\n"
      "中央緯度 -12ﾟ\n"
      "惑心太陽黄経 302.4ﾟ\n"},
    {"jupiter", "Solar.Planet.Jupiter", 11,
      "木星 Jupiter (惑星)\n"
      "光度 -2.5等  視直径 45.8\"  輝面比 0.99\n"
      "地心距離  4.29811 au\n"
      "測心距離  4.29808 au\n"
      "日心距離  5.16126 au\n"
      "太陽離角 142.700ﾟW\n"
      "公転周期 11.9年\n"
      "軌道長半径 5.202603 au\n"
      "離心率 0.048498\n"
      "中央経度 123ﾟ(I)  45ﾟ(II)\n"
      "中央緯度  -1ﾟ\n"},
    {"comet", "Solar.Comet.C2025A6", 11,
      "レモン彗星 Lemmon (C/2025 A6)\n"
      "光度  8.9等\n"
      "地心距離  1.15184 au\n"
      "測心距離  1.15183 au\n"
      "日心距離  0.98641 au\n"
      "太陽離角 55.310ﾟE\n"
      "公転周期 1350年\n"
      "近日点通過時刻 2025年11月8.16740日 TT\n"
      "離心率 0.995703\n"
      "近日点距離 0.529860 au\n"
      "移動量(赤経) 8.420 s/時間\n"
      "移動量(赤緯) -79.65 \"/時間\n"
      "移動方向 124.04 度\n"
      "移動量   142.30 \"/時間\n"},
    {"minor-planet", "Solar.MinorPlanet.4", 11,
      "ベスタ Vesta (4)\n"
      "光度  8.1等\n"
      "地心距離  3.16143 au\n"
      "測心距離  3.16140 au\n"
      "日心距離  2.35221 au\n"
      "太陽離角 35.200ﾟE\n"
      "公転周期 3.63年\n"
      "軌道長半径 2.361535 au\n"
      "離心率 0.088717\n"},
    {"meteorite", "Solar.Meteorite.Nogata", 0,
      "直方隕石 Nogata (M861)\n"
      "目撃された落下として記録に残る最古の隕石\n"
      "落下 861年5月19日 12時0分\n"},
    {"spacecraft", "Solar.Spacecraft.Hayabusa2", 10,
      "はやぶさ2 Hayabusa2\n"
      "地心距離  1.28311 au\n"
      "測心距離  1.28309 au\n"
      "日心距離  0.94177 au\n"
      "データ開始 2015/12/03 04:22:20 (UT)\n"
      "データ終了 2031/03/02 00:00:00 (UT)\n"},
    {"moon-place", "Solar.Planet.Earth.Satellite.Moon.Place.Tycho", 0,
      "ティコ Tycho\n"
      "直径85 kmの光条の目立つクレーター\n"
      "経度 348.64 緯度 -43.31'\n"},
    {"satellite", "ArtificialSatellite.25544", 10,
      "ISS (ZARYA) (25544)\n"
      "地心距離 6791 km\n"
      "測心距離 1119 km\n"
      "直下点 東経141ﾟ14'04\" 南緯39ﾟ00'00\"\n"
      "高度 418.5 km\n"
      "元期(1) 2025年12月05日07時29分46.665894秒(UTC)\n"
      "元期(2) 2025年12月05日19時29分46.665894秒(UTC)\n"},
    {"meteor", "Meteor.Geminids", 11,
      "ふたご座流星群の放射点\n"
      "極大日 12月14日頃\n"},
    {"angle-of-view", "AngleOfView.Main", 11,
      "メイン ASI2600MC Pro (2.54ﾟ×1.70ﾟ)\n"
      "焦点距離 530.0 mm 撮像エリア 23.5 × 15.7 mm\n"
      "ガイドエリア 4.8 × 3.6 mm チップ間隔 18.5 mm\n"
      "回転角 345.0 度\n"},
    {"mosaic", "MosaicOfField.2", 11,
      "M31モザイク  (6.87ﾟ×4.58ﾟ×2×3フレーム, No.2)\n"
      "焦点距離 300.0 mm 撮像エリア 36.0 × 24.0 mm\n"
      "重なり 15 %, 赤道座標\n"
      "回転角 10.0 度\n"},
    {"field-of-view", "FieldOfViewCircle.Finder", 11,
      "ファインダー (6.00ﾟ)\n"},
};

std::string Click(const Example& e, const char* options, int* status) {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI + " click " + options +
                          " --host examples/hosts/" + e.file + ".txt " + e.path + " 2>&1",
                      status);
}

bool IsPositionLine(const std::string& line) {
    for (const char* head : {"赤経 ", "黄経 ", "銀経 ", "方位 ", "標準大気差補正済み高度 ", "時角 ", "出 ", " 南中 "})
        if (line.rfind(head, 0) == 0) return true;
    return false;
}

TEST(CliClickExamples, EveryKindPrintsItsLines) {
    for (const Example& e : kExamples) {
        int status = -1;
        const std::string out = Click(e, "--settings init", &status);
        EXPECT_EQ(status, 0) << e.file;
        std::istringstream in(out);
        std::string line, own;
        int position = 0;
        while (std::getline(in, line)) {
            EXPECT_TRUE(!line.empty() && line.back() == '\r') << e.file << ": " << line;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (IsPositionLine(line))
                ++position;
            else
                own += line + "\n";
        }
        EXPECT_EQ(own, e.lines) << e.file;
        EXPECT_EQ(position, e.positionLines) << e.file;
    }
}

TEST(CliClickExamples, CompactFormIsTheNameLine) {
    for (const Example& e : kExamples) {
        int status = -1;
        const std::string out = Click(e, "--compact --settings init", &status);
        EXPECT_EQ(status, 0) << e.file;
        const std::string lines = e.lines;
        EXPECT_EQ(out, lines.substr(0, lines.find('\n') + 1)) << e.file;
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
