// zcmcom click and zcmcom cdf on the example hosts of stars and deep-sky objects.
#include <gtest/gtest.h>

#include "support/TestUtil.h"

namespace {

std::string Zcmcom(const std::string& args, int* status) {
    return RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI + " " + args + " 2>/dev/null",
                      status);
}

// The lines of a text before its position block, and those after it (the block ends with
// the rise, transit and set line).
std::pair<std::string, std::string> AroundThePosition(const std::string& text) {
    const size_t start = text.find("赤経 ");
    const size_t last = text.rfind("南中 ");
    if (start == std::string::npos || last == std::string::npos) return {text, ""};
    return {text.substr(0, start), text.substr(text.find("\r\n", last) + 2)};
}

struct Example {
    const char* file;
    const char* path;
    const char* head;     // the lines before the position block
    const char* tail;     // the lines after it
    const char* compact;
    const char* cdf;
};

const Example kExamples[] = {
    {"star-named", "Star.HIP.27989",
     "恒星 58αOri (オリオン) ベテルギウス Betelgeuse\r\nHIP27989\r\n光度  0.45等\r\n",
     "固有運動量μαcosδ 27.54 (mas/年)\r\n固有運動量μδ      11.30 (mas/年)\r\n年周視差 6.55 (mas)\r\n"
     "距離 498 (光年)\r\nB-V=1.850\r\nスペクトル型 M1-2Ia-Iab\r\nGCVS識別名 alf Ori\r\n\r\n"
     "カタログインデックス\r\nBD  +07 1055\r\nFK5 224\r\nHD  39801\r\nHD  39801A\r\nHR  2061\r\n"
     "SAO 113271\r\n\r\n",
     "恒星 58αOri (オリオン) ベテルギウス Betelgeuse", "STAR αOri"},
    {"star-usno", "Star.XNO.U1200-00123456", "恒星 USNO-A2.0 1200-00123456\r\n光度 14.50等\r\n",
     "Bmag=12.3 Rmag=14.5\r\nACTflag=1 Mflag=1 Field=12\r\n", "恒星 USNO-A2.0 1200-00123456", ""},
    {"star-variable", "Star.GCVS.delCep", "変光星 del Cep\r\nHIP110991\r\n光度 極大 3.48等 極小 4.37等\r\n",
     "変光星タイプ DCEP\r\nスペクトル型 F5Iab-G1Ib\r\n元期 2436075.445\r\n周期 5.366249日\r\n"
     "M-m/D 25 (1.3日)\r\n現在の状態 元期＋4647周期＋3.60日\r\n別名 HR 8571\r\n",
     "変光星 del Cep", "GCVS delCep"},
    {"star-double", "Star.WDS.07346+3153.STF1110.A", "二重星 α Gem A\r\n光度  1.93等\r\n",
     "コンポーネント A(AB)\r\nスペクトル型 A1V\r\n発見者/番号 STF1110\r\n観測数 1450\r\n"
     "最初の観測 1718年（位置角 164ﾟ 角距離 5.2 arcsec）\r\n"
     "最後の観測 2020年（位置角 51ﾟ 角距離 5.5 arcsec）\r\n"
     "固有運動量μαcosδ -191.00 (mas/年)\r\n固有運動量μδ      -145.00 (mas/年)\r\nBD番号 +32 1581\r\n",
     "二重星 α Gem A", "WDS 07346+3153.STF1110.A"},
    {"exoplanet", "Star.51Peg.Planet.b", "系外惑星 51 Peg b\r\n",
     "公転周期 4.2308日\r\n軌道長半径 0.052au\r\n離心率 0.013\r\n", "系外惑星 51 Peg b", nullptr},
    {"galaxy-pgc", "DeepSkyObject.PGC2557", "PGC2557 (M31)\r\n光度 4.36等 長径 3.25' 短径 0.49'\r\n",
     "長径の位置角 35度\r\nハッブル分類 Sb\r\n日心視線速度 -300(km/s)\r\n", "PGC2557 (M31)", "NEBULA PGC2557"},
    {"messier", "DeepSkyObject.M.42",
     "オリオン大星雲 M 42 (NGC 1976, LBN 974) 散光星雲\r\n光度  4.0等 視直径 85'x60'\r\n", "",
     "オリオン大星雲 M 42 (NGC 1976, LBN 974) 散光星雲", "NEBULA M42"},
};

TEST(CliStarExamples, FullCompactAndCdf) {
    for (const Example& e : kExamples) {
        const std::string host = std::string("--host examples/hosts/") + e.file + ".txt " + e.path;
        int status = -1;
        const std::string full = Zcmcom("click --settings init " + host, &status);
        EXPECT_EQ(status, 0) << e.file;
        const auto parts = AroundThePosition(full);
        EXPECT_EQ(parts.first, e.head) << e.file;
        EXPECT_EQ(parts.second, e.tail) << e.file;
        // Every line of the position block is there, from the J2000 line to rise and set.
        EXPECT_NE(full.find(" (J2000)\r\n赤経 "), std::string::npos) << e.file;
        EXPECT_NE(full.find("\r\n銀経 "), std::string::npos) << e.file;
        EXPECT_NE(full.find("\r\n時角 "), std::string::npos) << e.file;
        EXPECT_EQ(Zcmcom("click --compact " + host, &status), std::string(e.compact) + "\n") << e.file;
        if (e.cdf) {
            EXPECT_EQ(Zcmcom("cdf " + host, &status), std::string(e.cdf) + "\n") << e.file;
        }
    }
}

TEST(CliStarExamples, NamedStarInFullAsTheReadmeShowsIt) {
    int status = -1;
    const std::string out = Zcmcom("click --host examples/hosts/star-named.txt Star.HIP.27989", &status);
    EXPECT_EQ(status, 0);
    // The default switches: title, HIP number and the J2000 position.
    EXPECT_EQ(out,
              "恒星 58αOri (オリオン) ベテルギウス Betelgeuse\r\nHIP27989\r\n"
              "赤経 05h55m10.30s  赤緯 +07ﾟ24'25.4\" (J2000)\r\n");
}

TEST(CliCdf, ArgumentsAndTrace) {
    int status = -1;
    // The bare sky names its constellation (the switch is on by default); an unknown kind
    // has no designation.
    EXPECT_EQ(Zcmcom("cdf --host examples/hosts/equatorial.txt Equatorial", &status), "CONS CMa\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Zcmcom("cdf --host examples/hosts/equatorial.txt Nothing", &status), "\n");
    EXPECT_EQ(status, 0);
    TempDir dir;
    RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + ZCMCOM_CLI +
                   " cdf --trace --host examples/hosts/star-named.txt Star.HIP.27989 >/dev/null 2>" +
                   dir.File("trace"),
               &status);
    EXPECT_EQ(RunCommand("cat " + dir.File("trace"), &status),
              "? Star.HIP.27989.FlamsteedNumber\n? Star.HIP.27989.BayerLetter\n"
              "? Star.HIP.27989.Constellation.Abbreviation\n");
    for (const char* args : {"cdf Star.HIP.1", "cdf --host", "cdf --compact --host x Star.HIP.1",
                             "cdf --settings odd --host examples/hosts/star-named.txt X",
                             "cdf --host examples/hosts/star-named.txt A B"}) {
        Zcmcom(args, &status);
        EXPECT_EQ(status, 2) << args;
    }
    Zcmcom("cdf --host /nonexistent/file X", &status);
    EXPECT_EQ(status, 1);
}

}  // namespace
