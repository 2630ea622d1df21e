// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom passes: the visible passes of a satellite over the site.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "SatelliteOptions.h"
#include "SkyOptions.h"
#include "sky/SkyHost.h"
#include "sky/satellites/Passes.h"
#include "sky/satellites/SatelliteCatalog.h"

namespace {

std::string PointText(const sky::PassPoint& p, double zone) {
    char mag[16] = "   --";
    if (std::isfinite(p.magnitude)) std::snprintf(mag, sizeof mag, "%5.1f", p.magnitude);
    char text[96];
    std::snprintf(text, sizeof text, "%s %5.1f %4.1f %s %-6s",
                  DateTimeText(p.jd, zone).substr(11).c_str(), p.azimuth,
                  std::fabs(p.altitude) < 0.05 ? 0.0 : p.altitude, mag,
                  p.sunlit ? "sunlit" : "shadow");
    return text;
}

struct PassesArgs {
    std::string name, at, site, tz;
    std::vector<std::string> tle;
    double days = 1.0;
    bool all = false;
};

int RunPasses(const PassesArgs& a) {
    if (const int rc = UseTleFiles(a.tle); rc >= 0) return rc;
    CSkyHost host;
    const std::string error = SetUpSkyHost(host, a.at, a.site, a.tz, false);
    if (!error.empty()) return UsageError(error);
    const std::string& name = a.name;
    const double days = a.days;
    const bool all = a.all;
    const auto catalog = sky::Satellites();
    const sky::Elements* e = catalog->Find(name);
    if (!e) return UnknownObjectError("no satellite '" + name + "' (a catalogue number or a name)");
    const double start = host.GetJd(), zone = host.GetTimezone();
    e = catalog->At(e->number, start);
    WarnIfOld(*e, start);
    const sky::Sgp4 model(*e);
    const double lon = std::stod(host.Execute(L"? Location.Longitude").ToUtf8());
    const double lat = std::stod(host.Execute(L"? Location.Latitude").ToUtf8());
    const double height = std::stod(host.Execute(L"? Location.Altitude").ToUtf8());
    const sky::Observer observer(sky::Site{lon, lat, height});
    const std::vector<sky::Pass> passes =
        sky::FindPasses(model, observer, start, start + days, catalog->StdMagnitude(e->number));
    std::printf("# %s (%d), elements of %s UTC; site %.3f %.3f %.0f m, zone %+g h\n",
                e->name.c_str(), e->number, DateTimeText(e->epochJd, 0.0).c_str(), lon, lat, height,
                zone);
    std::printf("# %s passes from %s over %g days; azimuth from the north, altitude in degrees\n",
                all ? "all" : "visible", DateTimeText(start, zone).c_str(), days);
    std::printf(
        "# date      rise     az   alt  mag   light   culmination az alt  mag   light   set      "
        "az   alt  mag   light\n");
    if (model.InitError() == sky::kSgp4BadElements)
        std::fprintf(stderr, "zcmcom: the elements give no orbit\n");
    int shown = 0;
    for (const sky::Pass& p : passes) {
        if (!all && !p.visible) continue;
        ++shown;
        std::printf("%s  %s  %s  %s%s\n", DateTimeText(p.rise.jd, zone).substr(0, 10).c_str(),
                    PointText(p.rise, zone).c_str(), PointText(p.culmination, zone).c_str(),
                    PointText(p.set, zone).c_str(), all && p.visible ? "  visible" : "");
    }
    if (shown == 0) std::printf("# no %spass in these %g days\n", all ? "" : "visible ", days);
    return 0;
}

CommandRun DefinePasses(CLI::App& cmd) {
    auto a = std::make_shared<PassesArgs>();
    cmd.add_option("NAME", a->name,
                   "the satellite: catalogue number, name (ISS (ZARYA)) or short name (ISS)")
        ->required();
    cmd.add_option("--days", a->days, "how many days from the start (default 1)")
        ->check(Within(0.001, 366.0));
    cmd.add_flag("--all", a->all, "every pass, not only the visible ones");
    cmd.add_option("--at", a->at, "the start, ISO 8601 (no offset: the site's zone); default now")
        ->type_name("ISO-TIME");
    cmd.add_option("--site", a->site,
                   "LON,LAT[,HEIGHT] (degrees east, north, metres) or a town: Tokyo, London,GB")
        ->type_name("LON,LAT[,H]|TOWN");
    cmd.add_option(
           "--tz", a->tz,
           "the site's IANA time zone (default: the nearest town's that agrees with the map)")
        ->type_name("AREA/CITY");
    AddTleOption(cmd, a->tle);
    return [a] { return RunPasses(*a); };
}

const CommandRegistration kPasses(
    {"passes", "visible passes of a satellite over the site (--all: every pass)", DefinePasses});

}  // namespace
