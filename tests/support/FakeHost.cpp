#include "support/FakeHost.h"

FakeHost::FakeHost(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
    for (const auto& a : answers) Answer(a.first, a.second);
}

void FakeHost::Answer(const CString& command, const CString& answer) {
    m_answers[command.str()] = answer;
}

void FakeHost::LoadTable(const std::string& utf8Text) {
    size_t pos = 0;
    while (pos < utf8Text.size()) {
        size_t end = utf8Text.find('\n', pos);
        if (end == std::string::npos) end = utf8Text.size();
        std::string line = utf8Text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        Answer(CString(line.substr(0, tab).c_str()), CString(line.substr(tab + 1).c_str()));
    }
}

void FakeHost::Fail(const CString& command) { m_failing.insert(command.str()); }

CString FakeHost::Execute(LPCTSTR command) {
    const CString cmd(command);
    m_commands.push_back(cmd);
    if (m_failing.count(cmd.str())) AfxThrowOleDispatchException(0, L"host call failed");
    const auto it = m_answers.find(cmd.str());
    return it == m_answers.end() ? CString() : it->second;
}

std::vector<CString> FakeHost::Queries() const {
    std::vector<CString> q;
    for (const auto& c : m_commands)
        if (c.Left(2) == L"? ") q.push_back(c);
    return q;
}

int FakeHost::QueryCount() const { return static_cast<int>(Queries().size()); }
