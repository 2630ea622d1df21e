// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom tz / tzmap: the time-zone map.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "draw/TimeZone.h"

namespace {

struct TzArgs {
    std::string lon, lat, file;
};

int RunTz(const TzArgs& a) {
    double lon, lat;
    if (!ParseWithin(a.lon, -360, 360, lon) || !ParseWithin(a.lat, -90, 90, lat))
        return UsageError(
            "the longitude must be from -360 to 360 and the latitude from -90 to 90 (degrees, "
            "east and north positive)");
    CTimeZone tz;
    tz.Create(nullptr);
    CString out;
    out.Format(L"%g", tz.GetTimeZone(lon, lat));
    PrintLine(out);
    return 0;
}

int RunTzMap(const TzArgs& a) {
    CTimeZone tz;
    tz.Create(nullptr);
    if (!tz.GetMap()->Write(PathArgument(a.file))) return Failure("cannot write " + a.file);
    return 0;
}

CommandRun DefineTz(CLI::App& cmd) {
    auto a = std::make_shared<TzArgs>();
    cmd.add_option("LONGITUDE", a->lon, "degrees, east positive")->required();
    cmd.add_option("LATITUDE", a->lat, "degrees, north positive")->required();
    return [a] { return RunTz(*a); };
}

CommandRun DefineTzMap(CLI::App& cmd) {
    auto a = std::make_shared<TzArgs>();
    cmd.add_option("FILE", a->file, "the .bmp file to write")->required();
    return [a] { return RunTzMap(*a); };
}

const CommandRegistration kTz({"tz",
                               "print the standard UTC offset in hours from the time-zone map",
                               DefineTz});
const CommandRegistration kTzMap({"tzmap",
                                  "write the rendered time-zone map (720 x 360, 24 bits) as a .bmp",
                                  DefineTzMap});

}  // namespace
