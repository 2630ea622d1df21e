// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CFileExist: finds a file by name, relative names beside the application.
#include "platform/String.h"

/// Finds a file by name.
class ZCMCOM_API CFileExist {
public:
    CFileExist() = default;
    CFileExist(const CFileExist&) = default;             ///< copies the last found path
    CFileExist& operator=(const CFileExist&) = default;  ///< copies the last found path
    virtual ~CFileExist();

    /// The full path of name when that file can be opened for reading, else "". Absolute
    /// names: "/...", "X:..." or "\\\\server..."; others are taken in the program's folder.
    CString GetFileName(const CString& name);

protected:
    /// The running program's folder, ending with its separator.
    static CString GetModulePath();

    CString m_strPath;  ///< the path the last GetFileName found
};
