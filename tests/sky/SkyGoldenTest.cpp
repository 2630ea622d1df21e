// SPDX-License-Identifier: LGPL-3.0-or-later
// Whole click texts of the library against the built-in sky at one instant from Tokyo,
// kept as golden files under tests/golden/sky/ (scripts/update-golden.sh writes them anew;
// their numbers were checked by hand against the reference tables and the geometry).
#include <gtest/gtest.h>

#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

constexpr double kInstant = 2461265.0;  // 2026 Aug 13 0h UT, the night of the Perseids in Tokyo

// A golden text: its file's name, the object path, and the statements that set it up.
struct Golden {
    const char* name;
    const wchar_t* path;
    const wchar_t* statements;
};

class SkyGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(SkyGolden, TextIsTheKeptOne) {
    SkyClick frame(kInstant, 139.69, 35.69, 40);
    frame.host.Execute(GetParam().statements);
    ExpectGolden(frame.Text(GetParam().path), std::string("sky/") + GetParam().name + ".txt");
}

// The frames: a Canon EOS 6D (35.8 x 23.9 mm) behind 400 mm, centred on the Orion Nebula;
// its angles 2 atan(35.8 / 800) = 5.1246 and 2 atan(23.9 / 800) = 3.4219 degrees. Frame 1 of
// the 3 x 2 mosaic with 15 % overlap lies 0.85 x 23.9 / 400 rad (2.910 deg) north and half of
// 0.85 x 35.8 / 400 rad (2.179 deg) east of the centre on the tangent plane.
constexpr wchar_t kFrames[] =
    L"AngleOfView.Camera = Canon EOS 6D; AngleOfView.FocalLength = 400; AngleOfView.RA = 5.58;"
    L"AngleOfView.Dec = -5.4; AngleOfView.Roll = -15;"
    L"MosaicOfField.Camera = Canon EOS 6D; MosaicOfField.FocalLength = 400; MosaicOfField.Row = 3;"
    L"MosaicOfField.Column = 2; MosaicOfField.Overlap = 0.15; MosaicOfField.RA = 5.58; "
    L"MosaicOfField.Dec = -5.4;"
    L"FieldOfViewCircle.Angle = 1.5; FieldOfViewCircle.RA = 5.58; FieldOfViewCircle.Dec = -5.4";

INSTANTIATE_TEST_SUITE_P(
    Objects, SkyGolden,
    ::testing::Values(
        Golden{"io", L"Solar.Planet.Jupiter.Satellite.Io", L""},
        Golden{"titan", L"Solar.Planet.Saturn.Satellite.Titan", L""},
        Golden{"phobos", L"Solar.Planet.Mars.Satellite.Phobos", L""},
        Golden{"titania", L"Solar.Planet.Uranus.Satellite.Titania", L""},
        Golden{"sun_earth_l2", L"Solar.Planet.Earth.LagrangianPoint.L2", L""},
        Golden{"earth_moon_l4", L"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L4", L""},
        Golden{"umbra", L"Solar.Planet.Earth.Umbra", L""}, Golden{"perseids", L"Meteor.PER", L""},
        Golden{"geminids", L"Meteor.GEM", L""}, Golden{"angle_of_view", L"AngleOfView", kFrames},
        Golden{"mosaic_frame1", L"MosaicOfField.1", kFrames},
        Golden{"mosaic_frame6", L"MosaicOfField.6", kFrames},
        Golden{"field_of_view", L"FieldOfViewCircle", kFrames}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
