// zcmcom click: the click-data text of an object, against the built-in sky or against a
// planetarium that answers from a file of "query<TAB>answer" lines.
#include <cstdio>

#include "Command.h"
#include "SkyOptions.h"
#include "clickdata/ZntClickData.h"
#include "host/SkyHost.h"
#include "host/TableHost.h"

namespace {

// A host that can also show every command on standard error as it is sent.
template <class Host>
class Tracing : public Host {
public:
    bool trace = false;

    CString Execute(LPCTSTR command) override {
        if (trace) fprintf(stderr, "%s\n", CString(command).ToUtf8().c_str());
        return Host::Execute(command);
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
        "usage: click [--compact] [--settings init|default|camera|registry] [--trace]\n"
        "             [--host FILE | --at ISO-TIME --site LON,LAT[,HEIGHT] --point RA_H,DEC] PATH";
    int compact = 0;
    bool trace = false;
    std::string settings = "default", file, path, at, site, point;
    bool havePath = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--compact") {
            compact = 1;
        } else if (a == "--trace") {
            trace = true;
        } else if ((a == "--settings" || a == "--host") && i + 1 < args.size()) {
            (a == "--host" ? file : settings) = args[++i];
        } else if ((a == "--at" || a == "--site" || a == "--point") && i + 1 < args.size()) {
            (a == "--at" ? at : a == "--site" ? site : point) = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return UsageError("unknown option '" + a + "'\n" + kUsage);
        } else if (havePath) {
            return UsageError(std::string("one object path only\n") + kUsage);
        } else {
            path = a;
            havePath = true;
        }
    }
    if (!havePath) return UsageError(kUsage);
    if (!file.empty() && !(at.empty() && site.empty() && point.empty()))
        return UsageError(std::string("--at, --site and --point are for the built-in sky, not --host\n") + kUsage);
    CCdStatus status;
    if (!ApplySettings(settings, status))
        return UsageError("unknown settings '" + settings + "' (init, default, camera, registry)");

    Tracing<CTableHost> table;
    Tracing<CSkyHost> sky;
    CCorZnt* host = &sky;
    if (!file.empty()) {
        if (!table.LoadTableFile(file.c_str())) {
            fprintf(stderr, "zcmcom: cannot read host file '%s'\n", file.c_str());
            return 1;
        }
        table.trace = trace;
        host = &table;
    } else {
        const std::string error = SetUpSkyHost(sky, at, site);
        if (!error.empty()) return UsageError(error);
        if (!point.empty()) {
            double ra = 0.0, dec = 0.0, unused = 0.0;
            if (!ParseSite(point, &ra, &dec, &unused) || ra < 0 || ra >= 24)
                return UsageError("bad --point '" + point + "' (RA in hours, Dec in degrees, J2000)");
            sky.SetMark(ra, dec);
        }
        sky.trace = trace;
    }
    CZntClickData clickData;
    clickData.SetStatus(&status);
    CString text;
    try {
        text = clickData.GetText(host, CString(path.c_str()), compact);
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
                                  "click [--compact] [--settings S] [--trace] [--host FILE | --at T --site S --point P] PATH",
                                  "click-data text of PATH from the built-in sky, or from FILE's answers", RunClick});

}  // namespace
