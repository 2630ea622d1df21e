// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/LogFile.h"

#include "platform/ShellFolders.h"

CString CCommonLogFile::GetLogPath() {
    wchar_t desktop[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) return CString();
    return CString(desktop) + L"/zcam_a.log";
}

CCommonLogFile::CCommonLogFile() { Start(CTime::GetCurrentTime()); }

CCommonLogFile::CCommonLogFile(const CTime& stamp) { Start(stamp); }

void CCommonLogFile::Start(const CTime& stamp) {
    const CString path = GetLogPath();
    if (path.IsEmpty()) return;
    if (!Open(path, modeWrite | modeCreate | modeNoTruncate | typeText | shareDenyWrite)) return;
    Seek(0, end);
    // An invalid time throws the framework's exception, as formatting it does.
    CStdioFile::WriteString(stamp.Format(L"%Y/%m/%d %H:%M:%S\n"));
}

CCommonLogFile::~CCommonLogFile() {
    if (!m_pStream) return;
    try {
        Close();
    } catch (CException* e) {
        e->Delete();  // a destructor cannot report it
    }
}

void CCommonLogFile::WriteString(const wchar_t* text) {
    if (!m_pStream || !text) return;
    CStdioFile::WriteString(text);
}
