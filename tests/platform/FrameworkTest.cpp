// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Afx.h"
#include "res/LibraryResources.h"
#include "support/TestUtil.h"

// The library registers its string table when it is loaded.
static const HMODULE kLibrary = ZcmLibraryModule();

TEST(Exceptions, ThrownAsPointersWithCauseFileAndDescription) {
    ExpectThrows<CFileException>(
        [] { AfxThrowFileException(CFileException::diskFull, 28, L"/tmp/x.txt"); },
        [](CFileException* e) {
            EXPECT_EQ(std::tuple(e->m_cause, e->m_lOsError, e->m_strFileName),
                      std::tuple(CFileException::diskFull, 28L, CString(L"/tmp/x.txt")));
            EXPECT_NE(e->GetMessageText().Find(L"/tmp/x.txt"), -1);
        });
    EXPECT_EQ(CFileException::ErrnoToCause(ENOSPC), CFileException::diskFull);
    ExpectThrows<COleDispatchException>([] { AfxThrowOleDispatchException(3, L"script error", 9); },
                                        [](COleDispatchException* d) {
                                            UINT help = 0;
                                            wchar_t buf[4];
                                            EXPECT_TRUE(d->GetErrorMessage(buf, 4, &help));
                                            EXPECT_EQ(std::wstring(buf),
                                                      L"scr");  // cut to the buffer
                                            EXPECT_EQ(help, 9u);
                                        });
}

TEST(Arrays, GrowRemoveAndBadIndex) {
    CStringArray a;
    a.Add(L"one");
    a.InsertAt(0, L"zero");
    a.RemoveAt(1);
    a.SetAtGrow(3, L"three");  // grows with empty strings
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_TRUE(a[0] == L"zero" && a[1].IsEmpty() && a[3] == L"three");
    CArray<double> d;
    d.SetSize(2);
    EXPECT_EQ(d.GetUpperBound(), 1);
    ExpectThrows<CInvalidArgException>([&] { a.GetAt(5); });
    ExpectThrows<CInvalidArgException>([&] { d.RemoveAt(1, 2); });
}

TEST(Resources, MessageBoxesLibraryStringsAtLoadAndAnApplicationTableSearchedFirst) {
    AfxSetMessageBoxHandler(nullptr);
    for (auto [type, answer] : {std::pair<UINT, int>{MB_OK, IDOK},
                                {MB_YESNO | MB_ICONQUESTION, IDNO},
                                {MB_YESNOCANCEL, IDCANCEL},
                                {MB_OKCANCEL, IDCANCEL}})
        EXPECT_EQ(AfxMessageBox(L"sure?", type), answer) << type;
    MessageBoxRecorder boxes;
    boxes.answer = IDYES;
    EXPECT_EQ(AfxMessageBox(23108u, MB_YESNO), IDYES);
    EXPECT_EQ(boxes.shown, (std::vector<std::pair<CString, UINT>>{{L"ClickData", MB_YESNO}}));
    CString s;
    ASSERT_TRUE(s.LoadString(23108));
    EXPECT_EQ(s, CString(L"ClickData"));
    for (UINT id = 23102; id <= 23105; ++id) {
        ASSERT_TRUE(s.LoadString(id)) << id;
        EXPECT_NE(s.Find(L".example/products/"), -1) << id;
        EXPECT_EQ(s.Left(5) == L"https", (id % 2) == 1) << id;  // odd ids: production
    }
    EXPECT_FALSE(s.LoadString(1));
    EXPECT_EQ(GetModuleHandleW(L"ZCMCOM.DLL"), kLibrary);
    static const ZcmStringResource appStrings[] = {{23108, L"Override"}, {23001, L"Lock time?"}};
    static const BYTE blob[] = {1, 2, 3};
    static const ZcmBinaryResource appBinaries[] = {{L"METAFILE", 5, blob, 3}};
    HMODULE app = AfxRegisterResourceModule(L"app.exe", appStrings, 2, appBinaries, 1, true);
    CString t;
    EXPECT_TRUE(s.LoadString(23108) && t.LoadString(23001));
    EXPECT_TRUE(s == L"Override" && t == L"Lock time?");
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCE(5), L"metafile");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(app, r), 3u);
    EXPECT_EQ(static_cast<const BYTE*>(LockResource(LoadResource(app, r)))[2], 3);
    EXPECT_EQ(FindResourceW(app, L"#5", L"METAFILE"), r);
    EXPECT_EQ(FindResourceW(app, MAKEINTRESOURCE(6), L"METAFILE"), nullptr);
    wchar_t buf[5];
    EXPECT_EQ(LoadStringW(app, 23001, buf, 5), 4);
    EXPECT_EQ(std::wstring(buf), L"Lock");
    AfxUnregisterResourceModule(app);
    s.LoadString(23108);
    EXPECT_EQ(s, CString(L"ClickData"));
    EXPECT_FALSE(s.LoadString(23001));
}
