// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/SkyJson.h"

#include "serve/JsonWriter.h"
#include "zvacl/Reductions.h"

#include <algorithm>
#include <iterator>
#include <cmath>
#include <cstdio>

namespace serve {

namespace {

constexpr double kDeg = M_PI / 180.0;

struct Point {
    double x, y;
};

Point Place(const ChartView& v, double alt, double az, double ra, double dec) {
    Point p;
    if (v.kind == ChartView::Horizon)
        ProjectHorizon(v, alt, az, &p.x, &p.y);
    else
        ProjectEquatorial(v, ra, dec, &p.x, &p.y);
    return p;
}

// The point a small angle from (lon1, lat1) towards (lon2, lat2) along their great circle.
void Towards(double lon1, double lat1, double lon2, double lat2, double* lon, double* lat) {
    const double a[3] = {std::cos(lat1 * kDeg) * std::cos(lon1 * kDeg),
                         std::cos(lat1 * kDeg) * std::sin(lon1 * kDeg), std::sin(lat1 * kDeg)};
    const double b[3] = {std::cos(lat2 * kDeg) * std::cos(lon2 * kDeg),
                         std::cos(lat2 * kDeg) * std::sin(lon2 * kDeg), std::sin(lat2 * kDeg)};
    const double d = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    double t[3] = {b[0] - d * a[0], b[1] - d * a[1], b[2] - d * a[2]};
    const double n = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
    const double step = 0.5 * kDeg;
    double p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = a[i] * std::cos(step) + (n > 0 ? t[i] / n : 0.0) * std::sin(step);
    *lon = std::atan2(p[1], p[0]) / kDeg;
    *lat = std::asin(std::max(-1.0, std::min(1.0, p[2]))) / kDeg;
}

// The direction of the Moon's bright limb on the chart, degrees counter-clockwise from +x.
double Limb(const Snapshot& s, const SkyItem& moon, const ChartView& v) {
    const Point m = Place(v, moon.alt, moon.az, moon.ra, moon.dec);
    double lon, lat;
    Point t;
    if (v.kind == ChartView::Horizon) {
        // Azimuth counted the other way round keeps the frame right-handed.
        Towards(-moon.az, moon.alt, -s.sunAz, s.sunAlt, &lon, &lat);
        t = Place(v, lat, -lon, 0, 0);
    } else {
        Towards(moon.ra, moon.dec, s.sunRa, s.sunDec, &lon, &lat);
        t = Place(v, 0, 0, lon < 0 ? lon + 360 : lon, lat);
    }
    return std::atan2(-(t.y - m.y), t.x - m.x) / kDeg;
}

void Horizon(JsonWriter& w, const Snapshot& s, const ChartView& v) {
    w.out += '[';
    Point last{NAN, NAN};
    for (int az = 0; az <= 360; az += 2) {
        double ra = 0, dec = 0;
        s.frame->ToJ2000(0.0, az, &ra, &dec);
        const Point p = Place(v, 0.0, az, ra, dec);
        if (az) w.out += ',';
        // On the equatorial view the curve breaks where it leaves one edge for the other.
        if (v.kind == ChartView::Equatorial && std::isfinite(last.x) &&
            std::fabs(p.x - last.x) > v.w / 2.0)
            w.out += "[],";
        w.Point(p.x, p.y);
        last = p;
    }
    w.out += ']';
}

void Cardinals(JsonWriter& w, const Snapshot& s, const ChartView& v) {
    static const char* const kNames[] = {"N", "E", "S", "W"};
    w.out += '[';
    for (int i = 0; i < 4; ++i) {
        double ra = 0, dec = 0;
        s.frame->ToJ2000(0.0, 90.0 * i, &ra, &dec);
        const Point p = Place(v, 0.0, 90.0 * i, ra, dec);
        w.out += i ? ",{\"label\":\"" : "{\"label\":\"";
        w.out += kNames[i];
        w.out += '"';
        w.ScreenPlace(p.x, p.y);
        w.out += '}';
    }
    w.out += ']';
}

// Opens an object of the sky with its path, name and kind.
template <typename Named>
void OpenNamed(JsonWriter& w, const Named& n) {
    w.out += "{\"path\":";
    w.String(n.path);
    w.out += ",\"name\":";
    w.String(n.name);
    w.out += ",\"kind\":";
    w.String(n.kind);
}

void Object(JsonWriter& w, const Snapshot& s, const SkyItem& item, const ChartView& v) {
    const Point p = Place(v, item.alt, item.az, item.ra, item.dec);
    OpenNamed(w, item);
    const std::pair<const char*, double> numbers[] = {
        {"mag", item.mag}, {"alt", item.alt}, {"az", item.az}, {"ra", item.ra}, {"dec", item.dec}};
    for (const auto& n : numbers) {
        w.out += ',';
        w.Key(n.first);
        w.Number(n.second, n.first[0] == 'm' ? 2 : 6);
    }
    w.ScreenPlace(p.x, p.y);
    w.out += ",\"r\":";
    w.Number(DrawRadius(item), 1);
    if (std::isfinite(item.phase)) {
        w.out += ",\"phase\":";
        w.Number(item.phase, 3);
    }
    if (item.kind == "moon") {
        w.out += ",\"limb\":";
        w.Number(Limb(s, item, v), 1);
    }
    w.out += '}';
}

}  // namespace

double DrawRadius(const SkyItem& item) {
    if (item.kind == "sun" || item.kind == "moon") return 7.0;
    if (item.kind == "planet" || item.kind == "dwarf") return item.kind == "planet" ? 3.5 : 2.5;
    if (item.kind == "dso") return 3.0;
    const double mag = std::isfinite(item.mag) ? item.mag : 6.0;
    return std::max(0.7, std::min(4.5, 0.7 + (6.0 - mag) * 0.55));
}

bool ParseSkyFields(const std::string& list, unsigned* fields) {
    static const std::pair<const char*, unsigned> kNames[] = {
        {"frame", kSkyFrame}, {"bodies", kSkyBodies}, {"sun", kSkySun},
        {"zone", kSkyClock},  {"clock", kSkyClock},   {"time", kSkyClock}};
    *fields = 0;
    size_t at = 0;
    while (at <= list.size()) {
        const size_t comma = std::min(list.find(',', at), list.size());
        const std::string name = list.substr(at, comma - at);
        const auto* found = std::find_if(std::begin(kNames), std::end(kNames),
                                         [&](const auto& n) { return name == n.first; });
        if (found == std::end(kNames)) return false;
        *fields |= found->second;
        at = comma + 1;
    }
    return *fields != 0;
}

namespace {

void Clock(JsonWriter& w, const Snapshot& s) {
    w.out += "\"jd\":";
    w.Number(s.jd, 6);
    w.out += ",\"time\":";
    w.String(s.time);
    w.out += ",\"zone\":";
    w.Number(s.zone, 4);
    w.out += ",\"zoneName\":";
    w.String(s.clock.name);
    w.out += ",\"abbr\":";
    w.String(s.clock.abbr);
    w.out += ",\"clock\":{\"name\":";
    w.String(s.clock.name);
    w.out += ",\"offset\":";
    w.Number(s.clock.offset, 4);
    w.out += ",\"abbr\":";
    w.String(s.clock.abbr);
    w.out += '}';
}

void Frame(JsonWriter& w, const Snapshot& s) {
    const StarFrame& f = s.stars;
    w.out += "\"frame\":{\"jd\":";
    w.Number(f.f.jdUt, 8);
    w.out += ",\"jdTt\":";
    w.Number(f.f.jdTt, 8);
    w.out += ",\"years\":";
    w.Number(f.years, 9);
    w.out += ",\"lst\":";
    w.Number(f.f.lst, 9);
    w.out += ",\"lat\":";
    w.Number(f.lat, 9);
    w.out += ",\"lon\":";
    w.Number(f.lon, 9);
    w.out += ",\"npb\":[";
    for (int i = 0; i < 9; ++i) {
        if (i) w.out += ',';
        w.Number(f.f.npb[i / 3][i % 3], 12);
    }
    w.out += "],\"aberration\":[";
    for (int i = 0; i < 3; ++i) {
        if (i) w.out += ',';
        w.Number(f.f.velocity[i], 12);
    }
    double a = 0, b = 0;
    zvacl::RefractionConstants(kRefractionTempC, kRefractionHpa, &a, &b);
    w.out += "],\"refraction\":{\"tempC\":";
    w.Number(kRefractionTempC, 1);
    w.out += ",\"hPa\":";
    w.Number(kRefractionHpa, 1);
    w.out += ",\"A\":";
    w.Number(a, 12);
    w.out += ",\"B\":";
    w.Number(b, 12);
    w.out += "}}";
}

void Bodies(JsonWriter& w, const Snapshot& s) {
    w.out += "\"bodies\":[";
    for (size_t i = 0; i < s.bodies.size(); ++i) {
        const SkyBody& b = s.bodies[i];
        if (i) w.out += ',';
        OpenNamed(w, b);
        const std::pair<const char*, double> numbers[] = {
            {"mag", b.mag},         {"ra", b.ra},    {"dec", b.dec}, {"ra2000", b.ra2000},
            {"dec2000", b.dec2000}, {"alt", b.alt},  {"az", b.az},   {"phase", b.phase},
            {"limb", b.limb},       {"diam", b.diam}};
        for (const auto& n : numbers) {
            w.out += ',';
            w.Key(n.first);
            w.Number(n.second, n.first[0] == 'm' || n.first[0] == 'l' || n.first[1] == 'i' ? 3 : 6);
        }
        w.out += '}';
    }
    w.out += ']';
}

void Sun(JsonWriter& w, const Snapshot& s) {
    for (const SkyBody& b : s.bodies) {
        if (b.kind != "sun") continue;
        w.out += "\"sun\":{\"alt\":";
        w.Number(b.alt, 6);
        w.out += ",\"az\":";
        w.Number(b.az, 6);
        w.out += '}';
        return;
    }
    w.out += "\"sun\":null";
}

}  // namespace

std::string SkyJson(const Snapshot& s, const ChartView& v, unsigned fields) {
    JsonWriter w;
    if (fields) {
        w.out += '{';
        void (*const parts[])(JsonWriter&, const Snapshot&) = {Frame, Bodies, Sun, Clock};
        for (unsigned bit = 0; bit < 4; ++bit) {
            if (!(fields & 1u << bit)) continue;
            if (w.out.size() > 1) w.out += ',';
            parts[bit](w, s);
        }
        w.out += '}';
        return std::move(w.out);
    }
    w.out.reserve(64 * 1024 + s.items.size() * 160);
    w.out += '{';
    Clock(w, s);
    w.out += ',';
    Frame(w, s);
    w.out += ',';
    Bodies(w, s);
    w.out += ',';
    Sun(w, s);
    w.out += ",\"site\":{\"lon\":";
    w.Number(s.lon, 6);
    w.out += ",\"lat\":";
    w.Number(s.lat, 6);
    w.out += ",\"height\":";
    w.Number(s.height, 1);
    if (!s.city.empty()) {
        w.out += ",\"city\":";
        w.String(s.city);
    }
    w.out += "},\"view\":";
    w.String(ViewKindName(v.kind));
    w.out += ",\"w\":" + std::to_string(v.w) + ",\"h\":" + std::to_string(v.h) + ",\"objects\":[";
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (i) w.out += ',';
        Object(w, s, s.items[i], v);
    }
    w.out += "],\"lines\":[";
    bool first = true;
    for (const SkySegment& g : s.segments) {
        const Point a = Place(v, g.alt1, g.az1, g.ra1, g.dec1),
                    b = Place(v, g.alt2, g.az2, g.ra2, g.dec2);
        if (v.kind == ChartView::Equatorial && std::fabs(a.x - b.x) > v.w / 2.0) continue;
        w.out += first ? "[" : ",[";
        first = false;
        w.Number(a.x, 1), w.out += ',', w.Number(a.y, 1), w.out += ',', w.Number(b.x, 1),
            w.out += ',';
        w.Number(b.y, 1);
        w.out += ']';
    }
    w.out += "],\"labels\":[";
    for (size_t i = 0; i < s.labels.size(); ++i) {
        const SkyLabel& l = s.labels[i];
        const Point p = Place(v, l.alt, l.az, l.ra, l.dec);
        w.out += i ? ",{\"name\":" : "{\"name\":";
        w.String(l.name);
        w.out += ",\"abbr\":";
        w.String(l.abbr);
        w.ScreenPlace(p.x, p.y);
        w.out += '}';
    }
    w.out += "],\"horizon\":";
    Horizon(w, s, v);
    w.out += ",\"cardinals\":";
    Cardinals(w, s, v);
    w.out += '}';
    return std::move(w.out);
}

}  // namespace serve
