// zcmcom click: the click-data text of an object, against a planetarium that answers from
// a file of "query<TAB>answer" lines.
#include <cstdio>

#include "Command.h"
#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

namespace {

// The file's host, which can also show every command on standard error as it is sent.
class TracingHost : public CTableHost {
public:
    bool trace = false;

    CString Execute(LPCTSTR command) override {
        if (trace) fprintf(stderr, "%s\n", CString(command).ToUtf8().c_str());
        return CTableHost::Execute(command);
    }
};

bool ApplySettings(const std::string& name, CCdStatus& status) {
    if (name == "default") {
        status = CCdStatus();
    } else if (name == "init") {
        status.Init();
    } else if (name == "camera") {
        status.SetZentacam();
    } else if (name == "registry") {
        status.Load();
    } else {
        return false;
    }
    return true;
}

int RunClick(const std::vector<std::string>& args) {
    static const char* const kUsage =
        "usage: click [--compact] [--settings init|default|camera|registry] [--trace] --host FILE PATH";
    int compact = 0;
    bool trace = false;
    std::string settings = "default", file, path;
    bool havePath = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--compact") {
            compact = 1;
        } else if (a == "--trace") {
            trace = true;
        } else if ((a == "--settings" || a == "--host") && i + 1 < args.size()) {
            (a == "--host" ? file : settings) = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return UsageError("unknown option '" + a + "'\n" + kUsage);
        } else if (havePath) {
            return UsageError(std::string("one object path only\n") + kUsage);
        } else {
            path = a;
            havePath = true;
        }
    }
    if (file.empty() || !havePath) return UsageError(kUsage);
    CCdStatus status;
    if (!ApplySettings(settings, status))
        return UsageError("unknown settings '" + settings + "' (init, default, camera, registry)");

    TracingHost host;
    if (!host.LoadTableFile(file.c_str())) {
        fprintf(stderr, "zcmcom: cannot read host file '%s'\n", file.c_str());
        return 1;
    }
    host.trace = trace;
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    try {
        text = clickData.GetText(&host, CString(path.c_str()), compact);
    } catch (CException* e) {
        wchar_t message[256] = L"";
        e->GetErrorMessage(message, 256);
        fprintf(stderr, "zcmcom: host call failed: %s\n", CString(message).ToUtf8().c_str());
        e->Delete();
        return 1;
    }
    // The text as the library made it (CR LF line ends); a last line without one gets a
    // line feed so the shell's prompt starts on a line of its own.
    const std::string utf8 = text.ToUtf8();
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    if (!utf8.empty() && utf8.back() != '\n') fputc('\n', stdout);
    return 0;
}

const CommandRegistration kClick({"click",
                                  "click [--compact] [--settings S] [--trace] --host FILE PATH",
                                  "click-data text of PATH; the host answers from FILE", RunClick});

}  // namespace
