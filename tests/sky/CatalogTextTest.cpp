// SPDX-License-Identifier: LGPL-3.0-or-later
// The click texts of catalogue objects from the built-in sky's tables (golden files under
// tests/golden/catalogs; scripts/update-golden.sh rewrites them), the values behind them
// checked against the source catalogues, and the variable-star predictions.
#include <gtest/gtest.h>

#include <cmath>

#include "sky/catalogs/Variability.h"
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
    const std::pair<const char*, const wchar_t*> kCases[] = {
        {"mira", L"Star.GCVS.omi Cet"},
        {"mira_hip", L"Star.HIP.10826"},
        {"albireo", L"Star.WDS.19307+2758.A"},
        {"51peg", L"Star.51 Peg"},
        {"51peg_b", L"Star.51 Peg.Planet.b"},
        {"m31", L"DeepSkyObject.M.31"},
        {"ngc224", L"DeepSkyObject.NGC.224"},
        {"pgc2557", L"DeepSkyObject.PGC2557"},
        {"ngc7000", L"DeepSkyObject.NGC.7000"},
        {"ic434", L"DeepSkyObject.IC.434"},
        {"hip21", L"Star.HIP.21"},
        {"lmc", L"MagellanicCloud.Large"},
    };
    for (const auto& [golden, path] : kCases) {
        std::string text = frame.Text(path);
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
        ExpectGolden(text, std::string("catalogs/") + golden + ".txt");
    }
}

TEST_F(CatalogTexts, OneObjectUnderEveryDesignation) {
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
    EXPECT_EQ(host.Execute(L"? Star.HIP.10826.VariableName"), L"ο Cet");
    EXPECT_EQ(host.Execute(L"? Star.HIP.113357.numberofPlanets"), L"1");
    EXPECT_EQ(host.Execute(L"? Star.HIP.32349.numberofPlanets"), L"0");
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
    // Unknown designations belong to nobody.
    EXPECT_EQ(host.Execute(L"? DeepSkyObject.NGC.99999.Name"), L"");
    EXPECT_EQ(host.Execute(L"? Star.GCVS.zz Zzz.Name"), L"");
    EXPECT_EQ(host.Execute(L"? Star.ExtraSolarPlanet.nosuchstarb.Name"), L"");
}

// A damaged table is named on standard error with its offset; the rest of the sky answers.
TEST(CatalogData, DamagedTableLeavesTheRestOfTheSkyWorking) {
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
}

TEST(CatalogData, CommandLineListsAKindToAMagnitude) {
    int status = 0;
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

// Values as the source files give them (gcvs_hip_part.dat, wds_hip_part.dat, hip_pm.dat,
// the exoplanet table, OpenNGC).
TEST_F(CatalogTexts, AnswersCarryTheSourceValues) {
    ExpectAnswers(host, {
                            {L"? Star.GCVS.omi Cet.Period", L"331.9600000"},
                            {L"? Star.GCVS.omi Cet.Epoch", L"2444839.00000"},
                            {L"? Star.GCVS.omi Cet.M_mD", L"38"},
                            {L"? Star.GCVS.omi Cet.VariableType", L"M"},
                            {L"? Star.GCVS.omi Cet.Magnitude.Minimum", L"10.10"},
                            {L"? Star.WDS.19307+2758.LastObs.Epoch", L"2017"},
                            {L"? Star.WDS.19307+2758.LastObs.Theta", L"341"},
                            {L"? Star.WDS.19307+2758.LastObs.Rho", L"65.6"},
                            {L"? Star.WDS.19307+2758.FirstObs.Epoch", L"*"},
                            {L"? Star.HIP.677.Propermotion.RA", L"137.46"},
                            {L"? Star.ExtraSolarPlanet.51 Pegb.OrbitalPeriod", L"4.23080"},
                            {L"? Star.ExtraSolarPlanet.51 Pegb.SemiMajorAxis", L"0.05200"},
                            {L"? Star.ExtraSolarPlanet.51 Pegb.DiscoveryYear", L"1995"},
                            {L"? DeepSkyObject.NGC.7000.Name", L"North America Nebula"},
                            {L"? DeepSkyObject.M.31.JapaneseName", L"アンドロメダ銀河"},
                            {L"? DeepSkyObject.IC.434.Size", L"90'x30'"},
                        });
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
