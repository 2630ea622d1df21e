#include "HostCommand.h"

#include <cstdio>

#include "Command.h"

int ParseHostOptions(const std::vector<std::string>& args, const char* usage, bool allowCompact,
                     bool allowSky, HostOptions& options) {
    bool havePath = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--compact" && allowCompact) {
            options.compact = 1;
        } else if (a == "--trace") {
            options.trace = true;
        } else if ((a == "--settings" || a == "--host") && i + 1 < args.size()) {
            (a == "--host" ? options.file : options.settings) = args[++i];
        } else if (allowSky && (a == "--at" || a == "--site" || a == "--point") && i + 1 < args.size()) {
            (a == "--at" ? options.at : a == "--site" ? options.site : options.point) = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return UsageError("unknown option '" + a + "'\n" + usage);
        } else if (havePath) {
            return UsageError(std::string("one object path only\n") + usage);
        } else {
            options.path = a;
            havePath = true;
        }
    }
    if ((options.file.empty() && !allowSky) || !havePath) return UsageError(usage);
    if (!options.file.empty() && !(options.at.empty() && options.site.empty() && options.point.empty()))
        return UsageError(std::string("--at, --site and --point are for the built-in sky, not --host\n") +
                          usage);
    return -1;
}

int ApplySettings(const HostOptions& options, CCdStatus& status) {
    const std::string& s = options.settings;
    if (s == "default")
        status = CCdStatus();
    else if (s == "init")
        status.Init();
    else if (s == "camera")
        status.SetZentacam();
    else if (s == "registry")
        status.Load();
    else
        return UsageError("unknown settings '" + s + "' (init, default, camera, registry)");
    return -1;
}

int PrepareHost(const HostOptions& options, CCdStatus& status, TracingHost& host) {
    const int rc = ApplySettings(options, status);
    if (rc >= 0) return rc;
    if (!host.LoadTableFile(options.file.c_str())) {
        fprintf(stderr, "zcmcom: cannot read host file '%s'\n", options.file.c_str());
        return 1;
    }
    host.trace = options.trace;
    return -1;
}

int CallLibrary(const std::function<CString()>& call, CString& text) {
    try {
        text = call();
    } catch (CException* e) {
        wchar_t message[256] = L"";
        e->GetErrorMessage(message, 256);
        fprintf(stderr, "zcmcom: host call failed: %s\n", CString(message).ToUtf8().c_str());
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
