// zcmcom click: the click-data text of an object, against the built-in sky or against a
// planetarium that answers from a file of "query<TAB>answer" lines.
#include "Command.h"
#include "HostCommand.h"
#include "SkyOptions.h"
#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"

namespace {

// Sets up the built-in sky from the options; -1 on success, else the exit status.
int PrepareSky(const HostOptions& options, Tracing<CSkyHost>& sky) {
    std::string error = SetUpSkyHost(sky, options.at, options.site);
    if (error.empty()) error = UseElementFiles(options.elements);
    if (!error.empty()) return UsageError(error);
    if (!options.point.empty()) {
        double ra = 0.0, dec = 0.0, unused = 0.0;
        if (!ParseSite(options.point, &ra, &dec, &unused) || ra < 0 || ra >= 24)
            return UsageError("bad --point '" + options.point + "' (RA in hours, Dec in degrees, J2000)");
        sky.SetMark(ra, dec);
    }
    sky.trace = options.trace;
    return -1;
}

int RunClick(const std::vector<std::string>& args) {
    static const char* const kUsage =
        "usage: click [--compact] [--settings init|default|camera|registry] [--trace]\n"
        "             [--host FILE | --at ISO-TIME --site LON,LAT[,HEIGHT] --point RA_H,DEC --elements FILE] PATH";
    HostOptions options;
    CCdStatus status;
    TracingHost table;
    Tracing<CSkyHost> sky;
    int rc = ParseHostOptions(args, kUsage, true, true, options);
    if (rc < 0) rc = options.file.empty() ? ApplySettings(options, status) : PrepareHost(options, status, table);
    if (rc < 0 && options.file.empty()) rc = PrepareSky(options, sky);
    if (rc >= 0) return rc;
    CCorZnt* host = options.file.empty() ? static_cast<CCorZnt*>(&sky) : &table;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    rc = CallLibrary([&] { return clickData.GetText(host, CString(options.path.c_str()), options.compact); },
                     text);
    if (rc >= 0) return rc;
    WriteText(text);
    return 0;
}

const CommandRegistration kClick({"click",
                                  "click [--compact] [--settings S] [--trace] [--host FILE | --at T --site S --point P --elements F] PATH",
                                  "click-data text of PATH from the built-in sky, or from FILE's answers", RunClick});

}  // namespace
