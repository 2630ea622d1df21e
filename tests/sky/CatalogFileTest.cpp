// SPDX-License-Identifier: LGPL-3.0-or-later
// The catalogue tables: lookups by key, by number and by sky position against a brute-force
// search, and damaged or truncated files refused with the file and offset named.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>

#include "sky/catalogs/CatalogFile.h"
#include "sky/SkyHost.h"
#include "sky/catalogs/CatalogWriter.h"
#include "support/TestUtil.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

double Separation(double ra1, double de1, double ra2, double de2) {
    const double c = std::sin(de1 * kDeg) * std::sin(de2 * kDeg) +
                     std::cos(de1 * kDeg) * std::cos(de2 * kDeg) * std::cos((ra1 - ra2) * kDeg);
    return std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / kDeg;
}

// 3000 stars spread over the sky, some at the poles and on the RA seam.
std::string MakeTable(const TempDir& dir, uint32_t zones) {
    sky::CatalogWriter w(zones);
    const int id = w.AddColumn("id", sky::CatalogWriter::kI32);
    const int mag = w.AddColumn("mag", sky::CatalogWriter::kF32);
    const int name = w.AddColumn("name", sky::CatalogWriter::kText);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int i = 0; i < 3000; ++i) {
        double ra = 360.0 * u(random), dec = std::asin(2.0 * u(random) - 1.0) / kDeg;
        if (i < 10) dec = i % 2 ? 90.0 : -90.0;
        if (i >= 10 && i < 20) ra = i % 2 ? 0.0 : 359.9999;
        const uint32_t row = w.AddRow(ra, dec);
        w.Set(row, id, 100000 - i);
        w.Set(row, mag, i * 0.01);
        w.SetText(row, name, "Star " + std::to_string(i));
        w.AddKey(row, "Star " + std::to_string(i));
        if (i % 7 == 0) w.AddKey(row, "Seven");
    }
    w.OrderBy(id);
    const std::string path = dir.path() + "/t.zct";
    std::string error;
    EXPECT_TRUE(w.Write(path, &error)) << error;
    return path;
}

TEST(CatalogFile, FindsRowsByKeyNumberAndPlace) {
    TempDir dir;
    for (uint32_t zones : {1u, 180u, 1800u}) {
        SCOPED_TRACE(zones);
        sky::CatalogFile t;
        std::string error;
        ASSERT_TRUE(t.Open(MakeTable(dir, zones), &error)) << error;
        ASSERT_EQ(t.Rows(), 3000u);
        const int id = t.Column("id"), name = t.Column("name"), ra = t.Column("ra"),
                  dec = t.Column("dec");
        const std::vector<uint32_t> found = t.Find("star1234");
        ASSERT_EQ(found.size(), 1u);
        EXPECT_STREQ(t.Text(name, found[0]), "Star 1234");
        EXPECT_EQ(t.Integer(id, found[0]), 100000 - 1234);
        EXPECT_NEAR(t.Number(t.Column("mag"), found[0]), 12.34, 1e-5);
        EXPECT_EQ(t.Find("seven").size(), 429u);
        EXPECT_TRUE(t.Find("star").empty());
        EXPECT_TRUE(t.Find("").empty());
        EXPECT_EQ(t.FindNumber("id", 100000 - 2999), static_cast<int64_t>(t.Find("star2999")[0]));
        EXPECT_EQ(t.FindNumber("id", 5), -1);
        EXPECT_EQ(t.FindNumber("name", 5), -1);  // not ordered by that column
        // Wrong column kinds read as nothing.
        EXPECT_STREQ(t.Text(id, 0), "");
        EXPECT_TRUE(std::isnan(t.Number(name, 0)));
        EXPECT_TRUE(std::isnan(t.Number(-1, 0)));
        EXPECT_TRUE(std::isnan(t.Number(id, 3000)));
        // Near: the same rows as looking at every row, at the poles and across RA 0 too.
        const double points[][3] = {{10, 20, 5},   {0.1, 0, 2},   {359.9, -30, 3},
                                    {45, 89.5, 1}, {200, -88, 4}, {0, 0, 180}};
        for (const auto& p : points) {
            std::set<uint32_t> expected, got;
            for (uint32_t r = 0; r < t.Rows(); ++r)
                if (Separation(p[0], p[1], t.Number(ra, r), t.Number(dec, r)) <= p[2] - 1e-9)
                    expected.insert(r);
            t.Near(p[0], p[1], p[2], [&](uint32_t r) { got.insert(r); });
            for (uint32_t r : expected)
                EXPECT_TRUE(got.count(r)) << p[0] << " " << p[1] << " row " << r;
            for (uint32_t r : got)
                EXPECT_LE(Separation(p[0], p[1], t.Number(ra, r), t.Number(dec, r)), p[2] + 1e-9);
        }
        t.Near(NAN, 0, 1, [](uint32_t) { ADD_FAILURE(); });
    }
}

TEST(CatalogFile, DamagedFilesAreRefusedWithFileAndOffset) {
    TempDir dir;
    const std::string bytes = ReadFileBytes(MakeTable(dir, 180));
    const std::string path = dir.path() + "/damaged.zct";
    sky::CatalogFile t;
    std::string error;
    // Every truncation, and no file at all.
    for (size_t cut : {size_t(0), size_t(10), size_t(63), size_t(64), size_t(200), bytes.size() / 2,
                       bytes.size() - 1}) {
        WriteFileBytes(path, bytes.substr(0, cut));
        EXPECT_FALSE(t.Open(path, &error)) << cut;
        EXPECT_NE(error.find("damaged.zct"), std::string::npos) << error;
        EXPECT_EQ(t.Rows(), 0u);
    }
    EXPECT_FALSE(t.Open(dir.path() + "/none.zct", &error));
    EXPECT_NE(error.find("none.zct"), std::string::npos);
    // A column pointing past the end, and bands out of order: the offset of the bad field.
    std::string bad = bytes;
    bad[64 + 24 + 7] = 0x40;
    WriteFileBytes(path, bad);
    EXPECT_FALSE(t.Open(path, &error));
    EXPECT_NE(error.find("offset 88"), std::string::npos) << error;
    // Any byte changed: opened or refused, never a crash, lookups stay inside the file.
    std::mt19937 random(3);
    for (int i = 0; i < 400; ++i) {
        bad = bytes;
        for (int k = 0; k < 4; ++k) bad[random() % bad.size()] = static_cast<char>(random());
        if (!t.OpenBytes(bad.data(), bad.size(), "fuzzed", &error)) continue;
        t.Find("star12");
        t.FindNumber("id", 99000);
        t.Near(10, 10, 10, [&](uint32_t r) { t.Text(t.Column("name"), r); });
    }
}

// A table cut short while mapped: its lost pages read as zeros, and the sky's next lookup
// finds it damaged, says so and goes on (the process lives).
TEST(CatalogFile, TableCutShortInUseIsDamagedNotFatal) {
    TempDir dir;
    sky::CatalogFile t;
    std::string error;
    ASSERT_TRUE(t.Open(MakeTable(dir, 180), &error)) << error;
    ASSERT_EQ(truncate(dir.File("t.zct").c_str(), 4096), 0);
    t.Near(0, 0, 180, [&](uint32_t r) { t.Text(t.Column("name"), r); });
    EXPECT_TRUE(t.Changed(&error));
    EXPECT_NE(error.find("t.zct: offset 4096: damaged"), std::string::npos) << error;

    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a new process: no table open yet
    const std::string stars = dir.File("stars.zct");
    WriteFileBytes(stars, ReadFileBytes(ZCMCOM_SOURCE_DIR "/data/stars.zct"));
    EXPECT_EXIT(
        {
            setenv("ZCMCOM_DATA_DIR", dir.path().c_str(), 1);
            CSkyHost host;
            const bool known = !host.Execute(L"? Star.HIP.32349.Magnitude").IsEmpty();
            if (truncate(stars.c_str(), 4096) != 0) std::exit(2);
            std::exit(known && host.Execute(L"? Star.HIP.24436.Magnitude").IsEmpty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "stars.zct: offset 4096: damaged");
}

}  // namespace
