// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CFileFind: directory search with a wildcard in the last path component.
///
/// Differences from Windows:
/// - Patterns may use '/' or '\' before the last component; '*' and '?' match as in
///   Windows ("*.*" matches every name, with or without a dot), ASCII letters without
///   regard to case.
/// - "." and ".." are listed first when the pattern matches them, as NTFS lists them.
/// - Symbolic links are reported with FILE_ATTRIBUTE_REPARSE_POINT (plus
///   FILE_ATTRIBUTE_DIRECTORY when they lead to a directory); other attributes and the
///   size are the link's own.
/// - Names on disk are UTF-8; a name that is not valid UTF-8 cannot be reached and is
///   left out.
#include <string>
#include <vector>

#include "platform/File.h"

/// A search of one folder for names matching a wildcard pattern. After FindFile, call
/// FindNextFile before reading the first match, as on Windows.
class ZCMCOM_API CFileFind : public CObject {
public:
    /// A search not started.
    CFileFind() = default;
    /// Ends the search.
    ~CFileFind() override = default;

    /// Starts the search for pattern ("*.*" in the current folder when nullptr; unused is
    /// ignored); FALSE when nothing matches or the folder cannot be read.
    BOOL FindFile(LPCTSTR pattern = nullptr, DWORD unused = 0);
    /// Moves to the next match; FALSE when this is the last one (it is still current).
    BOOL FindNextFile();
    /// Ends the search and forgets its matches.
    void Close();

    /// The current match: its name, its full path (root and name), the name without its
    /// extension, and the folder searched (as given, with its trailing separator).
    /// @{
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_root; }
    /// @}
    /// The current match's size in bytes, its last write time (FALSE when there is no current
    /// match) and its attributes (FILE_ATTRIBUTE_ bits); MatchesMask and the Is functions test
    /// them; IsDots is TRUE for "." and "..".
    /// @{
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(CTime& time) const;
    BOOL GetLastWriteTime(FILETIME* time) const;
    DWORD GetAttributes() const;
    BOOL MatchesMask(DWORD mask) const { return (GetAttributes() & mask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsDots() const;
    /// @}

    /// Windows wildcard matching of one name.
    static bool MatchName(const wchar_t* pattern, const wchar_t* name);

private:
    struct Entry {
        CString name;
        DWORD attributes;
        ULONGLONG size;
        FILETIME written;
    };
    std::vector<Entry> m_entries;
    size_t m_next = 0;  ///< entries handed out so far
    CString m_root;     ///< the folder, as given (with its trailing separator)
};
