// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/CommonFile.h"

#include <cstdlib>
#include <cwchar>
#include <filesystem>

#include "platform/File.h"
#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"

namespace {

bool IsSep(wchar_t c) { return c == L'\\' || c == L'/'; }

int LastSep(const CString& s) { return std::max(s.ReverseFind(L'\\'), s.ReverseFind(L'/')); }

// Joins a folder and a name with '/' unless the folder already ends in a separator.
CString Join(const CString& dir, const CString& name) {
    if (dir.IsEmpty() || IsSep(dir[dir.GetLength() - 1])) return dir + name;
    return dir + L'/' + name;
}

CString StripOneSep(const CString& path) {
    if (path.GetLength() > 1 && IsSep(path[path.GetLength() - 1]))
        return path.Left(path.GetLength() - 1);
    return path;
}

// The start of the name part (after the drive and directory).
int NameStart(const CString& path) {
    const int sep = LastSep(path);
    if (sep >= 0) return sep + 1;
    return (path.GetLength() >= 2 && path[1] == L':') ? 2 : 0;
}

// Position of the extension's dot in the name part, or -1.
int ExtensionDot(const CString& path) {
    const int dot = path.ReverseFind(L'.');
    return dot >= NameStart(path) ? dot : -1;
}

bool OpenForRead(const wchar_t* path, CFile& file) {
    return path && *path && file.Open(path, CFile::modeRead | CFile::shareDenyNone);
}

std::filesystem::path FsPath(const CString& p) { return std::filesystem::path(p.ToUtf8()); }

bool IsLink(const CString& p) {
    std::error_code ec;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(FsPath(p), ec));
}

// Copies a symbolic link as a link (its target text unchanged).
bool CopyLink(const CString& from, const CString& to, bool replace) {
    std::error_code ec;
    const auto target = std::filesystem::read_symlink(FsPath(from), ec);
    if (ec) return false;
    const auto dst = FsPath(to);
    const auto st = std::filesystem::symlink_status(dst, ec);
    if (std::filesystem::exists(st) || std::filesystem::is_symlink(st)) {
        if (!replace) return true;
        if (std::filesystem::is_directory(st) && !std::filesystem::is_symlink(st)) return false;
        std::filesystem::remove(dst, ec);
        if (ec) return false;
    }
    std::filesystem::create_symlink(target, dst, ec);
    return !ec;
}

}  // namespace

CString CCommonFile::GetModulePath() {
    wchar_t buf[4096];
    const DWORD n = GetModuleFileNameW(nullptr, buf, 4096);
    if (n == 0 || n >= 4096) return CString();
    CString path(buf, static_cast<int>(n));
    return path.Left(LastSep(path) + 1);
}

CString CCommonFile::GetPathName(const CString& path) {
    const int sep = LastSep(path);
    if (sep < 0) return (path.GetLength() >= 2 && path[1] == L':') ? path.Left(2) : CString();
    CString dir = path.Left(sep);
    // The separator stays after a drive ("C:\") and as the root ("/").
    if (dir.IsEmpty() || (dir.GetLength() == 2 && dir[1] == L':')) dir = path.Left(sep + 1);
    return dir;
}

CString CCommonFile::GetFileName(const CString& path) { return path.Mid(NameStart(path)); }

CString CCommonFile::GetBaseFileName(const CString& path) {
    const int start = NameStart(path), dot = ExtensionDot(path);
    return dot < 0 ? path.Mid(start) : path.Mid(start, dot - start);
}

CString CCommonFile::GetExtension(CString& path) {
    const int dot = ExtensionDot(path);
    return dot < 0 ? CString() : path.Mid(dot);
}

void CCommonFile::SetExtension(CString& path, const CString& ext) {
    const int dot = ExtensionDot(path);
    if (dot >= 0) path = path.Left(dot);
    if (ext.IsEmpty()) return;
    if (ext[0] != L'.') path += L'.';
    path += ext;
}

CString CCommonFile::GetParentDirectory(const CString& path) {
    const CString p = StripOneSep(path);
    const int sep = LastSep(p);
    return sep < 0 ? p : p.Left(sep);
}

int CCommonFile::IsValidFileName(const CString& name) {
    return name.FindOneOf(L"\"*/:<>?\\|") < 0 ? 1 : 0;
}

int CCommonFile::DoesFileExist(const wchar_t* path) {
    CFile file;
    if (!OpenForRead(path, file)) return 0;
    file.Abort();
    return 1;
}

int CCommonFile::DoesDirectoryExist(const wchar_t* path) {
    if (!path || !*path) return 0;
    CFileFind find;
    const BOOL found = find.FindFile(Join(StripOneSep(path), L"*"));
    return found ? 1 : 0;
}

unsigned long CCommonFile::GetFileSizeByName(const wchar_t* path) {
    CFile file;
    if (!OpenForRead(path, file)) return 0;
    const ULONGLONG size = file.GetLength();
    file.Abort();
    return static_cast<unsigned long>(size & 0xFFFFFFFFu);
}

int CCommonFile::IsFileNewerThan(const wchar_t* a, const wchar_t* b) {
    CFile fa, fb;
    if (!OpenForRead(a, fa)) return 0;
    FILETIME ta, tb;
    if (!GetFileTime(fa.m_hFile, nullptr, nullptr, &ta)) return 0;
    if (!OpenForRead(b, fb)) return 1;
    if (!GetFileTime(fb.m_hFile, nullptr, nullptr, &tb)) return 0;
    return CompareFileTime(&ta, &tb) > 0 ? 1 : 0;
}

int CCommonFile::CreateDirectoryW(const CString& path) {
    if (path.IsEmpty()) return 0;
    const CString p = StripOneSep(path);
    CString parent = GetParentDirectory(p);
    if (parent.GetLength() >= 2 && parent[0] == L'\\' && parent[1] == L'\\' &&
        parent.ReverseFind(L'\\') == 1)
        return 0;
    if (parent.IsEmpty() && IsSep(p[0])) parent = L"/";
    if (parent == p) return ::CreateDirectoryW(p, nullptr) ? 1 : 0;  // no parent part
    if (!DoesDirectoryExist(parent) && !CreateDirectoryW(parent)) return 0;
    return ::CreateDirectoryW(p, nullptr) ? 1 : 0;
}

int CCommonFile::DeleteTree(const CString& dir, int removeSelf, bool force) {
    const CString root = StripOneSep(dir);
    CFileFind find;
    if (!find.FindFile(Join(root, L"*.*"))) return 0;
    BOOL more = TRUE;
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots()) continue;
        const CString path = Join(root, find.GetFileName());
        if (find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT)) {
            DeleteFileW(path);  // the link itself, never what it points to
        } else if (find.IsDirectory()) {
            DeleteTree(path, 1, false);
        } else {
            if (force) SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path);
        }
    }
    find.Close();
    if (!removeSelf) return 1;
    RemoveDirectoryW(root);
    // Report whether the folder is really gone.
    return GetFileAttributesW(root) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

int CCommonFile::DeleteDirectory(const CString& dir, int removeSelf) {
    return DeleteTree(dir, removeSelf, false);
}

int CCommonFile::DeleteDirectoryForce(const CString& dir, int removeSelf) {
    return DeleteTree(dir, removeSelf, true);
}

int CCommonFile::CopyTree(const CString& from, const CString& to, int overwrite, bool update) {
    CFileFind find;
    if (!find.FindFile(Join(from, L"*"))) return 0;
    BOOL more = TRUE;
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots()) continue;
        const CString src = Join(from, find.GetFileName());
        const CString dst = Join(to, find.GetFileName());
        if (find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT)) {
            // Copied as a link, never followed out of the tree.
            const bool replace =
                update ? !IsLink(dst) || IsFileNewerThan(src, dst) : overwrite != 0;
            if (!CopyLink(src, dst, replace)) return 0;
        } else if (find.IsDirectory()) {
            if (DoesDirectoryExist(dst)) {
                if (!update && !overwrite) return 0;
            } else if (!::CreateDirectoryW(dst, nullptr)) {
                return 0;
            }
            if (!CopyTree(src, dst, overwrite, update)) return 0;
        } else if (update) {
            if (IsFileNewerThan(src, dst) && !CopyFileW(src, dst, FALSE)) return 0;
        } else if (!CopyFileW(src, dst, overwrite ? FALSE : TRUE)) {
            if (overwrite || GetLastError() != ERROR_FILE_EXISTS) return 0;
        }
    }
    return 1;
}

namespace {

// True when to is from itself or lies inside it (after resolving links and "..").
bool TargetInsideSource(const CString& from, const CString& to) {
    std::error_code ec;
    const auto a = std::filesystem::weakly_canonical(FsPath(from), ec);
    if (ec) return false;
    const auto b = std::filesystem::weakly_canonical(FsPath(to), ec);
    if (ec) return false;
    auto ai = a.begin(), bi = b.begin();
    for (; ai != a.end() && bi != b.end(); ++ai, ++bi) {
        if (ai->empty()) break;  // a trailing separator
        if (*ai != *bi) return false;
    }
    return ai == a.end() || ai->empty();
}

}  // namespace

int CCommonFile::CopyDirectory(const wchar_t* from, const wchar_t* to, int overwrite) {
    if (!from || !to || !*from || !*to || TargetInsideSource(from, to)) return 0;
    return CopyTree(from, to, overwrite, false);
}

int CCommonFile::UpdateDirectory(const wchar_t* from, const wchar_t* to) {
    if (!from || !to || !*from || !*to || TargetInsideSource(from, to)) return 0;
    return CopyTree(from, to, 0, true);
}

HGLOBAL CCommonFile::GetDirectoryEntries(wchar_t* pattern, int* count) {
    if (count) *count = 0;
    CFileFind find;
    if (!pattern || !find.FindFile(pattern)) return nullptr;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(tagDIRENTRY));
    if (!block) return nullptr;
    int n = 0;
    BOOL more = TRUE;
    while (more) {
        more = find.FindNextFile();
        const CString name = find.GetFileName();
        if (name.GetLength() >= MAX_PATH) continue;  // cannot be stored whole
        if (n > 0) {
            HGLOBAL grown = GlobalReAlloc(block, sizeof(tagDIRENTRY) * static_cast<size_t>(n + 1),
                                          GMEM_MOVEABLE | GMEM_ZEROINIT);
            if (!grown) break;
            block = grown;
        }
        auto* entries = static_cast<tagDIRENTRY*>(GlobalLock(block));
        wmemcpy(entries[n].name, name.GetString(), static_cast<size_t>(name.GetLength()) + 1);
        entries[n].used = 0;
        GlobalUnlock(block);
        ++n;
    }
    if (n == 0) {
        GlobalFree(block);
        return nullptr;
    }
    if (count) *count = n;
    return block;
}

HGLOBAL CCommonFile::GetFileNames(const wchar_t* dir, const wchar_t* pattern, int* count) {
    if (count) *count = 0;
    if (!dir || !pattern || wcslen(dir) + wcslen(pattern) >= MAX_PATH) return nullptr;
    wchar_t full[MAX_PATH];
    wcscpy(full, dir);
    wcscat(full, pattern);
    return GetDirectoryEntries(full, count);
}

void CCommonFile::GetDirectoryEntry(HGLOBAL list, int count, wchar_t* name) {
    if (!name) return;
    name[0] = 0;
    if (!list || count <= 0) return;
    // Never trust the count beyond the block.
    const size_t fits = GlobalSize(list) / sizeof(tagDIRENTRY);
    if (static_cast<size_t>(count) > fits) count = static_cast<int>(fits);
    auto* entries = static_cast<tagDIRENTRY*>(GlobalLock(list));
    if (!entries || count <= 0) return;
    bool allUsed = true;
    for (int i = 0; i < count; ++i)
        if (!entries[i].used) allUsed = false;
    if (allUsed)
        for (int i = 0; i < count; ++i) entries[i].used = 0;
    int r = rand() % count;
    int i = 0;
    while (entries[i].used) i = (i + 1) % count;
    while (r-- > 0) {
        do {
            i = (i + 1) % count;
        } while (entries[i].used);
    }
    entries[i].name[MAX_PATH - 1] = 0;
    wcscpy(name, entries[i].name);
    entries[i].used = 1;
    GlobalUnlock(list);
}

const wchar_t* CCommonFile::GetMyDocumentPath() {
    static wchar_t path[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE) || path[0] == 0)
        return nullptr;
    return path;
}
