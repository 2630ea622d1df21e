// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom follow --stellarium [URL]: watches Stellarium's selection and prints the click
// text of each object newly selected there.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "Command.h"
#include "HostCommand.h"
#include "clickdata/ZntClickData.h"
#include "hosts/stellarium/StellariumHost.h"

namespace {

struct FollowOptions {
    HostOptions host;
    double interval = 0.5;
    int count = 0;
    bool pinned = false;
};

int RunFollow(FollowOptions& o) {
    if (o.host.stellarium.empty()) o.host.stellarium = kDefaultStellariumUrl;
    if (!(o.interval >= 0.05 && o.interval <= 3600))
        return UsageError("--interval must be 0.05 to 3600 seconds");
    if (const int rc = CheckStellariumOptions(o.host); rc >= 0) return rc;
    CCdStatus status;
    if (const int rc = ApplySettings(o.host, status); rc >= 0) return rc;
    CStellariumHost stellarium(CString(o.host.stellarium.c_str()));
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString last;
    std::string advice = StellariumAdvice(o.host.stellarium);  // until it has answered
    for (int shown = 0; o.count == 0 || shown < o.count;) {
        CString text, path;
        const int rc = CallLibrary(
            [&] {
                // The asked instant and site once; later moves in Stellarium are followed.
                if (!o.pinned) {
                    fprintf(stderr, "%s\n", PinStellarium(stellarium, o.host).c_str());
                    o.pinned = true;
                    advice.clear();
                }
                path = stellarium.SelectedPath();
                return path.IsEmpty() || path == last
                           ? CString()
                           : clickData.GetText(&stellarium, path, o.host.compact);
            },
            text, advice);
        if (rc >= 0) return rc;
        if (!path.IsEmpty() && path != last) {
            PrintLine(L"== " + path);
            WriteText(text);
            std::fflush(stdout);
            ++shown;
        }
        last = path;
        std::this_thread::sleep_for(std::chrono::duration<double>(o.interval));
    }
    return 0;
}

CommandRun DefineFollow(CLI::App& cmd) {
    auto o = std::make_shared<FollowOptions>();
    cmd.add_option(
           "--stellarium", o->host.stellarium,
           std::string("Stellarium's remote control (default ") + kDefaultStellariumUrl + ")")
        ->type_name("[URL]")
        ->expected(0, 1)
        ->required();
    cmd.add_flag("--compact", o->host.compact, "the short text (the name line)");
    cmd.add_option("--at", o->host.at,
                   "the instant, ISO 8601 (no offset: the site's zone); default Stellarium's")
        ->type_name("ISO-TIME");
    cmd.add_option("--site", o->host.site,
                   "LON,LAT[,HEIGHT] (degrees east, north, metres) or a town; default Stellarium's")
        ->type_name("LON,LAT[,H]|TOWN");
    cmd.add_option("--tz", o->host.tz, "the IANA time zone of the texts (default: the site's)")
        ->type_name("AREA/CITY");
    cmd.add_option("--settings", o->host.settings,
                   "switches: init, all, default, camera or registry")
        ->type_name("S")
        ->check(CLI::IsMember({"init", "all", "default", "camera", "registry"}));
    cmd.add_option("--interval", o->interval,
                   "seconds between looks at the selection (default 0.5)")
        ->check(Within(0.05, 3600.0));
    cmd.add_option("--count", o->count, "stop after this many texts (default: run until stopped)")
        ->check(CLI::Range(1, 1000000000));
    return [o] { return RunFollow(*o); };
}

const CommandRegistration kFollow(
    {"follow", "print the click text of each object selected in a running Stellarium",
     DefineFollow});

}  // namespace
