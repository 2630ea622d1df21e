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
    wchar_t name[MAX_PATH];
    WORD used;
};
static_assert(sizeof(tagDIRENTRY) == 1044, "tagDIRENTRY layout (260 wide characters and a flag)");

class ZCMCOM_API CCommonFile {
public:
    static CString GetModulePath();
    static CString GetPathName(const CString& path);
    static CString GetFileName(const CString& path);
    static CString GetBaseFileName(const CString& path);
    static CString GetExtension(CString& path);
    static void SetExtension(CString& path, const CString& ext);
    static CString GetParentDirectory(const CString& path);
    static int IsValidFileName(const CString& name);
    static int DoesFileExist(const wchar_t* path);
    static int DoesDirectoryExist(const wchar_t* path);
    static unsigned long GetFileSizeByName(const wchar_t* path);
    static int IsFileNewerThan(const wchar_t* a, const wchar_t* b);
    static int CreateDirectoryW(const CString& path);
    /// 1 when the contents are gone (and, with removeSelf, the folder itself).
    static int DeleteDirectory(const CString& dir, int removeSelf);
    static int DeleteDirectoryForce(const CString& dir, int removeSelf);
    /// 0 without copying anything when to lies inside from (or is from).
    static int CopyDirectory(const wchar_t* from, const wchar_t* to, int overwrite);
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
