// SPDX-License-Identifier: LGPL-3.0-or-later
// Global memory, directory search, user folders, times and version resources.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <tuple>

#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/GlobalMemory.h"
#include "platform/ShellFolders.h"
#include "platform/Time.h"
#include "platform/VersionInfo.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"

namespace {

TEST(GlobalMemory, MovableBlocksGrowZeroedAndKeepTheirHandle) {
    HGLOBAL h = GlobalAlloc(GHND, 8);
    ASSERT_NE(h, nullptr);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    EXPECT_EQ(p[7], 0);
    p[0] = 42;
    GlobalUnlock(h);
    EXPECT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT), h);
    p = static_cast<unsigned char*>(GlobalLock(h));
    EXPECT_EQ(std::pair(int(p[0]), int(p[4095])), std::pair(42, 0));
    GlobalUnlock(h);
    EXPECT_EQ((std::tuple{GlobalSize(h), GlobalFree(h)}),
              (std::tuple{size_t(4096), HGLOBAL(nullptr)}));
    // A freed or made-up handle is refused, not used.
    int local;
    EXPECT_EQ((std::tuple{GlobalLock(h), GetLastError(), GlobalFree(h), GlobalSize(&local)}),
              (std::tuple{static_cast<void*>(nullptr), DWORD(ERROR_INVALID_HANDLE), h, size_t(0)}));
}

TEST(CFileFind, WildcardsDotsAndAttributes) {
    TempDir dir;
    WriteFileBytes(dir.File("a.TXT"), "1");
    WriteFileBytes(dir.File("b.txt"), "22");
    WriteFileBytes(dir.File("noext"), "");
    mkdir(dir.File("sub").c_str(), 0755);
    symlink("sub", dir.File("link").c_str());
    CFileFind find;
    int dots = 0;
    // Every name the search finds; a link to a folder is a folder and a reparse point.
    auto names = [&](const std::string& pattern) {
        std::set<std::string> found;
        for (BOOL more = find.FindFile(W(pattern)); more;) {
            more = find.FindNextFile();
            found.insert(find.GetFileName().ToUtf8());
            dots += find.IsDots();
            if (find.GetFileName() == L"link") {
                EXPECT_TRUE(find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT) && find.IsDirectory());
            }
        }
        return found;
    };
    EXPECT_EQ(names(dir.File("*.*")),
              (std::set<std::string>{".", "..", "a.TXT", "b.txt", "noext", "sub", "link"}));
    EXPECT_EQ(dots, 2);
    // Case does not matter, as on Windows.
    EXPECT_EQ(names(dir.path() + "\\*.txt"), (std::set<std::string>{"a.TXT", "b.txt"}));
    EXPECT_EQ((std::tuple{bool(find.FindFile(W(dir.File("*.none")))),
                          bool(find.FindFile(W(dir.File("missing/*")))),
                          bool(CFileFind::MatchName(L"?.t*", L"a.txt")),
                          bool(CFileFind::MatchName(L"?.t*", L"ab.txt"))}),
              (std::tuple{false, false, true, false}));
}

TEST(ShellFolders, UserDirsFileThenEnvironmentThenHome) {
    EnvRestorer home("HOME"), cfg("XDG_CONFIG_HOME"), docs("XDG_DOCUMENTS_DIR"),
        desk("XDG_DESKTOP_DIR");
    TempDir dir;
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    unsetenv("XDG_DESKTOP_DIR");
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE));
    EXPECT_EQ(CString(path), W(dir.File("Documents")));
    setenv("XDG_DESKTOP_DIR", dir.File("envdesk").c_str(), 1);
    EXPECT_EQ(ZcmUserFolder("DESKTOP"), W(dir.File("envdesk")));
    mkdir(dir.File("cfg").c_str(), 0755);
    WriteFileBytes(
        dir.File("cfg/user-dirs.dirs"),
        "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"/abs/docs\"\n");
    EXPECT_EQ(ZcmUserFolder("DESKTOP"), W(dir.File("Schreibtisch")));
    EXPECT_EQ(ZcmUserFolder("DOCUMENTS"), CString(L"/abs/docs"));
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, TRUE));
    struct stat st;
    EXPECT_EQ(stat(dir.File("Schreibtisch").c_str(), &st), 0);
    // A folder too long for MAX_PATH is refused, never cut.
    WriteFileBytes(dir.File("cfg/user-dirs.dirs"),
                   "XDG_DOCUMENTS_DIR=\"/" + std::string(300, 'd') + "\"\n");
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE));
}

TEST(CTime, FormatAndFields) {
    EnvGuard tz{"TZ"};
    setenv("TZ", "UTC", 1);
    tzset();
    const CTime t(1700000000LL), made(2023, 11, 14, 22, 13, 20);  // 2023-11-14 22:13:20 UTC
    EXPECT_EQ((std::tuple{t.Format(L"%Y/%m/%d %H:%M:%S"), t.GetDayOfWeek(), made.GetTime()}),
              (std::tuple{CString(L"2023/11/14 22:13:20"), 3, 1700000000LL}));
    ExpectThrows<CInvalidArgException>([] { CTime(-5).Format(L"%Y"); });
    const FILETIME ft = ZcmFileTimeFromUnix(0, 0);
    EXPECT_EQ(((unsigned long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime,
              116444736000000000ULL);
    EXPECT_EQ(ZcmUnixFromFileTime(ft), 0);
}

TEST(VersionInfo, QueriesOfABuiltPeFile) {
    TempDir dir;
    const std::string vi =
        BuildVersionInfo({{0x0411, 0x04B0, {{"CompanyName", "星の会社"}, {"FileVersion", "1.2.3"}}},
                          {0x0409, 0x04E4, {{"CompanyName", "Star Co"}}}});
    WriteFileBytes(dir.File("v.dll"), BuildPe(vi));
    DWORD handle = 7;
    const DWORD size = GetFileVersionInfoSizeW(W(dir.File("v.dll")), &handle);
    EXPECT_EQ(handle, 0u);
    ASSERT_GT(size, vi.size());
    std::vector<unsigned char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(W(dir.File("v.dll")), 0, size, block.data()));
    LPVOID value;
    UINT length;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    EXPECT_EQ(length, 52u);
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(value)->dwSignature, 0xFEEF04BDu);
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    EXPECT_EQ(length, 8u);
    // Keys compare without regard to case.
    ASSERT_TRUE(
        VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\FileVersion", &value, &length));
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(std::wstring(static_cast<wchar_t*>(value)), L"1.2.3");
    EXPECT_FALSE(
        VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\Comments", &value, &length));
    EXPECT_FALSE(GetFileVersionInfoW(W(dir.File("v.dll")), 0, size - 1, block.data()));
}

}  // namespace
