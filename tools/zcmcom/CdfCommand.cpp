// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom cdf: the CDF designation of an object ("STAR αOri", "NEBULA M42"), against a
// planetarium that answers from a file of "query<TAB>answer" lines.
#include <CLI/CLI.hpp>
#include <memory>

#include "Command.h"
#include "HostCommand.h"
#include "clickdata/ZntClickData.h"

namespace {

int RunCdf(const HostOptions& options) {
    CCdStatus status;
    TracingHost host;
    int rc = PrepareHost(options, status, host);
    if (rc >= 0) return rc;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    rc =
        CallLibrary([&] { return clickData.StkToCdf(&host, CString(options.path.c_str())); }, text);
    if (rc >= 0) return rc;
    // An object without a designation prints an empty line.
    PrintLine(text);
    return 0;
}

CommandRun DefineCdf(CLI::App& cmd) {
    auto options = std::make_shared<HostOptions>();
    DefineHostOptions(cmd, *options, false, false);
    return [options] { return RunCdf(*options); };
}

const CommandRegistration kCdf({"cdf", "CDF designation of PATH; the host answers from FILE",
                                DefineCdf});

}  // namespace
