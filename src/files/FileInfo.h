#pragma once
/// @file
/// CFileInfo: a file's status and the records of its version resource.
#include "platform/Array.h"
#include "platform/Time.h"

/// One language of a version resource.
struct tagFileVersion {
    WORD wLanguage = 0;
    WORD wCodePage = 0;
    CString strCompanyName;
    CString strFileDescription;
    CString strFileVersion;
    CString strInternalName;
    CString strLegalCopyright;
    CString strOriginalFilename;
    CString strProductName;
    CString strProductVersion;
};

struct tagFileInfo {
    CString strFileName;     ///< name and extension, no folder
    CTime tmModified;
    ULONGLONG ullSize = 0;
    BYTE byAttribute = 0;    ///< FILE_ATTRIBUTE_* of the file status
    CArray<tagFileVersion> aVersion;
};

class ZCMCOM_API CFileInfo {
public:
    /// 1 with the status and every language's strings; 0 for an empty path, a null info,
    /// a missing file or a file without a version resource (the status is filled in
    /// before the resource is read).
    static int GetFileInfo(CString path, tagFileInfo* info);
};
