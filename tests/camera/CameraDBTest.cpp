// CCameraDB: parsing, maker groups, encodings, a missing file and the shipped database.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <utility>

#include "camera/CameraDB.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"

namespace {

CString Dir(const TempDir& d) { return CString((d.path() + "/").c_str()); }

std::string Sjis(const std::wstring& text) {
    std::string out;
    ZcmWideToAnsi(text.data(), text.size(), out);
    return out;
}

std::string Utf16(const std::wstring& text, bool little) {
    std::u16string units;
    ZcmWideToUtf16(text.data(), text.size(), units);
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : units) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += little ? lo : hi;
        out += little ? hi : lo;
    }
    return out;
}

// Collects message boxes (text, type) instead of showing them.
struct Boxes {
    Boxes() {
        previous = AfxSetMessageBoxHandler([this](LPCTSTR text, UINT type) {
            shown.emplace_back(CString(text), type);
            return IDOK;
        });
    }
    ~Boxes() { AfxSetMessageBoxHandler(previous); }
    std::vector<std::pair<CString, UINT>> shown;
    ZcmMessageBoxHandler previous;
};

const std::wstring kSample =
    L"カメラ一覧\r\n"
    L"Canon EOS 6D, 1.5, 2, 3, 4, 5\r\n"
    L"canon EOS\tR5\t ,36,24,8192,5464,4.39\r\n"
    L"APS-C, 1, 2, 3, 4, 5\r\n"
    L"Canon EOS 90D, 22.3, 14.8, x, 4640, 3.2\r\n"
    L"Nikon D850, 35.9, 23.9\r\n"
    L"\r\n"
    L"Nikon D810A, 35.9, 24.0, 7360, 4912, 4.88\n";

TEST(CCameraDB, RecordsAndMakerGroups) {
    TempDir dir;
    WriteFileBytes(dir.File("zcmccd.txt"), Sjis(kSample));
    Boxes boxes;
    CCameraDB db;
    db.Init(Dir(dir));
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(db.GetCameraNum(), 5);
    // Tabs vanish (spaces stay); a field that is not a number reads as 0; the Nikon line with
    // two numbers is no camera.
    const struct {
        const wchar_t *vendor, *model, *name;
        double value0, value2, value4;
    } cameras[] = {
        {L"Canon", L"EOS 6D", L"CanonEOS6D", 1.5, 3, 5},       {L"canon", L"EOSR5", L"canonEOSR5", 36, 8192, 4.39},
        {ZCM_CAMERA_NO_VENDOR, L"APS-C", nullptr, 1, 3, 5},    {L"Canon", L"EOS 90D", nullptr, 22.3, 0, 3.2},
        {L"Nikon", L"D810A", L"NikonD810A", 35.9, 7360, 4.88},
    };
    for (int i = 0; i < 5; ++i) {
        const _ANGLE_OF_FIELD c = db.GetCamera(i);
        const auto& e = cameras[i];
        EXPECT_TRUE(c.strVendor == e.vendor && c.strModel == e.model && (!e.name || c.strName == e.name)) << i;
        EXPECT_EQ(std::make_tuple(c.dValue[0], c.dValue[2], c.dValue[4]), std::make_tuple(e.value0, e.value2, e.value4))
            << i;
    }
    // Makers compare without regard to case; the same maker after another opens a new group.
    const std::pair<const wchar_t*, int> vendors[] = {{L"Canon", 2}, {ZCM_CAMERA_NO_VENDOR, 1}, {L"Canon", 1}, {L"Nikon", 1}};
    ASSERT_EQ(db.GetVendorNum(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(db.GetVendor(i).strName == vendors[i].first && db.GetVendor(i).nCount == vendors[i].second) << i;
}

TEST(CCameraDB, OutOfRangeAndAdding) {
    CCameraDB db;
    const _ANGLE_OF_FIELD none = db.GetCamera(-1);
    EXPECT_TRUE(none.strVendor.IsEmpty() && none.strModel.IsEmpty() && none.strName.IsEmpty());
    for (double v : none.dValue) EXPECT_DOUBLE_EQ(v, -1.0);
    EXPECT_DOUBLE_EQ(db.GetCamera(0).dValue[2], -1.0);
    EXPECT_TRUE(db.GetVendor(0).nCount == -1 && db.GetVendor(0).strName.IsEmpty());
    _ANGLE_OF_FIELD cam;
    cam.strModel = L"Custom";
    EXPECT_EQ(db.AddCamera(cam), 0);
    EXPECT_EQ(db.AddCamera(cam), 1);
    EXPECT_TRUE(db.GetCameraNum() == 2 && db.GetVendorNum() == 0);
}

TEST(CCameraDB, ShiftJisAndUtf16TwinsLoadTheSameTables) {
    const std::string files[] = {Sjis(kSample), Utf16(kSample, true), Utf16(kSample, false)};
    TempDir dirs[3];
    CCameraDB dbs[3];
    for (int i = 0; i < 3; ++i) {
        WriteFileBytes(dirs[i].File("zcmccd.txt"), files[i]);
        dbs[i].Init(Dir(dirs[i]));
    }
    const CCameraDB& a = dbs[0];
    for (const CCameraDB* other : {&dbs[1], &dbs[2]}) {
        ASSERT_EQ(other->GetCameraNum(), a.GetCameraNum());
        ASSERT_EQ(other->GetVendorNum(), a.GetVendorNum());
        for (int i = 0; i < a.GetCameraNum(); ++i) {
            EXPECT_EQ(other->GetCamera(i).strName, a.GetCamera(i).strName);
            for (int k = 0; k < 5; ++k) EXPECT_EQ(other->GetCamera(i).dValue[k], a.GetCamera(i).dValue[k]);
        }
        for (int i = 0; i < a.GetVendorNum(); ++i) {
            EXPECT_TRUE(other->GetVendor(i).strName == a.GetVendor(i).strName &&
                        other->GetVendor(i).nCount == a.GetVendor(i).nCount);
        }
    }
}

TEST(CCameraDB, AMissingFileShowsTheMessage) {
    TempDir dir;
    Boxes boxes;
    CCameraDB db;
    db.Init(Dir(dir));
    const CString text = CString(L"カメラの写野角データファイルが読み込めません。\r\n") + Dir(dir) + L"zcmccd.txt";
    EXPECT_EQ(boxes.shown, (std::vector<std::pair<CString, UINT>>{{text, MB_OK}}));
    EXPECT_TRUE(db.GetCameraNum() == 0 && db.GetVendorNum() == 0);
}

TEST(CCameraDB, BinaryGarbageKeepsTheTablesConsistent) {
    TempDir dir;
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(2000 + round * 37, '\0');
        for (auto& b : bytes) b = static_cast<char>(rng() % 4 == 0 ? ',' : rng() & 0xFF);
        if (round % 3 == 0) bytes.replace(0, 2, "\xFF\xFE");
        WriteFileBytes(dir.File("zcmccd.txt"), bytes);
        CCameraDB db;
        db.Init(Dir(dir));
        long long total = 0;
        for (int v = 0; v < db.GetVendorNum(); ++v) total += db.GetVendor(v).nCount;
        EXPECT_EQ(total, db.GetCameraNum()) << "round " << round;
    }
}

TEST(CCameraDB, TheShippedDatabase) {
    CCameraDB db;
    Boxes boxes;
    db.Init(CString(ZCMCOM_SOURCE_DIR "/data/"));
    ASSERT_TRUE(boxes.shown.empty());
    ASSERT_GT(db.GetCameraNum(), 30);
    // Each maker stands in one group, and the groups cover the cameras exactly.
    std::set<std::wstring> makers;
    int index = 0;
    for (int v = 0; v < db.GetVendorNum(); ++v) {
        const _CAM_VENDOR vendor = db.GetVendor(v);
        CString lower = vendor.strName;
        lower.MakeLower();
        EXPECT_TRUE(makers.insert(lower.str()).second) << vendor.strName.ToUtf8();
        for (int c = 0; c < vendor.nCount; ++c, ++index) {
            const _ANGLE_OF_FIELD cam = db.GetCamera(index);
            EXPECT_EQ(cam.strVendor, vendor.strName);
            EXPECT_TRUE(cam.dValue[1] > 0.0 && cam.dValue[0] >= cam.dValue[1]) << cam.strName.ToUtf8();
            if (cam.dValue[2] > 0) {
                // Pixels times pixel size is the sensor width, within a few per cent.
                const double width = cam.dValue[2] * cam.dValue[4] / 1000.0;
                EXPECT_NEAR(width, cam.dValue[0], cam.dValue[0] * 0.03) << cam.strName.ToUtf8();
                EXPECT_NEAR(cam.dValue[3] * cam.dValue[4] / 1000.0, cam.dValue[1], cam.dValue[1] * 0.03)
                    << cam.strName.ToUtf8();
            }
        }
    }
    EXPECT_EQ(index, db.GetCameraNum());
    EXPECT_EQ(db.GetVendor(0).strName, CString(ZCM_CAMERA_NO_VENDOR));
}

}  // namespace
