// SPDX-License-Identifier: LGPL-3.0-or-later
// The tz database reader: our own zones as zic compiles them, the machine's zones against
// the C library, the POSIX rules of TZif footers, the town list and the host following its
// site's zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "sky/SkyHost.h"
#include "sky/Towns.h"
#include "sky/TzDatabase.h"
#include "sky/UnixTime.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/TestUtil.h"
#include "zvacl/zvacl.h"

namespace {

// Seconds since 1970 of "YYYY-MM-DDTHH:MM:SSZ".
int64_t UnixSeconds(const std::string& iso) {
    tagADATE d{};
    sscanf(iso.c_str(), "%d-%d-%dT%d:%d", &d.year, &d.month, &d.day, &d.hour, &d.minute);
    d.second = std::stod(iso.substr(17, 2));
    return sky::UnixSecondsOf(GetJd(&d));
}

// Our zones (tests/data/tz/zones.zi) against the offsets worked out from their rules: rules
// and standard offsets that change, both hemispheres, the footer's rule after the last
// change, negative and half-hour saving, +8:45, a link.
TEST(TzDatabase, OffsetsOfOurZonesAsZicCompilesThem) {
    const TestZones zones;
    int rows = 0;
    for (const std::string& line : DataRows("tz/offsets.txt", 3)) {
        std::istringstream fields(line);
        std::string zone, at;
        long want = 0;
        fields >> zone >> at >> want;
        const auto z = sky::FindZone(zone);
        ASSERT_TRUE(z) << zone;
        EXPECT_EQ(z->OffsetAt(UnixSeconds(at)), want) << zone << " " << at;
        ++rows;
    }
    EXPECT_EQ(rows, 88);
    // Instants read to the nearest second, before 1970 too.
    EXPECT_EQ(sky::UnixSecondsOf(sky::kUnixEpochJd - 0.7 / 86400), -1);
    EXPECT_EQ(sky::UnixSecondsOf(sky::kUnixEpochJd - 0.3 / 86400), 0);
}

// The offset the C library gives at the instant, in the zone TZ names.
long CLibraryOffset(int64_t t) {
    const time_t at = static_cast<time_t>(t);
    tm local{};
    localtime_r(&at, &local);
    return local.tm_gmtoff;
}

// Whatever tz database this machine has, the reader and the C library (what zdump shows)
// read the same files: every zone every five days of 1970-2039, and at each change between
// them and a second before it (found to the second, as zdump does).
TEST(TzDatabase, AgreesWithTheCLibraryOnEveryZoneOfThisMachine) {
    // The zones and links of tzdata.zi: "Z name ...", "L target name".
    std::vector<std::string> names;
    std::ifstream zi(sky::ZoneFolder() + "/tzdata.zi");
    for (std::string line, a, b, c; std::getline(zi, line);)
        if (std::istringstream(line) >> a >> b >> c && (a == "Z" || a == "L"))
            names.push_back(a == "Z" ? b : c);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& n) { return !sky::FindZone(n); }),
                names.end());
    if (names.empty()) GTEST_SKIP() << "no zones in " << sky::ZoneFolder();
    const EnvGuard tz{"TZ"};
    const int64_t kStep = 5 * 86400, from = 0, to = 2208988800;  // 1970 to 2040
    int bad = 0, changes = 0;
    for (const std::string& name : names) {
        setenv("TZ", (":" + name).c_str(), 1);
        tzset();
        const auto zone = sky::FindZone(name);
        const auto expect = [&](int64_t t, long want) {
            if (zone->OffsetAt(t) != want && ++bad <= 10)
                ADD_FAILURE() << name << " at " << t << ": " << zone->OffsetAt(t)
                              << ", the C library " << want;
        };
        for (long t = from, before = CLibraryOffset(from); t < to; t += kStep) {
            const long now = CLibraryOffset(t);
            if (now != before) {
                int64_t lo = t - kStep, hi = t;
                while (hi - lo > 1) {
                    const int64_t mid = lo + (hi - lo) / 2;
                    (CLibraryOffset(mid) == before ? lo : hi) = mid;
                }
                expect(lo, before);
                expect(hi, CLibraryOffset(hi));
                ++changes;
            }
            expect(t, before = now);
        }
    }
    EXPECT_EQ(bad, 0);
    EXPECT_GT(changes, 1000);
}

TEST(TzDatabase, FooterRulesAndWhatIsNoZone) {
    for (const std::string& line : DataRows("tz/rules.txt", 3)) {
        std::istringstream fields(line);
        std::string text, at;
        long offset = 0;
        fields >> text >> at >> offset;
        sky::TzRule rule;
        ASSERT_TRUE(rule.Parse(text)) << text;
        EXPECT_EQ(rule.OffsetAt(UnixSeconds(at)), offset) << line;
    }
    for (const char* bad : {"", "X5", "EST", "EST5EDT,M13.1.0,M1.1.0", "EST5EDT,M3.2.0", "<+05-5",
                            "EST5EDT,M3.2.0,M11.1.0x"}) {
        sky::TzRule rule;
        EXPECT_FALSE(rule.Parse(bad)) << bad;
    }
    for (const char* name :
         {"", "Nowhere/City", "../../etc/passwd", "/etc/localtime", "America", "Europe/London\n"})
        EXPECT_FALSE(sky::FindZone(name)) << name;
    // A damaged file: every cut of a real one is refused or read, never read past its end.
    const std::string whole = ReadFileBytes(TestZoneFolder() + "/Europe/London");
    ASSERT_GT(whole.size(), 100u);
    for (size_t cut = 0; cut < whole.size(); cut += 7) {
        sky::TzZone zone;
        if (zone.Parse(whole.substr(0, cut))) zone.OffsetAt(0);
    }
    EXPECT_FALSE(sky::TzZone().Parse(std::string(60, 'x')));
}

// The town list read in blocks: a line longer than a block, a last line with no newline;
// comments, towns of no name or no such zone, and empty names passed over.
TEST(TzDatabase, TheTownListReadWhole) {
    const TempDir dir;
    const std::string longName(100000, 'x');
    WriteFileBytes(dir.File("tztowns.txt"),
                   "# towns\nZ\tEurope/London\nZ\tAsia/Tokyo\n51.51\t-0.13\t0\tGB\tLondon\n"
                   "35.0\t135.0\t1\n1\t2\t2\tXX\tNowhere\n10\t20\t1\tJP\t\n"
                   "35.69\t139.69\t1\tJP\t|Tokyo||東京\n34.69\t135.5\t+1\tJP\t" +
                       longName + "|Osaka\n35.01\t135.76\t+1\tJP\tKyoto");
    const EnvGuard env{"ZCMCOM_DATA_DIR"};
    setenv("ZCMCOM_DATA_DIR", dir.path().c_str(), 1);
    std::string all;
    for (sky::NamedTown& t : sky::AllTowns()) {
        t.town.name.resize(std::min<size_t>(t.town.name.size(), 8));
        all += t.town.Described() + ":";
        for (size_t i = 0; i < t.names.size(); ++i)
            all += " " + t.names[i].substr(0, 8) + "=" + t.folded[i].substr(0, 8);
        all += "\n";
    }
    EXPECT_EQ(all,
              "London,GB (Europe/London, 51.51 N, 0.13 W): London=london\n"
              "Tokyo,JP (Asia/Tokyo, 35.69 N, 139.69 E): Tokyo=tokyo 東京=東京\n"
              "xxxxxxxx,JP (Asia/Tokyo, 34.69 N, 135.50 E): xxxxxxxx=xxxxxxxx Osaka=osaka\n"
              "Kyoto,JP (Asia/Tokyo, 35.01 N, 135.76 E): Kyoto=kyoto\n");
    ASSERT_EQ(sky::TownsNamed("osaka").size(), 1u);
    EXPECT_EQ(sky::TownsNamed("osaka")[0].name.size(), longName.size());
}

TEST(TzDatabase, TheHostFollowsItsSitesZoneAtItsInstant) {
    const TestZones zones;
    for (const std::string& row : DataRows("tz/sites.txt", 3)) {
        const std::vector<std::string> f = TabFields(row);
        EXPECT_EQ(CSkyHost::ZoneNameAt(std::stod(f[0]), std::stod(f[1])), W(f[2])) << row;
    }
    CSkyHost host(2460409.25);  // 2024-04-08 18:00 UT
    host.SetSite(-96.797, 32.7767, 0);
    ASSERT_TRUE(host.SetZoneName(L"America/Chicago"));
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), CString(L"-5"));
    host.Execute(L"Time.JD = 2460325.25");  // 15 January 2024: standard time
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), CString(L"-6"));
    EXPECT_FALSE(host.SetZoneName(L"Mars/Olympus"));
    EXPECT_EQ(host.GetZoneName(), CString(L"America/Chicago"));
    host.Execute(L"Time.Timezone = 9");  // a fixed offset ends the following
    host.Execute(L"Time.JD = 2460409.25");
    EXPECT_EQ(host.Execute(L"? Time.Timezone"), CString(L"9"));
    EXPECT_EQ(host.GetZoneName(), CString());
}

}  // namespace
