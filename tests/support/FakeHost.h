#pragma once
// A planetarium that answers from a table. Every command is recorded in order, so a test
// can check both the text a builder makes and the exact queries it sent.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/CorZnt.h"

class FakeHost : public CCorZnt {
public:
    FakeHost() = default;
    FakeHost(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers);

    // The answer to a command, matched exactly (case as sent). Unknown commands answer "".
    void Answer(const CString& command, const CString& answer);
    // Answers read from "query<TAB>answer" lines of a UTF-8 text ('#' starts a comment).
    void LoadTable(const std::string& utf8Text);
    // The command raises the host exception (COleDispatchException) instead of answering.
    void Fail(const CString& command);

    CString Execute(LPCTSTR command) override;

    const std::vector<CString>& Commands() const { return m_commands; }
    // Commands that start with "? ".
    std::vector<CString> Queries() const;
    int QueryCount() const;
    void ClearLog() { m_commands.clear(); }

private:
    std::map<std::wstring, CString> m_answers;
    std::set<std::wstring> m_failing;
    std::vector<CString> m_commands;
};
