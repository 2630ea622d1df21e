// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CFileInfo: a file's status and the records of its version resource.
#include "platform/Array.h"
#include "platform/Time.h"

/// One language of a version resource.
struct tagFileVersion {
    WORD wLanguage = 0;           ///< language id of this record
    WORD wCodePage = 0;           ///< code page of this record
    CString strCompanyName;       ///< "CompanyName"
    CString strFileDescription;   ///< "FileDescription"
    CString strFileVersion;       ///< "FileVersion"
    CString strInternalName;      ///< "InternalName"
    CString strLegalCopyright;    ///< "LegalCopyright"
    CString strOriginalFilename;  ///< "OriginalFilename"
    CString strProductName;       ///< "ProductName"
    CString strProductVersion;    ///< "ProductVersion"
};

/// A file's status and version records, as CFileInfo::GetFileInfo fills them.
struct tagFileInfo {
    CString strFileName;              ///< name and extension, no folder
    CTime tmModified;                 ///< last modification
    ULONGLONG ullSize = 0;            ///< size in bytes
    BYTE byAttribute = 0;             ///< FILE_ATTRIBUTE_* of the file status
    CArray<tagFileVersion> aVersion;  ///< one record per language of the version resource
};

/// Reads a file's status and version resource.
class ZCMCOM_API CFileInfo {
public:
    /// 1 with the status and every language's strings; 0 for an empty path, a null info,
    /// a missing file or a file without a version resource (the status is filled in
    /// before the resource is read).
    static int GetFileInfo(CString path, tagFileInfo* info);
};
