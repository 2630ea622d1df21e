// SPDX-License-Identifier: LGPL-3.0-or-later
// The chart's routes for the page that projects the sky itself: the site's own clock as the
// command line keeps it, the search of the name index, the catalogue and the frame that
// place its stars where the server does.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "ServeFixture.h"
#include "support/Accuracy.h"

using nlohmann::json;

namespace {

std::string Url(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
}

// A star placed as docs/browser.md tells the page to: proper motion to the instant, the
// aberration vector, npb, the hour angle; degrees.
void PlaceStar(const json& frame, const json& star, double* alt, double* az) {
    const double r = M_PI / 180, years = frame["years"];
    double ra = star[0], dec = star[1];
    if (star[5].is_number()) {  // (null: none known)
        ra += star[5].get<double>() * years / 3.6e6 / std::cos(dec * r);
        dec += star[6].get<double>() * years / 3.6e6;
    }
    double u[3] = {std::cos(dec * r) * std::cos(ra * r), std::cos(dec * r) * std::sin(ra * r),
                   std::sin(dec * r)};
    for (int i = 0; i < 3; ++i) u[i] += frame["aberration"][i].get<double>();
    double d[3] = {0, 0, 0};
    for (int i = 0; i < 9; ++i) d[i / 3] += frame["npb"][i].get<double>() * u[i % 3];
    const double h = frame["lst"].get<double>() * r - std::atan2(d[1], d[0]),
                 lat = frame["lat"].get<double>() * r,
                 delta = std::atan2(d[2], std::hypot(d[0], d[1]));
    *alt =
        std::asin(std::sin(lat) * std::sin(delta) + std::cos(lat) * std::cos(delta) * std::cos(h)) /
        r;
    *az = std::atan2(
              -std::cos(delta) * std::sin(h),
              std::sin(delta) * std::cos(lat) - std::cos(delta) * std::cos(h) * std::sin(lat)) /
          r;
}

// The refraction of docs/browser.md from 15 degrees up: A tan z + B tan^3 z, one Newton step.
double Refraction(const json& frame, double alt) {
    const double a = frame["refraction"]["A"], b = frame["refraction"]["B"];
    const double z = std::sin(alt * M_PI / 180), c = std::cos(alt * M_PI / 180), t = c / z;
    const double w = b * t * t;
    return (a + w) * t / (1 + (a + 3 * w) / (z * z)) * 180 / M_PI;
}

}  // namespace

// The clock the page shows and reads typed times on is the site's zone with its summer time,
// and the texts are those `zcmcom click` prints for that site, zone and clock time.
TEST_F(ServeTest, SiteClockIsTheCommandLines) {
    for (const auto& row : DataFields("serve/clocks.txt", 6)) {
        const std::string& local = row[1];
        int status = 0;
        const json site = Post("/api/site", row[0], &status);
        ASSERT_EQ(status, 200) << row[0] << site.dump();
        Post("/api/time", json{{"local", local}}.dump(), &status);
        ASSERT_EQ(status, 200) << row[0] << " " << local;
        const json time = Get("/api/time");
        std::string shown = local;
        std::replace(shown.begin(), shown.end(), '-', '/');
        EXPECT_EQ(time["time"], shown) << row[0];
        EXPECT_EQ(time["zoneName"], row[3]) << row[0];
        EXPECT_EQ(time["offset"], std::stod(row[4])) << row[0];
        EXPECT_EQ(time["abbr"], row[5]) << row[0];
        EXPECT_EQ(Get("/api/sky?fields=zone")["clock"],
                  json({{"name", row[3]}, {"offset", std::stod(row[4])}, {"abbr", row[5]}}));
        char where[96];
        std::snprintf(where, sizeof where, "%.8f,%.8f,%.1f", site["lon"].get<double>(),
                      site["lat"].get<double>(), site["height"].get<double>());
        std::string text = Get("/api/click?path=" + row[2])["text"], cli;
        cli = RunCommand(std::string(ZCMCOM_CLI) + " click --site=" + where + " --tz " + row[3] +
                             " --at '" + local + "' " + row[2],
                         &status);
        EXPECT_EQ(status, 0) << row[0];
        EXPECT_EQ(text, cli) << row[0] << " " << local;
    }
    EXPECT_EQ(Get("/api/cities")["cities"].size(), 9u);  // the zones of tests/data/tz
    // The town box: Japanese names, and the town a zone is named after before its namesakes.
    EXPECT_EQ(Get("/api/towns?q=" + Url("東京"))[0]["nameJa"], "東京");
    EXPECT_EQ(Get("/api/towns?q=Lond")[0]["zone"], "Europe/London");
    EXPECT_EQ(Get("/api/site")["town"], "Tokyo,JP");
    EXPECT_EQ(Get("/api/site")["height"], 0.0);  // a town's, as the command line takes it
}

// Any object of the name index by any of its names, above or below the horizon (Tokyo,
// 2026-12-07 21:00: Antares is down), its text by the path or the name; a text naming nothing
// gives the closest names.
TEST_F(ServeTest, SearchFindsTheIndexsObjects) {
    const struct {
        const char* q;
        const char* path;  // of the first result; "" none
        bool up;
    } kCases[] = {{"すばる", "DeepSkyObject.M.45", true},      {"Mira", "Star.GCVS.ο Cet", true},
                  {"ISS", "ArtificialSatellite.25544", false}, {"M42", "DeepSkyObject.M.42", true},
                  {"アンタレス", "Star.GCVS.α Sco", false},    {"Zqxjv Wkpf", "", false}};
    for (const auto& c : kCases) {
        const json found = Get("/api/search?limit=3&q=" + Url(c.q));
        if (!*c.path) {
            EXPECT_TRUE(found["results"].empty()) << c.q;
            EXPECT_FALSE(found["closest"].empty()) << c.q;
            continue;
        }
        ASSERT_FALSE(found["results"].empty()) << c.q << found.dump();
        const json& first = found["results"][0];
        EXPECT_EQ(first["path"], c.path) << c.q;
        EXPECT_LE(found["results"].size(), 3u);
        if (first["alt"].is_number()) {
            EXPECT_EQ(first["alt"].get<double>() > 0, c.up) << c.q;
        }
        const json byName = Get("/api/click?path=" + Url(c.q)),
                   byPath = Get("/api/click?path=" + Url(c.path));
        EXPECT_EQ(byName["path"], c.path) << c.q;
        EXPECT_EQ(byName["text"], byPath["text"]) << c.q;
    }
}

// The catalogue holds the stars to 8 mag, the deep sky, the figures and names; a star the
// page places from it with the frame lands within 0.5" of where /api/sky puts it, and the
// refraction the page applies is the texts' (a body's refracted altitude less its airless one).
TEST_F(ServeTest, CatalogueAndFramePlaceTheStars) {
    auto res = client->Get("/api/catalog");
    ASSERT_TRUE(res && res->status == 200);
    const json catalogue = json::parse(res->body);
    httplib::Headers again{{"If-None-Match", res->get_header_value("ETag")}};
    EXPECT_EQ(client->Get("/api/catalog", again)->status, 304);
    std::map<std::string, json> stars;
    for (const json& s : catalogue["stars"]) {
        ASSERT_EQ(s.size(), 7u);
        EXPECT_LE(s[2].get<double>(), 8.0);
        stars[s[3]] = s;
    }
    EXPECT_GT(stars.size(), 40000u);
    EXPECT_EQ(catalogue["constellations"].size(), 88u);
    EXPECT_FALSE(catalogue.contains("camera"));  // without --frame or --fov
    EXPECT_GT(catalogue["lines"].size(), 600u);
    EXPECT_TRUE(std::any_of(catalogue["dsos"].begin(), catalogue["dsos"].end(),
                            [](const json& d) { return d[3] == "DeepSkyObject.M.42"; }));
    int placed = 0;
    for (const char* place : {R"({"lon":139.745,"lat":35.654})", R"({"town":"Sydney,AU"})"}) {
        Post("/api/site", place);
        const json sky = Get("/api/sky");
        const json& frame = sky["frame"];
        for (const json& o : sky["objects"]) {
            const auto star = stars.find(o["path"]);
            if (star == stars.end()) continue;
            double alt, az;
            PlaceStar(frame, star->second, &alt, &az);
            EXPECT_NEAR(alt, o["alt"].get<double>(), 0.5 / 3600) << o["path"];
            EXPECT_NEAR(
                std::remainder(az - o["az"].get<double>(), 360) * std::cos(alt * M_PI / 180), 0,
                0.5 / 3600)
                << o["path"];
            ++placed;
        }
        for (const json& b : sky["bodies"])
            for (const json& o : sky["objects"])
                if (o["path"] == b["path"] && o["alt"].get<double>() > 15) {
                    EXPECT_NEAR(b["alt"].get<double>() - o["alt"].get<double>(),
                                Refraction(frame, o["alt"]), 0.05 / 3600)
                        << b["path"];
                }
    }
    EXPECT_GT(placed, 1000);
}

namespace {

// The J2000 place (degrees) east and north of a centre on its tangent plane (radians,
// turned by roll degrees), and the angle between two places.
std::array<double, 2> Offset(double ra0, double dec0, double east, double north, double roll) {
    const double r = M_PI / 180, e = east * std::cos(roll * r) + north * std::sin(roll * r),
                 n = north * std::cos(roll * r) - east * std::sin(roll * r);
    const double dec =
        std::asin((std::sin(dec0 * r) + n * std::cos(dec0 * r)) / std::sqrt(1 + e * e + n * n));
    return {ra0 + std::atan2(e, std::cos(dec0 * r) - n * std::sin(dec0 * r)) / r, dec / r};
}
double Apart(const json& a, const std::array<double, 2>& b) {
    const double r = M_PI / 180, ra = a[0], dec = a[1];
    return std::acos(std::min(
               1.0, std::sin(dec * r) * std::sin(b[1] * r) +
                        std::cos(dec * r) * std::cos(b[1] * r) * std::cos((ra - b[0]) * r))) /
           r;
}
// The outline's point nearest a place: how far (degrees).
double Nearest(const json& outline, const std::array<double, 2>& place) {
    double best = 180;
    for (const json& p : outline) best = std::min(best, Apart(p, place));
    return best;
}

}  // namespace

// zcmcom serve draws the frames click describes: the corners of the angle of view where
// the camera database's sensor (Canon EOS 6D, 35.8 x 23.9 mm) behind 400 mm puts them
// around --point, turned by --roll; the field-of-view circle; the frames of a mosaic
// meeting at the point; a point at least every degree along every outline.
TEST(ServeProgram, CameraFramesAreClicks) {
    const double ra = 5.58 * 15, dec = -5.4, roll = -30;
    const std::vector<std::string> runs[] = {{"--frame", "Canon EOS 6D,400", "--fov", "2"},
                                             {"--frame", "36x24,50", "--mosaic", "2x2"}};
    for (const auto& frames : runs) {
        TempRegistry registry;
        std::vector<std::string> args{"--at",      "2026-12-07T21:00", "--point",
                                      "5.58,-5.4", "--roll",           "-30"};
        args.insert(args.end(), frames.begin(), frames.end());
        const bool mosaic = frames[2] == "--mosaic";
        int port = 0;
        const pid_t pid = StartServe(args, registry.dir().File("out.txt"), &port);
        ASSERT_GT(port, 0);
        httplib::Client http("127.0.0.1", port);
        auto res = http.Get("/api/catalog");
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        ASSERT_TRUE(res);
        const json camera = json::parse(res->body)["camera"];
        ASSERT_EQ(camera.size(), mosaic ? 4u : 2u) << camera.dump();
        for (const json& f : camera) {
            const json& o = f["outline"];
            for (size_t i = 0; i < o.size(); ++i)
                EXPECT_LE(Apart(o[i], {o[(i + 1) % o.size()][0], o[(i + 1) % o.size()][1]}),
                          1 + 1e-9)
                    << f["name"] << " " << i;
        }
        if (!mosaic) {
            EXPECT_EQ(camera[0]["name"], "撮影画角");
            for (double e : {-1, 1})
                for (double n : {-1, 1})
                    EXPECT_LT(Nearest(camera[0]["outline"],
                                      Offset(ra, dec, e * 17.9 / 400, n * 11.95 / 400, roll)),
                              1e-6)
                        << e << " " << n;
            EXPECT_EQ(camera[1]["name"], "視野円");
            for (const json& p : camera[1]["outline"]) EXPECT_NEAR(Apart(p, {ra, dec}), 1, 1e-6);
        } else {
            // Four frames of 39.6 x 27.0 degrees; each has a corner at the centre and one
            // at the mosaic's own.
            for (const json& f : camera) EXPECT_LT(Nearest(f["outline"], {ra, dec}), 1e-6);
            for (double e : {-1, 1})
                for (double n : {-1, 1}) {
                    const auto corner = Offset(ra, dec, e * 36 / 50, n * 24 / 50, roll);
                    EXPECT_EQ(std::count_if(camera.begin(), camera.end(),
                                            [&](const json& f) {
                                                return Nearest(f["outline"], corner) < 1e-6;
                                            }),
                              1);
                }
        }
    }
}
