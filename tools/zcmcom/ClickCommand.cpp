// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click: the click-data text of an object, against the built-in sky or against a
// planetarium that answers from a file of "query<TAB>answer" lines.
#include <CLI/CLI.hpp>
#include <cmath>
#include <memory>

#include "Command.h"
#include "FrameOptions.h"
#include "HostCommand.h"
#include "SatelliteOptions.h"
#include "SkyOptions.h"
#include "clickdata/ZntClickData.h"
#include "hosts/stellarium/StellariumHost.h"
#include "sky/SkyHost.h"

namespace {

// Sets up the built-in sky from the options; -1 on success, else the exit status.
int PrepareSky(HostOptions& options, Tracing<CSkyHost>& sky) {
    const std::string error =
        SetUpSkyHost(sky, options.at, options.site, options.tz, options.trace);
    if (!error.empty()) return UsageError(error);
    if (const int rc = UseElementFiles(options.elements); rc >= 0) return rc;
    double ra = 0.0, dec = 0.0;
    if (const std::string bad = ReadPoint(options, &ra, &dec); !bad.empty()) return UsageError(bad);
    if (!options.point.empty()) sky.SetMark(ra, dec);
    const std::string frames = SetUpFrames(options, ra, dec, sky);
    if (!frames.empty()) return UsageError(frames);
    // The user's element files first, so their satellites resolve by name as well.
    if (const int rc = UseTleFiles(options.tle); rc >= 0) return rc;
    if (const int rc = ResolveSkyObject(sky, options.path); rc >= 0) return rc;
    sky.trace = options.trace;
    return -1;
}

// The text from a running Stellarium: PATH is a library path or a name Stellarium knows.
int RunStellariumClick(HostOptions& options) {
    // "--stellarium Mars": the word taken for the URL is the object.
    if (options.path.empty() && options.stellarium.find("://") == std::string::npos) {
        options.path = options.stellarium;
        options.stellarium.clear();
    }
    if (options.path.empty()) return UsageError("PATH is required");
    if (options.stellarium.empty()) options.stellarium = kDefaultStellariumUrl;
    if (!options.file.empty()) return UsageError("--stellarium and --host exclude each other");
    if (const int rc = CheckStellariumOptions(options); rc >= 0) return rc;
    CCdStatus status;
    if (const int rc = ApplySettings(options, status); rc >= 0) return rc;
    Tracing<CStellariumHost> stellarium(CString(options.stellarium.c_str()));
    stellarium.trace = options.trace;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    std::string advice = StellariumAdvice(options.stellarium);  // until it has answered
    const int rc = CallLibrary(
        [&] {
            fprintf(stderr, "%s\n", PinStellarium(stellarium, options).c_str());
            advice.clear();
            const CString path = stellarium.Select(CString(options.path.c_str()));
            if (path.IsEmpty()) return CString();
            return clickData.GetText(&stellarium, path, options.compact);
        },
        text, advice);
    if (rc >= 0) return rc;
    if (text.IsEmpty())
        return UnknownObjectError("Stellarium at " + options.stellarium + " knows no object '" +
                                  options.path + "'");
    WriteText(text);
    return 0;
}

int RunClick(HostOptions& options) {
    if (options.useStellarium) return RunStellariumClick(options);
    if (options.path.empty()) return UsageError("PATH is required");
    CCdStatus status;
    TracingHost table;
    Tracing<CSkyHost> sky;
    int rc =
        options.file.empty() ? ApplySettings(options, status) : PrepareHost(options, status, table);
    if (rc < 0 && options.file.empty()) rc = PrepareSky(options, sky);
    if (rc >= 0) return rc;
    CCorZnt* host = options.file.empty() ? static_cast<CCorZnt*>(&sky) : &table;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    rc = CallLibrary(
        [&] { return clickData.GetText(host, CString(options.path.c_str()), options.compact); },
        text);
    if (rc >= 0) return rc;
    // A path the built-in sky answers a place for but no text (an alias such as
    // "Solar.Moon") is no object of its own.
    if (text.IsEmpty() && options.file.empty()) return UnknownSkyObject(sky.GetJd(), options.path);
    if (options.file.empty()) WarnIfOldPath(options.path, sky.GetJd());
    WriteText(text);
    return 0;
}

CommandRun DefineClick(CLI::App& cmd) {
    auto options = std::make_shared<HostOptions>();
    DefineHostOptions(cmd, *options, true, true);
    // PATH may follow "--stellarium" without a URL, where the parser takes it for one.
    cmd.get_option("PATH")->required(false);
    CLI::Option* stellarium =
        cmd.add_option(
               "--stellarium", options->stellarium,
               std::string("ask a running Stellarium (its remote control at URL, default ") +
                   kDefaultStellariumUrl +
                   "); PATH may be a name Stellarium knows; --at and --site go to it "
                   "(default: its own instant and site)")
            ->type_name("[URL]")
            ->expected(0, 1);
    return [options, stellarium] {
        options->useStellarium = stellarium->count() > 0;
        return RunClick(*options);
    };
}

const CommandRegistration kClick(
    {"click", "click-data text of PATH from the built-in sky, or from FILE's answers",
     DefineClick});

}  // namespace
