// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The site's own clock: an IANA zone's offset and abbreviation at an instant, daylight
// saving included, and clock times read on it.
#include <string>

namespace serve {

struct ClockZone {
    std::string name;  // "Europe/London"; empty: a fixed offset
    double offset = 0.0;
    std::string abbr;  // "BST"; "UTC+9" for a fixed offset
};

// The zone at the instant (UT Julian Day); fixed: the offset when the zone is unknown.
ClockZone ZoneAtInstant(const std::string& name, double jdUt, double fixed);
// The UT Julian Day of a clock time (JD of the time as if it were UT) on that zone: the
// offset in force then. In a gap the earlier offset is taken (01:30 becomes 02:30 summer time); of
// a repeated hour, the first.
double ClockTimeToJd(double clockJd, const std::string& name, double fixed, double* offset);

}  // namespace serve
