// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/TableHost.h"

#include "platform/EncodedStream.h"

CTableHost::~CTableHost() = default;

void CTableHost::Answer(const CString& command, const CString& answer) {
    m_answers[command.str()] = answer;
}

int CTableHost::LoadTable(const std::string& utf8Text) {
    int n = 0;
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
        ++n;
    }
    return n;
}

BOOL CTableHost::LoadTableFile(const char* path) {
    std::string text;
    if (!ZcmReadFile(path, text, kZcmMaxWholeBytes)) return FALSE;
    LoadTable(text);
    return TRUE;
}

void CTableHost::Record(const CString& command) {
    ++m_count;
    if (m_bRecord) m_commands.push_back(command);
}

CString CTableHost::Lookup(const CString& command) const {
    const auto it = m_answers.find(command.str());
    return it == m_answers.end() ? CString() : it->second;
}

CString CTableHost::Execute(LPCTSTR command) {
    const CString cmd(command ? command : L"");
    Record(cmd);
    return Lookup(cmd);
}
