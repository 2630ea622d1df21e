// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom sky: what the built-in sky knows; and its options shared with zcmcom click.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iterator>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Command.h"
#include "SatelliteOptions.h"
#include "SkyOptions.h"
#include "serve/CivilTime.h"
#include "sky/satellites/SatelliteCatalog.h"
#include "dirode/Registry.h"
#include "platform/Registry.h"
#include "sky/Answer.h"
#include "sky/SkyHost.h"
#include "sky/Towns.h"
#include "sky/TzDatabase.h"
#include "sky/Names.h"
#include "sky/bodies/SmallBody.h"
#include "sky/catalogs/Listing.h"
#include "zvacl/ZvaclMath.h"
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

bool ParseIsoTime(const std::string& text, double zoneIfNone, double* jdUt, std::string* why) {
    const char* p = text.c_str();
    int sign = 1;
    if (*p == '-' || *p == '+') sign = *p++ == '-' ? -1 : 1;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0.0;
    if (!Digits(p, 1, 6, &y) || *p++ != '-' || !Digits(p, 2, 2, &mo) || *p++ != '-' ||
        !Digits(p, 2, 2, &d))
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
    if (*p) return false;
    if (const std::string problem = CivilTimeProblem(sign * y, mo, d, h, mi, s, zone);
        !problem.empty()) {
        if (why) *why = problem;
        return false;
    }
    tagADATE date{sign * y, mo, d, h, mi, s, zone};
    *jdUt = GetJd(&date);
    return std::isfinite(*jdUt);
}

std::string BadAt(const std::string& at, const std::string& why) {
    return "bad --at '" + at + "' (" +
           (why.empty() ? "YYYY-MM-DDTHH:MM:SS with Z or +HH:MM; no offset: the site's zone"
                        : why) +
           ")";
}

bool ParseSite(const std::string& text, double* lon, double* lat, double* height) {
    double v[3] = {0.0, 0.0, 0.0};
    size_t start = 0;
    int n = 0;
    while (n < 3) {
        const size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!ParseFinite(item, v[n])) return false;
        ++n;
        if (comma == std::string::npos) break;
        start = comma + 1;
        if (n == 3) return false;
    }
    if (n < 2 || std::fabs(v[0]) > 360.0 || std::fabs(v[1]) > 90.0 || std::fabs(v[2]) > 1e5)
        return false;
    *lon = v[0];
    *lat = v[1];
    *height = v[2];
    return true;
}

std::string ReadSite(const std::string& text, double* lon, double* lat, double* height,
                     std::string* zone) {
    static const char kNumbers[] = "LON,LAT[,HEIGHT]: degrees east, degrees north, metres";
    if (zone) zone->clear();
    if (ParseSite(text, lon, lat, height)) return std::string();
    double first = 0.0;  // (nan and inf are numbers here, though no site's)
    const bool numeric = text.empty() || std::strchr("+-.0123456789", text[0]) ||
                         ParseDouble(text.substr(0, text.find(',')), first);
    if (numeric || !sky::NameTextError(text).empty())
        return "bad --site '" + text + "' (" + kNumbers + "; or a town)";
    std::vector<std::string> closest;
    const std::vector<sky::Town> towns = sky::TownsNamed(text, &closest);
    if (towns.size() == 1) {
        *lon = towns[0].lon;
        *lat = towns[0].lat;
        *height = 0.0;
        if (zone) *zone = towns[0].zone;
        return std::string();
    }
    std::string list;
    if (towns.empty()) {
        for (const std::string& name : closest) list += (list.empty() ? "" : ", ") + name;
        return "unknown town '" + text + "' for --site" +
               (list.empty() ? "" : " (closest: " + list + ")") + "; or " + kNumbers;
    }
    for (size_t i = 0; i < towns.size() && i < 6; ++i)
        list += (i ? "; " : "") + towns[i].Described();
    if (towns.size() > 6) list += "; ...";
    return "--site '" + text + "' names " + std::to_string(towns.size()) + " towns: " + list +
           " (add ,COUNTRY or give " + kNumbers + ")";
}

std::string SetUpSkyHost(CSkyHost& host, const std::string& at, const std::string& site,
                         const std::string& tz, bool trace) {
    // Without --site the host stays at its default site (the stored one, else Tokyo).
    if (!site.empty()) {
        double lon = 0.0, lat = 0.0, height = 0.0;
        std::string zone;
        if (std::string why = ReadSite(site, &lon, &lat, &height, &zone); !why.empty()) return why;
        host.SetSite(lon, lat, height);
        host.SetTimezone(CSkyHost::ZoneAt(lon, lat));
        if (zone.empty() || !host.SetZoneName(CString(zone.c_str())))
            host.SetZoneName(CSkyHost::ZoneNameAt(lon, lat));
    }
    if (site.empty() &&
        host.GetZoneName().IsEmpty()) {  // the default site (Tokyo) follows its zone too
        double lon = 0.0, lat = 0.0;
        if (ParseDouble(host.Execute(L"? Location.Longitude").ToUtf8(), lon) &&
            ParseDouble(host.Execute(L"? Location.Latitude").ToUtf8(), lat))
            host.SetZoneName(CSkyHost::ZoneNameAt(lon, lat));
    }
    if (!tz.empty() && !host.SetZoneName(CString(tz.c_str()))) {
        std::string why;
        sky::FindZone(tz, &why);
        return "unknown time zone '" + tz + "' (" +
               (why.empty() ? "an IANA name of the tz database, e.g. America/Chicago" : why) + ")";
    }
    if (!at.empty()) {
        // A time without an offset is the site's clock time: the zone's offset at that time.
        double jd = 0.0, other = 0.0;
        std::string why;
        if (!ParseIsoTime(at, host.GetTimezone(), &jd, &why)) return BadAt(at, why);
        ParseIsoTime(at, host.GetTimezone() + 1.0, &other);
        // No offset given: read on the zone's clock (sky::ZoneClockToUt says how an hour the
        // clocks repeat or skip is read).
        double clock = 0.0;
        const CString zone = host.GetZoneName();
        if (other != jd && !zone.IsEmpty() && ParseIsoTime(at, 0.0, &clock)) {
            const double ut = sky::ZoneClockToUt(zone.ToUtf8(), clock);
            if (std::isfinite(ut)) jd = ut;
        }
        host.SetJd(jd);
    }
    if (trace) {
        const CString zone = host.GetZoneName();
        fprintf(stderr, "# zone %s (UTC%+g at the instant)\n",
                zone.IsEmpty() ? "fixed, from the time-zone map" : zone.ToUtf8().c_str(),
                host.GetTimezone());
    }
    return std::string();
}

int UseElementFiles(const std::vector<std::string>& files) {
    if (files.empty()) return -1;
    const char* env = std::getenv("ZCMCOM_SKY_ELEMENTS");
    std::string list = env ? env : "";
    for (const std::string& f : files) {
        if (f.find(':') != std::string::npos)
            return UsageError("--elements '" + f + "': a file name with ':' cannot be listed");
        if (const std::string why = UnreadableFile(f, sky::kMaxElementsFileBytes); !why.empty())
            return Failure("cannot read --elements '" + f + "': " + why);
        list += (list.empty() ? "" : ":") + f;
    }
    setenv("ZCMCOM_SKY_ELEMENTS", list.c_str(), 1);
    return -1;
}

CLI::Option* AddElementsOption(CLI::App& command, std::vector<std::string>& files) {
    // One file per --elements, so that a following PATH is never taken as a second file.
    return command
        .add_option(
            "--elements", files,
            "add the comets and minor planets of an MPC element file (MPCORB or CometEls.txt "
            "lines); may be given again")
        ->type_name("FILE")
        ->allow_extra_args(false);
}

namespace {

// "sky --kind K [--mag M]": path, magnitude and names of each catalogue object of a kind.
int ListCatalogue(const std::string& kind, const std::string& mag) {
    static const struct {
        const char* option;
        const char* kind;
    } kKinds[] = {{"stars", "star"},
                  {"variables", "variable"},
                  {"doubles", "double"},
                  {"exoplanets", "exoplanet"},
                  {"deepsky", "deepsky"}};
    const char* wanted = nullptr;
    for (const auto& k : kKinds)
        if (kind == k.option) wanted = k.kind;
    if (!wanted)
        return UsageError("--kind must be one of stars, variables, doubles, exoplanets, deepsky");
    double limit = NAN;
    if (!mag.empty()) {
        char* end = nullptr;
        limit = std::strtod(mag.c_str(), &end);
        if (end == mag.c_str() || *end != '\0' || !std::isfinite(limit))
            return UsageError("bad --mag '" + mag + "'");
    }
    for (const sky::Entry& e : sky::ListKind(wanted, limit)) {
        CString line = e.path + L"\t" + sky::Answer(e.magnitude, L"%.2f");
        for (size_t i = 0; i < e.names.size(); ++i) line += (i ? L" / " : L"\t") + e.names[i];
        PrintLine(line);
    }
    if (const auto missing = sky::UnreadableTables(); !missing.empty()) {
        return 1;  // each table's problem was said when it was opened
    }
    return 0;
}

// Why the registry refused the site: the hive file's own problem, naming the file, when it
// has one; otherwise the values themselves were refused.
std::string RegistryFailure() {
    const CString problem = ZcmRegistryProblem(HKEY_CURRENT_USER);
    return problem.IsEmpty() ? std::string("the registry cannot be written (busy or read-only)")
                             : problem.ToUtf8();
}

struct SkyArgs {
    std::string at, site, tz, kind, mag;
    std::vector<std::string> tle, elements;
    bool save = false, trace = false;
};

// The satellites of the user's element files, with the age of the elements in use.
int ListSatellites(const std::vector<std::string>& files, double jdUt) {
    if (const int rc = UseTleFiles(files); rc >= 0) return rc;
    const auto catalog = sky::Satellites();
    for (const std::string& file : files) {
        sky::TleCatalog own;
        own.AddFile(file);
        for (const auto& entry : own.sets) {
            const sky::Elements* used = catalog->At(entry.first, jdUt);
            if (!used) continue;
            CString line;
            line.Format(L"ArtificialSatellite.%d\t%s (epoch %s UTC, %.1f days)", used->number,
                        CString(ZcmUtf8ToWide(used->name.data(), used->name.size()).c_str()),
                        CString(DateTimeText(used->epochJd, 0.0).c_str()), jdUt - used->epochJd);
            PrintLine(line);
        }
    }
    return 0;
}

int RunSky(const SkyArgs& a) {
    if (const int rc = UseElementFiles(a.elements); rc >= 0) return rc;
    if (!a.kind.empty() || !a.mag.empty()) return ListCatalogue(a.kind, a.mag);
    CSkyHost host;
    const std::string error = SetUpSkyHost(host, a.at, a.site, a.tz, a.trace);
    if (!error.empty()) return UsageError(error);
    if (a.save && !host.SaveSite())
        return Failure("the site could not be stored: " + RegistryFailure());
    PrintLine(L"# " + host.Execute(L"? UT(time)") + L"  zone " + host.Execute(L"? Time.Timezone") +
              L"  site " + host.Execute(L"? Location"));
    if (CSkyHost::DefaultCatalogPath().empty())
        PrintLine(L"# no star catalogue found (set ZCMCOM_SKY_DATA to data/skycat.txt)");
    for (const CString& name : host.KnownObjects()) PrintLine(name);
    return ListSatellites(a.tle, host.GetJd());
}

CommandRun DefineSky(CLI::App& cmd) {
    auto a = std::make_shared<SkyArgs>();
    cmd.add_option("--at", a->at,
                   "the instant, ISO 8601 (no offset: the site's zone); default now");
    CLI::Option* site = cmd.add_option(
        "--site", a->site,
        "LON,LAT[,HEIGHT] (degrees east, north, metres) or a town: Tokyo, London,GB");
    cmd.add_flag("--save-site", a->save, "make the site the default of every later run")
        ->needs(site);
    cmd.add_option(
           "--tz", a->tz,
           "the site's IANA time zone (default: the nearest town's that agrees with the map)")
        ->type_name("AREA/CITY");
    cmd.add_flag("--trace", a->trace, "show the time zone used on standard error");
    cmd.add_option("--kind", a->kind,
                   "list a catalogue instead: stars, variables, doubles, exoplanets or deepsky")
        ->type_name("KIND");
    cmd.add_option("--mag", a->mag, "with --kind: only objects of this magnitude or brighter")
        ->type_name("LIMIT");
    AddTleOption(cmd, a->tle);
    AddElementsOption(cmd, a->elements);
    return [a] { return RunSky(*a); };
}

const CommandRegistration kSky(
    {"sky",
     "object paths the built-in sky answers for (named stars, comets, minor planets; the "
     "satellites of --tle files); --save-site makes the site the default; --kind lists a catalogue",
     DefineSky});

}  // namespace
