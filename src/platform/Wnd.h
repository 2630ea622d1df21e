#pragma once
// CWnd: a window as the library sees it, something to send messages to.
//
// Differences from Windows: there is no windowing system behind it. SendMessage is
// virtual and calls WindowProc, so an application (or a test) derives a window that
// handles or records the messages it is sent; the base class answers 0.
#include "platform/Object.h"

#define WM_USER 0x0400

class ZCMCOM_API CWnd : public CObject {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    virtual LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
};
