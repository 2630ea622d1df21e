// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Dialogs as the data-exchange functions see them: a dialog holding edit controls by id,
/// and the exchange object that says in which direction values move.
///
/// Differences from Windows: nothing is drawn and there is no message loop. CEdit models
/// what an edit box keeps (its text, character limit, selection) and counts the requests
/// to scroll the caret into view; the text limit applies to what the user types, so
/// SetWindowText stores any text whole, as on Windows. CDialog owns its edit controls,
/// made on demand by AddEdit. CDataExchange has no Fail: the library's exchange functions
/// never reject input.
#include <map>
#include <memory>

#include "platform/String.h"
#include "platform/Wnd.h"

class ZCMCOM_API CEdit : public CWnd {
public:
    CEdit() = default;

    void SetWindowText(LPCTSTR text);
    void GetWindowText(CString& text) const { text = m_text; }
    /// Copies at most maxChars - 1 characters and a terminating zero; returns the count.
    int GetWindowText(LPTSTR buffer, int maxChars) const;
    int GetWindowTextLength() const { return m_text.GetLength(); }

    /// 0 means the default limit of an edit box.
    void SetLimitText(UINT maxChars);
    UINT GetLimitText() const { return m_limit; }

    /// Selection as character positions; end -1 means the end of the text. Kept inside
    /// the text, start <= end.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const { return MAKELONG(m_selStart, m_selEnd); }

    void ScrollCaret() { ++m_scrollRequests; }
    int GetScrollRequests() const { return m_scrollRequests; }

private:
    CString m_text;
    UINT m_limit = 30000;
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_scrollRequests = 0;
};

class ZCMCOM_API CDialog : public CWnd {
public:
    CDialog() = default;
    ~CDialog() override;

    /// The edit control with that id, made when it does not exist yet.
    CEdit& AddEdit(int id);
    CWnd* GetDlgItem(int id) const override;

private:
    std::map<int, std::unique_ptr<CEdit>> m_controls;
};

class ZCMCOM_API CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    /// The edit control of that id in the dialog, or null.
    CEdit* PrepareEditCtrl(int id);

    BOOL m_bSaveAndValidate;  ///< TRUE: from the controls to the variables
    CWnd* m_pDlgWnd;
};
