// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// A planetarium that answers from a table. Every command is recorded in order, so a test
// can check both the text a builder makes and the exact queries it sent.
#include <set>
#include <string>
#include <vector>

#include "host/TableHost.h"

class FakeHost : public CTableHost {
public:
    FakeHost() = default;
    FakeHost(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers);

    // The command raises the host exception (COleDispatchException) instead of answering.
    void Fail(const CString& command);
    // Answers every command again.
    void ClearFailures() { m_failing.clear(); }

    CString Execute(LPCTSTR command) override;

    // Commands that start with "? ".
    std::vector<CString> Queries() const;
    int QueryCount() const;

private:
    std::set<std::wstring> m_failing;
};
