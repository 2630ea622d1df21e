// Satellites seen from the ground against Skyfield (tables made by
// tools/sgp4/make_reference.py from the sets in reference.tle): the sub-satellite point,
// altitude, azimuth and distance of 10 satellites at 20 instants, and the rise,
// culmination and set of three low ones over two days at two sites.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "sky/satellites/Passes.h"
#include "sky/satellites/Tle.h"

namespace {

std::string Data(const char* name) { return std::string(ZCMCOM_TEST_DATA) + "/satellites/" + name; }

const std::map<std::string, sky::Site> kSites = {{"tokyo", {139.745, 35.654, 40.0}},
                                                 {"santiago", {-70.65, -33.45, 520.0}}};

sky::TleCatalog ReferenceSets() {
    sky::TleCatalog cat;
    EXPECT_TRUE(cat.AddFile(Data("reference.tle")));
    EXPECT_EQ(cat.sets.size(), 10u);
    EXPECT_TRUE(cat.problems.empty());
    return cat;
}

double AngleDiff(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

TEST(SatelliteView, LookAgainstSkyfield) {
    const sky::TleCatalog cat = ReferenceSets();
    std::ifstream in(Data("look.txt"));
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream f(line);
        int number = 0;
        std::string site;
        double jd, lon, lat, height, alt, az, range;
        ASSERT_TRUE(f >> number >> site >> jd >> lon >> lat >> height >> alt >> az >> range);
        SCOPED_TRACE(line);
        const sky::Sgp4 model(cat.sets.at(number));
        const sky::SatelliteLook s = sky::Look(model, jd, sky::Observer(kSites.at(site)));
        ASSERT_EQ(s.error, 0);
        EXPECT_LT(AngleDiff(s.longitude, lon), 0.001);
        EXPECT_NEAR(s.latitude, lat, 0.001);
        EXPECT_NEAR(s.height, height, 0.05);
        EXPECT_NEAR(s.altitude, alt, 0.01);
        // Azimuth as an angle on the sky: near the zenith its degrees shrink.
        EXPECT_LT(AngleDiff(s.azimuth, az) * std::cos(alt * M_PI / 180.0), 0.01);
        EXPECT_NEAR(s.topocentricKm, range, 0.05);
        ++rows;
    }
    EXPECT_EQ(rows, 200);
}

TEST(SatelliteView, PassesAgainstSkyfield) {
    const sky::TleCatalog cat = ReferenceSets();
    // Skyfield's events by satellite and site, in time order.
    std::map<std::pair<int, std::string>, std::vector<std::pair<int, double>>> expected;
    std::ifstream in(Data("passes.txt"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream f(line);
        int number = 0, event = 0;
        std::string site;
        double jd = 0.0;
        ASSERT_TRUE(f >> number >> site >> event >> jd);
        expected[{number, site}].push_back({event, jd});
    }
    ASSERT_EQ(expected.size(), 6u);
    const double start = 2459748.5, end = 2459750.5;  // 2022-06-18 to 06-20, UTC
    for (const auto& [key, events] : expected) {
        SCOPED_TRACE(key.first);
        SCOPED_TRACE(key.second);
        const std::vector<sky::Pass> passes =
            sky::FindPasses(sky::Sgp4(cat.sets.at(key.first)), sky::Observer(kSites.at(key.second)), start, end);
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
            EXPECT_NEAR(passes[i].rise.jd, rises[i], 1.0 / 86400.0) << i;
            EXPECT_NEAR(passes[i].culmination.jd, tops[i], 1.0 / 86400.0) << i;
            EXPECT_NEAR(passes[i].set.jd, sets[i], 1.0 / 86400.0) << i;
            EXPECT_NEAR(passes[i].rise.altitude, 0.0, 1e-3);
        }
    }
}

}  // namespace
