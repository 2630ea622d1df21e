// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCommonFile: path splitting, existence and age tests, directory trees, random picks
/// from a listing, and the user's documents folder.
///
/// On Linux: '/' and '\' both separate path parts; a separator this class adds is '/'.
/// Trees are walked without following symbolic links: a link is deleted itself, and copied
/// as a link (its target text unchanged).
#include "platform/Array.h"
#include "platform/GlobalMemory.h"
#include "platform/String.h"

/// One entry of a GetDirectoryEntries block: the name, then whether it was picked.
struct tagDIRENTRY {
    wchar_t name[MAX_PATH];  ///< the entry's name, zero-terminated
    WORD used;               ///< non-zero once GetDirectoryEntry picked it this round
};
static_assert(sizeof(tagDIRENTRY) == 1044, "tagDIRENTRY layout (260 wide characters and a flag)");

/// File and folder helpers; static functions only.
class ZCMCOM_API CCommonFile {
public:
    /// The running program's folder, ending with its separator; "" when unknown.
    static CString GetModulePath();
    /// The folder part of path, without the last separator (kept for a root or a drive).
    static CString GetPathName(const CString& path);
    /// The name and extension, without the folder.
    static CString GetFileName(const CString& path);
    /// The name without folder and extension.
    static CString GetBaseFileName(const CString& path);
    /// The extension with its dot, or "" when the name has none.
    static CString GetExtension(CString& path);
    /// Replaces (or with an empty ext removes) the extension; the dot is added when ext
    /// lacks it.
    static void SetExtension(CString& path, const CString& ext);
    /// The folder that holds path (one trailing separator ignored).
    static CString GetParentDirectory(const CString& path);
    /// 1 when name holds none of the characters `"*/:<>?\|`, else 0.
    static int IsValidFileName(const CString& name);
    /// 1 when the file can be opened for reading, else 0.
    static int DoesFileExist(const wchar_t* path);
    /// 1 when the folder exists, else 0 (also for a null or empty path).
    static int DoesDirectoryExist(const wchar_t* path);
    /// The size in bytes (its low 32 bits); 0 when the file cannot be opened.
    static unsigned long GetFileSizeByName(const wchar_t* path);
    /// 1 when a was modified after b or b cannot be opened; 0 when a cannot be opened or
    /// is not newer.
    static int IsFileNewerThan(const wchar_t* a, const wchar_t* b);
    /// Creates the folder and any missing parents; 1 on success, else 0.
    static int CreateDirectoryW(const CString& path);
    /// 1 when the contents are gone (and, with removeSelf, the folder itself).
    static int DeleteDirectory(const CString& dir, int removeSelf);
    /// As DeleteDirectory, also removing read-only files.
    static int DeleteDirectoryForce(const CString& dir, int removeSelf);
    /// Copies the tree from into to, replacing existing files only with overwrite; 1 on
    /// success. 0 without copying anything when to lies inside from (or is from).
    static int CopyDirectory(const wchar_t* from, const wchar_t* to, int overwrite);
    /// Copies the tree from into to, replacing only files that are older in to; 1 on
    /// success, 0 as CopyDirectory.
    static int UpdateDirectory(const wchar_t* from, const wchar_t* to);
    /// A global memory block of tagDIRENTRY (the caller frees it with GlobalFree), or null.
    static HGLOBAL GetDirectoryEntries(wchar_t* pattern, int* count);
    /// Null when dir and pattern together reach MAX_PATH characters.
    static HGLOBAL GetFileNames(const wchar_t* dir, const wchar_t* pattern, int* count);
    /// A random entry not picked in this round into name (MAX_PATH characters); "" when
    /// the list is empty.
    static void GetDirectoryEntry(HGLOBAL list, int count, wchar_t* name);
    /// Points into a static buffer that the next call overwrites; null when unknown.
    static const wchar_t* GetMyDocumentPath();

private:
    static int DeleteTree(const CString& dir, int removeSelf, bool force);
    static int CopyTree(const CString& from, const CString& to, int overwrite, bool update);
};
