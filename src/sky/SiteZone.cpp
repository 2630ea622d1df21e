// SPDX-License-Identifier: LGPL-3.0-or-later
// The IANA zone of a site: the nearest town of data/tztowns.txt whose standard offset
// agrees with the time-zone map; and the host's offset from that zone at its instant.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "sky/Constants.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
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

const Towns& LoadTowns() {
    static Towns table;
    static std::once_flag once;
    std::call_once(once, [] {
        std::ifstream in(sky::DataPath("tztowns.txt"));
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            if (line.compare(0, 2, "Z\t") == 0) {
                table.zones.push_back(line.substr(2));
                continue;
            }
            Town t{};
            char* end = nullptr;
            t.lat = std::strtod(line.c_str(), &end);
            t.lon = std::strtod(end, &end);
            while (*end == '\t') ++end;
            if (*end == '+') break;  // the towns found by name only, which follow
            const long zone = std::strtol(end, &end, 10);
            if (zone < 0 || zone >= static_cast<long>(table.zones.size())) continue;
            t.zone = static_cast<int>(zone);
            table.towns.push_back(t);
        }
    });
    return table;
}

// Great-circle distance in kilometres.
double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    const double r = M_PI / 180.0;
    const double a =
        std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
        std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
    return 2 * sky::kEarthMeanRadiusKm * std::asin(std::sqrt(std::min(1.0, a)));
}

}  // namespace

CString CSkyHost::ZoneNameAt(double longitude, double latitude) {
    if (!std::isfinite(longitude) || !std::isfinite(latitude)) return CString();
    const Towns& table = LoadTowns();
    const double map = ZoneAt(longitude, latitude);
    std::vector<std::pair<double, const Town*>> near;
    for (const Town& t : table.towns) {
        const double d = DistanceKm(latitude, longitude, t.lat, t.lon);
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
