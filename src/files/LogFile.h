// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCommonLogFile: appends lines to "zcam_a.log" on the user's desktop, starting with a
/// time stamp line.
#include "platform/File.h"

/// The applications' log on the desktop, opened for appending.
class ZCMCOM_API CCommonLogFile : public CStdioFile {
public:
    /// Opens the log (text mode, created when missing, appended otherwise) and writes the
    /// current local time as "%Y/%m/%d %H:%M:%S\n".
    CCommonLogFile();
    /// The same with a given time stamp.
    explicit CCommonLogFile(const CTime& stamp);
    ~CCommonLogFile() override;

    /// Appends the text as it is (the caller supplies line ends); nothing when the log
    /// could not be opened.
    void WriteString(const wchar_t* text) override;

    /// The log's path: the desktop folder followed by "/zcam_a.log".
    static CString GetLogPath();

private:
    void Start(const CTime& stamp);
};
