// SPDX-License-Identifier: LGPL-3.0-or-later
#include "appenv/CommonApps.h"

#include <fstream>
#include <tuple>

#include "platform/RegistryValues.h"
#include "platform/Wnd.h"
#include "support/TempRegistry.h"

namespace {

using A = CCommonApps;
const A::APPID kUnknown = static_cast<A::APPID>(4);

CString HandleText(HWND h) {
    return CString(std::to_string(reinterpret_cast<uintptr_t>(h)).c_str());
}

// The install path an application reports, or "none" (then `path` must be left alone).
CString InstallPath(A::APPID id) {
    CString path = L"before";
    if (A::GetAppInstallPath(id, path)) return path;
    return path == L"before" ? CString(L"none") : L"changed: " + path;
}

class CommonApps : public ::testing::Test {
protected:
    TempRegistry reg;
};

TEST_F(CommonApps, InstallPathMustNameAnExistingFile) {
    EXPECT_EQ(CString(L"none"), InstallPath(A::APPID_ZENTACAM));  // no store at all
    const std::string exe = reg.dir().File("zentacam.bin");
    std::ofstream(exe) << "x";
    const std::wstring file = CString(exe.c_str()).GetString(),
                       folder = CString(reg.dir().path().c_str()).GetString();
    const std::wstring via = L"SOFTWARE\\Orvana\\Zentavia\\12.0\\General";
    const std::wstring pix = L"SOFTWARE\\Orvana\\Zentapix\\9.0\\General";
    WriteText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", L"ZntCamPath", file);
    EXPECT_EQ(CString(file.c_str()), InstallPath(A::APPID_ZENTACAM));
    // Other applications have their own value names; the user hive does not count.
    WriteText(HKEY_CURRENT_USER, via, L"ZntViaPath", file);
    WriteText(HKEY_LOCAL_MACHINE, via, L"ZntCamPath", file);
    EXPECT_EQ(CString(L"none"), InstallPath(A::APPID_ZENTAVIA));
    WriteText(HKEY_LOCAL_MACHINE, via, L"ZntViaPath", file);
    EXPECT_EQ(CString(file.c_str()), InstallPath(A::APPID_ZENTAVIA));
    // A file that has gone, a folder and an empty text are no install path.
    remove(exe.c_str());
    EXPECT_EQ(CString(L"none"), InstallPath(A::APPID_ZENTACAM));
    for (const std::wstring& bad : {folder, std::wstring()}) {
        WriteText(HKEY_LOCAL_MACHINE, pix, L"ZntpixPath", bad);
        EXPECT_EQ(CString(L"none"), InstallPath(A::APPID_ZENTAPIX));
    }
    EXPECT_EQ(CString(L"none"), InstallPath(kUnknown));
}

TEST_F(CommonApps, MainWindowWhileItExistsAndExchangeValuesWrittenAndDeleted) {
    CWnd wnd, other;
    ASSERT_TRUE(wnd.Create());
    other.Create();
    EXPECT_EQ(
        (std::tuple{A::GetAppMainWnd(A::APPID_ZENTAVIA),
                    A::SetAppExchangeRegistry(A::APPID_ZENTAVIA, L"hWnd", HandleText(wnd.m_hWnd)),
                    A::GetAppMainWnd(A::APPID_ZENTAVIA), A::GetAppMainWnd(A::APPID_ZENTACAM)}),
        (std::tuple{HWND(nullptr), 1, wnd.m_hWnd, HWND(nullptr)}));
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, A::GetAppMainWnd(A::APPID_ZENTAVIA));
    for (const CString& bad : {CString(L"abc"), HandleText(other.m_hWnd) + L"x", CString(L""),
                               CString(L"-1"), CString(L"99999999999999999999999")}) {
        A::SetAppExchangeRegistry(A::APPID_ZENTAVIA, L"hWnd", bad);
        EXPECT_EQ(nullptr, A::GetAppMainWnd(A::APPID_ZENTAVIA)) << bad.ToUtf8();
    }
    A::SetAppExchangeRegistry(A::APPID_ZENTAVIA, L"hWnd", L" " + HandleText(other.m_hWnd) + L" ");
    EXPECT_EQ(std::pair(A::GetAppMainWnd(A::APPID_ZENTAVIA), A::GetAppMainWnd(kUnknown)),
              std::pair(other.m_hWnd, HWND(nullptr)));
    EXPECT_EQ(1, A::SetAppExchangeRegistry(A::APPID_ZENTAPIX, L"Last", L"/tmp/a.fits"));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentapix\\9.0\\Exchange", 0,
                            KEY_READ, &h));
    // Deleted by a null text; deleting what is not there still reports the key as opened.
    EXPECT_EQ((std::tuple{
                  Text(h, L"Last"), A::SetAppExchangeRegistry(A::APPID_ZENTAPIX, L"Last", nullptr),
                  Text(h, L"Last"), A::SetAppExchangeRegistry(A::APPID_ZENTAPIX, L"Last", nullptr),
                  A::SetAppExchangeRegistry(kUnknown, L"x", L"y")}),
              (std::tuple{std::wstring(L"/tmp/a.fits"), 1, std::wstring(L"error 2"), 1, 0}));
    RegCloseKey(h);
    // A damaged store: the key cannot be opened.
    std::ofstream(reg.userFile(), std::ios::trunc) << std::string(3000, 'q');
    EXPECT_EQ(0, A::SetAppExchangeRegistry(A::APPID_ZENTAPIX, L"x", L"y"));
}

}  // namespace
