#include <fstream>

#include "appenv/CommonApps.h"
#include "platform/Registry.h"
#include "platform/Wnd.h"
#include "support/TempRegistry.h"

namespace {

// The registry variables reach the child through the environment TempRegistry sets.
std::string Zcm(const std::string& args, int* status) {
    return RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>/dev/null", status);
}

TEST(CliDate, ParseWeekdayAndMonthLength) {
    int status = -1;
    EXPECT_EQ("-99 3 4 5 6 7\n", Zcm("date parse 'Sun BC100/3/4 5:06:07'", &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ("0 0 0 0 0 0\n", Zcm("date parse garbage", &status));
    EXPECT_EQ("6 Saturday\n", Zcm("date dow 2000 1 1", &status));
    EXPECT_EQ("29\n", Zcm("date days 1500 2", &status));
    EXPECT_EQ("0\n", Zcm("date days 2023 13", &status));
    for (const char* bad : {"date", "date dow 2000 1", "date days x 2", "date when"}) {
        Zcm(bad, &status);
        EXPECT_EQ(2, status) << bad;
    }
}

TEST(CliEos, JapaneseName) {
    int status = -1;
    EXPECT_EQ("Canon EOS Kiss X10\n", Zcm("eos 'Canon EOS 200D II'", &status));
    EXPECT_EQ("Canon EOS R5\n", Zcm("eos 'Canon EOS R5'", &status));
    EXPECT_EQ(0, status);
}

TEST(CliApps, InstallPathsAndWindowsOfAnotherProcess) {
    TempRegistry reg;
    const std::string exe = reg.dir().File("zentavia");
    std::ofstream(exe) << "x";
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                             L"SOFTWARE\\Orvana\\Zentavia\\12.0\\General", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr));
    const CString path(exe.c_str());
    RegSetValueExW(h, L"ZntViaPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.GetString()),
                   static_cast<DWORD>((path.GetLength() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    // This test process announces a window; the command runs in another process.
    CWnd wnd;
    wnd.Create();
    CString handle;
    handle.Format(L"%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(wnd.m_hWnd)));
    CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTACAM, L"hWnd", handle);
    int status = -1;
    EXPECT_EQ("1\tZentavia\t" + exe + "\t-\n2\tZentacam\t-\t" + handle.ToUtf8() +
                  "\n3\tZentapix\t-\t-\n",
              Zcm("apps", &status));
    EXPECT_EQ(0, status);
}

}  // namespace
