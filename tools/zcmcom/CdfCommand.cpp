// zcmcom cdf: the CDF designation of an object ("STAR αOri", "NEBULA M42"), against a
// planetarium that answers from a file of "query<TAB>answer" lines.
#include "Command.h"
#include "HostCommand.h"
#include "clickdata/ZntClickData.h"

namespace {

int RunCdf(const std::vector<std::string>& args) {
    static const char* const kUsage =
        "usage: cdf [--settings init|default|camera|registry] [--trace] --host FILE PATH";
    HostOptions options;
    CCdStatus status;
    TracingHost host;
    int rc = ParseHostOptions(args, kUsage, false, false, options);
    if (rc < 0) rc = PrepareHost(options, status, host);
    if (rc >= 0) return rc;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    rc = CallLibrary([&] { return clickData.StkToCdf(&host, CString(options.path.c_str())); }, text);
    if (rc >= 0) return rc;
    // An object without a designation prints an empty line.
    PrintLine(text);
    return 0;
}

const CommandRegistration kCdf({"cdf", "cdf [--settings S] [--trace] --host FILE PATH",
                                "CDF designation of PATH; the host answers from FILE", RunCdf});

}  // namespace
