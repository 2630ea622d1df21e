// SPDX-License-Identifier: LGPL-3.0-or-later
#include "appenv/CommonApps.h"
#include "cli/Zcm.h"
#include "platform/RegistryValues.h"
#include "platform/Wnd.h"
#include "support/TempRegistry.h"

namespace {

TEST(CliDate, ParseWeekdayMonthLengthAndEosNames) {
    ExpectOutputs({{"date parse 'Sun BC100/3/4 5:06:07'", "-99 3 4 5 6 7\n"},
                   {"date dow 2000 1 1", "6 Saturday\n"},
                   {"date days 1500 2", "29\n"},
                   {"eos 'Canon EOS 200D II'", "Canon EOS Kiss X10\n"}});
    ExpectStatus(2, {"date", "date dow 2000 1", "date days x 2", "date when"});
}

TEST(CliApps, InstallPathsAndWindowsOfAnotherProcess) {
    TempRegistry reg;  // its variables reach the command through the environment
    const std::string exe = reg.dir().File("zentavia");
    WriteFileBytes(exe, "x");
    ASSERT_EQ(ERROR_SUCCESS,
              WriteText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvana\\Zentavia\\12.0\\General",
                        L"ZntViaPath", CString(exe.c_str()).GetString()));
    // This test process announces a window; the command runs in another process.
    CWnd wnd;
    wnd.Create();
    const std::string handle = std::to_string(reinterpret_cast<uintptr_t>(wnd.m_hWnd));
    CCommonApps::SetAppExchangeRegistry(CCommonApps::APPID_ZENTACAM, L"hWnd",
                                        CString(handle.c_str()));
    int status = -1;
    EXPECT_EQ("1\tZentavia\t" + exe + "\t-\n2\tZentacam\t-\t" + handle + "\n3\tZentapix\t-\t-\n",
              Zcm("apps", &status));
    EXPECT_EQ(0, status);
}

}  // namespace
