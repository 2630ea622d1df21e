// Whole click texts of the library against the built-in sky at one instant from Tokyo,
// kept as golden files under tests/golden/sky/ (ZCMCOM_UPDATE_GOLDEN=1 writes them anew;
// their numbers were checked by hand against the reference tables and the geometry).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "sky/SkyHost.h"

namespace {

constexpr double kInstant = 2461265.0;  // 2026 Aug 13 0h UT, the night of the Perseids in Tokyo

std::string GoldenPath(const std::string& name) {
    return std::string(ZCMCOM_SOURCE_DIR) + "/tests/golden/sky/" + name + ".txt";
}

class SkyGolden : public ::testing::TestWithParam<std::pair<const char*, const wchar_t*>> {};

TEST_P(SkyGolden, TextIsTheKeptOne) {
    CSkyHost host(kInstant);
    host.SetSite(139.69, 35.69, 40);
    CCdStatus status;
    status.Init();
    CZntClickData clickData;
    clickData.SetStatus(&status);
    const std::string text = clickData.GetText(&host, GetParam().second, 0).ToUtf8();
    const std::string path = GoldenPath(GetParam().first);
    if (std::getenv("ZCMCOM_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << text;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << path;
    std::stringstream kept;
    kept << in.rdbuf();
    EXPECT_EQ(text, kept.str()) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Objects, SkyGolden,
    ::testing::Values(std::make_pair("io", L"Solar.Planet.Jupiter.Satellite.Io"),
                      std::make_pair("titan", L"Solar.Planet.Saturn.Satellite.Titan"),
                      std::make_pair("sun_earth_l2", L"Solar.Planet.Earth.LagrangianPoint.L2"),
                      std::make_pair("earth_moon_l4", L"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L4"),
                      std::make_pair("umbra", L"Solar.Planet.Earth.Umbra"),
                      std::make_pair("perseids", L"Meteor.PER"), std::make_pair("geminids", L"Meteor.GEM")),
    [](const auto& info) { return std::string(info.param.first); });

}  // namespace
