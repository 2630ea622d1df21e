// SPDX-License-Identifier: LGPL-3.0-or-later
// Whole click texts of the library against the built-in sky at one instant from Tokyo,
// kept as golden files under tests/golden/sky/ (scripts/update-golden.sh writes them anew;
// their numbers were checked by hand against the reference tables and the geometry).
#include <gtest/gtest.h>

#include "SkyTables.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

constexpr double kInstant = 2461265.0;  // 2026 Aug 13 0h UT, the night of the Perseids in Tokyo

// The objects, their golden files and the statements that set them up in tests/data/sky.
TEST(SkyGolden, TextsAreTheKeptOnes) {
    for (const std::string& row : DataRows("sky/golden.txt", 3)) {
        const std::vector<std::string> f = TabFields(row);
        SkyClick frame(kInstant, 139.69, 35.69, 40);
        frame.host.Execute(W(f[2]));
        ExpectGolden(frame.Text(W(f[1])), "sky/" + f[0] + ".txt");
    }
}

}  // namespace
