// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CWnd: a window as the library sees it, something to send messages to.
///
/// Differences from Windows: there is no windowing system behind it. SendMessage is
/// virtual and calls WindowProc, so an application (or a test) derives a window that
/// handles or records the messages it is sent; the base class answers 0.
/// Create gives the object a handle and enters it in the process's window table;
/// DestroyWindow (or the destructor) takes it out, after which IsWindow is false for that
/// handle. Handles are never reused. A handle carries the id of the process that made it:
/// IsWindow on another process's handle can only tell whether that process still runs.
#include "platform/Object.h"

/// @name Messages
/// @{

/// Messages: the first of the application's own (WM_USER and above), the close request,
/// and the system command with SC_CLOSE, which other applications send to ask a window to
/// close.
#define WM_USER 0x0400
#define WM_CLOSE 0x0010
#define WM_SYSCOMMAND 0x0112
#define SC_CLOSE 0xF060
/// @}

/// A window: a handle in the process's window table and a message procedure.
class ZCMCOM_API CWnd : public CObject {
public:
    /// A window object without a handle yet.
    CWnd() = default;
    /// Withdraws the handle, as DestroyWindow.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    /// Gives the window its handle; FALSE when it already has one.
    virtual BOOL Create(LPCTSTR className = nullptr, LPCTSTR windowName = nullptr);
    /// Withdraws the handle; FALSE when the window had none.
    virtual BOOL DestroyWindow();

    /// Calls WindowProc with the message and returns its result.
    virtual LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    /// The handle, nullptr before Create and after DestroyWindow.
    HWND GetSafeHwnd() const { return m_hWnd; }
    /// A child control by id (dialogs override it); null here.
    virtual CWnd* GetDlgItem(int id) const;

    /// The window object of a handle of this process, or null.
    static CWnd* FromHandle(HWND hWnd);

    /// The handle, nullptr when there is none.
    HWND m_hWnd = nullptr;

protected:
    /// Handles a message; the base class answers 0. Derived windows override it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
};

/// TRUE while hWnd names a window that exists (see above for other processes' handles).
ZCMCOM_API BOOL IsWindow(HWND hWnd);
/// Sends to a window of this process; 0 when the handle is no window here.
ZCMCOM_API LRESULT SendMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
