// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom apps: where the sibling applications are installed and which main window each
// has announced.
#include <CLI/CLI.hpp>

#include "Command.h"
#include "appenv/CommonApps.h"

namespace {

int RunApps() {
    const struct {
        CCommonApps::APPID id;
        const wchar_t* name;
    } apps[] = {
        {CCommonApps::APPID_ZENTAVIA, L"Zentavia"},
        {CCommonApps::APPID_ZENTACAM, L"Zentacam"},
        {CCommonApps::APPID_ZENTAPIX, L"Zentapix"},
    };
    for (const auto& app : apps) {
        CString path = L"-";
        CCommonApps::GetAppInstallPath(app.id, path);
        CString window = L"-";
        if (HWND h = CCommonApps::GetAppMainWnd(app.id))
            window.Format(L"%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
        CString line;
        line.Format(L"%d\t%s\t%s\t%s", static_cast<int>(app.id), app.name, path, window);
        PrintLine(line);
    }
    return 0;
}

CommandRun DefineApps(CLI::App&) { return RunApps; }

const CommandRegistration kApps({"apps",
                                 "id, name, install path and announced main window of each "
                                 "application (- for none)",
                                 DefineApps});

}  // namespace
