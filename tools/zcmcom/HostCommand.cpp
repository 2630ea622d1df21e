// SPDX-License-Identifier: LGPL-3.0-or-later
#include "HostCommand.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "FrameOptions.h"
#include "SatelliteOptions.h"
#include "SkyOptions.h"
#include "dirode/Registry.h"

void DefineHostOptions(CLI::App& cmd, HostOptions& o, bool allowCompact, bool allowSky) {
    if (allowCompact) cmd.add_flag("--compact", o.compact, "the short text (the name line)");
    cmd.add_option("--settings", o.settings,
                   "switches: init, all (init and the later lines), default, camera or registry "
                   "(saved ones); "
                   "without: the saved ones when there are any, else init")
        ->type_name("S")
        ->check(CLI::IsMember({"init", "all", "default", "camera", "registry"}));
    cmd.add_flag("--trace", o.trace, "show every query sent to the host on standard error");
    CLI::Option* host =
        cmd.add_option("--host", o.file, "answer from FILE's \"query<TAB>answer\" lines")
            ->type_name("FILE");
    if (allowSky) {
        std::vector<CLI::Option*> sky{
            cmd.add_option("--at", o.at,
                           "the instant, ISO 8601 (no offset: the site's zone); default now")
                ->type_name("ISO-TIME"),
            cmd.add_option(
                   "--site", o.site,
                   "LON,LAT[,HEIGHT] (degrees east, north, metres) or a town: Tokyo, London,GB")
                ->type_name("LON,LAT[,H]|TOWN"),
            cmd.add_option("--point", o.point, "RA_H,DEC: the point \"Equatorial\" names (J2000)")
                ->type_name("RA_H,DEC"),
            cmd.add_option("--tz", o.tz,
                           "the site's IANA time zone (default: the nearest town's that agrees "
                           "with the map)")
                ->type_name("AREA/CITY")};
        for (CLI::Option* frame : AddFrameOptions(cmd, o)) sky.push_back(frame);
        sky.push_back(AddElementsOption(cmd, o.elements));
        sky.push_back(AddTleOption(cmd, o.tle));
        for (CLI::Option* option : sky) option->excludes(host);
    } else {
        host->required();
    }
    cmd.add_option(
           "PATH", o.path,
           allowSky ? "object path, or a name the built-in sky knows (see find)" : "object path")
        ->required();
}

namespace {

// Whether the click-data switches were ever saved (any one value stands for them all,
// since they are saved together).
bool HaveSavedSettings() {
    int value = 0;
    return CRegistry::Read(L"ClickData", L"AltMag", 0, &value, CRegistry::kindBool) != 0;
}

}  // namespace

int ApplySettings(const HostOptions& options, CCdStatus& status) {
    std::string s = options.settings;
    if (s.empty()) s = HaveSavedSettings() ? "registry" : "init";
    if (s == "default")
        status = CCdStatus();
    else if (s == "init")
        status.Init();
    else if (s == "all")
        status.InitAll();
    else if (s == "camera")
        status.SetZentacam();
    else if (s == "registry")
        status.Load();
    else
        return UsageError("unknown settings '" + s + "' (init, all, default, camera, registry)");
    return -1;
}

int PrepareHost(const HostOptions& options, CCdStatus& status, TracingHost& host) {
    const int rc = ApplySettings(options, status);
    if (rc >= 0) return rc;
    if (const std::string why = UnreadableFile(options.file); !why.empty())
        return Failure("cannot read host file '" + options.file + "': " + why);
    errno = 0;
    if (!host.LoadTableFile(options.file.c_str())) {
        const int error = errno;
        return Failure(
            "cannot read host file '" + options.file + "'" +
            (error ? ": " + ZcmReadFileProblem(error, kZcmMaxWholeBytes) : std::string()));
    }
    host.trace = options.trace;
    return -1;
}

int CallLibrary(const std::function<CString()>& call, CString& text, const std::string& advice) {
    try {
        text = call();
    } catch (CException* e) {
        wchar_t message[256] = L"";
        e->GetErrorMessage(message, 256);
        fprintf(stderr, "zcmcom: host call failed: %s%s\n",
                Printable(CString(message).ToUtf8()).c_str(),
                advice.empty() ? "" : ("; " + advice).c_str());
        e->Delete();
        return 1;
    }
    return -1;
}

void WriteText(const CString& text) {
    const std::string utf8 = text.ToUtf8();
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    if (!utf8.empty() && utf8.back() != '\n') fputc('\n', stdout);
}
