// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/SiteClock.h"

#include <cmath>
#include <cstdio>

#include "sky/TzDatabase.h"
#include "sky/UnixTime.h"

namespace serve {

namespace {

std::string FixedName(double offset) {
    char text[24];
    std::snprintf(text, sizeof text, "UTC%+g", offset);
    return offset == 0 ? "UTC" : text;
}

}  // namespace

ClockZone ZoneAtInstant(const std::string& name, double jdUt, double fixed) {
    const auto zone = name.empty() ? nullptr : sky::FindZone(name);
    if (!zone) return {std::string(), fixed, FixedName(fixed)};
    const int64_t t = sky::UnixSecondsOf(jdUt);
    return {name, zone->OffsetAt(t) / 3600.0, zone->AbbreviationAt(t)};
}

double ClockTimeToJd(double clockJd, const std::string& name, double fixed, double* offset) {
    const double jd = name.empty() ? NAN : sky::ZoneClockToUt(name, clockJd, offset);
    if (std::isfinite(jd)) return jd;
    *offset = fixed;
    return clockJd - fixed / 24.0;
}

}  // namespace serve
