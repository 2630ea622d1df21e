#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "draw/TimeZone.h"
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

struct City {
    std::string zone;
    double lat, lon, offset;
};

std::vector<City> Cities() {
    std::vector<City> out;
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/tzcities.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        City c;
        s >> c.zone >> c.lat >> c.lon >> c.offset;
        out.push_back(c);
    }
    return out;
}

bool HasColour(double offset) {
    static const double kColoured[] = {-12, -11, -10, -9, -8, -7, -6, -5, -4, -3.5, -3,
                                       -2, -1, 0, 1, 2, 3, 3.5, 4, 4.5, 5, 5.5,
                                       5.75, 6, 6.5, 7, 8, 9, 9.5, 10, 11, 12, 13};
    for (double c : kColoured)
        if (c == offset) return true;
    return false;
}

}  // namespace

TEST(CTimeZone, ZoneCitiesGetTheirStandardOffset) {
    const std::vector<City> cities = Cities();
    ASSERT_GT(cities.size(), 400u);
    int total = 0, right = 0;
    std::string wrong;
    for (const City& c : cities) {
        if (!HasColour(c.offset)) continue;
        ++total;
        const double got = Map::Get().GetTimeZone(c.lon, c.lat);
        if (got == c.offset) ++right;
        else wrong += " " + c.zone + "=" + std::to_string(got);
    }
    const double share = 100.0 * right / total;
    RecordProperty("CityShare", std::to_string(share));
    EXPECT_GE(share, 98.0) << "wrong:" << wrong;
    // Known places away from zone borders.
    EXPECT_EQ(Map::Get().GetTimeZone(139.7, 35.7), 9.0);   // Tokyo, pixel (324, 108)
    EXPECT_EQ(Map::Get().GetTimeZone(-0.1, 51.5), 0.0);    // London
    EXPECT_EQ(Map::Get().GetTimeZone(77.2, 28.6), 5.5);    // Delhi
    EXPECT_EQ(Map::Get().GetTimeZone(-87.6, 41.9), -6.0);  // Chicago
    EXPECT_EQ(Map::Get().GetTimeZone(151.2, -33.9), 10.0); // Sydney
}

TEST(CTimeZone, OceansUseNauticalZones) {
    struct {
        double lon, lat;
    } const kSea[] = {{-30, 0},    {-140, -30}, {-160, 10},  {160, -45}, {-178, -20},
                      {178, -50},  {80, -30},   {60, -40},   {-40, 30},  {-25, -40},
                      {150, 20},   {-120, -40}, {10, -60},   {100, -50}, {-70, -60}};
    for (const auto& p : kSea) {
        const double expected = std::round(p.lon / 15);
        EXPECT_EQ(Map::Get().GetTimeZone(p.lon, p.lat), expected) << p.lon << ", " << p.lat;
    }
}

TEST(CTimeZone, EdgesOfTheMap) {
    Map& m = Map::Get();
    // Column 0 is longitude -22.5; -30 wraps to 330 (column 705), 340 to -20 (column 5).
    EXPECT_EQ(m.GetTimeZone(-22.5, 0), m.GetTimeZone(-22.25, 0));
    EXPECT_EQ(m.GetTimeZone(-22.5, 0), -1.0);  // the Atlantic at the left edge
    EXPECT_EQ(m.GetTimeZone(-30, 0), -2.0);
    EXPECT_EQ(m.GetTimeZone(340, 0), -1.0);
    EXPECT_EQ(m.GetTimeZone(337.4, 0), -2.0);
    EXPECT_EQ(m.GetTimeZone(337.5, 0), 0.0);  // column 720: off the bitmap
    // Row 0 is latitude 90; latitude -90 is row 360, off the bitmap.
    EXPECT_EQ(m.GetTimeZone(0, 90), 0.0);
    EXPECT_EQ(m.GetTimeZone(30, -90), 0.0);
    EXPECT_EQ(m.GetTimeZone(30, -89.9), m.GetTimeZone(30, -89.6));
    EXPECT_NE(m.GetTimeZone(30, -89.9), 0.0);
    // Far off the map or not a number: unknown.
    EXPECT_EQ(m.GetTimeZone(1e300, 10), 0.0);
    EXPECT_EQ(m.GetTimeZone(std::nan(""), 10), 0.0);
    EXPECT_EQ(m.GetTimeZone(30, -1e9), 0.0);
}

TEST(CTimeZone, ColoursOfNoZoneReadAsZero) {
    Map painted;
    painted.Create(nullptr);
    const double before = painted.GetTimeZone(45.0, -30.0);  // the Indian Ocean, +3
    ASSERT_EQ(before, 3.0);
    const int x = static_cast<int>(720 * (45.0 + 22.5) / 360), y = static_cast<int>(360 * 120.0 / 180);
    painted.Paint(x, y, RGB(83, 238, 78));
    EXPECT_EQ(painted.GetTimeZone(45.0, -30.0), 0.0);
    painted.Paint(x, y, RGB(0, 0, 0));
    EXPECT_EQ(painted.GetTimeZone(45.0, -30.0), 0.0);
    painted.Paint(x, y, RGB(63, 63, 63));
    EXPECT_EQ(painted.GetTimeZone(45.0, -30.0), 9.5);
}

TEST(CTimeZone, BeforeCreateEveryQueryIsZero) {
    CTimeZone tz;
    EXPECT_EQ(tz.GetTimeZone(139.7, 35.7), 0.0);
    EXPECT_EQ(tz.GetTimeZone(0, 0), 0.0);
}

TEST(CTimeZone, RenderedMapIsUnchanged) {
    // FNV-1a over the rendered pixels, top row first: a change of the player or of the
    // map data changes it. Regenerating the map means updating this value.
    Map& m = Map::Get();
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x) {
            const COLORREF c = m.At(x, y);
            for (int k = 0; k < 3; ++k) {
                h ^= (c >> (8 * k)) & 0xFF;
                h *= 1099511628211ull;
            }
        }
    EXPECT_EQ(h, 0x2cc4ee1b91d35dc0ull) << std::hex << h;
    // Every pixel has a zone colour: the map leaves no gap.
    int unknown = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 720; ++x)
            unknown += m.GetTimeZone(x / 2.0 - 22.25, 89.75 - y / 2.0) == 0.0 &&
                       m.At(x, y) != RGB(0, 0, 255);
    EXPECT_EQ(unknown, 0);
}

TEST(CTimeZone, MapResourceIsRegisteredWithTheLibrary) {
    HMODULE module = GetModuleHandleW(L"ZCMCOM.DLL");
    ASSERT_NE(module, nullptr);
    HRSRC r = FindResourceW(module, MAKEINTRESOURCE(IDR_TIMEZONE_MAP), L"METAFILE");
    ASSERT_NE(r, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, r)));
    ASSERT_GT(SizeofResource(module, r), 22u + 18u);
    PLACEABLEMETAHEADER h{};
    ASSERT_TRUE(ZcmReadPlaceableHeader(bytes, SizeofResource(module, r), &h));
    EXPECT_EQ(h.right, 3865);
    EXPECT_EQ(h.bottom, 1940);
    EXPECT_EQ(h.inch, 576);
    WORD sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= WORD(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    EXPECT_EQ(sum, h.checksum);
}
