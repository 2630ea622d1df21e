// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click and zcmcom cdf against the example host files: each prints its name line, a
// line of its kind's own and its compact form (tests/clickdata checks the builders' full texts).
#include "cli/Zcm.h"

namespace {

struct Example {
    const char* file;  // in examples/hosts/, without ".txt"
    const char* path;
    const char* name;  // the name line, also the whole compact text
    const char* line;  // a line of the kind's own, with its line end
    const char* cdf;   // what zcmcom cdf prints; nullptr: not asked
};

const Example kExamples[] = {
    {"sun-eclipse", "Solar.Sun", "太陽 Sun", "食の最大 09:55:21  継続時間 02m23s\r\n", nullptr},
    {"moon", "Solar.Planet.Earth.Satellite.Moon", "月 Moon", "満月 08:14\r\n", nullptr},
    {"mars", "Solar.Planet.Mars", "火星 Mars (惑星)", "惑心太陽黄経 302.4ﾟ\r\n", nullptr},
    {"jupiter", "Solar.Planet.Jupiter", "木星 Jupiter (惑星)", "中央経度 123ﾟ(I)  45ﾟ(II)\r\n",
     nullptr},
    {"comet", "Solar.Comet.C2025A6", "レモン彗星 Lemmon (C/2025 A6)",
     "近日点通過時刻 2025年11月8.16740日 TT\r\n", nullptr},
    {"minor-planet", "Solar.MinorPlanet.4", "ベスタ Vesta (4)", "軌道長半径 2.361535 au\r\n",
     nullptr},
    {"meteorite", "Solar.Meteorite.Nogata", "直方隕石 Nogata (M861)",
     "落下 861年5月19日 12時0分\r\n", nullptr},
    {"spacecraft", "Solar.Spacecraft.Hayabusa2", "はやぶさ2 Hayabusa2",
     "データ終了 2031/03/02 00:00:00 (UT)\r\n", nullptr},
    {"moon-place", "Solar.Planet.Earth.Satellite.Moon.Place.Tycho", "ティコ Tycho",
     "経度 348.64 緯度 -43.31'\r\n", nullptr},
    {"satellite", "ArtificialSatellite.25544", "ISS (ZARYA) (25544)",
     "直下点 東経141ﾟ14'04\" 南緯39ﾟ00'00\"\r\n", nullptr},
    {"meteor", "Meteor.Geminids", "ふたご座流星群の放射点", "極大日 12月14日頃\r\n", nullptr},
    {"angle-of-view", "AngleOfView.Main", "メイン ASI2600MC Pro (2.54ﾟ×1.70ﾟ)",
     "ガイドエリア 4.8 × 3.6 mm チップ間隔 18.5 mm\r\n", nullptr},
    {"mosaic", "MosaicOfField.2", "M31モザイク  (6.87ﾟ×4.58ﾟ×2×3フレーム, No.2)",
     "重なり 15 %, 赤道座標\r\n", nullptr},
    {"field-of-view", "FieldOfViewCircle.Finder", "ファインダー (6.00ﾟ)",
     "時角 -01h31m52s (-22.965ﾟ)\r\n", nullptr},
    {"star-named", "Star.HIP.27989", "恒星 58αOri (オリオン) ベテルギウス Betelgeuse",
     "GCVS識別名 alf Ori\r\n", "STAR αOri"},
    {"star-usno", "Star.XNO.U1200-00123456", "恒星 USNO-A2.0 1200-00123456",
     "ACTflag=1 Mflag=1 Field=12\r\n", ""},
    {"star-variable", "Star.GCVS.delCep", "変光星 del Cep", "現在の状態 元期＋4647周期＋3.60日\r\n",
     "GCVS delCep"},
    {"star-double", "Star.WDS.07346+3153.STF1110.A", "二重星 α Gem A",
     "最初の観測 1718年（位置角 164ﾟ 角距離 5.2 arcsec）\r\n", "WDS 07346+3153.STF1110.A"},
    {"exoplanet", "Star.51Peg.Planet.b", "系外惑星 51 Peg b", "離心率 0.013\r\n", nullptr},
    {"galaxy-pgc", "DeepSkyObject.PGC2557", "PGC2557 (M31)", "ハッブル分類 Sb\r\n",
     "NEBULA PGC2557"},
    {"messier", "DeepSkyObject.M.42", "オリオン大星雲 M 42 (NGC 1976, LBN 974) 散光星雲",
     "光度  4.0等 視直径 85'x60'\r\n", "NEBULA M42"},
};

TEST(CliClickExamples, EveryExamplePrintsInFullAndCompactForm) {
    for (const Example& e : kExamples) {
        const std::string host = std::string("--host examples/hosts/") + e.file + ".txt " + e.path;
        int status = -1;
        const std::string full = Zcm("click --settings init " + host, &status);
        EXPECT_EQ(status, 0) << e.file;
        EXPECT_EQ(full.rfind(std::string(e.name) + "\r\n", 0), 0u) << e.file << "\n" << full;
        EXPECT_NE(full.find(std::string("\n") + e.line), std::string::npos) << e.file << "\n"
                                                                            << full;
        EXPECT_EQ(Zcm("click --compact --settings init " + host, &status),
                  std::string(e.name) + "\n")
            << e.file;
        if (e.cdf) {
            EXPECT_EQ(Zcm("cdf " + host, &status), std::string(e.cdf) + "\n") << e.file;
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
