// SPDX-License-Identifier: LGPL-3.0-or-later
// The chart server's JSON API over real sockets: the texts are the library's, clicks find
// what the chart draws, edits go through, bad input is refused and the server carries on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "ServeFixture.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"

using nlohmann::json;

namespace {

// The texts the library makes for the fixture's instant and site, without the server.
json LibraryTexts(const char* path) {
    SkyClick frame(kStartJd, kLon, kLat, kHeight, CSkyHost::ZoneAt(kLon, kLat));
    frame.status.Load();
    const std::string text = frame.Text(path), compact = frame.Text(path, 1);
    return {{"path", path},
            {"text", text},
            {"compact", compact},
            {"cdf", frame.click.StkToCdf(&frame.host, path).ToUtf8()}};
}

const json* Find(const json& sky, const std::string& path) {
    for (const json& o : sky["objects"])
        if (o["path"] == path) return &o;
    return nullptr;
}

// Where a view of w x h pixels draws a direction (degrees), from the projection the chart
// documents, not the server's code: the horizon view is stereographic about the zenith, the
// horizon on the circle of radius min(w, h)/2, north up and east to the left; the
// equatorial view runs J2000 RA leftwards from 0h at the right edge, Dec +90 at the top.
std::pair<double, double> Drawn(bool horizon, double w, double h, double alt, double az, double ra,
                                double dec) {
    if (!horizon) return {w * (1 - ra / 360), h * (90 - dec) / 180};
    const double r = std::min(w, h) / 2 * std::tan((90 - alt) * M_PI / 360);
    return {w / 2 - r * std::sin(az * M_PI / 180), h / 2 - r * std::cos(az * M_PI / 180)};
}

}  // namespace

TEST_F(ServeTest, ClickTextsAreTheLibrarys) {
    for (const char* path : {"Solar.Planet.Mars", "Star.HIP.32349", "DeepSkyObject.M.42"}) {
        const json texts = Get(std::string("/api/click?path=") + path);
        EXPECT_EQ(texts, LibraryTexts(path)) << path;
        EXPECT_NE(texts["text"].get<std::string>().find("\r\n"), std::string::npos) << path;
    }
}

// Against PyEphem (tests/data/skychart/places.txt; a day and a night in Tokyo, Santiago and
// London): the Sun, the Moon, the planets and bright stars are drawn within 1 px of where
// its altitude and azimuth (J2000 place) fall on the horizon (equatorial) view of 900 x 600
// (1000 x 500), a click there opens them, the Moon's bright limb faces the Sun, and what is
// below the horizon is not drawn. The largest error is 0.14 px (a star 4 degrees up; the
// places are sent to 0.1 px), of the limb 0.05 degrees.
TEST_F(ServeTest, ChartDrawsWherePyEphemPlacesTheSky) {
    std::string current;
    json sky[2];
    const std::string size[2] = {"view=horizon&w=900&h=600", "view=equatorial&w=1000&h=500"};
    const double kW[2] = {900, 1000}, kH[2] = {600, 500};
    int drawn = 0;
    for (const std::string& line : DataRows("skychart/places.txt", {11, 15})) {
        std::istringstream s(line);
        std::string at, local, path;
        double lon, lat, height, jd, alt, az, ra, dec;
        s >> at >> lon >> lat >> height >> local >> jd >> path >> alt >> az >> ra >> dec;
        double toSun[4];  // the Moon's rows: the point half a degree from it towards the Sun
        const bool moon = static_cast<bool>(s >> toSun[0] >> toSun[1] >> toSun[2] >> toSun[3]);
        if (at != current) {
            current = at;
            Post("/api/site", json{{"lon", lon}, {"lat", lat}, {"height", height}}.dump());
            EXPECT_NEAR(Post("/api/time", json{{"jd", jd}}.dump())["jd"].get<double>(), jd, 1e-6)
                << at;
            for (int v = 0; v < 2; ++v) sky[v] = Get("/api/sky?" + size[v]);
        }
        for (int v = 0; v < 2; ++v) {
            const json* o = Find(sky[v], path);
            if (alt < 0) {
                EXPECT_EQ(o, nullptr) << at << " " << path << " is below the horizon";
                continue;
            }
            ASSERT_NE(o, nullptr) << at << " " << path;
            const auto [x, y] = Drawn(v == 0, kW[v], kH[v], alt, az, ra, dec);
            const double error =
                std::hypot((*o)["x"].get<double>() - x, (*o)["y"].get<double>() - y);
            EXPECT_LE(error, 1.0) << at << " " << path << " " << size[v];
            if (moon) {  // the bright limb faces the Sun
                const auto [tx, ty] =
                    Drawn(v == 0, kW[v], kH[v], toSun[0], toSun[1], toSun[2], toSun[3]);
                const double limb = std::atan2(y - ty, tx - x) * 180 / M_PI;
                EXPECT_NEAR(std::remainder((*o)["limb"].get<double>() - limb, 360), 0, 1)
                    << at << " " << size[v];
            }
            char xy[64];
            std::snprintf(xy, sizeof xy, "&x=%.1f&y=%.1f", x, y);
            const json click = Get("/api/click?" + size[v] + xy);
            EXPECT_EQ(click["path"], path) << at << " " << size[v];
            EXPECT_NE(click["text"].get<std::string>().find((*o)["name"].get<std::string>()),
                      std::string::npos)
                << at << " " << path;
            ++drawn;
        }
    }
    EXPECT_GE(drawn, 100);
}

TEST_F(ServeTest, ClickOnEmptySkyNamesItsPoint) {
    for (const char* view : {"horizon", "equatorial"}) {
        const std::string size = std::string("view=") + view + "&w=900&h=600";
        const json sky = Get("/api/sky?" + size);
        // Points of the inner chart farther than 8 px from everything drawn are points of the
        // sky: two far apart lie in different constellations, whose text each gets.
        std::vector<std::pair<double, double>> drawn, empty;
        for (const json& o : sky["objects"])
            drawn.emplace_back(o["x"].get<double>(), o["y"].get<double>());
        for (int y = 100; y <= 500; y += 5)
            for (int x = 250; x <= 650; x += 5) {
                double gap = 1e9;
                for (const auto& d : drawn)
                    gap = std::min(gap, std::hypot(d.first - x, d.second - y));
                if (gap > 8.5 && std::hypot(x - 450, y - 300) < 200) empty.emplace_back(x, y);
            }
        ASSERT_GE(empty.size(), 2u) << view;
        auto far = std::max_element(empty.begin(), empty.end(), [&](const auto& a, const auto& b) {
            return std::hypot(a.first - empty[0].first, a.second - empty[0].second) <
                   std::hypot(b.first - empty[0].first, b.second - empty[0].second);
        });
        auto click = [&](const std::pair<double, double>& p) {
            return Get("/api/click?" + size + "&x=" + std::to_string(p.first) +
                       "&y=" + std::to_string(p.second));
        };
        json first = click(empty[0]), last = click(*far);
        EXPECT_EQ(first["path"], "Equatorial") << view << first.dump();
        EXPECT_EQ(last["path"], "Equatorial") << view << last.dump();
        EXPECT_NE(first["text"], last["text"]) << view;
    }
}

TEST_F(ServeTest, TimeEditsMoveTheInstantAndTheText) {
    const std::pair<const char*, double> kEdits[] = {
        {R"({"step":"+1d"})", kStartJd + 1},
        {R"({"step":"-1h"})", kStartJd + 1 - 1.0 / 24},
        {R"({"step":"+30m"})", kStartJd + 1 - 1.0 / 48},
        {R"({"text":"2026-12-08 21:00"})", kStartJd + 1},
        {R"({"text":"2026-12-07T21:00:00"})", kStartJd},
    };
    std::string last = Get("/api/click?path=Solar.Planet.Mars")["text"];
    for (const auto& [body, jd] : kEdits) {
        int status = 0;
        const json time = Post("/api/time", body, &status);
        ASSERT_EQ(status, 200) << body << time.dump();
        EXPECT_NEAR(time["jd"].get<double>(), jd, 1e-6) << body;
        const std::string text = Get("/api/click?path=Solar.Planet.Mars")["text"];
        EXPECT_NE(text, last) << body;
        last = text;
    }
    EXPECT_EQ(Get("/api/time")["time"], "2026/12/07 21:00:00");
}

TEST_F(ServeTest, SwitchTogglesItsLineAndIsStored) {
    const std::string riseSet = "\r\n出 ";
    for (bool on : {false, true}) {
        int status = 0;
        Post("/api/switches", json{{"name", "DispRiseSet"}, {"on", on}}.dump(), &status);
        ASSERT_EQ(status, 200);
        const std::string text = Get("/api/click?path=Solar.Planet.Mars")["text"];
        EXPECT_EQ(text.find(riseSet) != std::string::npos, on);
        CCdStatus stored;
        stored.Load();
        EXPECT_EQ(stored.DispRiseSet, on ? 1 : 0);
    }
}

TEST_F(ServeTest, BadInputIsRefusedAndTheServerCarriesOn) {
    const std::string before = Get("/api/time").dump();
    for (const std::string& row : DataRows("serve/bad_requests.txt", 3)) {
        std::istringstream s(row);
        std::string target, body, status;
        for (std::string* f : {&target, &body, &status}) std::getline(s, *f, '\t');
        auto res =
            body != "-" ? client->Post(target, body, "application/json") : client->Get(target);
        ASSERT_TRUE(res) << row;
        EXPECT_EQ(res->status, std::stoi(status)) << row;
        EXPECT_TRUE(json::parse(res->body, nullptr, false).contains("error")) << row << res->body;
    }
    const std::string longQuery = "/api/sky?w=" + std::string(2000, '1');
    EXPECT_EQ(client->Get(longQuery.c_str())->status, 400);
    EXPECT_EQ(client->Post("/api/time", std::string(5000, ' '), "application/json")->status, 413);
    EXPECT_EQ(Get("/api/time").dump(), before);  // nothing refused changed the state
    EXPECT_EQ(Get("/api/site")["lat"], kLat);
}

TEST_F(ServeTest, OnlyTheWebFolderIsServed) {
    for (const std::string& row : DataRows("serve/files.txt", 2)) {
        std::istringstream s(row);
        std::string target;
        int status = 0;
        s >> target >> status;
        auto res = client->Get(target);
        ASSERT_TRUE(res) << target;
        EXPECT_EQ(res->status, status) << target;
        EXPECT_EQ(res->body.find("SECRET"), std::string::npos) << target;
        EXPECT_EQ(res->body.find("root:"), std::string::npos) << target;
    }
    EXPECT_EQ(client->Get("/")->body, "<p>chart</p>");
    auto map = client->Get("/api/tzmap");
    EXPECT_EQ(map->get_header_value("Content-Type"), "image/bmp");
    EXPECT_EQ(map->body.substr(0, 2), "BM");
}

// Another site's page (a cross-origin text/plain POST, a foreign Host after DNS rebinding)
// changes nothing, no answer grants CORS, and a Range is ignored: the answer is whole.
TEST_F(ServeTest, OtherSitesAndBentHeadsChangeNothing) {
    const std::string site = Get("/api/site").dump();
    for (const std::string& row : DataRows("serve/refusals.txt", 3)) {
        std::istringstream s(row);
        std::string status, head, body;
        for (std::string* f : {&status, &head, &body}) std::getline(s, *f, '\t');
        for (size_t at; (at = head.find("\\r\\n")) != std::string::npos;)
            head.replace(at, 4, "\r\n");
        for (size_t at; (at = head.find("PORT")) != std::string::npos;)
            head.replace(at, 4, std::to_string(port));
        if (body == "-")
            body.clear();
        else
            head += "\r\nContent-Length: " + std::to_string(body.size());
        const std::string answer = Exchange(port, head + "\r\nConnection: close\r\n\r\n" + body);
        const json content =
            json::parse(answer.substr(answer.find("\r\n\r\n") + 4), nullptr, false);
        EXPECT_EQ(answer.substr(0, 12), "HTTP/1.1 " + status) << row << "\n" << answer;
        EXPECT_TRUE(content.is_object() && (status == "200") != content.contains("error")) << row;
        EXPECT_EQ(answer.find("Access-Control-Allow"), std::string::npos) << row;
    }
    CCdStatus stored;
    stored.Load();
    EXPECT_EQ(stored.DispMag, 1);
    EXPECT_EQ(Get("/api/site").dump(), site);
}
