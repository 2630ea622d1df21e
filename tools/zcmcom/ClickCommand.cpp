// zcmcom click: the click-data text of an object, against a planetarium that answers from
// a file of "query<TAB>answer" lines.
#include "Command.h"
#include "HostCommand.h"
#include "clickdata/ZntClickData.h"

namespace {

int RunClick(const std::vector<std::string>& args) {
    static const char* const kUsage =
        "usage: click [--compact] [--settings init|default|camera|registry] [--trace] --host FILE PATH";
    HostOptions options;
    CCdStatus status;
    TracingHost host;
    int rc = ParseHostOptions(args, kUsage, true, options);
    if (rc < 0) rc = PrepareHost(options, status, host);
    if (rc >= 0) return rc;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    rc = CallLibrary([&] { return clickData.GetText(&host, CString(options.path.c_str()), options.compact); },
                     text);
    if (rc >= 0) return rc;
    WriteText(text);
    return 0;
}

const CommandRegistration kClick({"click",
                                  "click [--compact] [--settings S] [--trace] --host FILE PATH",
                                  "click-data text of PATH; the host answers from FILE", RunClick});

}  // namespace
