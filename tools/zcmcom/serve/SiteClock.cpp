// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/SiteClock.h"

#include <cmath>
#include <cstdio>

#include "sky/TzDatabase.h"

namespace serve {

namespace {

int64_t UnixSeconds(double jdUt) {
    return static_cast<int64_t>(std::floor((jdUt - 2440587.5) * 86400.0 + 0.5));
}

std::string FixedName(double offset) {
    char text[24];
    std::snprintf(text, sizeof text, "UTC%+g", offset);
    return offset == 0 ? "UTC" : text;
}

}  // namespace

ClockZone ZoneAtInstant(const std::string& name, double jdUt, double fixed) {
    const auto zone = name.empty() ? nullptr : sky::FindZone(name);
    if (!zone) return {std::string(), fixed, FixedName(fixed)};
    const int64_t t = UnixSeconds(jdUt);
    return {name, zone->OffsetAt(t) / 3600.0, zone->AbbreviationAt(t)};
}

double ClockTimeToJd(double clockJd, const std::string& name, double fixed, double* offset) {
    const auto zone = name.empty() ? nullptr : sky::FindZone(name);
    if (!zone) {
        *offset = fixed;
        return clockJd - fixed / 24.0;
    }
    // The offsets a day either side; the first that maps the clock time onto itself.
    const double before = zone->OffsetAt(UnixSeconds(clockJd - 1.0)) / 3600.0,
                 after = zone->OffsetAt(UnixSeconds(clockJd + 1.0)) / 3600.0;
    for (double o : {before, after}) {
        const double jd = clockJd - o / 24.0;
        if (std::fabs(zone->OffsetAt(UnixSeconds(jd)) / 3600.0 - o) < 1e-9) {
            *offset = o;
            return jd;
        }
    }
    *offset = before;  // a clock time the change skipped: read on the offset before it
    return clockJd - before / 24.0;
}

}  // namespace serve
