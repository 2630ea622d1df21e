// SPDX-License-Identifier: LGPL-3.0-or-later
// The library against a real Stellarium, started once for this program by
// scripts/stellarium.sh (headless, its own user folder): whole click texts at a fixed
// instant and site (golden files under tests/golden/stellarium/, scripts/update-golden.sh
// writes them anew), no stale answer after a time change, and a Stellarium that goes away
// and comes back. A Stellarium that cannot be started fails every test here.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/Zcm.h"
#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "dateobs/DateObs.h"
#include "hosts/stellarium/StellariumHost.h"
#include "sky/SkyHost.h"
#include "support/StellariumProcess.h"
#include "support/TestUtil.h"
#include "zvacl/zvacl.h"

namespace {

// 2026 Dec 25 12h UT (21h in Tokyo), from Tokyo; Stellarium's own site and zone are
// Paris and UTC+01:00 (scripts/stellarium/config.ini).
constexpr wchar_t kSetUp[] =
    L"Time = UT(2026, 12, 25, 12, 0, 0); Show Sky; Time.Timezone = 9; "
    L"Location.Longitude = 139.745; Location.Latitude = 35.654; Location.Altitude = 40";

// The program's one Stellarium, shared with the other tests here.
StellariumProcess& Stellarium() { return SharedStellarium(); }
CString Url() { return CString(Stellarium().Url().c_str()); }
// A software-rendered Stellarium on a busy machine may take seconds for a frame; only the
// failure test below holds it to a short time-out.
constexpr double kPatient = 10.0;

// Whole texts of the objects named so in Stellarium, each with its path first.
TEST(StellariumLive, FullAndCompactTextsAreTheKeptOnes) {
    ASSERT_TRUE(Stellarium().Started()) << Stellarium().Error();
    CStellariumHost host(Url(), kPatient);
    host.Execute(kSetUp);
    CCdStatus status;
    status.Init();
    for (const char* object : {"Mars", "Moon", "Sirius", "Mira", "M42", "NGC 7000", "Geminids"}) {
        const CString path = host.Select(CString(object));
        ASSERT_FALSE(path.IsEmpty()) << object;
        CZntClickData clickData;
        clickData.SetStatus(&status);
        const std::string text = (path + L"\n" + clickData.GetText(&host, path, 0) + L"----\n" +
                                  clickData.GetText(&host, path, 1))
                                     .ToUtf8();
        std::string name = object;
        for (char& c : name)
            c = c == ' ' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ExpectGolden(text, "stellarium/" + name + ".txt");
    }
}

// Each time change is followed at once by queries; the Moon (13 degrees a day) must be
// where the built-in sky puts it at the new instant, not where it was.
TEST(StellariumLive, NoStaleAnswerAfterATimeChange) {
    ASSERT_TRUE(Stellarium().Started()) << Stellarium().Error();
    CStellariumHost host(Url(), kPatient);
    host.Execute(kSetUp);
    int stale = 0;
    for (int i = 0; i < 100; ++i) {
        const double jd = 2461400.0 + 0.3711 * i;
        tagADATE d{};
        JdToDate2(jd, &d);
        CString statement;
        statement.Format(L"Time = UT(%d, %d, %d, %d, %d, %d); Show Sky", d.year, d.month, d.day,
                         d.hour, d.minute, static_cast<int>(std::lround(d.second)));
        try {
            host.Execute(statement);
        } catch (COleDispatchException* e) {
            ADD_FAILURE() << "change " << i << ": " << e->m_strDescription.ToUtf8();
            e->Delete();
            return;
        }
        CSkyHost sky(jd);
        sky.SetSite(139.745, 35.654, 40);
        const auto value = [](CCorZnt& h, const wchar_t* q) { return _wtof(h.Execute(q)); };
        const wchar_t* ra = L"? Solar.Planet.Earth.Satellite.Moon.position.RA";
        const wchar_t* alt = L"? Solar.Planet.Earth.Satellite.Moon.position.Altitude";
        const double dRa = std::remainder(value(host, ra) - value(sky, ra), 24.0) * 15.0;
        const double dAlt = value(host, alt) - value(sky, alt);
        if (std::fabs(dRa) > 0.05 || std::fabs(dAlt) > 0.05) {
            ++stale;
            ADD_FAILURE() << "change " << i << ": RA off by " << dRa << " deg, altitude by "
                          << dAlt;
        }
    }
    EXPECT_EQ(stale, 0);
}

// The date and site state attached to the adapter follows what Stellarium shows, whoever
// moved it (here a second connection stands for Stellarium's own controls).
TEST(StellariumLive, DateAndSiteFollowStellarium) {
    ASSERT_TRUE(Stellarium().Started()) << Stellarium().Error();
    CStellariumHost host(Url(), kPatient), controls(Url(), kPatient);
    host.SetClockPeriod(0);
    controls.Execute(
        L"Time = UT(2027, 3, 1, 18, 30, 0); Location.Longitude = -70.7; "
        L"Location.Latitude = -29.25; Location.Altitude = 2200");
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    obs.UpdateByCorZnt();
    tagADATE at{2027, 3, 1, 18, 30, 0.0, 0.0};
    double jd = 0.0;
    obs.GetJD(&jd);
    EXPECT_NEAR(jd, GetJd(&at), 1.0 / 86400.0);
    EXPECT_NEAR(obs.GetLongitude(), -70.7, 1e-5);  // Stellarium keeps the site in single precision
    EXPECT_NEAR(obs.GetLatitude(), -29.25, 1e-5);
    EXPECT_NEAR(obs.GetHeight(), 2200.0, 0.5);
    EXPECT_DOUBLE_EQ(obs.GetTz(), -4.0);  // the zone of the site on the map (Chile)
    host.Execute(kSetUp);
}

// The numbers after each of the keys in a text ("高度  -7.669ﾟ", "南中 04:11" as minutes).
std::vector<double> Figures(const std::string& text, std::initializer_list<const char*> keys) {
    std::vector<double> out;
    for (const char* key : keys) {
        const size_t at = text.find(key);
        double a = NAN, b = NAN;
        if (at != std::string::npos &&
            std::sscanf(text.c_str() + at + std::strlen(key), " %lf:%lf", &a, &b) >= 1)
            out.push_back(std::isnan(b) ? a : a * 60 + b);
        else
            out.push_back(NAN);
    }
    return out;
}

// `zcmcom click --stellarium` against a Stellarium whose site (Paris), zone (UTC+01:00)
// and clock (an hour a second) are not the asked ones: the text is the built-in sky's for
// the asked site and instant, or for Stellarium's own when none is asked, which it reports.
TEST(StellariumLive, ClickTextIsOfTheAskedSiteAndInstant) {
    ASSERT_TRUE(Stellarium().Started()) << Stellarium().Error();
    httplib::Client remote(Stellarium().Url());
    const std::string asked = " --at 2026-12-06T12:00:00Z --site 139.69,35.69,40";
    for (const std::string& options : {std::string(), asked}) {
        remote.Post("/api/location/setlocationfields",
                    httplib::Params{{"latitude", "48.8534"}, {"longitude", "2.3488"}});
        remote.Post("/api/main/time", httplib::Params{{"timerate", "0.0416667"}});
        TempDir dir;
        int status = -1;
        const std::string text =
            Zcm("click --stellarium " + Stellarium().Url() + options + " Solar.Planet.Mars",
                &status, dir.File("err"));
        ASSERT_EQ(status, 0) << ReadFileBytes(dir.File("err"));
        // "# Stellarium at URL: its own site 2.348800 E, 48.853400 N, 42 m; ...Z (JD J); ..."
        const std::string report = ReadFileBytes(dir.File("err"));
        double lon = NAN, lat = NAN, height = NAN, jd = NAN;
        const size_t site = report.find(" site ");
        ASSERT_NE(site, std::string::npos) << report;
        std::sscanf(report.c_str() + site, " site %lf E, %lf N, %lf m", &lon, &lat, &height);
        std::sscanf(report.c_str() + report.find("(JD "), "(JD %lf", &jd);
        if (options.empty()) {
            EXPECT_NEAR(lat, 48.8534, 1e-4) << report;
        } else {
            EXPECT_NEAR(lon, 139.69, 1e-6) << report;
            EXPECT_EQ(jd, 2461381.0) << report;
        }
        // The built-in sky at that site and second.
        const size_t when = report.find("Z (JD ");
        ASSERT_NE(when, std::string::npos) << report;
        char sky[160];
        std::snprintf(sky, sizeof sky, "click --site %.6f,%.6f,%.0f --at %s Solar.Planet.Mars", lon,
                      lat, height, report.substr(when - 19, 20).c_str());
        const std::string want = Zcm(sky, &status);
        const auto got = Figures(text, {"方位", "高度", "出", "南中", "没"}),
                   ref = Figures(want, {"方位", "高度", "出", "南中", "没"});
        // Measured: azimuth 0, altitude 0.001 deg (the text's last digit), events 0 min.
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], ref[i], i < 2 ? 0.01 : 1.0) << options << "\n" << text << want;
        // Stellarium was left where the text is of, its clock stopped.
        const auto now = remote.Get("/api/main/status");
        ASSERT_TRUE(now);
        EXPECT_NE(now->body.find("\"timerate\":0"), std::string::npos) << now->body;
        if (!options.empty()) {
            EXPECT_NE(now->body.find("\"jday\":2461381,"), std::string::npos) << now->body;
        }
    }
}

// Stellarium frozen, then gone: the host exception within the time-out, naming the URL;
// once it is back, the next call works. Runs last: it restarts Stellarium.
TEST(StellariumLive, GoneAndBack) {
    ASSERT_TRUE(Stellarium().Started()) << Stellarium().Error();
    CStellariumHost host(Url(), 3.0);  // short, yet long enough for a busy machine once it is back
    host.SetClockPeriod(0);
    ASSERT_FALSE(host.Execute(L"? time.jd").IsEmpty());
    const auto failure = [&](const wchar_t* q) { return HostFailureOf([&] { host.Execute(q); }); };
    const pid_t pid = std::stoi(ReadFileBytes(Stellarium().StateFile("stellarium.pid")));
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    const auto start = std::chrono::steady_clock::now();
    const std::string frozen = failure(L"? time.jd");
    kill(pid, SIGCONT);
    EXPECT_NE(frozen.find(Stellarium().Url()), std::string::npos) << frozen;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              10.0);
    EXPECT_FALSE(host.Execute(L"? time.jd").IsEmpty());

    ASSERT_EQ(Stellarium().Script("stop"), 0);
    const std::string gone = failure(L"? Solar.Planet.Mars.Magnitude");
    EXPECT_NE(gone.find(Stellarium().Url()), std::string::npos) << gone;
    std::string out;
    ASSERT_EQ(Stellarium().Script("start " + Stellarium().Port(), &out), 0) << out;
    EXPECT_FALSE(host.Execute(L"? Solar.Planet.Mars.Magnitude").IsEmpty());
}

}  // namespace
