// SPDX-License-Identifier: LGPL-3.0-or-later
#include "support/FakeHost.h"

FakeHost::FakeHost(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
    for (const auto& a : answers) Answer(a.first, a.second);
}

void FakeHost::Fail(const CString& command) { m_failing.insert(command.str()); }

CString FakeHost::Execute(LPCTSTR command) {
    const CString cmd(command);
    if (m_failing.count(cmd.str())) {
        Record(cmd);
        AfxThrowOleDispatchException(0, L"host call failed");
    }
    return CTableHost::Execute(command);
}

std::vector<CString> FakeHost::Queries() const {
    std::vector<CString> q;
    for (const auto& c : Commands())
        if (c.Left(2) == L"? ") q.push_back(c);
    return q;
}

int FakeHost::QueryCount() const { return static_cast<int>(Queries().size()); }
