// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Wnd.h"

#include <unistd.h>

#include <thread>
#include <tuple>

#include "platform/Afx.h"
#include "platform/Dialog.h"
#include "support/TestUtil.h"

namespace {

class Recorder : public CWnd {
public:
    UINT last = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override {
        last = message;
        return 42;
    }
};

HWND Handle(unsigned long long value) { return reinterpret_cast<HWND>(uintptr_t(value)); }

TEST(WindowTable, WindowsUntilDestroyedAndForeignHandles) {
    Recorder w;
    EXPECT_EQ(nullptr, w.GetSafeHwnd());
    ASSERT_TRUE(w.Create());
    EXPECT_FALSE(w.Create());
    const HWND h = w.GetSafeHwnd();
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(&w, CWnd::FromHandle(h));
    EXPECT_EQ((std::tuple{SendMessageW(h, WM_USER + 1, 0, 0), UINT(w.last), bool(w.DestroyWindow()),
                          bool(w.DestroyWindow()), bool(IsWindow(h)), CWnd::FromHandle(h),
                          SendMessageW(h, WM_USER + 1, 0, 0)}),
              (std::tuple{42, static_cast<UINT>(WM_USER + 1), true, false, false, nullptr, 0}));
    ASSERT_TRUE(w.Create());  // a handle is never given out twice
    EXPECT_NE(h, w.GetSafeHwnd());
    EXPECT_FALSE(IsWindow(h));
    HWND gone;
    {
        CWnd scoped;
        scoped.Create();
        gone = scoped.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(gone));  // the destructor destroys
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(IsWindow(Handle(12345)));  // no process in it
    // Another process's handle counts while that process runs.
    EXPECT_TRUE(IsWindow(Handle((static_cast<unsigned long long>(getppid()) << 32) | 1)));
    EXPECT_FALSE(IsWindow(Handle((0x7ffffff0ULL << 32) | 1)));
}

TEST(WindowTable, MainWindowBelongsToTheCallingThread) {
    Recorder wnd;
    AfxGetThread()->m_pMainWnd = &wnd;
    EXPECT_EQ(AfxGetMainWnd(), &wnd);
    EXPECT_EQ(AfxGetMainWnd()->SendMessage(WM_USER + 0x325, 7, 0), 42);
    EXPECT_EQ(wnd.last, 0x725u);
    CWnd* other = &wnd;
    std::thread([&] { other = AfxGetMainWnd(); }).join();
    EXPECT_EQ(other, nullptr);
    AfxGetThread()->m_pMainWnd = nullptr;
}

TEST(EditModel, SelectionStaysInsideTheText) {
    CDialog dlg;
    CEdit& e = dlg.AddEdit(7);
    EXPECT_EQ(nullptr, dlg.GetDlgItem(8));
    auto sel = [&e] {
        int s, t;
        e.GetSel(s, t);
        return std::make_pair(s, t);
    };
    e.SetWindowText(L"hello");
    e.SetSel(4, 1);
    EXPECT_EQ(sel(), std::make_pair(1, 4));
    e.SetWindowText(L"hi");  // replacing the text puts the caret in front
    EXPECT_EQ(sel().second, 0);
    e.SetSel(9, -1);
    EXPECT_EQ(sel(), std::make_pair(2, 2));
}

}  // namespace
