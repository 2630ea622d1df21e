// SPDX-License-Identifier: LGPL-3.0-or-later
// CCameraDB: parsing, maker groups, encodings, a missing file and the shipped database.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <sstream>

#include "camera/CameraDB.h"
#include "files/ZntFile.h"
#include "platform/MessageBox.h"
#include "support/TestUtil.h"

namespace {

CString Dir(const TempDir& d) { return W(d.path() + "/"); }

// The tables as text: "vendor|model|name|values" a camera, then "vendor:count" a group.
std::string Dump(const CCameraDB& db) {
    std::ostringstream out;
    for (int i = 0; i < db.GetCameraNum(); ++i) {
        const _ANGLE_OF_FIELD c = db.GetCamera(i);
        out << c.strVendor.ToUtf8() << "|" << c.strModel.ToUtf8() << "|" << c.strName.ToUtf8()
            << "|";
        for (double v : c.dValue) out << v << " ";
        out << "\n";
    }
    for (int v = 0; v < db.GetVendorNum(); ++v)
        out << db.GetVendor(v).strName.ToUtf8() << ":" << db.GetVendor(v).nCount << "\n";
    return out.str();
}

const std::wstring kSample =
    L"カメラ一覧\r\n"
    L"Canon EOS 6D, 1.5, 2, 3, 4, 5\r\n"
    L"canon EOS\tR5\t ,36,24,8192,5464,4.39\r\n"
    L"APS-C, 1, 2, 3, 4, 5\r\n"
    L"Canon EOS 90D, 22.3, 14.8, x, 4640, 3.2\r\n"
    L"Nikon D850, 35.9, 23.9\r\n"
    L"\r\n"
    L"Nikon D810A, 35.9, 24.0, 7360, 4912, 4.88\n";

// Tabs vanish (spaces stay); a field that is not a number reads as 0; the Nikon line with
// two numbers is no camera. Makers compare without regard to case; the same maker after
// another opens a new group. Shift-JIS and UTF-16 in either order (as the file class writes
// them, byte for byte checked with the file tests) load the same tables:
// tests/golden/camera_sample.txt, "vendor|model|name|values" a camera, "vendor:count" a group.
TEST(CCameraDB, RecordsAndMakerGroupsInEachEncoding) {
    for (auto [unicode, little] : {std::pair{0, 0}, {1, 1}, {1, 0}}) {
        TempDir dir;
        CZntFile(W(dir.File("zcmccd.txt")), CFile::modeCreate | CFile::modeWrite, unicode, little)
            .WriteString(kSample.c_str());
        MessageBoxRecorder boxes;
        CCameraDB db;
        db.Init(Dir(dir));
        EXPECT_TRUE(boxes.shown.empty());
        SCOPED_TRACE(unicode * 10 + little);
        ExpectGolden(Dump(db), "camera_sample.txt");
    }
}

// Out of range: empty texts and -1 values. Added cameras join no maker group.
TEST(CCameraDB, OutOfRangeAddingAndAMissingFile) {
    CCameraDB db;
    const _ANGLE_OF_FIELD none = db.GetCamera(-1);
    _ANGLE_OF_FIELD cam = db.GetCamera(0);
    EXPECT_TRUE(none.strVendor.IsEmpty() && none.strName.IsEmpty() && none.dValue[0] == -1.0 &&
                cam.dValue[4] == -1.0);
    EXPECT_EQ(db.GetVendor(0).nCount, -1);
    EXPECT_EQ(db.AddCamera(cam), 0);
    EXPECT_EQ(db.AddCamera(cam), 1);
    EXPECT_EQ(Dump(db), "|||-1 -1 -1 -1 -1 \n|||-1 -1 -1 -1 -1 \n");
    TempDir dir;
    MessageBoxRecorder boxes;
    // A missing file shows the message.
    CCameraDB missing;
    missing.Init(Dir(dir));
    const CString text =
        CString(L"カメラの写野角データファイルが読み込めません。\r\n") + Dir(dir) + L"zcmccd.txt";
    EXPECT_EQ(boxes.shown, (std::vector<std::pair<CString, UINT>>{{text, MB_OK}}));
    EXPECT_EQ(Dump(missing), "");
}

TEST(CCameraDB, GarbageAndTheShippedDatabaseKeepTheTablesConsistent) {
    TempDir dir;
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(2000 + round * 37, '\0');
        for (auto& b : bytes) b = static_cast<char>(rng() % 4 == 0 ? ',' : rng() & 0xFF);
        if (round % 3 == 0) bytes.replace(0, 2, "\xFF\xFE");
        WriteFileBytes(dir.File("zcmccd.txt"), bytes);
        CCameraDB db;
        db.Init(Dir(dir));
        int total = 0;
        for (int v = 0; v < db.GetVendorNum(); ++v) total += db.GetVendor(v).nCount;
        EXPECT_EQ(total, db.GetCameraNum()) << "round " << round;
    }
    // Each maker stands in one group, the groups cover the cameras exactly, and pixels times
    // pixel size is the sensor size within a few per cent.
    CCameraDB db;
    MessageBoxRecorder boxes;  // the shipped database
    db.Init(CString(ZCMCOM_SOURCE_DIR "/data/"));
    ASSERT_TRUE(boxes.shown.empty() && db.GetCameraNum() > 30);
    EXPECT_EQ(db.GetVendor(0).strName, CString(ZCM_CAMERA_NO_VENDOR));
    std::set<std::wstring> makers;
    int index = 0;
    for (int v = 0; v < db.GetVendorNum(); ++v) {
        CString lower = db.GetVendor(v).strName;
        lower.MakeLower();
        EXPECT_TRUE(makers.insert(lower.str()).second) << lower.ToUtf8();
        for (int c = 0; c < db.GetVendor(v).nCount; ++c, ++index) {
            const _ANGLE_OF_FIELD cam = db.GetCamera(index);
            const double* d = cam.dValue;
            EXPECT_TRUE(cam.strVendor == db.GetVendor(v).strName && d[1] > 0.0 && d[0] >= d[1])
                << cam.strName.ToUtf8();
            EXPECT_TRUE(d[2] <= 0 || (std::abs(d[2] * d[4] / 1000 - d[0]) <= d[0] * 0.03 &&
                                      std::abs(d[3] * d[4] / 1000 - d[1]) <= d[1] * 0.03))
                << cam.strName.ToUtf8();
        }
    }
    EXPECT_EQ(index, db.GetCameraNum());
}

}  // namespace
