// SPDX-License-Identifier: LGPL-3.0-or-later
// The IANA zone of a site: the nearest town of data/tztowns.txt whose standard offset
// agrees with the time-zone map; and the host's offset from that zone at its instant.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "sky/Constants.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
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

// A number as strtod reads it, from text that ends at the line's end. Plain decimals of up
// to 15 digits are the integer of their digits over a power of ten: one correctly rounded
// division, the very double strtod gives, without its cost.
double Decimal(const char*& p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    const char* q = p;
    const bool minus = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    long long digits = 0;
    int count = 0, decimals = -1;
    for (; q < end && count <= 15; ++q) {
        if (*q >= '0' && *q <= '9') {
            digits = digits * 10 + (*q - '0');
            ++count;
            if (decimals >= 0) ++decimals;
        } else if (*q == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    const bool plain = count > 0 && count <= 15 &&
                       (q == end || (*q != 'e' && *q != 'E' && *q != 'x' && *q != 'X' &&
                                     !(*q >= '0' && *q <= '9')));
    if (!plain) {
        const std::string rest(p, end);
        char* after = nullptr;
        const double v = std::strtod(rest.c_str(), &after);
        p += after - rest.c_str();
        return v;
    }
    static const double kTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double v = static_cast<double>(digits) / kTen[decimals < 0 ? 0 : decimals];
    p = q;
    return minus ? -v : v;
}

// The positions and zones of the towns, read once: not their names, which only a site given
// by name needs (sky/Towns.cpp).
const Towns& LoadTowns() {
    static Towns table;
    static std::once_flag once;
    std::call_once(once, [] {
        // Line by line through a small buffer: the names' part of the file is never read.
        std::FILE* in = std::fopen(sky::DataPath("tztowns.txt").c_str(), "re");
        if (!in) return;
        char* line = nullptr;
        size_t capacity = 0;
        for (ssize_t n; (n = getline(&line, &capacity, in)) > 0;) {
            const char* p = line;
            const char* end = line + n;
            if (end[-1] == '\n') --end;
            if (p == end || *p == '#') continue;
            if (end - p >= 2 && p[0] == 'Z' && p[1] == '\t') {
                table.zones.emplace_back(p + 2, end);
                continue;
            }
            Town t{};
            t.lat = Decimal(p, end);
            t.lon = Decimal(p, end);
            while (p < end && *p == '\t') ++p;
            if (p < end && *p == '+') break;  // the towns found by name only, which follow
            long zone = 0;
            if (p < end && *p >= '0' && *p <= '9')
                for (; p < end && *p >= '0' && *p <= '9' && zone < 1000000; ++p)
                    zone = zone * 10 + (*p - '0');
            else
                zone = std::strtol(std::string(p, end).c_str(), nullptr, 10);
            if (zone < 0 || zone >= static_cast<long>(table.zones.size())) continue;
            t.zone = static_cast<int>(zone);
            table.towns.push_back(t);
        }
        std::free(line);
        std::fclose(in);
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
