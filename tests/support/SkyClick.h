// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The click-data frame over the built-in sky: a host at one instant and site, the switches as
// Init sets them, and a frame that reads them. Header only: the support library links no sky.
#include <cmath>
#include <cwchar>
#include <string>

#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"

struct SkyClick {
    // timezone < -24: the host's own zone is kept.
    SkyClick(double jd, double lon, double lat, double height, double timezone = -99) : host(jd) {
        host.SetSite(lon, lat, height);
        if (timezone >= -24) host.SetTimezone(timezone);
        status.Init();
        click.SetStatus(&status);
    }
    std::string Text(const CString& path, int compact = 0) {
        return click.GetText(&host, path, compact).ToUtf8();
    }

    CSkyHost host;
    CCdStatus status;
    CZntClickData click;
};

// An answer as a number, none (empty or "*") as NaN; the answer to "? " + query so.
inline double NumberOf(const CString& answer) {
    return answer.IsEmpty() || answer == L"*" ? NAN : std::wcstod(answer.GetString(), nullptr);
}
inline double AskNumber(CSkyHost& host, const std::string& query) {
    return NumberOf(host.Execute(CString(("? " + query).c_str())));
}
