// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The named towns of the town list (data/tztowns.txt) for the chart's site box and map:
// by name, nearest to a point, the main town of a zone.
#include <string>
#include <vector>

namespace serve {

struct TownRow {
    std::string name, nameJa, country, zone;
    double lon = 0.0, lat = 0.0;
    bool zoneTown = false;  // the town its zone is named after (London of Europe/London)
    std::string Label() const { return name + "," + country; }  // "London,GB"
};

// Every named town, read once.
const std::vector<TownRow>& NamedTowns();
// Up to n towns one of whose names is the text or begins with it (folded as object names
// are; ",CC" keeps one country), whole names first, the towns zones are named after first; else
// those closest in spelling.
std::vector<const TownRow*> TownsLike(const std::string& text, size_t n);
// The named town nearest to the point; null when there are none.
const TownRow* NearestTown(double lon, double lat);
// The town a zone is named after ("Europe/London": London), else the zone's first town;
// null for a zone of no town.
const TownRow* MainTown(const std::string& zone);

}  // namespace serve
