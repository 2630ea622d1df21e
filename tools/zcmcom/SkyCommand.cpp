// zcmcom sky: what the built-in sky knows; and its options shared with zcmcom click.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Command.h"
#include "SkyOptions.h"
#include "dirode/Registry.h"
#include "platform/Registry.h"
#include "sky/SkyHost.h"
#include "zvacl/zvacl.h"

namespace {

// Reads a run of digits of the given length range; advances p.
bool Digits(const char*& p, int minLen, int maxLen, int* value) {
    int n = 0, v = 0;
    while (n < maxLen && *p >= '0' && *p <= '9') {
        v = v * 10 + (*p++ - '0');
        ++n;
    }
    *value = v;
    return n >= minLen;
}

}  // namespace

bool ParseIsoTime(const std::string& text, double zoneIfNone, double* jdUt) {
    const char* p = text.c_str();
    int sign = 1;
    if (*p == '-' || *p == '+') sign = *p++ == '-' ? -1 : 1;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0.0;
    if (!Digits(p, 1, 6, &y) || *p++ != '-' || !Digits(p, 2, 2, &mo) || *p++ != '-' || !Digits(p, 2, 2, &d))
        return false;
    if (*p == 'T' || *p == 't' || *p == ' ') {
        ++p;
        if (!Digits(p, 2, 2, &h) || *p++ != ':' || !Digits(p, 2, 2, &mi)) return false;
        if (*p == ':') {
            ++p;
            char* end = nullptr;
            s = std::strtod(p, &end);
            if (end == p || s < 0 || s >= 61) return false;
            p = end;
        }
    }
    double zone = zoneIfNone;
    if (*p == 'Z' || *p == 'z') {
        zone = 0.0;
        ++p;
    } else if (*p == '+' || *p == '-') {
        const int zs = *p++ == '-' ? -1 : 1;
        int zh = 0, zm = 0;
        if (!Digits(p, 2, 2, &zh)) return false;
        if (*p == ':') ++p;
        if (*p) Digits(p, 2, 2, &zm);
        if (zh > 14 || zm > 59) return false;
        zone = zs * (zh + zm / 60.0);
    }
    if (*p || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 24 || mi > 59) return false;
    tagADATE date{sign * y, mo, d, h, mi, s, zone};
    *jdUt = GetJd(&date);
    return std::isfinite(*jdUt);
}

bool ParseSite(const std::string& text, double* lon, double* lat, double* height) {
    double v[3] = {0.0, 0.0, 0.0};
    size_t start = 0;
    int n = 0;
    while (n < 3) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!ParseFinite(item, v[n])) return false;
        ++n;
        if (comma == std::string::npos) break;
        start = comma + 1;
        if (n == 3) return false;
    }
    if (n < 2 || std::fabs(v[0]) > 360.0 || std::fabs(v[1]) > 90.0 || std::fabs(v[2]) > 1e5) return false;
    *lon = v[0];
    *lat = v[1];
    *height = v[2];
    return true;
}

std::string SetUpSkyHost(CSkyHost& host, const std::string& at, const std::string& site, const std::string& tz,
                         bool trace) {
    // Without --site the host stays at its default site (the stored one, else Tokyo).
    if (!site.empty()) {
        double lon = 0.0, lat = 0.0, height = 0.0;
        if (!ParseSite(site, &lon, &lat, &height))
            return "bad --site '" + site + "' (LON,LAT[,HEIGHT]: degrees east, degrees north, metres)";
        host.SetSite(lon, lat, height);
        host.SetTimezone(CSkyHost::ZoneAt(lon, lat));
        host.SetZoneName(CSkyHost::ZoneNameAt(lon, lat));
    }
    if (site.empty() && host.GetZoneName().IsEmpty()) {  // the default site (Tokyo) follows its zone too
        double lon = 0.0, lat = 0.0;
        if (ParseDouble(host.Execute(L"? Location.Longitude").ToUtf8(), lon) &&
            ParseDouble(host.Execute(L"? Location.Latitude").ToUtf8(), lat))
            host.SetZoneName(CSkyHost::ZoneNameAt(lon, lat));
    }
    if (!tz.empty() && !host.SetZoneName(CString(tz.c_str())))
        return "unknown time zone '" + tz + "' (an IANA name of the tz database, e.g. America/Chicago)";
    if (!at.empty()) {
        // A time without an offset is the site's clock time: the zone's offset at that time.
        double jd = 0.0, other = 0.0;
        if (!ParseIsoTime(at, host.GetTimezone(), &jd))
            return "bad --at '" + at + "' (YYYY-MM-DDTHH:MM:SS with Z or +HH:MM; no offset: the site's zone)";
        ParseIsoTime(at, host.GetTimezone() + 1.0, &other);
        for (int i = 0; i < 2 && other != jd && !host.GetZoneName().IsEmpty(); ++i) {
            host.SetJd(jd);
            ParseIsoTime(at, host.GetTimezone(), &jd);
        }
        host.SetJd(jd);
    }
    if (trace) {
        const CString zone = host.GetZoneName();
        fprintf(stderr, "# zone %s (UTC%+g at the instant)\n",
                zone.IsEmpty() ? "fixed, from the time-zone map" : zone.ToUtf8().c_str(), host.GetTimezone());
    }
    return std::string();
}

namespace {

// Why the registry took no value: its file and the error of opening the key for writing.
std::string RegistryFailure() {
    HKEY key = nullptr;
    errno = 0;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, CRegistry::GetAppRoot() + L"Default", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr);
    const int error = errno;
    if (rc == ERROR_SUCCESS) {
        RegCloseKey(key);
        rc = ERROR_CANTWRITE;  // the key opens, so the values themselves were refused
    }
    const char* file = std::getenv("ZCMCOM_REGISTRY_USER");
    std::string why = std::string("registry file ") + (file && *file ? file : "~/.config/orvana/registry-user.sqlite");
    switch (rc) {
        case ERROR_CANTOPEN: why += " cannot be opened"; break;
        case ERROR_BADDB: why += " is no intact registry"; break;
        case ERROR_ACCESS_DENIED: why += ": access denied"; break;
        case ERROR_DISK_FULL: why += ": disk full"; break;
        case ERROR_CANTWRITE: why += " cannot be written (busy or read-only)"; break;
        default: why += ": error " + std::to_string(rc); break;
    }
    if (error) why += std::string(" (") + strerror(error) + ")";
    return why;
}

struct SkyArgs {
    std::string at, site, tz;
    bool save = false, trace = false;
};

int RunSky(const SkyArgs& a) {
    CSkyHost host;
    const std::string error = SetUpSkyHost(host, a.at, a.site, a.tz, a.trace);
    if (!error.empty()) return UsageError(error);
    if (a.save && !host.SaveSite()) return Failure("the site could not be stored: " + RegistryFailure());
    PrintLine(L"# " + host.Execute(L"? UT(time)") + L"  zone " + host.Execute(L"? Time.Timezone") +
              L"  site " + host.Execute(L"? Location"));
    if (CSkyHost::DefaultCatalogPath().empty())
        PrintLine(L"# no star catalogue found (set ZCMCOM_SKY_DATA to data/skycat.txt)");
    for (const CString& name : host.KnownObjects()) PrintLine(name);
    return 0;
}

CommandRun DefineSky(CLI::App& cmd) {
    auto a = std::make_shared<SkyArgs>();
    cmd.add_option("--at", a->at, "the instant, ISO 8601 (no offset: the site's zone); default now");
    CLI::Option* site = cmd.add_option("--site", a->site, "LON,LAT[,HEIGHT]: degrees east, north, metres");
    cmd.add_flag("--save-site", a->save, "make the site the default of every later run")->needs(site);
    cmd.add_option("--tz", a->tz, "the site's IANA time zone (default: the nearest town's that agrees with the map)")
        ->type_name("AREA/CITY");
    cmd.add_flag("--trace", a->trace, "show the time zone used on standard error");
    return [a] { return RunSky(*a); };
}

const CommandRegistration kSky({"sky", "object paths the built-in sky answers for (named stars only); --save-site makes the site the default",
                                DefineSky});

}  // namespace
