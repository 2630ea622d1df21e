// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The lines of the town list, data/tztowns.txt (written by tools/tzmap/make_tztowns.py):
/// "Z<TAB>zone" lines number the zones from 0; "lat<TAB>lon<TAB>zone number" lines are the
/// towns, followed by "<TAB>country<TAB>name|name..." for a named town. The towns found by
/// name only come last, their zone number preceded by "+" (internal).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sky {

/// One town of the list.
struct TownLine {
    /// Degrees north and east.
    /// @{
    double lat = 0.0, lon = 0.0;
    /// @}
    size_t zone = 0;          ///< its zone, an index into the zones read before it
    bool byNameOnly = false;  ///< one of the towns found by name only, which follow all others
    /// The ISO 3166 country code and the names, "|" between them (the rest of the line);
    /// both empty for a town of no name.
    /// @{
    std::string_view country, names;
    /// @}
};

/// Reads the list at path line by line: the zones' names into zones (from the first), and
/// each town of one of them, in the list's order, given to each while it answers true (so a
/// reader that stops early never reads the rest). The numbers are read as strtod reads
/// them, plain decimals without its cost: the zone of every site reads the list.
void ReadTownFile(const std::string& path, std::vector<std::string>& zones,
                  const std::function<bool(const TownLine&)>& each);

}  // namespace sky
