// SPDX-License-Identifier: LGPL-3.0-or-later
// Satellites seen from the ground against Skyfield (tables made by
// tools/sgp4/make_reference.py from the sets in reference.tle): the sub-satellite point,
// altitude, azimuth and distance of 10 satellites at 20 instants, and the rise,
// culmination and set of three low ones over two days at two sites.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "sky/satellites/Passes.h"
#include "sky/satellites/Tle.h"
#include "support/Accuracy.h"

namespace {

const std::map<std::string, sky::Site> kSites = {{"tokyo", {139.745, 35.654, 40.0}},
                                                 {"santiago", {-70.65, -33.45, 520.0}}};

sky::TleCatalog ReferenceSets() {
    sky::TleCatalog cat;
    EXPECT_TRUE(cat.AddFile(std::string(ZCMCOM_TEST_DATA) + "/satellites/reference.tle"));
    EXPECT_EQ(cat.sets.size(), 10u);
    EXPECT_TRUE(cat.problems.empty());
    return cat;
}

// Bounds, about twice the worst over the ten satellites (in the comment); the range keeps its
// earlier bound.
constexpr double kLonDeg = 7.5e-4, kLatDeg = 1.7e-6;       // 3.6e-4, 8.4e-7
constexpr double kHeightKm = 1.7e-4, kRangeKm = 0.05;      // 8.1e-5, 0.032
constexpr double kAltDeg = 0.0035, kAzDeg = 0.0034;        // 0.00175, 0.00166 (on the sky)
constexpr double kRiseSetS = 0.04, kCulminationS = 0.012;  // 0.020, 0.0058

double AngleDiff(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

TEST(SatelliteView, LookAgainstSkyfield) {
    const sky::TleCatalog cat = ReferenceSets();
    WorstError lon, lat, height, alt, az, range;
    for (const std::string& row : DataRows("satellites/look.txt", 9)) {
        std::istringstream f(row);
        int number = 0;
        std::string site;
        double jd, rLon, rLat, rHeight, rAlt, rAz, rRange;
        ASSERT_TRUE(f >> number >> site >> jd >> rLon >> rLat >> rHeight >> rAlt >> rAz >> rRange)
            << row;
        const sky::SatelliteLook s =
            sky::Look(sky::Sgp4(cat.sets.at(number)), jd, sky::Observer(kSites.at(site)));
        const std::string name = std::to_string(number) + " " + site + " " + std::to_string(jd);
        lon.Add(AngleDiff(s.longitude, rLon), name);
        lat.Add(s.latitude - rLat, name);
        height.Add(s.height - rHeight, name);
        alt.Add(s.altitude - rAlt, name);
        // Azimuth as an angle on the sky: near the zenith its degrees shrink.
        az.Add(AngleDiff(s.azimuth, rAz) * std::cos(rAlt * M_PI / 180.0), name);
        range.Add(s.topocentricKm - rRange, name);
    }
    lon.Expect("satellite sub-point longitude", kLonDeg, "deg");
    lat.Expect("satellite sub-point latitude", kLatDeg, "deg");
    height.Expect("satellite height", kHeightKm, "km");
    alt.Expect("satellite altitude", kAltDeg, "deg");
    az.Expect("satellite azimuth (on the sky)", kAzDeg, "deg");
    range.Expect("satellite range", kRangeKm, "km");
}

TEST(SatelliteView, PassesAgainstSkyfield) {
    const sky::TleCatalog cat = ReferenceSets();
    // Skyfield's events by satellite and site, in time order.
    std::map<std::pair<int, std::string>, std::vector<std::pair<int, double>>> expected;
    for (const std::string& line : DataRows("satellites/passes.txt", 4)) {
        std::istringstream f(line);
        int number = 0, event = 0;
        std::string site;
        double jd = 0.0;
        ASSERT_TRUE(f >> number >> site >> event >> jd);
        expected[{number, site}].push_back({event, jd});
    }
    ASSERT_EQ(expected.size(), 6u);
    const double start = 2459748.5, end = 2459750.5;  // 2022-06-18 to 06-20, UTC
    WorstError rise, top, set;
    int daylight = 0, dark = 0;
    for (const auto& [key, events] : expected) {
        SCOPED_TRACE(key.first);
        SCOPED_TRACE(key.second);
        const sky::Sgp4 model(cat.sets.at(key.first));
        const sky::Observer observer(kSites.at(key.second));
        const std::vector<sky::Pass> passes = sky::FindPasses(model, observer, start, end);
        // Whole passes only: from each rise to the set that follows it.
        std::vector<double> rises, tops, sets;
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].first != 0) continue;
            rises.push_back(events[i].second);
            for (size_t j = i + 1; j < events.size() && events[j].first != 0; ++j)
                (events[j].first == 1 ? tops : sets).push_back(events[j].second);
        }
        const size_t whole = std::min(rises.size(), sets.size());
        ASSERT_EQ(passes.size(), whole);
        ASSERT_GT(whole, 3u);
        for (size_t i = 0; i < whole; ++i) {
            const std::string name =
                std::to_string(key.first) + " " + key.second + " pass " + std::to_string(i);
            rise.Add((passes[i].rise.jd - rises[i]) * 86400.0, name);
            top.Add((passes[i].culmination.jd - tops[i]) * 86400.0, name);
            set.Add((passes[i].set.jd - sets[i]) * 86400.0, name);
            // A pass with the Sun up is never visible; one sunlit at its top in a dark sky is.
            const sky::SatelliteLook at = sky::Look(model, passes[i].culmination.jd, observer);
            const bool day = at.sunAltitude > 0.0, night = at.sunlit && at.sunAltitude < -12.0;
            if (day || night) {
                EXPECT_EQ(passes[i].visible, night) << name;
            }
            daylight += day, dark += night;
        }
    }
    EXPECT_TRUE(daylight > 0 && dark > 0) << daylight << " " << dark;
    rise.Expect("satellite rise", kRiseSetS, "s");
    top.Expect("satellite culmination", kCulminationS, "s");
    set.Expect("satellite set", kRiseSetS, "s");
}

// In the Earth's shadow exactly when, seen from the satellite, the Earth's disc hides all
// of the Sun's: each second of one ISS orbit, against that geometry; only a sample within a
// second of an edge may differ.
TEST(SatelliteView, InTheShadowWhereTheEarthHidesAllTheSun) {
    const sky::TleCatalog cat = ReferenceSets();
    const sky::Sgp4 model(cat.sets.at(25544));
    const sky::Observer observer(kSites.at("tokyo"));
    int shadow = 0, differ = 0;
    for (int second = 0; second < 5580; ++second) {
        const double jd = 2459749.0 + second / 86400.0;
        const sky::SatelliteLook s = sky::Look(model, jd, observer);
        double sun[3], km = 0.0;
        sky::SunOfDate(jd, sun, &km);
        const double r = std::hypot(s.teme[0], s.teme[1], s.teme[2]);
        double toSun[3], cosSep = 0.0;
        for (int i = 0; i < 3; ++i) toSun[i] = sun[i] * km - s.teme[i];
        const double d = std::hypot(toSun[0], toSun[1], toSun[2]);
        for (int i = 0; i < 3; ++i) cosSep -= s.teme[i] / r * toSun[i] / d;
        const bool hidden = std::asin(6378.137 / r) > std::acos(cosSep) + std::asin(696000.0 / d);
        shadow += hidden;
        differ += hidden == s.sunlit;
    }
    EXPECT_GT(shadow, 1000);
    EXPECT_LE(differ, 2);
}

}  // namespace
