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

/// An edit box: its text, its character limit, its selection.
class ZCMCOM_API CEdit : public CWnd {
public:
    /// An empty edit box with the default limit (30000 characters).
    CEdit() = default;

    /// Replaces the text (nullptr: empty), whatever its length; the selection goes to its
    /// start.
    void SetWindowText(LPCTSTR text);
    /// The text.
    void GetWindowText(CString& text) const { text = m_text; }
    /// Copies at most maxChars - 1 characters and a terminating zero; returns the count.
    int GetWindowText(LPTSTR buffer, int maxChars) const;
    /// The length of the text in characters.
    int GetWindowTextLength() const { return m_text.GetLength(); }

    /// The most characters a user may type; 0 sets the default limit of an edit box.
    /// @{
    void SetLimitText(UINT maxChars);
    UINT GetLimitText() const { return m_limit; }
    /// @}

    /// Selection as character positions; end -1 means the end of the text. Kept inside
    /// the text, start <= end.
    /// The packed form has the start in the low word and the end in the high word. noScroll
    /// is ignored.
    /// @{
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const { return MAKELONG(m_selStart, m_selEnd); }
    /// @}

    /// Asks to scroll the caret into view; GetScrollRequests counts the requests (for tests).
    /// @{
    void ScrollCaret() { ++m_scrollRequests; }
    int GetScrollRequests() const { return m_scrollRequests; }
    /// @}

private:
    CString m_text;
    UINT m_limit = 30000;
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_scrollRequests = 0;
};

/// A dialog: the edit controls it holds, by id.
class ZCMCOM_API CDialog : public CWnd {
public:
    /// A dialog without controls.
    CDialog() = default;
    /// Destroys its controls.
    ~CDialog() override;

    /// The edit control with that id, made when it does not exist yet.
    CEdit& AddEdit(int id);
    /// The control with that id, or nullptr.
    CWnd* GetDlgItem(int id) const override;

private:
    std::map<int, std::unique_ptr<CEdit>> m_controls;
};

/// The direction of one data exchange between a dialog's controls and its variables, for
/// the DDX_ functions.
class ZCMCOM_API CDataExchange {
public:
    /// An exchange with dialog; saveAndValidate TRUE reads the controls into the variables,
    /// FALSE shows the variables in the controls.
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    /// The edit control of that id in the dialog, or null.
    CEdit* PrepareEditCtrl(int id);

    BOOL m_bSaveAndValidate;  ///< TRUE: from the controls to the variables
    CWnd* m_pDlgWnd;          ///< the dialog
};
