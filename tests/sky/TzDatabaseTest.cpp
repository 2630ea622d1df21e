// SPDX-License-Identifier: LGPL-3.0-or-later
// The tz database reader against Python's zoneinfo over the same tzdata
// (tools/tzmap/make_tz_reference.py), the POSIX rules of TZif footers, and the host
// following its site's zone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "sky/SkyHost.h"
#include "sky/TzDatabase.h"
#include "support/Accuracy.h"
#include "zvacl/zvacl.h"

namespace {

// Seconds since 1970 of "YYYY-MM-DDTHH:MM:SSZ".
int64_t UnixSeconds(const std::string& iso) {
    tagADATE d{};
    sscanf(iso.c_str(), "%d-%d-%dT%d:%d", &d.year, &d.month, &d.day, &d.hour, &d.minute);
    d.second = std::stod(iso.substr(17, 2));
    return static_cast<int64_t>(std::llround((GetJd(&d) - 2440587.5) * 86400.0));
}

TEST(TzDatabase, OffsetsAgreeWithZoneinfoAtEveryReferenceInstant) {
    int rows = 0;
    for (const std::string& line : DataRows("tz/offsets.txt")) {
        std::istringstream fields(line);
        std::string zone, at;
        long want = 0;
        fields >> zone >> at >> want;
        const auto z = sky::FindZone(zone);
        ASSERT_TRUE(z) << zone;
        EXPECT_EQ(z->OffsetAt(UnixSeconds(at)), want) << zone << " " << at;
        ++rows;
    }
    EXPECT_GT(rows, 500);
}

TEST(TzDatabase, FooterRulesAndWhatIsNoZone) {
    for (const std::string& line : DataRows("tz/rules.txt")) {
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
    std::ifstream in("/usr/share/zoneinfo/Europe/London", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 100u);
    for (size_t cut = 0; cut < whole.size(); cut += 7) {
        sky::TzZone zone;
        if (zone.Parse(whole.substr(0, cut))) zone.OffsetAt(0);
    }
    EXPECT_FALSE(sky::TzZone().Parse(std::string(60, 'x')));
}

TEST(TzDatabase, TheHostFollowsItsSitesZoneAtItsInstant) {
    const struct {
        double lon, lat;
        const wchar_t* zone;
    } sites[] = {
        {-96.797, 32.7767, L"America/Chicago"}, {-0.1276, 51.5072, L"Europe/London"},
        {139.69, 35.69, L"Asia/Tokyo"},         {-70.6483, -33.4489, L"America/Santiago"},
        {129.0, -31.7, L"Australia/Eucla"},     {-150.0, -40.0, L""}};  // (the last at sea)
    for (const auto& s : sites)
        EXPECT_EQ(CSkyHost::ZoneNameAt(s.lon, s.lat), CString(s.zone)) << s.lon;
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
