// SPDX-License-Identifier: LGPL-3.0-or-later
// The instant, site and zone that click --stellarium and follow --stellarium give
// Stellarium, whatever its own settings are.
#include <strings.h>

#include <cmath>
#include <cstdio>

#include "Command.h"
#include "HostCommand.h"
#include "SkyOptions.h"
#include "hosts/stellarium/StellariumHost.h"
#include "sky/SkyHost.h"
#include "zvacl/zvacl.h"

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

}  // namespace

int CheckStellariumOptions(const HostOptions& o) {
    const std::string& url = o.stellarium;
    if (url.size() <= 7 || strncasecmp(url.c_str(), "http://", 7) != 0)
        return UsageError("--stellarium takes an http:// URL, not '" + url + "'");
    CSkyHost sky;
    const std::string error = SetUpSkyHost(sky, o.at, o.site, o.tz, false);
    return error.empty() ? -1 : UsageError(error);
}

std::string StellariumAdvice(const std::string& url) {
    return "is Stellarium running with its Remote Control plugin enabled and serving " + url +
           "? Start it so (Configuration, Plugins, Remote Control: load at startup, enable "
           "the server), or give the address it serves with --stellarium http://HOST:PORT";
}

std::string PinStellarium(CStellariumHost& host, const HostOptions& o) {
    // Without --site, Stellarium's own, as it shows it now.
    std::string site = o.site;
    if (site.empty()) {
        host.Invalidate();
        site = Format("%.6f,%.6f,%.1f", _wtof(host.Execute(L"? Location.Longitude")),
                      _wtof(host.Execute(L"? Location.Latitude")),
                      _wtof(host.Execute(L"? Location.Altitude")));
    }
    // The built-in sky reads the options as for its own texts: the zone is --tz, else the
    // site's on the map, and an --at without an offset is read in it.
    CSkyHost sky;
    SetUpSkyHost(sky, o.at, site, o.tz, false);  // checked before
    // Without --at, the instant Stellarium shows; its clock stops there either way.
    if (o.at.empty()) sky.SetJd(host.GetJd());
    const double jd = sky.GetJd(), zone = sky.GetTimezone();
    double lon = 0.0, lat = 0.0, height = 0.0;
    ReadSite(site, &lon, &lat, &height);
    std::string statement;
    if (!o.site.empty())
        statement = Format("Location.Longitude = %.8f; Location.Latitude = %.8f; ", lon, lat) +
                    Format("Location.Altitude = %.1f; ", height);
    statement += Format("Time.JD = %.9f; Time.Timezone = %.6g", jd, zone);
    host.Execute(CString(statement.c_str()));
    tagADATE d{};
    JdToDate2(jd + 0.5 / 86400.0, &d);
    char line[256];
    std::snprintf(line, sizeof line,
                  "# Stellarium at %s: %s site %.6f E, %.6f N, %.0f m; "
                  "%04d-%02d-%02dT%02d:%02d:%02dZ (JD %.6f); zone UTC%+g",
                  o.stellarium.c_str(), o.site.empty() ? "its own" : "the asked", lon, lat, height,
                  d.year, d.month, d.day, d.hour, d.minute, static_cast<int>(std::floor(d.second)),
                  jd, zone);
    return line;
}
