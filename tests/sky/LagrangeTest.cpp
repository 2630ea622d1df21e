// SPDX-License-Identifier: LGPL-3.0-or-later
// The Lagrangian points and the Earth's shadow against plain geometry on PyEphem's Sun and
// Moon (tools/lagrange/make_reference.py), 1995-2040.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "sky/SkyHost.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"

namespace {

// Bounds, with the worst measured, in tests/data/lagrange/bounds.txt.

TEST(Lagrange, PointsAndShadowAgreeWithTheGeometryOfPyEphemsSunAndMoon) {
    std::map<std::string, WorstError> worst;
    for (std::string line : DataRows("lagrange/points.csv", {4, 6})) {
        for (char& c : line) c = c == ',' ? ' ' : c;
        std::istringstream s(line);
        double jd = 0, ra = 0, dec = 0, umbra = NAN, penumbra = NAN;
        std::string what;
        s >> jd >> what >> ra >> dec >> umbra >> penumbra;
        const std::string path =
            what == "UMBRA" ? "Solar.Planet.Earth.Umbra"
            : what[0] == 'S'
                ? "Solar.Planet.Earth.LagrangianPoint.L" + what.substr(2)
                : "Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L" + what.substr(2);
        CSkyHost host(jd);
        worst[what].Add(SeparationArcsec(AskNumber(host, path + ".position.RA") * 15,
                                         AskNumber(host, path + ".position.DEC"), ra, dec),
                        what + " " + std::to_string(jd));
        if (what == "UMBRA") {
            worst["umbra_radius"].Add((AskNumber(host, path + ".Radius.Umbra") - umbra) * 3600, jd);
            worst["penumbra_radius"].Add(
                (AskNumber(host, path + ".Radius.Penumbra") - penumbra) * 3600, jd);
        }
    }
    ExpectEach(worst, BoundsIn<1>("lagrange/bounds.txt"), 0, "against PyEphem's geometry, arcsec",
               "\"");
}

}  // namespace
