// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CTableHost: a planetarium stand-in that answers queries from a table. It serves the
/// zcmcom command line (answers read from a file) and the tests, and keeps a log of every
/// command sent so a caller can see exactly what was asked, in order.
///
/// A command that is not in the table, and every statement, gets an empty answer.
#include <string>
#include <unordered_map>
#include <vector>

#include "host/CorZnt.h"

/// A host that answers from a table and logs the commands it was sent.
class ZCMCOM_API CTableHost : public CCorZnt {
public:
    CTableHost() = default;
    ~CTableHost() override;

    /// The answer to a command, matched exactly (case as sent).
    void Answer(const CString& command, const CString& answer);
    /// Reads "command<TAB>answer" lines of a UTF-8 text. Blank lines, lines starting with
    /// '#' and lines without a tab are skipped; a CR before the line feed is dropped; the
    /// answer is everything after the first tab. Returns the number of answers read.
    int LoadTable(const std::string& utf8Text);
    /// LoadTable on a file's contents (a pipe or FIFO too); 0 and nothing read when the
    /// file cannot be read, with errno set (EFBIG past kZcmMaxWholeBytes).
    BOOL LoadTableFile(const char* path);

    CString Execute(LPCTSTR command) override;

    /// The commands sent so far, in order (kept while recording is on).
    const std::vector<CString>& Commands() const { return m_commands; }
    /// Every command counts, recorded or not.
    long long CommandCount() const { return m_count; }
    /// Empties the log and resets the count.
    void ClearLog() {
        m_commands.clear();
        m_count = 0;
    }
    /// Off: commands are only counted (for long runs that would grow the log).
    void SetRecording(bool on) { m_bRecord = on; }

protected:
    /// Logs one command; derived hosts call it when they answer a command themselves.
    void Record(const CString& command);
    /// The table's answer, or an empty text.
    CString Lookup(const CString& command) const;

private:
    std::unordered_map<std::wstring, CString> m_answers;
    std::vector<CString> m_commands;
    long long m_count = 0;
    bool m_bRecord = true;
};
