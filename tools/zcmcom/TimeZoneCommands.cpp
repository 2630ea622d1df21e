// zcmcom tz / tzmap: the time-zone map.
#include <cstdio>

#include "Command.h"
#include "draw/TimeZone.h"

namespace {

int RunTz(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("usage: tz LONGITUDE LATITUDE");
    double lon, lat;
    if (!ParseDouble(args[0], lon) || !ParseDouble(args[1], lat))
        return UsageError("longitude and latitude must be numbers (degrees, east and north positive)");
    CTimeZone tz;
    tz.Create(nullptr);
    CString out;
    out.Format(L"%g", tz.GetTimeZone(lon, lat));
    PrintLine(out);
    return 0;
}

int RunTzMap(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("usage: tzmap FILE.bmp");
    CTimeZone tz;
    tz.Create(nullptr);
    if (!tz.GetMap()->Write(PathArgument(args[0]))) {
        fprintf(stderr, "zcmcom: cannot write %s\n", args[0].c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration kTz({"tz", "tz LONGITUDE LATITUDE",
                               "print the standard UTC offset in hours from the time-zone map",
                               RunTz});
const CommandRegistration kTzMap({"tzmap", "tzmap FILE.bmp",
                                  "write the rendered time-zone map (720 x 360, 24 bits) as a .bmp",
                                  RunTzMap});

}  // namespace
