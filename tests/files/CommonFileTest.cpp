// SPDX-License-Identifier: LGPL-3.0-or-later
// CCommonFile: paths, existence, trees, random picks, documents folder; CFileExist;
// CSortableStringArray.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "files/CommonFile.h"
#include "files/FileExist.h"
#include "files/SortableStringArray.h"
#include "platform/FileSystem.h"
#include "support/TestUtil.h"

namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

void MakeOld(const std::string& path) {
    const struct timespec old[2] = {{1000, 0}, {1000, 0}};
    utimensat(AT_FDCWD, path.c_str(), old, 0);
}

TEST(CCommonFilePaths, SplittingWindowsAndLinuxPaths) {
    using Fn = CString (*)(const CString&);
    const Fn dir = CCommonFile::GetPathName, file = CCommonFile::GetFileName,
             base = CCommonFile::GetBaseFileName, parent = CCommonFile::GetParentDirectory;
    const std::tuple<Fn, const wchar_t*, const wchar_t*> cases[] = {
        {dir, L"C:\\a\\b.txt", L"C:\\a"},
        {dir, L"C:\\b.txt", L"C:\\"},
        {dir, L"/b.txt", L"/"},
        {dir, L"", L""},
        {file, L"/x/y.tar.gz", L"y.tar.gz"},
        {base, L"/x.d/name", L"name"},
        {parent, L"C:\\a\\b\\", L"C:\\a"},
        {parent, L"name", L"name"},
    };
    for (const auto& [fn, in, out] : cases) EXPECT_EQ(fn(in), CString(out)) << CString(in).ToUtf8();
    CString p(L"C:\\b.txt"), q(L"/a.dir/noext");
    EXPECT_EQ(CCommonFile::GetExtension(p) + L"|" + CCommonFile::GetExtension(q),
              CString(L".txt|"));
    CCommonFile::SetExtension(p, L"log");
    CCommonFile::SetExtension(q, L".txt");
    EXPECT_EQ(p + L"|" + q, CString(L"C:\\b.log|/a.dir/noext.txt"));
    for (const wchar_t* bad : {L"a:b", L"a|b", L"a\"b"})
        EXPECT_EQ(CCommonFile::IsValidFileName(bad), 0);
    EXPECT_EQ(CCommonFile::IsValidFileName(L"星.txt"), 1);
}

TEST(CCommonFileFiles, ExistenceSizeAgeAndNewFolders) {
    TempDir dir;
    WriteFileBytes(dir.File("a"), "12345");
    WriteFileBytes(dir.File("b"), "1");
    MakeOld(dir.File("b"));
    const CString a = W(dir.File("a")), b = W(dir.File("b")), none = W(dir.File("none"));
    // A folder is no file; a missing file is older than any other.
    EXPECT_EQ((std::vector<int>{
                  CCommonFile::DoesFileExist(W(dir.path())), CCommonFile::DoesFileExist(L""),
                  CCommonFile::DoesDirectoryExist(W(dir.path() + "/")),
                  CCommonFile::DoesDirectoryExist(a), CCommonFile::IsFileNewerThan(a, b),
                  CCommonFile::IsFileNewerThan(b, a), CCommonFile::IsFileNewerThan(a, none),
                  CCommonFile::IsFileNewerThan(none, a)}),
              (std::vector<int>{0, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(std::pair(CCommonFile::GetFileSizeByName(a), CCommonFile::GetFileSizeByName(none)),
              std::pair(5ul, 0ul));
    // A file held open for writing by someone else still exists.
    CFile held;
    ASSERT_TRUE(held.Open(a, CFile::modeWrite | CFile::shareDenyNone));
    EXPECT_EQ(CCommonFile::DoesFileExist(a), 1);
    // Folders with their parents, once; nothing for an empty or a network name.
    EXPECT_EQ(
        (std::tuple{CCommonFile::CreateDirectoryW(W(dir.File("x/y/z"))), Exists(dir.File("x/y/z")),
                    CCommonFile::CreateDirectoryW(W(dir.File("x/y/z"))),
                    CCommonFile::CreateDirectoryW(L""),
                    CCommonFile::CreateDirectoryW(L"\\\\server\\share")}),
        (std::tuple{1, true, 0, 0, 0}));
}

// from/: f1, ro (read-only), sub/f2, sub/deeper/f3, link -> outside (a folder elsewhere)
void MakeTree(const TempDir& dir) {
    for (const char* d : {"from", "from/sub", "from/sub/deeper", "outside"})
        mkdir(dir.File(d).c_str(), 0755);
    WriteFileBytes(dir.File("outside/precious"), "keep");
    WriteFileBytes(dir.File("from/f1"), "one");
    WriteFileBytes(dir.File("from/ro"), "read only");
    chmod(dir.File("from/ro").c_str(), 0444);
    WriteFileBytes(dir.File("from/sub/f2"), "two");
    WriteFileBytes(dir.File("from/sub/deeper/f3"), "three");
    symlink(dir.File("outside").c_str(), dir.File("from/link").c_str());
}

TEST(CCommonFileTrees, CopyAndUpdateKeepReadOnlyFilesAndCopyLinksAsLinks) {
    TempDir dir;
    MakeTree(dir);
    mkdir(dir.File("to").c_str(), 0755);
    const CString from = W(dir.File("from")), to = W(dir.File("to"));
    EXPECT_EQ((std::tuple{CCommonFile::CopyDirectory(from, to, 0),
                          ReadFileBytes(dir.File("to/sub/deeper/f3"))}),
              (std::tuple{1, "three"}));
    EXPECT_EQ(GetFileAttributesW(W(dir.File("to/ro"))) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(std::filesystem::read_symlink(dir.File("to/link")).string(), dir.File("outside"));
    // Again with overwrite 0: existing files are skipped, but the first existing
    // subdirectory fails the copy.
    WriteFileBytes(dir.File("to/f1"), "changed");
    EXPECT_EQ(
        (std::tuple{CCommonFile::CopyDirectory(from, to, 0), ReadFileBytes(dir.File("to/f1"))}),
        (std::tuple{0, "changed"}));
    // With overwrite 1 everything is copied again, except over the read-only target.
    EXPECT_EQ(CCommonFile::CopyDirectory(from, to, 1), 0);
    SetFileAttributesW(W(dir.File("to/ro")), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ((std::tuple{CCommonFile::CopyDirectory(from, to, 1), ReadFileBytes(dir.File("to/f1")),
                          CCommonFile::CopyDirectory(W(dir.File("missing")), to, 1)}),
              (std::tuple{1, "one", 0}));
    // An update keeps a target newer than its source and replaces an older one.
    WriteFileBytes(dir.File("to/f1"), "target is newer");
    MakeOld(dir.File("from/f1"));
    WriteFileBytes(dir.File("from/sub/f2"), "two, edited");
    MakeOld(dir.File("to/sub/f2"));
    EXPECT_EQ((std::tuple{CCommonFile::UpdateDirectory(from, to), ReadFileBytes(dir.File("to/f1")),
                          ReadFileBytes(dir.File("to/sub/f2"))}),
              (std::tuple{1, "target is newer", "two, edited"}));
}

TEST(CCommonFileTrees, CopyIntoItselfIsRefusedAndDeleteKeepsLinkTargets) {
    TempDir dir;
    MakeTree(dir);
    const CString from = W(dir.File("from"));
    EXPECT_EQ((std::tuple{CCommonFile::CopyDirectory(from, W(dir.File("from/sub/inner")), 1),
                          CCommonFile::CopyDirectory(from, from, 1),
                          CCommonFile::UpdateDirectory(from, W(dir.File("from/sub")))}),
              (std::tuple{0, 0, 0}));
    // Through a link that leads back into the source.
    symlink(dir.File("from/sub").c_str(), dir.File("alias").c_str());
    EXPECT_EQ(CCommonFile::CopyDirectory(from, W(dir.File("alias/x")), 1), 0);
    for (const char* p : {"from/sub/inner", "from/sub/f1", "from/sub/x"})
        EXPECT_FALSE(Exists(dir.File(p))) << p;
    // Deleting, not forced: the read-only file stays, so the folder cannot go.
    EXPECT_EQ((std::tuple{CCommonFile::DeleteDirectory(W(dir.File("from")), 1),
                          Exists(dir.File("from/ro")),
                          Exists(dir.File("from/sub")) || Exists(dir.File("from/link")),
                          ReadFileBytes(dir.File("outside/precious"))}),
              (std::tuple{0, true, false, "keep"}));
    EXPECT_EQ((std::tuple{CCommonFile::DeleteDirectoryForce(W(dir.File("from/")), 1),
                          Exists(dir.File("from")),
                          CCommonFile::DeleteDirectory(W(dir.File("from")), 0)}),
              (std::tuple{1, false, 0}));
    // Contents only.
    WriteFileBytes(dir.File("outside/x"), "x");
    EXPECT_EQ(CCommonFile::DeleteDirectory(W(dir.File("outside")), 0), 1);
    EXPECT_TRUE(Exists(dir.File("outside")) && !Exists(dir.File("outside/x")));
}

// Each round of picks names every entry once; a count beyond the block is cut to the
// block; a folder name too long for MAX_PATH gives null, no overflow.
TEST(CCommonFileEntries, EachEntryOncePerRound) {
    TempDir dir;
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "other.txt"}) WriteFileBytes(dir.File(n), n);
    int count = -1;
    HGLOBAL list = CCommonFile::GetFileNames(W(dir.path() + "/"), L"*.jpg", &count);
    ASSERT_TRUE(list && count == 3);
    srand(7);
    wchar_t name[MAX_PATH];
    for (int round = 0; round < 3; ++round) {
        std::set<std::wstring> seen;
        for (int i = 0; i < 3; ++i)
            CCommonFile::GetDirectoryEntry(list, count, name), seen.insert(name);
        EXPECT_EQ(seen.size(), 3u) << "round " << round;
    }
    CCommonFile::GetDirectoryEntry(list, 1000, name);
    EXPECT_EQ(std::wstring(name).size(), 5u);
    GlobalFree(list);
    CCommonFile::GetDirectoryEntry(nullptr, 0, name);
    EXPECT_EQ(name[0], 0);
    EXPECT_EQ(CCommonFile::GetFileNames(W(dir.path() + "/"), L"*.none", &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(CCommonFile::GetFileNames(W("/" + std::string(250, 'd') + "/"), L"*.jpg", &count),
              nullptr);
}

TEST(CCommonFileFolders, DocumentsFolderAndFilesBesideTheProgram) {
    EnvGuard env{"HOME", "XDG_CONFIG_HOME"};
    TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
    setenv("HOME", dir.path().c_str(), 1);
    const wchar_t* first = CCommonFile::GetMyDocumentPath();
    setenv("HOME", dir.File("other").c_str(), 1);
    EXPECT_EQ(CCommonFile::GetMyDocumentPath(), first);  // overwritten in place
    EXPECT_EQ(CString(first), W(dir.File("other/Documents")));
    // CFileExist: absolute names as they are, relative ones beside the program.
    WriteFileBytes(dir.File("here"), "x");
    CFileExist e;
    EXPECT_EQ(e.GetFileName(W(dir.File("here"))), W(dir.File("here")));
    EXPECT_EQ(e.GetFileName(W(dir.File("gone"))), CString(L""));
    EXPECT_EQ(e.GetFileName(L"test_files"), CCommonFile::GetModulePath() + L"test_files");
}

struct SortProbe : CSortableStringArray {
    using CSortableStringArray::Compare;
};

TEST(CSortableStringArray, SortsWithTheGivenComparison) {
    SortProbe a;
    for (const wchar_t* s : {L"pear", L"Apple", L"日本", L"apple", L"Zebra"}) a.Add(s);
    a.Sort(&SortProbe::Compare);
    EXPECT_EQ(a[0] + a[1] + a[2] + a[3] + a[4], CString(L"AppleZebraapplepear日本"));
    a.Sort([](const CString* x, const CString* y) { return y->CompareNoCase(*x); });
    EXPECT_EQ(a[0], CString(L"日本"));
}

}  // namespace
