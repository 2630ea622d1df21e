// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/FileExist.h"

#include "files/CommonFile.h"

CFileExist::~CFileExist() = default;

CString CFileExist::GetModulePath() { return CCommonFile::GetModulePath(); }

CString CFileExist::GetFileName(const CString& name) {
    const bool absolute = (name.GetLength() >= 2 && name[1] == L':') ||
                          (name.GetLength() >= 2 && name[0] == L'\\' && name[1] == L'\\') ||
                          (name.GetLength() >= 1 && name[0] == L'/');
    m_strPath = absolute ? name : GetModulePath() + name;
    if (!CCommonFile::DoesFileExist(m_strPath)) m_strPath.Empty();
    return m_strPath;
}
