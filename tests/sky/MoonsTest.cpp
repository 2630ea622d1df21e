// SPDX-License-Identifier: LGPL-3.0-or-later
// The planets' moons: the offset of each moon from its planet as seen, against PyEphem
// over 2000-2040, where it reads its precise tables (tools/moons/make_reference.py), and
// against Stellarium over 1990-2040 (tools/moons/make_stellarium_reference.py).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sky/SkyHost.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "zvacl/zvacl.h"

namespace {

// The row's numbers after its Julian Day and moon.
std::vector<double> Fields(std::string line, double* jd, std::string* moon) {
    for (char& c : line) c = c == ',' ? ' ' : c;
    std::istringstream s(line);
    s >> *jd >> *moon;
    std::vector<double> v;
    for (double x; s >> x;) v.push_back(x);
    return v;
}

// The moon's offset from its planet as seen, east and north, arc seconds (J2000).
std::pair<double, double> Seen(CSkyHost& host, const std::string& planet, const std::string& moon) {
    const std::string p = "Solar.Planet." + planet, m = p + ".Satellite." + moon;
    const double pRa = AskNumber(host, p + ".position.RA") * 15,
                 pDec = AskNumber(host, p + ".position.DEC");
    const double mRa = AskNumber(host, m + ".position.RA") * 15,
                 mDec = AskNumber(host, m + ".position.DEC");
    return {std::remainder(mRa - pRa, 360.0) * std::cos(pDec * M_PI / 180) * 3600,
            (mDec - pDec) * 3600};
}

// Each moon's bounds in arc seconds against PyEphem and against Stellarium, with the worst
// measured, by "planet.moon".
const std::map<std::string, std::array<double, 2>>& Bounds() {
    static const auto bounds = BoundsIn<2>("moons/bounds.txt");
    return bounds;
}

std::string PlanetOf(const std::string& moon) {
    for (const auto& [key, row] : Bounds())
        if (key.substr(key.find('.') + 1) == moon) return key.substr(0, key.find('.'));
    return std::string();
}

TEST(Moons, OffsetsFromTheirPlanetsAgreeWithPyEphem) {
    // PyEphem's units of length, au: the radii it divides its tabulated offsets by. Its unit
    // for Uranus is 23891 km, not Uranus' radius of 25559 km.
    const std::map<std::string, double> unitAu = {{"Jupiter", 0.0004769108},
                                                  {"Saturn", 0.0004014253},
                                                  {"Mars", 0.00002269},
                                                  {"Uranus", 0.0001597}};
    std::map<std::string, WorstError> worst;
    for (const std::string& line : DataRows("moons/offsets.csv", 5)) {
        double jd = 0;
        std::string moon;
        const std::vector<double> f = Fields(line, &jd, &moon);
        const std::string planet = PlanetOf(moon);
        ASSERT_TRUE(!planet.empty() && f.size() == 3) << line;
        const double east = f[0], north = f[1], near = f[2];
        // PyEphem reads its tables at the UT instant as if it were TT: ask for that TT.
        CSkyHost host(jd - (UtToDt(jd) - jd));
        const auto [seenEast, seenNorth] = Seen(host, planet, moon);
        // One unit as seen at the moon's distance, arc seconds.
        const double unit = unitAu.at(planet);
        const double distance = AskNumber(host, "Solar.Planet." + planet + ".GeocentricDistance");
        const double radius = unit / (distance - near * unit) * 206264.806;
        worst[planet + "." + moon].Add(
            std::hypot(seenEast - east * radius, seenNorth - north * radius), jd);
    }
    ExpectEach(worst, Bounds(), 0, "offset, arcsec", "\"");
}

// Against Stellarium's own theories (tools/moons/make_stellarium_reference.py) at the same UT
// instants, 1990-2040: the years before PyEphem's precise tables, and Hyperion against a
// second evaluation of TASS 1.7.
TEST(Moons, OffsetsAgreeWithStellarium) {
    std::map<std::string, WorstError> worst;
    for (const std::string& line : DataRows("moons/stellarium.csv", 4)) {
        double jd = 0;
        std::string moon;
        const std::vector<double> f = Fields(line, &jd, &moon);
        const std::string planet = PlanetOf(moon);
        ASSERT_TRUE(!planet.empty() && f.size() == 2) << line;
        CSkyHost host(jd);
        const auto [east, north] = Seen(host, planet, moon);
        worst[planet + "." + moon].Add(std::hypot(east - f[0], north - f[1]), jd);
    }
    ExpectEach(worst, Bounds(), 1, "against Stellarium, arcsec", "\"");
}

}  // namespace
