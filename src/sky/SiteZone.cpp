// SPDX-License-Identifier: LGPL-3.0-or-later
// The IANA zone of a site: the nearest town of data/tztowns.txt whose standard offset
// agrees with the time-zone map; and the host's offset from that zone at its instant.
#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "sky/Constants.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
#include "sky/TownFile.h"
#include "sky/Towns.h"
#include "sky/TzDatabase.h"

namespace {

struct Town {
    double lat, lon;
    int zone;
};

struct Towns {
    std::vector<std::string> zones;
    std::vector<Town> towns;
};

// The positions and zones of the towns, read once: not their names, which only a site given
// by name needs (sky/Towns.cpp).
const Towns& LoadTowns() {
    static Towns table;
    static std::once_flag once;
    std::call_once(once, [] {
        sky::ReadTownFile(sky::DataPath("tztowns.txt"), table.zones, [](const sky::TownLine& t) {
            if (t.byNameOnly) return false;  // the towns found by name only, which follow
            table.towns.push_back({t.lat, t.lon, static_cast<int>(t.zone)});
            return true;
        });
    });
    return table;
}

}  // namespace

CString CSkyHost::ZoneNameAt(double longitude, double latitude) {
    if (!std::isfinite(longitude) || !std::isfinite(latitude)) return CString();
    const Towns& table = LoadTowns();
    const double map = ZoneAt(longitude, latitude);
    std::vector<std::pair<double, const Town*>> near;
    for (const Town& t : table.towns) {
        if (std::fabs(t.lat - latitude) > 2.8) continue;  // over 311 km away
        const double d = sky::GreatCircleKm(latitude, longitude, t.lat, t.lon);
        if (d < 300.0) near.emplace_back(d, &t);
    }
    std::sort(near.begin(), near.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    // The standard offsets of the year the map was made for.
    const int64_t kMapYear = 1735689600;  // 2025-01-01
    for (const auto& [distance, town] : near) {
        const auto zone = sky::FindZone(table.zones[static_cast<size_t>(town->zone)]);
        if (zone && std::fabs(zone->StandardOffsetAt(kMapYear) / 3600.0 - map) < 0.01)
            return CString(table.zones[static_cast<size_t>(town->zone)].c_str());
    }
    // Offsets the map cannot show (+8.75 painted as +9) take the nearest town's.
    if (!near.empty() && near.front().first < 50.0)
        return CString(table.zones[static_cast<size_t>(near.front().second->zone)].c_str());
    return CString();
}

bool CSkyHost::SetZoneName(const CString& name) {
    if (name.IsEmpty()) {
        m_zoneName.Empty();
        return true;
    }
    const double hours = sky::ZoneHoursAt(name.ToUtf8(), m_jd);
    if (!std::isfinite(hours)) return false;
    m_zoneName = name;
    m_tz = hours;
    Changed();
    return true;
}

void CSkyHost::FollowZone() {
    if (m_zoneName.IsEmpty()) return;
    const double hours = sky::ZoneHoursAt(m_zoneName.ToUtf8(), m_jd);
    if (std::isfinite(hours)) m_tz = hours;
}
