// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky seen from another body: the Earth's and Jupiter's places from the Moon's centre
// and from a site on Mars, and the Earth's rise and set at a site on the Moon, against
// JPL's DE405 (tests/data/observer/reference.txt, made by tools/observer/make_reference.py).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

// The observer on another body and the satellites' ground observer in one unit: one library
// must not hold two different types of one name.
#include "sky/bodies/Observer.h"
#include "sky/satellites/SatelliteView.h"
#include "sky/SkyHost.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

double Num(CSkyHost& host, const CString& query) { return NumberOf(host.Execute(query)); }

// The statement CZVDateObs sends for a body (with a site: on its surface).
const wchar_t* Where(const std::string& observer) {
    return observer == "moon" ? L"Location = Solar.Planet.Earth.Satellite.Moon"
           : observer == "mars"
               ? L"Location = Solar.Planet.Mars(137.400000, -4.600000, 0.000000)"
               : L"Location = Solar.Planet.Earth.Satellite.Moon(88.000000, 0.000000, 0.000000)";
}

// Bounds, with the worst measured, in tests/data/observer/bounds.txt.
TEST(ObserverOnAnotherBody, PlacesAndTheEarthsRiseAndSetAgreeWithDe405AndTheBodyLeavesTheSky) {
    CSkyHost host(2460400.5);
    std::map<std::string, WorstError> worst;
    for (const std::string& line : DataRows("observer/reference.txt", {4, 6})) {
        std::istringstream s(line);
        std::string kind, observer = "moonsite", target = "Earth";
        double jd = 0, ra = 0, dec = 0, rise = 0, set = 0;
        s >> kind;
        if (kind == "place")
            s >> observer >> target >> jd >> ra >> dec;
        else
            s >> jd >> rise >> set;
        ASSERT_FALSE(s.fail()) << line;
        host.Execute(Where(observer));
        host.SetJd(jd);
        const CString path = L"? Solar.Planet." + CString(target.c_str());
        if (kind == "place") {
            const double dRa = std::remainder(Num(host, path + L".position.RA") - ra, 24.0) * 15.0 *
                               std::cos(dec * M_PI / 180.0);
            const double dDec = Num(host, path + L".position.Dec") - dec;
            worst[target + "_from_" + observer].Add(std::hypot(dRa, dDec) * 3600.0, jd);
            continue;
        }
        EXPECT_LT(Num(host, path + L".position.Altitude"), 0.0);
        WorstError& w = worst["Earth_rise_and_set_at_moonsite"];
        w.Add((Num(host, path + L".Jd.Rise") - rise) * 1440.0, jd);
        w.Add((Num(host, path + L".Jd.Set") - set) * 1440.0, jd);
        const double transit = Num(host, path + L".Jd.Transit");
        EXPECT_TRUE(transit > rise && transit < set) << transit;
    }
    ExpectEach(worst, BoundsIn<1>("observer/bounds.txt"), 0, "against DE405");

    // The body leaves the sky and the Earth enters it.
    host.SetJd(2460400.5);
    host.Execute(L"Location = Solar.Planet.Mars(137.4, -4.6, 0)");
    EXPECT_EQ(host.Execute(L"? Solar.Planet.Mars.position.RA"), L"");
    EXPECT_GT(Num(host, L"? Solar.Planet.Mars.HelioCentricDistance"), 1.3);
    // The Earth from Mars: its distance, a phase, and a place on the site's horizon.
    EXPECT_NEAR(Num(host, L"? Solar.Planet.Earth.GeocentricDistance"), 2.09, 0.01);
    EXPECT_TRUE(std::isfinite(Num(host, L"? Solar.Planet.Earth.position.Altitude")));
    EXPECT_TRUE(std::isfinite(Num(host, L"? Solar.Planet.Earth.Jd.Rise")));
    // At a body's centre there is no horizon; back on the Earth, the Earth leaves the sky.
    host.Execute(L"Location = Solar.Planet.Jupiter");
    EXPECT_EQ(host.Execute(L"? Solar.Sun.position.Altitude"), L"*");
    EXPECT_NEAR(Num(host, L"? Solar.Sun.GeocentricDistance"), 5.0, 0.5);
    host.Execute(L"Location = Solar.Planet.Earth; Location = Location(139.7, 35.7, 40)");
    EXPECT_EQ(host.Execute(L"? Solar.Planet.Earth.position.RA"), L"");
    EXPECT_NEAR(Num(host, L"? Solar.Sun.GeocentricDistance"), 1.0, 0.02);
}

}  // namespace
