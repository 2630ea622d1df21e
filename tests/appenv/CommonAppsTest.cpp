#include "appenv/CommonApps.h"

#include <fstream>

#include "platform/Registry.h"
#include "platform/Wnd.h"
#include "support/TempRegistry.h"

namespace {

class Apps : public CCommonApps {
public:
    using CCommonApps::GetAppRegKeyPath;
};

void SetMachineText(const wchar_t* key, const wchar_t* name, const CString& text) {
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &h, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                             static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t))));
    RegCloseKey(h);
}

CString HandleText(HWND h) {
    CString s;
    s.Format(L"%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
    return s;
}

class CommonApps : public ::testing::Test {
protected:
    TempRegistry reg;
};

TEST_F(CommonApps, KeyPaths) {
    CString key = L"unchanged";
    EXPECT_EQ(1, Apps::GetAppRegKeyPath(CCommonApps::APPID_ZENTAVIA, key));
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\"), key);
    EXPECT_EQ(1, Apps::GetAppRegKeyPath(CCommonApps::APPID_ZENTACAM, key));
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentacam\\3.0\\"), key);
    EXPECT_EQ(1, Apps::GetAppRegKeyPath(CCommonApps::APPID_ZENTAPIX, key));
    EXPECT_EQ(CString(L"SOFTWARE\\Orvana\\Zentapix\\9.0\\"), key);
    key = L"unchanged";
    EXPECT_EQ(0, Apps::GetAppRegKeyPath(static_cast<CCommonApps::APPID>(4), key));
    EXPECT_EQ(0, Apps::GetAppRegKeyPath(static_cast<CCommonApps::APPID>(0), key));
    EXPECT_EQ(CString(L"unchanged"), key);
}

TEST_F(CommonApps, InstallPathMustNameAnExistingFile) {
    CString path = L"before";
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTACAM, path));  // no store
    const std::string exe = reg.dir().File("zentacam.bin");
    std::ofstream(exe) << "x";
    SetMachineText(L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", L"ZntCamPath", CString(exe.c_str()));
    EXPECT_EQ(1, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTACAM, path));
    EXPECT_EQ(CString(exe.c_str()), path);
    // Other applications have their own value names.
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTAVIA, path));
    SetMachineText(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\General", L"ZntCamPath", CString(exe.c_str()));
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTAVIA, path));
    SetMachineText(L"SOFTWARE\\Orvana\\Zentavia\\12.0\\General", L"ZntViaPath", CString(exe.c_str()));
    EXPECT_EQ(1, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTAVIA, path));

    path = L"before";
    remove(exe.c_str());
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTACAM, path));
    EXPECT_EQ(CString(L"before"), path);
    // A folder, an empty text and a user-hive value are no install path.
    SetMachineText(L"SOFTWARE\\Orvana\\Zentapix\\9.0\\General", L"ZntpixPath",
                   CString(reg.dir().path().c_str()));
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTAPIX, path));
    SetMachineText(L"SOFTWARE\\Orvana\\Zentapix\\9.0\\General", L"ZntpixPath", CString());
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(CCommonApps::APPID_ZENTAPIX, path));
    EXPECT_EQ(0, CCommonApps::GetAppInstallPath(static_cast<CCommonApps::APPID>(4), path));
    EXPECT_EQ(CString(L"before"), path);
}

TEST_F(CommonApps, MainWindowOnlyWhileItExists) {
    CWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(nullptr, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTAVIA));
    EXPECT_EQ(1, CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAVIA, L"hWnd",
                                                     HandleText(wnd.m_hWnd)));
    EXPECT_EQ(wnd.m_hWnd, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTAVIA));
    EXPECT_EQ(nullptr, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTACAM));
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTAVIA));

    CWnd other;
    other.Create();
    for (const CString& bad : {CString(L"abc"), HandleText(other.m_hWnd) + L"x", CString(L""),
                               CString(L"-1"), CString(L"99999999999999999999999")}) {
        CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAVIA, L"hWnd", bad);
        EXPECT_EQ(nullptr, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTAVIA)) << bad.ToUtf8();
    }
    CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAVIA, L"hWnd",
                                        L" " + HandleText(other.m_hWnd) + L" ");
    EXPECT_EQ(other.m_hWnd, CCommonApps::GetAppMainWnd(CCommonApps::APPID_ZENTAVIA));
    EXPECT_EQ(nullptr, CCommonApps::GetAppMainWnd(static_cast<CCommonApps::APPID>(4)));
}

TEST_F(CommonApps, ExchangeValuesAreWrittenAndDeleted) {
    EXPECT_EQ(1, CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAPIX, L"Last",
                                                     L"/tmp/a.fits"));
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER,
                                           L"SOFTWARE\\Orvana\\Zentapix\\9.0\\Exchange", 0,
                                           KEY_READ, &h));
    wchar_t buffer[64];
    DWORD size = sizeof buffer, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"Last", nullptr, &type,
                                              reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_STREQ(L"/tmp/a.fits", buffer);
    EXPECT_EQ(1, CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAPIX, L"Last", nullptr));
    size = sizeof buffer;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(h, L"Last", nullptr, &type,
                                                     reinterpret_cast<BYTE*>(buffer), &size));
    RegCloseKey(h);
    // Deleting what is not there still reports the key as opened.
    EXPECT_EQ(1, CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAPIX, L"Last", nullptr));
    EXPECT_EQ(0, CCommonApps::SetAppExchangeRegistry(static_cast<CCommonApps::APPID>(4), L"x", L"y"));
    // A damaged store: the key cannot be opened.
    std::ofstream(reg.userFile(), std::ios::trunc) << std::string(3000, 'q');
    EXPECT_EQ(0, CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTAPIX, L"x", L"y"));
}

}  // namespace
