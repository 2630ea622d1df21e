// SPDX-License-Identifier: LGPL-3.0-or-later
#include "dirode/Registry.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <tuple>
#include <vector>

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

TEST_F(CRegistryTest, NumbersByKindTextsMismatchedTypesAndADamagedStore) {
    EXPECT_EQ(Num(false, -1), ReadNum(L"General", L"SIMD", -1, 1));  // missing: the default
    EXPECT_EQ(0, CRegistry::Read(L"General", L"SIMD", 1, nullptr, 1));
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"AltSpan", -123456, 1));
    EXPECT_EQ(Num(true, -123456), ReadNum(L"clickdata", L"ALTSPAN", 0, 1));  // any case
    // A truth value is stored as 0 or 1, and any stored number reads as one.
    EXPECT_NE(0, CRegistry::Write(L"ClickData", L"DispMag", 5, 0));
    EXPECT_EQ((std::tuple{ReadNum(L"ClickData", L"DispMag", 0, 1),
                          ReadNum(L"ClickData", L"AltSpan", 0, 0)}),
              (std::tuple{Num(true, 1), Num(true, 1)}));
    // Unknown kinds are refused both ways.
    EXPECT_EQ((std::tuple{CRegistry::Write(L"ClickData", L"AltSpan", 7, 2),
                          ReadNum(L"ClickData", L"AltSpan", 42, -1),
                          ReadNum(L"ClickData", L"AltSpan", 0, 1)}),
              (std::tuple{0, Num(false, 42), Num(true, -123456)}));
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
    // A damaged store keeps the defaults, says why on standard error and takes nothing.
    std::ofstream(reg.userFile(), std::ios::binary) << std::string(2048, '\x01');
    testing::internal::CaptureStderr();
    EXPECT_EQ((std::tuple{ReadNum(L"ClickData", L"AltSpan", 17, 1),
                          CRegistry::Write(L"ClickData", L"AltSpan", 1, 1),
                          CRegistry::Write(L"ClickData", L"Name", CString(L"x"))}),
              (std::tuple{Num(false, 17), 0, 0}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("settings cannot be read (" +
                                                          reg.userFile() + " is damaged"),
              std::string::npos);
}

// A hive in a folder its reader cannot write (a shared machine hive, a read-only home) is
// read all the same. Root writes anywhere, so the reading child then runs as nobody.
TEST_F(CRegistryTest, AHiveInAFolderTheReaderCannotWriteIsRead) {
    ASSERT_NE(0, CRegistry::Write(L"Default", L"Site", CString(L"Kyoto")));
    {
        // Another hive for a moment: this process lets go of the file, and its log goes.
        EnvRestorer user("ZCMCOM_REGISTRY_USER");
        setenv("ZCMCOM_REGISTRY_USER", reg.dir().File("other.sqlite").c_str(), 1);
        ReadStr(L"Default", L"Site", L"");
    }
    ASSERT_EQ(0, chmod(reg.userFile().c_str(), 0644));
    ASSERT_EQ(0, chmod(reg.dir().path().c_str(), 0555));
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        _exit(ReadStr(L"Default", L"Site", L"Tokyo") == Str(true, L"Kyoto") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    chmod(reg.dir().path().c_str(), 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(CRegistryTest, ValuesLiveUnderTheApplicationRoot) {
    EXPECT_NE(0, CRegistry::Write(L"General", L"SIMD", 5, 1));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", 0,
                            KEY_READ, &h));
    EXPECT_EQ(5, Number(h, L"SIMD"));
    RegCloseKey(h);
    CRegistry::SetAppRoot(L"SOFTWARE\\Orvana\\Zentavia\\12.0");
    EXPECT_EQ((std::tuple{CRegistry().m_strAppRoot, ReadNum(L"General", L"SIMD", -1, 1)}),
              (std::tuple{CString(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\"), Num(false, -1)}));
    CRegistry::SetAppRoot(L"");
    EXPECT_EQ(Num(true, 5), ReadNum(L"General", L"SIMD", -1, 1));
}

// Another program in the middle of a write does not hold up reads, and one in the middle
// of a long read does not hold up writes.
TEST_F(CRegistryTest, AnotherProgramsTransactionHoldsNothingUp) {
    ASSERT_NE(0, CRegistry::Write(L"Shared", L"N", 1, 1));
    RawDatabase other(reg.userFile());
    ASSERT_EQ("", other.Sql("BEGIN EXCLUSIVE"));
    ASSERT_EQ("", other.Sql("DELETE FROM reg_values"));
    EXPECT_EQ(Num(true, 1), ReadNum(L"Shared", L"N", -1, 1));
    ASSERT_EQ("", other.Sql("ROLLBACK"));
    ASSERT_EQ("", other.Sql("BEGIN"));
    ASSERT_EQ("1", other.Sql("SELECT count(*) FROM reg_values"));
    EXPECT_NE(0, CRegistry::Write(L"Shared", L"N", 2, 1));
    EXPECT_EQ(Num(true, 2), ReadNum(L"Shared", L"N", -1, 1));
    ASSERT_EQ("", other.Sql("COMMIT"));
}

// Four processes write their own settings and read the others' at once: no read fails or
// falls back to its default, no write fails, and the last values are all there (the time a
// write takes under contention is the benchmark's).
TEST_F(CRegistryTest, FourProcessesWriteAndReadAtOnce) {
    constexpr int kProcesses = 4, kRounds = 150;
    const auto name = [](int p) { return CString(L"P") + CString(std::to_wstring(p).c_str()); };
    for (int p = 0; p < kProcesses; ++p) ASSERT_NE(0, CRegistry::Write(L"Shared", name(p), -1, 1));
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child > 0) {
            children.push_back(child);
            continue;
        }
        int failures = 0;
        for (int i = 0; i < kRounds; ++i) {
            failures += CRegistry::Write(L"Shared", name(p), i, 1) ? 0 : 1;
            failures += CRegistry::Write(L"Shared", L"Same", p, 1) ? 0 : 1;
            const int theirs = ReadNum(L"Shared", name((p + 1 + i) % kProcesses), -9, 1).second;
            failures += theirs >= -1 && theirs < kRounds ? 0 : 1;
        }
        _exit(std::min(failures, 100));
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "failures: " << WEXITSTATUS(status);
    }
    for (int p = 0; p < kProcesses; ++p)
        EXPECT_EQ(Num(true, kRounds - 1), ReadNum(L"Shared", name(p), -9, 1));
    const Num same = ReadNum(L"Shared", L"Same", -9, 1);
    EXPECT_TRUE(same.first && same.second >= 0 && same.second < kProcesses);
}

}  // namespace
