// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/FileFind.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <cwctype>

#include "platform/FileSystem.h"

namespace {

wchar_t Fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool Match(const wchar_t* p, const wchar_t* n) {
    // Iterative glob with one backtrack point: linear enough for any name.
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*n) {
        if (*p == L'*') {
            star = p++;
            resume = n;
        } else if (*p == L'?' || (*p && Fold(*p) == Fold(*n))) {
            ++p;
            ++n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == L'*' || *p == L'.' || *p == L'?') {
        // Trailing "*", ".*" or "?" also match an empty rest, as Windows treats "name.*".
        if (*p == L'.' && p[1] != L'*' && p[1] != 0) return false;
        ++p;
    }
    return *p == 0;
}

}  // namespace

bool CFileFind::MatchName(const wchar_t* pattern, const wchar_t* name) {
    if (!pattern || !name) return false;
    if (wcscmp(pattern, L"*.*") == 0 || wcscmp(pattern, L"*") == 0) return true;
    return Match(pattern, name);
}

BOOL CFileFind::FindFile(LPCTSTR pattern, DWORD) {
    Close();
    CString full = pattern && *pattern ? CString(pattern) : CString(L"*.*");
    const int sep = std::max(full.ReverseFind(L'/'), full.ReverseFind(L'\\'));
    m_root = full.Left(sep + 1);
    const CString mask = full.Mid(sep + 1);
    if (mask.IsEmpty()) return FALSE;
    CString dir = sep < 0 ? CString(L".") : (sep == 0 ? CString(L"/") : full.Left(sep));
    const std::string dirPath = dir.ToUtf8();
    const bool wild = mask.FindOneOf(L"*?") >= 0;

    auto add = [&](const CString& name) {
        const std::string path = dirPath + "/" + name.ToUtf8();
        struct stat lst;
        if (lstat(path.c_str(), &lst) != 0) return;
        Entry e;
        e.name = name;
        e.attributes = GetFileAttributesW(CString(ZcmPathToWide(path.data(), path.size())));
        if (e.attributes == INVALID_FILE_ATTRIBUTES) return;
        if (name.GetLength() > 0 && name[0] == L'.' && name != L"." && name != L"..")
            e.attributes |= FILE_ATTRIBUTE_HIDDEN;
        if (e.attributes == 0) e.attributes = FILE_ATTRIBUTE_NORMAL;
        e.size = S_ISREG(lst.st_mode) ? static_cast<ULONGLONG>(lst.st_size) : 0;
        e.written = ZcmFileTimeFromUnix(lst.st_mtim.tv_sec, lst.st_mtim.tv_nsec);
        m_entries.push_back(e);
    };

    if (!wild) {
        add(mask);
    } else {
        DIR* d = opendir(dirPath.c_str());
        if (!d) return FALSE;
        std::vector<CString> names;
        while (const dirent* ent = readdir(d)) {
            const CString name(ZcmPathToWide(ent->d_name, strlen(ent->d_name)));
            if (MatchName(mask, name)) names.push_back(name);
        }
        closedir(d);
        // Dots first, as Windows lists them; the rest in the order the folder gives.
        for (const wchar_t* dots : {L".", L".."})
            for (const auto& n : names)
                if (n == dots) add(n);
        for (const auto& n : names)
            if (n != L"." && n != L"..") add(n);
    }
    m_next = 0;
    return m_entries.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (m_next >= m_entries.size()) return FALSE;
    ++m_next;
    return m_next < m_entries.size() ? TRUE : FALSE;
}

void CFileFind::Close() {
    m_entries.clear();
    m_next = 0;
    m_root.Empty();
}

CString CFileFind::GetFileName() const {
    if (m_next == 0 || m_next > m_entries.size()) return CString();
    return m_entries[m_next - 1].name;
}

CString CFileFind::GetFilePath() const {
    if (m_next == 0 || m_next > m_entries.size()) return CString();
    return m_root + m_entries[m_next - 1].name;
}

CString CFileFind::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot <= 0 ? name : name.Left(dot);
}

ULONGLONG CFileFind::GetLength() const {
    if (m_next == 0 || m_next > m_entries.size()) return 0;
    return m_entries[m_next - 1].size;
}

DWORD CFileFind::GetAttributes() const {
    if (m_next == 0 || m_next > m_entries.size()) return 0;
    return m_entries[m_next - 1].attributes;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const {
    if (!time || m_next == 0 || m_next > m_entries.size()) return FALSE;
    *time = m_entries[m_next - 1].written;
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& time) const {
    FILETIME ft;
    if (!GetLastWriteTime(&ft)) return FALSE;
    time = CTime(ZcmUnixFromFileTime(ft));
    return TRUE;
}

BOOL CFileFind::IsDots() const {
    const CString n = GetFileName();
    return (n == L"." || n == L"..") && IsDirectory();
}
