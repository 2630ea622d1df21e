// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "draw/TimeZone.h"
#include "support/Accuracy.h"
#include "res/LibraryResources.h"

namespace {

// The map rendered once for all tests (it never changes after Create).
class Map : public CTimeZone {
public:
    static Map& Get() {
        static Map* m = [] {
            auto* t = new Map;
            t->Create(nullptr);
            return t;
        }();
        return *m;
    }
    void Paint(int x, int y, COLORREF c) { m_map.SetPixel(x, y, c); }
    COLORREF At(int x, int y) { return m_map.GetPixel(x, y); }
};

// True for the offsets the map has a colour for.
bool HasColour(double offset) {
    static const double kColoured[] = {-12,  -11, -10, -9, -8, -7, -6,  -5, -4,  -3.5, -3,
                                       -2,   -1,  0,   1,  2,  3,  3.5, 4,  4.5, 5,    5.5,
                                       5.75, 6,   6.5, 7,  8,  9,  9.5, 10, 11,  12,   13};
    return std::find(std::begin(kColoured), std::end(kColoured), offset) != std::end(kColoured);
}

}  // namespace

TEST(CTimeZone, PlacesGetTheirStandardOffset) {
    // Lines of "name latitude longitude offset"; # starts a comment. The zone cities of
    // tzcities.txt seed the map (410 of 413 right, 99.3 %, with tzdata 2025b); the places of
    // tzplaces.txt, another list's cities and weather stations at least 10 km from every
    // seed, measure it where it had none: 783 of 797, 98.2 %.
    const struct {
        const char* file;
        int places;
        double share;
    } kTables[] = {{"tzcities.txt", 400, 98.0}, {"tzplaces.txt", 790, 97.0}};
    for (const auto& table : kTables) {
        int places = 0, total = 0, right = 0;
        std::string wrong;
        for (const std::string& line : DataRows(table.file, 4)) {
            std::istringstream s(line);
            std::string name;
            double lat, lon, offset;
            ASSERT_TRUE(s >> name >> lat >> lon >> offset) << line;
            if (++places, !HasColour(offset)) continue;
            ++total;
            const double got = Map::Get().GetTimeZone(lon, lat);
            if (got == offset)
                ++right;
            else
                wrong += " " + name + "=" + std::to_string(got);
        }
        ASSERT_GT(places, table.places) << table.file;
        const double share = 100.0 * right / total;
        std::printf("%s: %d of %d (%.2f %%)\n", table.file, right, total, share);
        EXPECT_GE(share, table.share) << table.file << " wrong:" << wrong;
    }
}

// Places, open sea and the edges of the map (tests/data/tz/map_offsets.txt).
TEST(CTimeZone, KnownPlacesOpenSeaAndEdgesOfTheMap) {
    Map& m = Map::Get();
    for (const std::string& line : DataRows("tz/map_offsets.txt", 3)) {
        std::istringstream s(line);
        std::string lon, lat, offset;
        s >> lon >> lat >> offset;
        EXPECT_EQ(m.GetTimeZone(std::stod(lon), std::stod(lat)), std::stod(offset)) << line;
    }
    EXPECT_EQ(m.GetTimeZone(-22.5, 0), m.GetTimeZone(-22.25, 0));
    EXPECT_EQ(m.GetTimeZone(30, -89.9), m.GetTimeZone(30, -89.6));
    EXPECT_NE(m.GetTimeZone(30, -89.9), 0.0);
}

// Before Create every query is 0; so is a colour no zone has.
TEST(CTimeZone, ColoursOfNoZoneReadAsZero) {
    Map painted;
    EXPECT_EQ(painted.GetTimeZone(139.7, 35.7), 0.0);
    painted.Create(nullptr);
    ASSERT_EQ(painted.GetTimeZone(45.0, -30.0), 3.0);  // the Indian Ocean
    const int x = static_cast<int>(720 * (45.0 + 22.5) / 360),
              y = static_cast<int>(360 * 120.0 / 180);
    const std::pair<COLORREF, double> kColours[] = {
        {RGB(83, 238, 78), 0}, {RGB(0, 0, 0), 0}, {RGB(63, 63, 63), 9.5}};
    for (const auto& c : kColours) {
        painted.Paint(x, y, c.first);
        EXPECT_EQ(painted.GetTimeZone(45.0, -30.0), c.second) << std::hex << c.first;
    }
}

TEST(CTimeZone, RenderedMapIsUnchanged) {
    // FNV-1a over the rendered pixels, top row first: a change of the player or of the
    // map data changes it. Regenerating the map means updating this value.
    // Every pixel has a zone colour besides: the map leaves no gap.
    Map& m = Map::Get();
    uint64_t h = 1469598103934665603ull;
    int unknown = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x) {
            const COLORREF c = m.At(x, y);
            for (int k = 0; k < 3; ++k) h = (h ^ ((c >> (8 * k)) & 0xFF)) * 1099511628211ull;
            unknown +=
                m.GetTimeZone(x / 2.0 - 22.25, 89.75 - y / 2.0) == 0.0 && c != RGB(0, 0, 255);
        }
    EXPECT_EQ(h, 0x2cc4ee1b91d35dc0ull) << std::hex << h;
    EXPECT_EQ(unknown, 0);
}

// The map comes from a resource a host finds under the library's module name (its
// contents are covered by the rendered map above).
TEST(CTimeZone, MapResourceIsRegisteredWithTheLibrary) {
    HMODULE module = GetModuleHandleW(L"ZCMCOM.DLL");
    HRSRC r = FindResourceW(module, MAKEINTRESOURCE(IDR_TIMEZONE_MAP), L"METAFILE");
    ASSERT_NE(r, nullptr);
    PLACEABLEMETAHEADER h{};
    EXPECT_TRUE(
        ZcmReadPlaceableHeader(static_cast<const BYTE*>(LockResource(LoadResource(module, r))),
                               SizeofResource(module, r), &h));
}
