// SPDX-License-Identifier: LGPL-3.0-or-later
// The click texts of catalogue objects from the built-in sky's tables (golden files under
// tests/golden/catalogs; scripts/update-golden.sh rewrites them), the values behind them
// checked against the source catalogues, and the variable-star predictions.
#include <gtest/gtest.h>

#include <cmath>

#include "sky/catalogs/Variability.h"
#include "SkyTables.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

constexpr double kTokyoEvening = 2461381.0;  // 2026-12-06 12:00 UT

class CatalogTexts : public ::testing::Test {
protected:
    void SetUp() override {
        frame.status.DispMag = frame.status.StarDetails = frame.status.PgcDetails = 1;
    }
    SkyClick frame{kTokyoEvening, 139.69, 35.69, 40, 9.0};
    CSkyHost& host = frame.host;
};

TEST_F(CatalogTexts, MatchTheGoldenFiles) {
    for (const std::string& row : DataRows("catalogs/golden.txt", 2)) {
        const std::vector<std::string> f = TabFields(row);
        std::string text = frame.Text(W(f[1]));
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
        ExpectGolden(text, "catalogs/" + f[0] + ".txt");
    }
}

TEST_F(CatalogTexts, OneObjectUnderEveryDesignationAndTheSourceValues) {
    for (const wchar_t* property : {L".Position.RA", L".Position.DEC", L".Magnitude", L".Size"}) {
        const CString m31 = host.Execute(CString(L"? DeepSkyObject.M.31") + property);
        EXPECT_FALSE(m31.IsEmpty());
        for (const wchar_t* other :
             {L"? DeepSkyObject.NGC.224", L"? DeepSkyObject.PGC.2557", L"? DeepSkyObject.UGC.454"})
            EXPECT_EQ(host.Execute(other + CString(property)), m31) << CString(other).ToUtf8();
    }
    // A variable and a double star are the catalogue star of their Hipparcos number.
    EXPECT_EQ(host.Execute(L"? Star.GCVS.ο Cet.Position.Altitude"),
              host.Execute(L"? Star.HIP.10826.Position.Altitude"));
    EXPECT_EQ(host.Execute(L"? Star.WDS.19307+2758.A.Position.RA"),
              host.Execute(L"? Star.HIP.95947.Position.RA"));
    // Every star and Messier object the host lists is answered by the catalogue sources.
    int listed = 0;
    for (const CString& line : host.KnownObjects()) {
        const CString path = line.Find(L'\t') >= 0 ? line.Left(line.Find(L'\t')) : line;
        if (path.Left(9) != L"Star.HIP." && path.Left(16) != L"DeepSkyObject.M.") continue;
        EXPECT_FALSE(host.Execute(L"? " + path + L".Position.RA").IsEmpty()) << path.ToUtf8();
        ++listed;
    }
    EXPECT_GT(listed, 110 + 300);
    ExpectAnswersIn(host, "catalogs/answers.txt");  // the source files' values
}

// A damaged table is named on standard error with its offset; the rest of the sky answers.
TEST(CatalogData, DamagedTableLeavesTheRestOfTheSkyWorkingAndKindsAreListed) {
    TempDir dir;
    const std::string stars = ReadFileBytes(std::string(ZCMCOM_SOURCE_DIR) + "/data/stars.zct");
    ASSERT_GT(stars.size(), 1000u);
    WriteFileBytes(dir.File("stars.zct"), stars.substr(0, stars.size() / 3));
    const std::string cli = "ZCMCOM_DATA_DIR=" + dir.path() + " " + ZCMCOM_CLI +
                            " click --at 2026-12-06T12:00:00Z --site 139.7,35.7 ";
    int status = 0;
    const std::string star = RunCommand(cli + "Star.HIP.10826 2>&1", &status);
    EXPECT_NE(star.find("stars.zct: offset"), std::string::npos) << star;
    EXPECT_EQ(star.find("HIP10826"), std::string::npos) << star;
    const std::string galaxy = RunCommand(cli + "DeepSkyObject.M.31 2>&1", &status);
    EXPECT_NE(galaxy.find("Andromeda Galaxy M 31"), std::string::npos) << galaxy;
    // The command line lists a kind to a magnitude.
    const std::string bright =
        RunCommand(std::string(ZCMCOM_CLI) + " sky --kind stars --mag 0", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(bright.find("Star.HIP.32349\t-1.44\tSirius / シリウス / α CMa / 9 CMa\n"),
              std::string::npos)
        << bright;
    EXPECT_EQ(bright.find("Star.HIP.10826"), std::string::npos);
    const std::string planets =
        RunCommand(std::string(ZCMCOM_CLI) + " sky --kind exoplanets --mag 5.5", &status);
    EXPECT_NE(planets.find("Star.ExtraSolarPlanet.51 Pegb\t5.49\t51 Peg b / Dimidium\n"),
              std::string::npos);
    RunCommand(std::string(ZCMCOM_CLI) + " sky --kind comets 2>&1", &status);
    EXPECT_NE(status, 0);
    RunCommand(std::string(ZCMCOM_CLI) + " sky --kind stars --mag x 2>&1", &status);
    EXPECT_NE(status, 0);
}

// Next maximum and minimum from the elements, worked by hand: n = ceil((jd - E) / P),
// event = E + n P; a pulsating star's minimum lies (M-m)% of P before its maximum.
TEST(VariableStars, NextExtremaFromTheElements) {
    const struct {
        const char* type;
        double epoch, period, rise, jd, maximum, minimum;
    } kCases[] = {
        // Mira: E 2444839, P 331.96, M-m 38%: 2444839 + 50 P = 2461437.0; minimum 126.1448 d
        // before.
        {"M", 2444839.0, 331.96, 38.0, 2461381.0, 2461437.0, 2461310.8552 + 331.96},
        // delta Cep: E 2436075.445, P 5.366341: n = 4695; the minimum (25%) needs n = 4696.
        {"DCEP", 2436075.445, 5.366341, 25.0, 2461270.0, 2436075.445 + 4695 * 5.366341,
         2436075.445 - 1.34158525 + 4696 * 5.366341},
        // Algol (eclipsing): the epoch is a minimum; no maximum is predicted.
        {"EA/SD", 2445641.5135, 2.8673043, NAN, 2461381.0, NAN, 2445641.5135 + 5490 * 2.8673043},
        // RR Lyr: no rise time, so no minimum.
        {"RRAB", 2442923.4193, 0.56686776, NAN, 2461381.0, 2442923.4193 + 32561 * 0.56686776, NAN},
        // An event exactly now is the next one.
        {"SRA", 2450000.0, 100.0, 50.0, 2450300.0, 2450300.0, 2450350.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.type);
        double maximum = 0.0, minimum = 0.0;
        sky::NextExtrema(c.type, c.epoch, c.period, c.rise, c.jd, &maximum, &minimum);
        for (const auto& [got, want] :
             {std::pair{maximum, c.maximum}, std::pair{minimum, c.minimum}}) {
            EXPECT_EQ(std::isnan(got), std::isnan(want));
            if (!std::isnan(want)) {
                EXPECT_NEAR(got, want, 1e-6);
            }
            EXPECT_TRUE(std::isnan(got) || got >= c.jd);
        }
    }
    double maximum = 0.0, minimum = 0.0;
    sky::NextExtrema("M", 2450000.0, 0.0, 40.0, 2450300.0, &maximum, &minimum);
    EXPECT_TRUE(std::isnan(maximum) && std::isnan(minimum));
}

}  // namespace
