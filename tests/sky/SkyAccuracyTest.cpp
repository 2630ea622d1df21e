// The built-in sky against an independent ephemeris (tables made by
// tools/skyref/make_reference.py): apparent and J2000 places, altitude and azimuth,
// distances, magnitudes and rise, transit and set at 50 instants over 1950-2050, and the
// contacts of a total, an annular and a partial solar eclipse.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "sky/SkyHost.h"

namespace {

struct SiteRow {
    double lon, lat, height;
};

std::map<std::string, SiteRow> ReadSites() {
    std::map<std::string, SiteRow> sites;
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/sky/sites.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string name;
        SiteRow r{};
        s >> name >> r.lon >> r.lat >> r.height;
        sites[name] = r;
    }
    return sites;
}

std::string PathOf(const std::string& body) {
    if (body == "Sun") return "Solar.Sun";
    if (body == "Moon") return "Solar.Planet.Earth.Satellite.Moon";
    if (body == "Pluto") return "Solar.DwarfPlanet.Pluto";
    return "Solar.Planet." + body;
}

double Ask(CSkyHost& host, const std::string& path, const char* suffix) {
    const CString answer = host.Execute(CString(("? " + path + suffix).c_str()));
    return answer.IsEmpty() || answer == L"*" ? NAN : std::wcstod(answer.GetString(), nullptr);
}

// Angular difference of two right ascensions in hours, as arc seconds on the sky.
double RaError(double a, double b, double dec) {
    double d = std::fmod(std::fabs(a - b) * 15.0, 360.0);
    if (d > 180.0) d = 360.0 - d;
    return d * 3600.0 * std::cos(dec * M_PI / 180.0);
}

double AzError(double a, double b, double alt) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    if (d > 180.0) d = 360.0 - d;
    return d * std::cos(alt * M_PI / 180.0);
}

struct Worst {
    double value = 0.0;
    std::string where;
    void Take(double v, const std::string& w) {
        if (!(v <= value)) {
            value = v;
            where = w;
        }
    }
};

class SkyAccuracy : public ::testing::Test {
protected:
    void SetUp() override { sites = ReadSites(); }
    std::map<std::string, SiteRow> sites;
};

TEST_F(SkyAccuracy, PlacesAgreeWithTheReferenceEphemeris) {
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/sky/positions.txt");
    ASSERT_TRUE(in.good());
    ASSERT_EQ(sites.size(), 5u);
    std::map<std::string, Worst> apparent, astrometric, horizon, distance, magnitude, size, phase;
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        double jd, ra2000, dec2000, ra, dec, alt, az, mag, dist, helio, sizeArcsec, phasePct, dt;
        std::string site, body;
        s >> jd >> site >> body >> ra2000 >> dec2000 >> ra >> dec >> alt >> az >> mag >> dist >> helio >>
            sizeArcsec >> phasePct >> dt;
        ASSERT_FALSE(s.fail()) << line;
        const SiteRow& r = sites.at(site);
        CSkyHost host(jd);
        host.SetSite(r.lon, r.lat, r.height);
        const std::string path = PathOf(body);
        const std::string where = body + " " + std::to_string(jd) + " " + site;
        const double hRa = Ask(host, path, ".position.EquatorialDateApp.RA");
        const double hDec = Ask(host, path, ".position.EquatorialDateApp.DEC");
        apparent[body].Take(std::hypot(RaError(hRa, ra, dec), (hDec - dec) * 3600.0), where);
        const double jRa = Ask(host, path, ".position.RA");
        const double jDec = Ask(host, path, ".position.DEC");
        astrometric[body].Take(std::hypot(RaError(jRa, ra2000, dec2000), (jDec - dec2000) * 3600.0), where);
        const double hAlt = Ask(host, path, ".position.Altitude");
        const double hAz = Ask(host, path, ".position.Azimuth");
        horizon[body].Take(std::hypot(hAlt - alt, AzError(hAz, az, alt)), where);
        // The reference's distance is the topocentric one.
        double d = Ask(host, path, ".TopocentricDistance");
        if (body == "Moon") d /= 149597870.7;
        distance[body].Take(std::fabs(d - dist) / dist, where);
        const double m = Ask(host, path, ".Magnitude");
        // The Moon's photometric models differ for thin crescents.
        if (body != "Sun" && (body != "Moon" || phasePct > 25.0)) magnitude[body].Take(std::fabs(m - mag), where);
        double dm = Ask(host, path, ".Dm");
        if (body == "Sun" || body == "Moon") dm *= 3600.0;
        // Pluto: the host uses the New Horizons diameter, the reference an older one.
        if (body != "Pluto") size[body].Take(std::fabs(dm - sizeArcsec) / sizeArcsec, where);
        phase[body].Take(std::fabs(Ask(host, path, ".PhysicalTable.K") * 100.0 - phasePct), where);
        ++rows;
    }
    EXPECT_EQ(rows, 500);
    for (const auto& [body, w] : apparent) {
        std::printf("%-8s apparent %6.2f\"  J2000 %6.2f\"  alt/az %.5f deg  dist %.1e  mag %.3f  size %.1e  phase %.3f%%\n",
                    body.c_str(), w.value, astrometric[body].value, horizon[body].value,
                    distance[body].value, magnitude[body].value, size[body].value, phase[body].value);
        const double goal = body == "Moon" ? 10.0 : 2.0;
        EXPECT_LT(w.value, goal) << body << " apparent place, worst at " << w.where;
        EXPECT_LT(astrometric[body].value, goal) << body << " J2000 place, worst at " << astrometric[body].where;
        EXPECT_LT(horizon[body].value, 0.01) << body << " altitude/azimuth, worst at " << horizon[body].where;
        EXPECT_LT(distance[body].value, 3e-5) << body << " distance, worst at " << distance[body].where;
        if (body != "Sun") {
            EXPECT_LT(magnitude[body].value, 0.1) << body << " magnitude at " << magnitude[body].where;
        }
        EXPECT_LT(size[body].value, 0.02) << body << " diameter at " << size[body].where;
        EXPECT_LT(phase[body].value, 0.5) << body << " illuminated fraction at " << phase[body].where;
    }
}

TEST_F(SkyAccuracy, RiseTransitAndSetAgreeWithTheReferenceEphemeris) {
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/sky/events.txt");
    ASSERT_TRUE(in.good());
    std::map<std::string, Worst> worst;
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        double jd;
        std::string site, body, rise, transit, set;
        s >> jd >> site >> body >> rise >> transit >> set;
        const SiteRow& r = sites.at(site);
        CSkyHost host(jd);
        host.SetSite(r.lon, r.lat, r.height);
        const std::string path = PathOf(body);
        const std::string where = body + " " + std::to_string(jd) + " " + site;
        const struct {
            const char* suffix;
            const std::string& expected;
        } events[] = {{".Jd.Rise", rise}, {".Jd.Transit", transit}, {".Jd.Set", set}};
        for (const auto& e : events) {
            const double want = std::strtod(e.expected.c_str(), nullptr);
            const CString answer = host.Execute(CString(("? " + path + e.suffix).c_str()));
            if (std::isnan(want)) {
                EXPECT_EQ(answer, L"*") << where << e.suffix;
                continue;
            }
            const double got = std::wcstod(answer.GetString(), nullptr);
            worst[body].Take(std::fabs(got - want) * 1440.0, where + e.suffix);
        }
        ++rows;
    }
    EXPECT_EQ(rows, 80);
    for (const auto& [body, w] : worst) {
        std::printf("%-8s rise/transit/set %.3f min (%s)\n", body.c_str(), w.value, w.where.c_str());
        EXPECT_LT(w.value, 1.0) << body << " worst at " << w.where;
    }
}

TEST(SkyEclipse, ContactsAgreeWithTheReferenceEphemeris) {
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/sky/eclipses.txt");
    ASSERT_TRUE(in.good());
    const char* const kContacts[] = {"1st", "2nd", "Max", "3rd", "4th"};
    const auto ask = [](CSkyHost& host, const char* contact) {
        return host.Execute(CString((std::string("? Solar.Earth.SolarEclipse.ContactTime.") + contact).c_str()));
    };
    Worst worst;
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        double jd, lon, lat, height, want[5];
        std::string field[5];
        s >> jd >> lon >> lat >> height >> field[0] >> field[1] >> field[2] >> field[3] >> field[4];
        ASSERT_FALSE(s.fail()) << line;
        for (int i = 0; i < 5; ++i) want[i] = std::strtod(field[i].c_str(), nullptr);
        // Asked in mid-eclipse and just after the 1st contact, the answers are the same.
        for (const double at : {jd, want[0] + 60.0 / 86400.0}) {
            CSkyHost host(at);
            host.SetSite(lon, lat, height);
            EXPECT_EQ(host.Execute(L"? solar.earth.besselelement.apply"), L"TRUE") << line;
            for (int i = 0; i < 5; ++i) {
                const CString answer = ask(host, kContacts[i]);
                if (std::isnan(want[i])) {
                    EXPECT_EQ(answer, L"*") << line << " " << kContacts[i];
                    continue;
                }
                worst.Take(std::fabs(std::wcstod(answer.GetString(), nullptr) - want[i]) * 86400.0,
                           std::to_string(jd) + " " + kContacts[i]);
            }
            // An hour after the 4th contact the eclipse is over: no contacts.
            host.SetJd(want[4] + 1.0 / 24.0);
            EXPECT_EQ(host.Execute(L"? Solar.Earth.BesselElement.Apply"), L"FALSE") << line;
            for (const char* contact : kContacts) EXPECT_EQ(ask(host, contact), L"*") << line << " " << contact;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 3);
    // Discs that overlap below the horizon make no eclipse at the site.
    CSkyHost night(2460409.31944);  // 2024-04-08 19:40 UT, the Sun 6.5 degrees down
    night.SetSite(-12.0, 32.0, 0.0);
    EXPECT_EQ(night.Execute(L"? solar.earth.besselelement.apply"), L"FALSE");
    EXPECT_EQ(ask(night, "1st"), L"*");
    std::printf("eclipse contacts %.1f s (%s)\n", worst.value, worst.where.c_str());
    EXPECT_LT(worst.value, 60.0) << worst.where;
}

}  // namespace
