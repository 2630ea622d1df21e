#include "dirode/Registry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/Registry.h"
#include "support/TempRegistry.h"

namespace {

class CRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { CRegistry::SetAppRoot(L""); }
    TempRegistry reg;
};

TEST_F(CRegistryTest, MissingValuesLeaveTheDefault) {
    int v = 99;
    EXPECT_EQ(0, CRegistry::Read(L"General", L"UseDebugServer", 0, &v, 0));
    EXPECT_EQ(0, v);
    v = 0;
    EXPECT_EQ(0, CRegistry::Read(L"General", L"SIMD", -1, &v, 1));
    EXPECT_EQ(-1, v);
    CString text = L"old";
    EXPECT_EQ(0, CRegistry::Read(L"General", L"Name", CString(L"def"), &text));
    EXPECT_EQ(CString(L"def"), text);
    EXPECT_EQ(0, CRegistry::Read(L"General", L"SIMD", 1, nullptr, 1));
}

TEST_F(CRegistryTest, NumbersByKind) {
    int v = 0;
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"AltSpan", -123456, 1));
    EXPECT_NE(0, CRegistry::Read(L"ClickData", L"AltSpan", 0, &v, 1));
    EXPECT_EQ(-123456, v);
    // A truth value is stored as 0 or 1, and any stored number reads as one.
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"DispMag", 5, 0));
    EXPECT_NE(0, CRegistry::Read(L"ClickData", L"DispMag", 0, &v, 1));
    EXPECT_EQ(1, v);
    EXPECT_NE(0, CRegistry::Read(L"ClickData", L"AltSpan", 0, &v, 0));
    EXPECT_EQ(1, v);
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"DispMag", 0, 0));
    EXPECT_NE(0, CRegistry::Read(L"ClickData", L"DispMag", 1, &v, 0));
    EXPECT_EQ(0, v);
    // Unknown kinds are refused both ways.
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"AltSpan", 7, 2));
    EXPECT_EQ(0, CRegistry::Read(L"ClickData", L"AltSpan", 42, &v, -1));
    EXPECT_EQ(42, v);
    EXPECT_NE(0, CRegistry::Read(L"clickdata", L"ALTSPAN", 0, &v, 1));
    EXPECT_EQ(-123456, v);
}

TEST_F(CRegistryTest, TextsAndMismatchedTypes) {
    const CString long_text = CString(L'\u661F', 3000) + L"end";
    EXPECT_NE(0, CRegistry::Write(L"General", L"Name", long_text));
    CString text;
    EXPECT_NE(0, CRegistry::Read(L"General", L"Name", CString(), &text));
    EXPECT_EQ(long_text, text);
    EXPECT_NE(0, CRegistry::Write(L"General", L"Empty", CString()));
    EXPECT_NE(0, CRegistry::Read(L"General", L"Empty", CString(L"x"), &text));
    EXPECT_EQ(CString(), text);
    // A text is no number and a number no text.
    int v = 0;
    EXPECT_EQ(0, CRegistry::Read(L"General", L"Name", 3, &v, 1));
    EXPECT_EQ(3, v);
    EXPECT_NE(0, CRegistry::Write(L"General", L"N", 1, 1));
    EXPECT_EQ(0, CRegistry::Read(L"General", L"N", CString(L"d"), &text));
    EXPECT_EQ(CString(L"d"), text);
}

TEST_F(CRegistryTest, ValuesLiveUnderTheApplicationRoot) {
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentacam\\3.0\\"), CRegistry::GetAppRoot());
    EXPECT_NE(0, CRegistry::Write(L"General", L"SIMD", 5, 1));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER,
                                           L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", 0,
                                           KEY_READ, &h));
    DWORD value = 0, size = sizeof value, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"SIMD", nullptr, &type,
                                              reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(5u, value);
    RegCloseKey(h);

    CRegistry::SetAppRoot(L"SOFTWARE\\Orvana\\Zentavia\\12.0");
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\"), CRegistry::GetAppRoot());
    CRegistry obj;
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\"), obj.m_strAppRoot);
    int v = 0;
    EXPECT_EQ(0, CRegistry::Read(L"General", L"SIMD", -1, &v, 1));
    EXPECT_EQ(-1, v);
    CRegistry::SetAppRoot(L"");
    EXPECT_NE(0, CRegistry::Read(L"General", L"SIMD", -1, &v, 1));
    EXPECT_EQ(5, v);
}

TEST_F(CRegistryTest, DamagedStoreKeepsDefaults) {
    std::ofstream(reg.userFile(), std::ios::binary) << std::string(2048, '\x01');
    int v = 0;
    EXPECT_EQ(0, CRegistry::Read(L"ClickData", L"AltSpan", 17, &v, 1));
    EXPECT_EQ(17, v);
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"AltSpan", 1, 1));
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"Name", CString(L"x")));
}

// What one process writes, another reads; both writing at once leaves every value readable.
TEST_F(CRegistryTest, SettingsPassBetweenProcesses) {
    constexpr int kRounds = 100;
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        int bad = 0;
        for (int i = 0; i < kRounds; ++i) {
            bad += CRegistry::Write(L"Shared", L"Child", i, 1) ? 0 : 1;
            bad += CRegistry::Write(L"Shared", L"Same", i, 1) ? 0 : 1;
        }
        _exit(bad ? 1 : 0);
    }
    int bad = 0;
    for (int i = 0; i < kRounds; ++i) {
        bad += CRegistry::Write(L"Shared", L"Parent", i, 1) ? 0 : 1;
        bad += CRegistry::Write(L"Shared", L"Same", -i, 1) ? 0 : 1;
        int v = -1;
        CRegistry::Read(L"Shared", L"Child", -1, &v, 1);
        bad += v >= -1 && v < kRounds ? 0 : 1;
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ(0, bad);
    int v = 0;
    EXPECT_NE(0, CRegistry::Read(L"Shared", L"Child", -1, &v, 1));
    EXPECT_EQ(kRounds - 1, v);
    EXPECT_NE(0, CRegistry::Read(L"Shared", L"Parent", -1, &v, 1));
    EXPECT_EQ(kRounds - 1, v);
    EXPECT_NE(0, CRegistry::Read(L"Shared", L"Same", 0, &v, 1));
    EXPECT_TRUE(v == kRounds - 1 || v == -(kRounds - 1)) << v;
}

}  // namespace
