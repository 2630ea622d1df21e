#include "dirode/Registry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/RegistryValues.h"
#include "support/TempRegistry.h"

namespace {

// What a read reports (found or not) and the value it leaves behind.
using Num = std::pair<bool, int>;
using Str = std::pair<bool, CString>;

Num ReadNum(const wchar_t* key, const wchar_t* name, int def, int kind) {
    int v = 12345;
    const bool found = CRegistry::Read(key, name, def, &v, kind) != 0;
    return {found, v};
}

Str ReadStr(const wchar_t* key, const wchar_t* name, const wchar_t* def) {
    CString v = L"old";
    const bool found = CRegistry::Read(key, name, CString(def), &v) != 0;
    return {found, v};
}

class CRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { CRegistry::SetAppRoot(L""); }
    TempRegistry reg;
};

TEST_F(CRegistryTest, NumbersByKind) {
    EXPECT_EQ(Num(false, -1), ReadNum(L"General", L"SIMD", -1, 1));  // missing: the default
    EXPECT_EQ(0, CRegistry::Read(L"General", L"SIMD", 1, nullptr, 1));
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"AltSpan", -123456, 1));
    EXPECT_EQ(Num(true, -123456), ReadNum(L"clickdata", L"ALTSPAN", 0, 1));  // any case
    // A truth value is stored as 0 or 1, and any stored number reads as one.
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"DispMag", 5, 0));
    EXPECT_EQ(Num(true, 1), ReadNum(L"ClickData", L"DispMag", 0, 1));
    EXPECT_EQ(Num(true, 1), ReadNum(L"ClickData", L"AltSpan", 0, 0));
    // Unknown kinds are refused both ways.
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"AltSpan", 7, 2));
    EXPECT_EQ(Num(false, 42), ReadNum(L"ClickData", L"AltSpan", 42, -1));
    EXPECT_EQ(Num(true, -123456), ReadNum(L"ClickData", L"AltSpan", 0, 1));
}

TEST_F(CRegistryTest, TextsMismatchedTypesAndADamagedStore) {
    EXPECT_EQ(Str(false, L"def"), ReadStr(L"General", L"Name", L"def"));
    const CString longText = CString(L'\u661F', 3000) + L"end";
    EXPECT_NE(0, CRegistry::Write(L"General", L"Name", longText));
    EXPECT_EQ(Str(true, longText), ReadStr(L"General", L"Name", L""));
    EXPECT_NE(0, CRegistry::Write(L"General", L"Empty", CString()));
    EXPECT_EQ(Str(true, L""), ReadStr(L"General", L"Empty", L"x"));
    // A text is no number and a number no text.
    EXPECT_EQ(Num(false, 3), ReadNum(L"General", L"Name", 3, 1));
    EXPECT_NE(0, CRegistry::Write(L"General", L"N", 1, 1));
    EXPECT_EQ(Str(false, L"d"), ReadStr(L"General", L"N", L"d"));
    // A damaged store keeps the defaults and takes nothing.
    std::ofstream(reg.userFile(), std::ios::binary) << std::string(2048, '\x01');
    EXPECT_EQ(Num(false, 17), ReadNum(L"ClickData", L"AltSpan", 17, 1));
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"AltSpan", 1, 1));
    EXPECT_EQ(0, CRegistry::Write(L"ClickData", L"Name", CString(L"x")));
}

TEST_F(CRegistryTest, ValuesLiveUnderTheApplicationRoot) {
    EXPECT_NE(0, CRegistry::Write(L"General", L"SIMD", 5, 1));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", 0,
                                           KEY_READ, &h));
    EXPECT_EQ(5, Number(h, L"SIMD"));
    RegCloseKey(h);
    CRegistry::SetAppRoot(L"SOFTWARE\\Orvana\\Zentavia\\12.0");
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\"), CRegistry().m_strAppRoot);
    EXPECT_EQ(Num(false, -1), ReadNum(L"General", L"SIMD", -1, 1));
    CRegistry::SetAppRoot(L"");
    EXPECT_EQ(Num(true, 5), ReadNum(L"General", L"SIMD", -1, 1));
}

// What one process writes, another reads; both writing at once leaves every value readable.
TEST_F(CRegistryTest, SettingsPassBetweenProcesses) {
    constexpr int kRounds = 100;
    auto write = [](const wchar_t* mine, int sign) {
        int bad = 0;
        for (int i = 0; i < kRounds; ++i) {
            bad += CRegistry::Write(L"Shared", mine, i, 1) ? 0 : 1;
            bad += CRegistry::Write(L"Shared", L"Same", sign * i, 1) ? 0 : 1;
            const int theirs = ReadNum(L"Shared", sign > 0 ? L"Parent" : L"Child", -1, 1).second;
            bad += theirs >= -1 && theirs < kRounds ? 0 : 1;
        }
        return bad;
    };
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) _exit(write(L"Child", 1) ? 1 : 0);
    EXPECT_EQ(0, write(L"Parent", -1));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Num(true, kRounds - 1), ReadNum(L"Shared", L"Child", -1, 1));
    EXPECT_EQ(Num(true, kRounds - 1), ReadNum(L"Shared", L"Parent", -1, 1));
    const Num same = ReadNum(L"Shared", L"Same", 0, 1);
    EXPECT_TRUE(same.first && (same.second == kRounds - 1 || same.second == 1 - kRounds));
}

}  // namespace
