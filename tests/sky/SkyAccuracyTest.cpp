// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky against an independent ephemeris (tables made by
// tools/skyref/make_reference.py): apparent and J2000 places, altitude and azimuth,
// distances, magnitudes and rise, transit and set at 50 instants over 1950-2050, and the
// contacts of a total, an annular and a partial solar eclipse.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sky/SkyHost.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"

namespace {

// Bounds by body, about twice the worst error measured over the tables (the figures in the
// comment above each row; NAN: not compared), and for the eclipse contacts.
enum Check {
    kApparent,
    kJ2000,
    kHorizon,
    kDistance,
    kMagnitude,
    kDiameter,
    kPhase,
    kEvents,
    kChecks
};
const char* const kCheckNames[kChecks] = {"apparent place, arcsec",
                                          "J2000 place, arcsec",
                                          "altitude/azimuth, deg",
                                          "distance, relative",
                                          "magnitude",
                                          "diameter, relative",
                                          "illuminated fraction, %",
                                          "rise/transit/set, min"};
const std::map<std::string, std::array<double, kChecks>> kBounds = {
    // apparent  J2000  alt/az  distance  magnitude  diameter  phase  events
    {"Sun", {2.0, 2.0, 0.01, 3e-5, NAN, 0.003, 0.06, 0.25}},
    {"Moon", {10.0, 10.0, 0.01, 3e-5, 0.1, 0.003, 0.06, 0.25}},
    {"Mercury", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, NAN}},
    {"Venus", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, NAN}},
    {"Mars", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, 0.25}},
    {"Jupiter", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, 0.25}},
    {"Saturn", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, NAN}},
    {"Uranus", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, NAN}},
    {"Neptune", {2.0, 2.0, 0.01, 3e-5, 0.1, 0.003, 0.06, NAN}},
    {"Pluto", {2.0, 2.0, 0.01, 3e-5, 0.1, NAN, 0.06, NAN}},
};
constexpr double kContactS = 16.0;  // 7.9 s

struct SiteRow {
    double lon, lat, height;
};

std::map<std::string, SiteRow> ReadSites() {
    std::map<std::string, SiteRow> sites;
    for (const std::string& line : DataRows("sky/sites.txt", 4)) {
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

// The difference of two longitudes in degrees as degrees on the sky at a latitude.
double LonError(double a, double b, double lat) {
    return std::fabs(std::remainder(a - b, 360.0)) * std::cos(lat * M_PI / 180.0);
}

// Each body's worst errors of the checks from..to against its bounds.
void ExpectBounds(const std::map<std::string, WorstError> (&worst)[kChecks], int from = 0,
                  int to = kEvents - 1) {
    for (int c = from; c <= to; ++c) {
        std::map<std::string, double> bounds;
        for (const auto& [body, b] : kBounds)
            if (!std::isnan(b[c])) bounds[body] = b[c];
        ExpectEach(worst[c], bounds, kCheckNames[c]);
    }
}

class SkyAccuracy : public ::testing::Test {
protected:
    void SetUp() override { sites = ReadSites(); }
    std::map<std::string, SiteRow> sites;
};

TEST_F(SkyAccuracy, PlacesAgreeWithTheReferenceEphemeris) {
    const std::vector<std::string> rows = DataRows("sky/positions.txt", 15);
    ASSERT_EQ(std::make_pair(rows.size(), sites.size()), std::make_pair(size_t(500), size_t(5)));
    std::map<std::string, WorstError> worst[kChecks];  // by body
    for (const std::string& line : rows) {
        std::istringstream s(line);
        double jd, ra2000, dec2000, ra, dec, alt, az, mag, dist, helio, sizeArcsec, phasePct, dt;
        std::string site, body;
        s >> jd >> site >> body >> ra2000 >> dec2000 >> ra >> dec >> alt >> az >> mag >> dist >>
            helio >> sizeArcsec >> phasePct >> dt;
        ASSERT_FALSE(s.fail()) << line;
        const SiteRow& r = sites.at(site);
        CSkyHost host(jd);
        host.SetSite(r.lon, r.lat, r.height);
        const std::string path = PathOf(body);
        const std::string where = body + " " + std::to_string(jd) + " " + site;
        const double hRa = AskNumber(host, path + ".position.EquatorialDateApp.RA");
        const double hDec = AskNumber(host, path + ".position.EquatorialDateApp.DEC");
        worst[kApparent][body].Add(
            std::hypot(LonError(hRa * 15, ra * 15, dec), hDec - dec) * 3600.0, where);
        const double jRa = AskNumber(host, path + ".position.RA"),
                     jDec = AskNumber(host, path + ".position.DEC");
        worst[kJ2000][body].Add(
            std::hypot(LonError(jRa * 15, ra2000 * 15, dec2000), jDec - dec2000) * 3600.0, where);
        const double hAlt = AskNumber(host, path + ".position.Altitude"),
                     hAz = AskNumber(host, path + ".position.Azimuth");
        worst[kHorizon][body].Add(std::hypot(hAlt - alt, LonError(hAz, az, alt)), where);
        // The reference's distance is the topocentric one.
        double d = AskNumber(host, path + ".TopocentricDistance");
        if (body == "Moon") d /= 149597870.7;
        worst[kDistance][body].Add(std::fabs(d - dist) / dist, where);
        // The Moon's photometric models differ for thin crescents.
        if (body != "Sun" && (body != "Moon" || phasePct > 25.0))
            worst[kMagnitude][body].Add(AskNumber(host, path + ".Magnitude") - mag, where);
        double dm = AskNumber(host, path + ".Dm");
        if (body == "Sun" || body == "Moon") dm *= 3600.0;
        // Pluto: the host uses the New Horizons diameter, the reference an older one.
        if (body != "Pluto")
            worst[kDiameter][body].Add(std::fabs(dm - sizeArcsec) / sizeArcsec, where);
        worst[kPhase][body].Add(
            std::fabs(AskNumber(host, path + ".PhysicalTable.K") * 100.0 - phasePct), where);
    }
    ExpectBounds(worst);
}

TEST_F(SkyAccuracy, RiseTransitAndSetAgreeWithTheReferenceEphemeris) {
    const std::vector<std::string> rows = DataRows("sky/events.txt", 6);
    ASSERT_EQ(rows.size(), 80u);
    std::map<std::string, WorstError> worst[kChecks];
    for (const std::string& line : rows) {
        std::istringstream s(line);
        double jd;
        std::string site, body, rise, transit, set;
        s >> jd >> site >> body >> rise >> transit >> set;
        const SiteRow& r = sites.at(site);
        CSkyHost host(jd);
        host.SetSite(r.lon, r.lat, r.height);
        const std::string where = body + " " + std::to_string(jd) + " " + site;
        const std::pair<const char*, std::string> events[] = {
            {".Jd.Rise", rise}, {".Jd.Transit", transit}, {".Jd.Set", set}};
        for (const auto& [suffix, expected] : events) {
            const double want = std::strtod(expected.c_str(), nullptr);
            const CString answer = host.Execute(CString(("? " + PathOf(body) + suffix).c_str()));
            if (std::isnan(want))
                EXPECT_EQ(answer, L"*") << where << suffix;
            else
                worst[kEvents][body].Add((NumberOf(answer) - want) * 1440.0, where + suffix);
        }
    }
    ExpectBounds(worst, kEvents, kEvents);
}

TEST(SkyEclipse, ContactsAgreeWithTheReferenceEphemeris) {
    const std::vector<std::string> rows = DataRows("sky/eclipses.txt", 9);
    ASSERT_EQ(rows.size(), 3u);
    const char* const kContacts[] = {"1st", "2nd", "Max", "3rd", "4th"};
    const auto ask = [](CSkyHost& host, const char* contact) {
        return host.Execute(
            CString((std::string("? Solar.Earth.SolarEclipse.ContactTime.") + contact).c_str()));
    };
    WorstError worst;
    for (const std::string& line : rows) {
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
                if (std::isnan(want[i]))
                    EXPECT_EQ(answer, L"*") << line << " " << kContacts[i];
                else
                    worst.Add((NumberOf(answer) - want[i]) * 86400.0,
                              std::to_string(jd) + " " + kContacts[i]);
            }
            // An hour after the 4th contact the eclipse is over: no contacts.
            host.SetJd(want[4] + 1.0 / 24.0);
            EXPECT_EQ(host.Execute(L"? Solar.Earth.BesselElement.Apply"), L"FALSE") << line;
            for (const char* contact : kContacts)
                EXPECT_EQ(ask(host, contact), L"*") << line << " " << contact;
        }
    }
    // Discs that overlap below the horizon make no eclipse at the site.
    CSkyHost night(2460409.31944);  // 2024-04-08 19:40 UT, the Sun 6.5 degrees down
    night.SetSite(-12.0, 32.0, 0.0);
    EXPECT_EQ(night.Execute(L"? solar.earth.besselelement.apply"), L"FALSE");
    EXPECT_EQ(ask(night, "1st"), L"*");
    worst.Expect("eclipse contacts", kContactS, "s");
}

}  // namespace
