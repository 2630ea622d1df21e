// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Dialog.h"

#include <algorithm>
#include <cwchar>

void CEdit::SetWindowText(LPCTSTR text) {
    m_text = text ? text : L"";
    // Windows moves the caret to the start when the text is replaced.
    m_selStart = m_selEnd = 0;
}

int CEdit::GetWindowText(LPTSTR buffer, int maxChars) const {
    if (!buffer || maxChars <= 0) return 0;
    const int n = std::min(m_text.GetLength(), maxChars - 1);
    wmemcpy(buffer, m_text.GetString(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}

void CEdit::SetLimitText(UINT maxChars) { m_limit = maxChars ? maxChars : 30000; }

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    const int len = m_text.GetLength();
    if (start < 0) {  // -1: no selection, caret where it is
        m_selStart = m_selEnd;
        return;
    }
    if (end < 0 || end > len) end = len;
    start = std::min(start, len);
    if (start > end) std::swap(start, end);
    m_selStart = start;
    m_selEnd = end;
    if (!noScroll) ScrollCaret();
}

void CEdit::GetSel(int& start, int& end) const {
    start = m_selStart;
    end = m_selEnd;
}

CDialog::~CDialog() = default;

CEdit& CDialog::AddEdit(int id) {
    auto& slot = m_controls[id];
    if (!slot) {
        slot = std::make_unique<CEdit>();
        slot->Create();
    }
    return *slot;
}

CWnd* CDialog::GetDlgItem(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.get();
}

CEdit* CDataExchange::PrepareEditCtrl(int id) {
    return m_pDlgWnd ? dynamic_cast<CEdit*>(m_pDlgWnd->GetDlgItem(id)) : nullptr;
}
