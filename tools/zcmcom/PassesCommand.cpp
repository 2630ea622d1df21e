// zcmcom passes: the visible passes of a satellite over the site.
#include <cmath>
#include <cstdio>

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
    std::snprintf(text, sizeof text, "%s %5.1f %4.1f %s %-6s", DateTimeText(p.jd, zone).substr(11).c_str(),
                  p.azimuth, std::fabs(p.altitude) < 0.05 ? 0.0 : p.altitude, mag, p.sunlit ? "sunlit" : "shadow");
    return text;
}

int RunPasses(const std::vector<std::string>& args) {
    static const char* const kUsage =
        "usage: passes NAME [--days N] [--all] [--at ISO-TIME] [--site LON,LAT[,HEIGHT]] [--tle FILE]...";
    std::string name, at, site;
    std::vector<std::string> tle;
    double days = 1.0;
    bool all = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--days" && i + 1 < args.size()) {
            if (!ParseDouble(args[++i], days) || !(days > 0.0) || days > 366.0)
                return UsageError("bad --days '" + args[i] + "' (more than 0, at most 366)");
        } else if ((a == "--at" || a == "--site" || a == "--tle") && i + 1 < args.size()) {
            if (a == "--tle")
                tle.push_back(args[++i]);
            else
                (a == "--at" ? at : site) = args[++i];
        } else if (a == "--all") {
            all = true;
        } else if ((a.size() > 1 && a[0] == '-') || !name.empty()) {
            return UsageError(kUsage);
        } else {
            name = a;
        }
    }
    if (name.empty()) return UsageError(kUsage);
    const int rc = UseTleFiles(tle);
    if (rc >= 0) return rc;
    CSkyHost host;
    const std::string error = SetUpSkyHost(host, at, site);
    if (!error.empty()) return UsageError(error);
    const auto catalog = sky::Satellites();
    const sky::Elements* e = catalog->Find(name);
    if (!e) {
        std::fprintf(stderr, "zcmcom: no satellite '%s' (a catalogue number or a name)\n", name.c_str());
        return 1;
    }
    const double start = host.GetJd(), zone = host.GetTimezone();
    WarnIfOld(*e, start);
    const sky::Sgp4 model(*e);
    const double lon = std::stod(host.Execute(L"? Location.Longitude").ToUtf8());
    const double lat = std::stod(host.Execute(L"? Location.Latitude").ToUtf8());
    const double height = std::stod(host.Execute(L"? Location.Altitude").ToUtf8());
    const sky::Observer observer(sky::Site{lon, lat, height});
    const std::vector<sky::Pass> passes =
        sky::FindPasses(model, observer, start, start + days, catalog->StdMagnitude(e->number));
    std::printf("# %s (%d), elements of %s UTC; site %.3f %.3f %.0f m, zone %+g h\n", e->name.c_str(), e->number,
                DateTimeText(e->epochJd, 0.0).c_str(), lon, lat, height, zone);
    std::printf("# %s passes from %s over %g days; azimuth from the north, altitude in degrees\n",
                all ? "all" : "visible", DateTimeText(start, zone).c_str(), days);
    std::printf("# date      rise     az   alt  mag   light   culmination az alt  mag   light   set      az   alt  mag   light\n");
    if (model.InitError() == sky::kSgp4BadElements) std::fprintf(stderr, "zcmcom: the elements give no orbit\n");
    for (const sky::Pass& p : passes) {
        if (!all && !p.visible) continue;
        std::printf("%s  %s  %s  %s%s\n", DateTimeText(p.rise.jd, zone).substr(0, 10).c_str(),
                    PointText(p.rise, zone).c_str(), PointText(p.culmination, zone).c_str(),
                    PointText(p.set, zone).c_str(), all && p.visible ? "  visible" : "");
    }
    return 0;
}

const CommandRegistration kPasses({"passes", "passes NAME [--days N] [--all] [--at T] [--site S] [--tle FILE]",
                                   "visible passes of a satellite over the site (--all: every pass)", RunPasses});

}  // namespace
