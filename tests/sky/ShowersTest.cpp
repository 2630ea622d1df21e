// SPDX-License-Identifier: LGPL-3.0-or-later
// Meteor showers: the next peaks from the table's solar longitudes against PyEphem's Sun
// (tools/meteors/make_reference.py), the radiant's drift, and a damaged table.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "sky/SkyHost.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

constexpr double kNewYear2026 = 2461041.5;

TEST(Showers, NextPeaksAgreeWithPyEphemsSun) {
    // Bounds in days, about twice the worst measured: the peaks 3e-5 (GEM 2e-5, QUA 1e-5; the
    // table's last digit 1e-5), and a year on 0.0167, where the test's year of 365.2422 days is
    // what differs: the Sun returns to a longitude up to half an hour early or late.
    const std::map<std::string, double> bounds = {
        {"GEM", 6e-5}, {"PER", 6e-5}, {"QUA", 6e-5}, {"a year on", 0.034}};
    std::map<std::string, WorstError> worst;
    for (std::string line : DataRows("meteors/peaks.csv", 2)) {
        const std::string code = line.substr(0, line.find(','));
        const double jd = std::stod(line.substr(line.find(',') + 1));
        CSkyHost host(kNewYear2026);
        worst[code].Add(AskNumber(host, "Meteor." + code + ".jd.peak") - jd, code);
        // Just after the peak, the next one is a year later.
        CSkyHost after(jd + 0.6);
        worst["a year on"].Add(AskNumber(after, "Meteor." + code + ".jd.peak") - jd - 365.2422,
                               code);
    }
    ExpectEach(worst, bounds, "next peak, days", "d");
}

TEST(Showers, RadiantDriftsWithTheSunAndStopsWithTheActivity) {
    // Perseids: RA 48, Dec 58 at the peak (solar longitude 140), drifting 1.4 and 0.26 a degree.
    CSkyHost peak(2461265.58367);
    EXPECT_NEAR(AskNumber(peak, "Meteor.PER.position.RA") * 15, 48.0, 0.01);
    EXPECT_NEAR(AskNumber(peak, "Meteor.PER.position.DEC"), 58.0, 0.01);
    CSkyHost before(2461265.58367 - 10.15);  // the Sun moves 0.9586 degrees a day in early August
    const double dLambda = -10.15 * 0.9586;
    EXPECT_NEAR(AskNumber(before, "Meteor.PER.position.RA") * 15, 48.0 + 1.4 * dLambda, 0.02);
    EXPECT_NEAR(AskNumber(before, "Meteor.PER.position.DEC"), 58.0 + 0.26 * dLambda, 0.01);
    // In spring, far outside its activity (114-151), the radiant stays at the span's start.
    CSkyHost spring(2461130.5);
    EXPECT_NEAR(AskNumber(spring, "Meteor.PER.position.RA") * 15, 48.0 - 1.4 * 26, 0.01);
    EXPECT_EQ(spring.Execute(L"? Meteor.PER.Name"), CString(L"ペルセウス座"));
    EXPECT_EQ(spring.Execute(L"? Meteor.QUA.ZHR"), CString(L"*"));  // variable
    // The peak's longitude on the equinox of date, by which the click text times it: the
    // table's J2000 value and 50.29" a year of precession (26.27 years).
    EXPECT_NEAR(AskNumber(spring, "Meteor.GEM.LambdaOfPeak"), 262.2 + 50.29 * 26.27 / 3600, 0.001);
    EXPECT_TRUE(spring.Execute(L"? Meteor.XYZ.Name").IsEmpty());
}

TEST(Showers, DamagedLinesAreReportedAndSkipped) {
    int status = 0;
    const std::string out = RunCommand(
        "ZCMCOM_DATA_DIR=" ZCMCOM_TEST_DATA
        "/meteors/damaged/"
        " " ZCMCOM_CLI " click --at 2026-08-12T12:00Z --site 139.69,35.69 Meteor.PER 2>&1",
        &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("line 3: a solar longitude or the radiant is not a number, skipped"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("line 4: not 15 fields, skipped"), std::string::npos) << out;
    EXPECT_NE(out.find("line 5: a value out of range, skipped"), std::string::npos) << out;
    EXPECT_NE(out.find("ペルセウス座流星群の放射点"), std::string::npos) << out;
}

}  // namespace
