#pragma once
/// @file
/// CFileExist: finds a file by name, relative names beside the application.
#include "platform/String.h"

class ZCMCOM_API CFileExist {
public:
    CFileExist() = default;
    CFileExist(const CFileExist&) = default;
    CFileExist& operator=(const CFileExist&) = default;
    virtual ~CFileExist();

    /// The full path of name when that file can be opened for reading, else "". Absolute
    /// names: "/...", "X:..." or "\\\\server..."; others are taken in the program's folder.
    CString GetFileName(const CString& name);

protected:
    static CString GetModulePath();

    CString m_strPath;
};
