// SPDX-License-Identifier: LGPL-3.0-or-later
// CStellariumHost over a stub of Stellarium's remote control on 127.0.0.1 that serves
// recorded answers: the path mapping, the answers in the library's units, the cache, the
// statements and the failures. The real Stellarium is in tests/stellarium/.
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "hosts/stellarium/StellariumHost.h"
#include "hosts/stellarium/StellariumMap.h"
#include "support/Accuracy.h"
#include "support/TestUtil.h"

namespace {

std::string Recorded(const std::string& name) {
    return ReadFileBytes(std::string(ZCMCOM_TEST_DATA) + "/stellarium/" + name + ".json");
}

// Stellarium's status at an instant and site, as it shows it (its zone in days).
std::string StatusAt(double jd, double lon, double lat, double height) {
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  R"({"location":{"altitude":%.9g,"latitude":%.9g,"longitude":%.9g,)"
                  R"("planet":"Earth"},"time":{"gmtShift":0.375,"jday":%.9f,"timerate":0}})",
                  height, lat, lon, jd);
    return buf;
}

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

// A stub of the remote control serving the recorded objects by name; a path may be given
// another answer (a hostile server).
class Stub {
public:
    Stub() {
        m_server.set_pre_routing_handler(
            [this](const httplib::Request& req, httplib::Response& res) {
                std::lock_guard<std::mutex> lock(m_mutex);
                const auto it = m_answers.find(req.path);
                if (it == m_answers.end()) return httplib::Server::HandlerResponse::Unhandled;
                it->second(req, res);
                return httplib::Server::HandlerResponse::Handled;
            });
        m_server.Get("/api/main/status", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(StatusAt(m_jd, m_lon, m_lat, m_height), "application/json");
        });
        m_server.Post("/api/location/setlocationfields",
                      [this](const httplib::Request& req, httplib::Response& res) {
                          m_lon = std::stod(req.get_param_value("longitude"));
                          m_lat = std::stod(req.get_param_value("latitude"));
                          m_height = std::stod(req.get_param_value("altitude"));
                          res.set_content("ok", "text/plain");
                      });
        m_server.Post("/api/main/time",
                      [this](const httplib::Request& req, httplib::Response& res) {
                          m_jd = std::stod(req.get_param_value("time"));
                          res.set_content("ok", "text/plain");
                      });
        m_server.Get(
            "/api/objects/info", [this](const httplib::Request& req, httplib::Response& res) {
                ++m_infos;
                std::string name = req.has_param("name") ? req.get_param_value("name") : "Sirius";
                if (name == "HIP 32349") name = "Sirius";
                if (name == "M42" || name == "NGC 1976") name = "M42";
                const std::string body = Recorded(name);
                if (body.empty())
                    return void(
                        (res.status = 404, res.set_content("object name not found", "text/plain")));
                res.set_content(body, "application/json");
            });
        m_port = m_server.bind_to_any_port("127.0.0.1");  // listening from here on
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // stop() before the loop runs would be missed, and the join would wait for ever.
        while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Stub() {
        m_server.stop();
        m_thread.join();
    }
    CString Url() const {
        CString u;
        u.Format(L"http://127.0.0.1:%d", m_port);
        return u;
    }
    int infos() const { return m_infos; }
    void SetJd(double jd) { m_jd = jd; }  // as a user of Stellarium moves its clock
    void Answer(const std::string& path, Handler answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers[path] = std::move(answer);
    }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<double> m_jd{2461400.0};  // 2026 Dec 25 12h UT, from Tokyo
    std::atomic<double> m_lon{139.745}, m_lat{35.654}, m_height{40};
    std::atomic<int> m_infos{0};
    std::mutex m_mutex;
    std::map<std::string, Handler> m_answers;
};

TEST(StellariumMap, PathsAndNamesBothWays) {
    for (const auto& f : DataFields("stellarium/names.txt", 3)) {
        const std::string row = f[0];
        EXPECT_EQ(stellarium::PathOfInfo(Recorded(f[0])), CString(f[1].c_str())) << row;
        CString canonical = f[1].c_str();
        canonical.MakeLower();
        EXPECT_EQ(stellarium::NameOfPath(canonical), CString(f[2].c_str())) << row;
    }
    EXPECT_EQ(stellarium::NameOfPath(L"deepskyobject.m.42"), CString(L"M42"));
    EXPECT_EQ(stellarium::PathOfInfo("{\"found\":false}"), CString());
    EXPECT_EQ(stellarium::PathOfInfo("not json {"), CString());
}

TEST(StellariumMap, SplitsOnlyObjectsItKnows) {
    for (const auto& f : DataFields("stellarium/queries.txt", 3)) {
        const std::string row = f[0];
        CString path, property;
        const bool known = stellarium::SplitObjectQuery(CString(f[0].c_str()), &path, &property);
        EXPECT_EQ(known, f[1] != "-") << row;
        if (!known || f[1] == "-") continue;
        EXPECT_EQ(path, CString(f[1].c_str())) << row;
        EXPECT_EQ(property, CString(f[2].c_str())) << row;
    }
}

// Answers in the library's units from the recorded objects (tests/data/stellarium/answers.txt).
TEST(StellariumMap, AnswersInTheLibrarysUnits) {
    stellarium::InfoContext at;
    at.jdUt = 2461400.0, at.zone = 9.0, at.longitude = 139.745, at.latitude = 35.654,
    at.height = 40;
    for (const auto& f : DataFields("stellarium/answers.txt", 4)) {
        const std::string line = f[0] + " " + f[1] + " " + f[2];
        EXPECT_EQ(stellarium::AnswerFromInfo(Recorded(f[0]), CString(f[1].c_str()),
                                             CString(f[2].c_str()), at),
                  CString(f[3] == "-" ? "" : f[3].c_str()))
            << line;
    }
    // J2000 to B1950 (IAU 1976): ERFA's pmat76 gives 100.7297741, -16.6724225.
    double ra = 101.28831357148213, dec = -16.72558794362761;
    stellarium::Precess(2451545.0, 2433282.4235, &ra, &dec);
    EXPECT_NEAR(ra, 100.7297741, 1e-7);
    EXPECT_NEAR(dec, -16.6724225, 1e-7);
    EXPECT_EQ(stellarium::AnswerFromInfo("{broken", L"solar.planet.mars", L"magnitude", at),
              CString());
}

TEST(StellariumHost, AsksOncePerObjectAndInstant) {
    Stub stub;
    CStellariumHost host(stub.Url());
    EXPECT_EQ(host.Execute(L"? Solar.Planet.Mars.position.Azimuth"), CString(L"250.44044270"));
    EXPECT_EQ(host.Execute(L"?  solar.planet.MARS.Position.Altitude"), CString(L"-7.66927395"));
    EXPECT_EQ(stub.infos(), 1);
    ExpectAnswers(host, {{L"? UT(Time)", L"UT AD2026/12/25 12:00:00"},
                         {L"? Time.Timezone", L"9"},
                         {L"? Location.Latitude", L"35.65400000"},
                         {L"? Star.WDS.02193-0259.Name", L""},
                         {L"? Solar.Planet.Vulcan.Name", L""}});
    // A new instant: Stellarium is moved and the object is read again.
    host.Execute(L"Time = UT(2026, 12, 26, 0, 0, 0); Show Sky");
    EXPECT_EQ(host.Execute(L"? time.jd"), CString(L"2461400.50000000"));
    host.Execute(L"? Solar.Planet.Mars.Magnitude");
    EXPECT_EQ(stub.infos(), 2);
    // The library's own zone answers from then on; Stellarium's stays for its hours.
    host.Execute(L"Time.Timezone = 5.5");
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), CString(L"5.5"));
    EXPECT_EQ(host.SelectedPath(), CString(L"Star.HIP.32349"));
    // Another client moves Stellarium's clock: seen at the next read, the objects read anew.
    host.SetClockPeriod(0);
    const int read = stub.infos();
    CStellariumHost(stub.Url()).Execute(L"Time = UT(2026, 12, 27, 0, 0, 0)");
    EXPECT_EQ(host.Execute(L"? time.jd"), CString(L"2461401.50000000"));
    host.Execute(L"? Solar.Planet.Mars.Magnitude");
    EXPECT_EQ(stub.infos(), read + 1);
    // A site statement moves Stellarium's site; longitudes past 180 wrap round.
    host.Execute(L"Location = Location(\"Here\", 200, -29.25, 2200)");
    ExpectAnswers(host, {{L"? Location.Longitude", L"-160.00000000"},
                         {L"? Location.Latitude", L"-29.25000000"},
                         {L"? Location.Altitude", L"2200.0"},
                         {L"? Star.HIP.1.Name", L""}});  // a star Stellarium does not know
}

// A JSON text as the answer.
Handler Json(const std::string& text) {
    return [text](const httplib::Request&, httplib::Response& res) {
        res.set_content(text, "application/json");
    };
}

// Failures, hostile servers and bad URLs: each call ends in the host exception naming the
// URL and why, within the time-out (0.5 s; the servers that trickle or never end would hold
// a client without a deadline for 30 s or more).
TEST(StellariumHost, HostileServersGiveTheHostExceptionInTime) {
    const std::string place = R"("location":{"latitude":35.6,"longitude":139.7,"altitude":40})";
    const Handler trickle = [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(300, "application/json",
                                 [](size_t, size_t, httplib::DataSink& sink) {
                                     std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                     return sink.write("{", 1);
                                 });
    };
    const Handler endless = [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/json",
                                         [](size_t offset, httplib::DataSink& sink) {
                                             static const std::string block(1 << 16, ' ');
                                             if (offset >= (256u << 20)) sink.done();
                                             return sink.write(block.data(), block.size());
                                         });
    };
    const Handler oversize = Json(std::string(16 << 20, ' '));
    const Handler broken = [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
    };
    const struct {
        const char* url;  // empty: the stub's; "gone": where a stub was
        const char* path;
        Handler answer;
        const wchar_t* command;
        const char* why;
    } kCases[] = {
        {"", "/api/main/status", broken, L"? time.jd", "HTTP 500"},
        {"gone", "", nullptr, L"? Solar.Planet.Mars.Magnitude", "/api/main/status: cannot connect"},
        {"", "/api/main/status", Json(R"({"time":{"jday":"abc"},)" + place + "}"), L"? time.jd",
         "not a status"},
        {"", "/api/main/status", Json(R"({"time":"noon",)" + place + "}"), L"? Time.JD",
         "not a status"},
        {"", "/api/main/status",
         Json(R"({"time":{"jday":2461400.5},"location":{"latitude":1,"longitude":null}})"),
         L"? UT(Time)", "not a status"},
        {"", "/api/main/status", Json("[1, 2"), L"? time.jd", "not a status"},
        {"", "/api/main/status", trickle, L"? time.jd", "within 0.5 s"},
        {"", "/api/objects/info", trickle, L"? Solar.Planet.Mars.Magnitude", "within 0.5 s"},
        {"", "/api/main/time", trickle, L"Time = UT(2026, 12, 26, 0, 0, 0)", "within 0.5 s"},
        {"", "/api/main/status", endless, L"? time.jd", "more than 4 MB"},
        {"", "/api/objects/info", oversize, L"? Solar.Sun.Magnitude", "more than 4 MB"},
        {"ftp://127.0.0.1:21", "", nullptr, L"? time.jd", "http://"},
        {"https://127.0.0.1:1", "", nullptr, L"? time.jd", "http://"},
        {"not a url", "", nullptr, L"? time.jd", "http://"},
    };
    for (const auto& c : kCases) {
        Stub stub;
        const CString url = !*c.url                        ? stub.Url()
                            : std::string(c.url) == "gone" ? Stub().Url()
                                                           : CString(c.url);
        if (c.answer) stub.Answer(c.path, c.answer);
        // Only the trickling servers meet the 0.5 s deadline; the others get room for a
        // loaded machine, so a slow answer is not taken for a hostile one.
        const bool trickles = std::string(c.why).find("within") != std::string::npos;
        CStellariumHost host(url, trickles ? 0.5 : 5.0);
        const auto start = std::chrono::steady_clock::now();
        const std::string failure = HostFailureOf([&] { host.Execute(c.command); });
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_NE(failure.find(url.ToUtf8()), std::string::npos) << c.path << ": " << failure;
        EXPECT_NE(failure.find(c.why), std::string::npos) << c.path << ": " << failure;
        EXPECT_LT(took, 8.0) << c.path << ": " << failure;  // generous: it must not hang
    }
    // The command line: a message and status 1, or 2 for a URL that is not http://.
    Stub stub;
    stub.Answer("/api/main/status", kCases[0].answer);
    const std::string url = stub.Url().ToUtf8();
    for (const auto& [args, want] :
         std::vector<std::pair<std::string, int>>{{"click --stellarium " + url + " Mars", 1},
                                                  {"follow --count 1 --stellarium " + url, 1},
                                                  {"click --stellarium ftp://x Mars", 2},
                                                  {"follow --stellarium ftp://x", 2}}) {
        int status = -1;
        const std::string err = RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>&1", &status);
        EXPECT_EQ(status, want) << args << ": " << err;
        EXPECT_EQ(err.rfind("zcmcom: ", 0), 0u) << args << ": " << err;
    }
}

// An object whose every field has another type than Stellarium's: no answer, no exception,
// and the whole text is made without them.
TEST(StellariumHost, FieldsOfAnotherTypeAreMissingAnswers) {
    for (const char* kind : {"text", "null", "list"}) {
        nlohmann::json info = nlohmann::json::parse(Recorded("Mars"));
        for (auto& [key, value] : info.items()) {
            if (key == "name" || key == "type") continue;  // still Mars, a planet
            const std::string k = kind;
            value = k == "text"   ? nlohmann::json(value.dump())
                    : k == "null" ? nlohmann::json()
                                  : nlohmann::json::array({value});
        }
        Stub stub;
        stub.Answer("/api/objects/info", Json(info.dump()));
        stub.Answer("/api/scripts/direct", Json("ok"));
        CStellariumHost host(stub.Url());
        EXPECT_EQ(host.Select(L"Mars"), CString(L"Solar.Planet.Mars")) << kind;
        EXPECT_EQ(host.Execute(L"? Solar.Planet.Mars.position.Altitude"), CString(L"*")) << kind;
        CCdStatus status;
        status.Init();
        CZntClickData clickData;
        clickData.SetStatus(&status);
        EXPECT_NO_THROW(clickData.GetText(&host, L"Solar.Planet.Mars", 0)) << kind;
    }
}

}  // namespace
