// Attaching to the planetarium, refreshing from it, and the change reports.
#include <climits>
#include <cmath>

#include "DateObsFixture.h"

namespace {
Msg Updated(int mask) { return Msg{0x725, 0, mask}; }
}  // namespace

TEST_F(DateObsTest, AttachThenFirstRefreshReportsEverything) {
    obs.UpdateByCorZnt();  // nothing attached: nothing happens
    obs.SetpCorZnt(nullptr);
    EXPECT_TRUE(wnd.messages.empty());

    obs.SetpCorZnt(&host);
    EXPECT_EQ(TakeCommands(),
              (Texts{L"? UT(time)", L"? Time.Timezone", L"? Solar.Moon.Age", L"? Location",
                     L"? Location.Longitude", L"? Location.Latitude", L"? Location.Altitude",
                     L"? Star.AutoMagnitudeLimit.Minimum"}));
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Updated(0)});
    const tagADATE d = obs.GetADate();
    EXPECT_EQ(std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second, d.timezone),
              std::make_tuple(2024, 3, 15, 12, 0, 0.0, 0.0));
    EXPECT_EQ(std::make_tuple(obs.GetTz(), obs.GetMoonAge(), obs.GetLocationObject(), obs.GetLongitude(),
                              obs.GetLatitude(), obs.GetHeight(), obs.GetMag(), obs.GetUserTz()),
                  std::make_tuple(9.0, 5.25, 4, 139.7, 35.7, 40.0, 6.5, 9.0));

    host.Answer(L"? Time.Timezone", L"3");  // the refresh takes the zone from the map
    obs.UpdateByCorZnt();
    EXPECT_EQ(TakeCommands(),
              (Texts{L"? UT(Time)", L"Calc Sky", L"? Solar.Moon.Age", L"? Location", L"? Location.Longitude",
                     L"? Location.Latitude", L"? Location.Altitude", L"? Star.AutoMagnitudeLimit.Minimum"}));
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Updated(7)});
    EXPECT_EQ(obs.GetTz(), 9.0);
    obs.UpdateByCorZnt();
    EXPECT_EQ(host.Commands().size(), 6u);  // no "Calc Sky" and no Moon age while the time stands still
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DateObsTest, ChangeThresholds) {
    Attach();
    struct Step {
        const wchar_t *time, *lon, *lat, *height, *mag;
        double storedSecond;  // fraction planted in the stored time before the refresh
        int mask;
    } const steps[] = {
        {L"AD2024/03/15 12:00:00", L"139.7", L"35.7", L"40", L"6.5", 0.08, 0},  // < 0.0864 s
        {L"AD2024/03/15 12:00:00", L"139.7", L"35.7", L"40", L"6.5", 0.09, 1},
        {L"AD2024/03/15 12:00:01", L"139.700009", L"35.7", L"40.9", L"6.54", 0, 1},
        {L"AD2024/03/15 12:00:01", L"139.7", L"35.70002", L"40", L"6.5", 0, 2},
        {L"AD2024/03/15 12:00:01", L"139.7", L"35.70002", L"41", L"6.5", 0, 2},
        {L"AD2024/03/15 12:00:01", L"139.70002", L"35.70002", L"41", L"6.54", 0, 2},
        {L"AD2024/03/15 12:00:01", L"139.70002", L"35.70002", L"41", L"6.56", 0, 4},  // 65 -> 66
        {L"AD2024/03/16 12:00:01", L"139.70002", L"35.70002", L"41", L"6.6", 0, 1},
    };
    for (const Step& s : steps) {
        AnswerTime((CString(L"UT  ") + s.time).GetString());
        AnswerSite(L"Solar.Planet.Earth", s.lon, s.lat, s.height);
        host.Answer(L"? Star.AutoMagnitudeLimit.Minimum", s.mag);
        if (s.storedSecond) obs.m_Date.second = s.storedSecond;
        obs.UpdateByCorZnt();
        EXPECT_EQ(TakeMessages(), s.mask ? std::vector<Msg>{Updated(s.mask)} : std::vector<Msg>{})
            << CString(s.time).ToUtf8() << " " << CString(s.lat).ToUtf8() << " " << CString(s.mag).ToUtf8();
    }
    // The magnitude is kept while the first decimal rounds the same.
    EXPECT_EQ(std::make_tuple(obs.GetLatitude(), obs.GetHeight(), obs.GetMag()), std::make_tuple(35.70002, 41.0, 6.56));
    EXPECT_TRUE(obs.IsEqualMag(6.01, 6.04) && !obs.IsEqualMag(6.04, 6.06) && obs.IsEqualMag(1e300, 1e300) &&
                obs.IsEqualMag(NAN, NAN) && !obs.IsEqualMag(NAN, 6.0));
}

TEST_F(DateObsTest, BodiesAndTheirZones) {
    Attach();
    AnswerSite(L"Solar.Planet.Earth", L"-74", L"40.7", L"10");  // New York on the map
    obs.UpdateByCorZnt();
    EXPECT_EQ(obs.GetTz(), -5.0);
    TakeMessages();
    AnswerSite(L"Solar.Planet.Mars", L"139.7", L"35.7", L"40");
    obs.UpdateByCorZnt();
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Updated(2)});  // the body changed, the numbers did not
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.GetTz(), obs.GetLatitude(5)), std::make_tuple(5, 0.0, 35.7));

    const std::pair<const wchar_t*, int> answers[] = {
        {L"solar.dwarfplanet.makemake", 13}, {L"SOLAR.PLANET.EARTH.SATELLITE.MOON", 1}, {L"Solar.Sun", 0},
        {L"location(135, 35, 0)", 4},        {L"Solar.Planet.Neptune", 9},
        {L"", 9}, {L"Solar.Planet", 9}, {L"Location", 9}, {L"Solar.Planet.Earthling", 9},  // unknown: kept
    };
    for (const auto& a : answers) {
        host.Answer(L"? Location", a.first);
        const int before = obs.GetLocationObject();
        EXPECT_EQ(obs.GetCurrentLocation(), a.second != before ? 1 : 0);
        EXPECT_EQ(obs.GetLocationObject(), a.second) << CString(a.first).ToUtf8();
    }

    EXPECT_EQ(obs.ObjNumToName(1), CString(L"Solar.Planet.Earth.Satellite.Moon"));
    EXPECT_EQ(obs.ObjNumToName(13), CString(L"Solar.Dwarfplanet.MakeMake"));
    const int small[] = {0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1};
    for (int code = 0; code < 15; ++code) EXPECT_EQ(obs.IsSmallObject(code), small[code]) << code;
    for (int bad : {-1, 15, INT_MIN, INT_MAX})
        EXPECT_TRUE(!obs.IsSmallObject(bad) && obs.ObjNumToName(bad).IsEmpty() && obs.GetLatitude(bad) == 0.0 &&
                    obs.GetHeight(bad) == 0.0 && obs.GetLongitude(bad) == 0.0);
}

TEST_F(DateObsTest, TimeAnswersReadAsFarAsTheyFit) {
    Attach();
    const std::pair<const wchar_t*, tagADATE> cases[] = {
        {L"UT  BC100/07/01 06:30:15", MakeDate(-99, 7, 1, 6, 30, 15)},
        {L"UT  BC1/01/01 00:00:00", MakeDate(0, 1, 1, 0, 0, 0)},
        {L"UT AD 1999/12/31 23:59:59", MakeDate(1999, 12, 31, 23, 59, 59)},
        // Nothing readable keeps the stored time; a partial answer counts as far as it fits.
        {L"", MakeDate(2024, 3, 15, 12, 0, 0.05)},
        {L"UT  BC", MakeDate(2024, 3, 15, 12, 0, 0.05)},
        {L"UT  AD2023-01-02 03:04:05", MakeDate(2023, 3, 15, 12, 0, 0.05)},
        {L"UT  AD2023/07/02T03:04:05", MakeDate(2023, 7, 2, 12, 0, 0.05)},
        {L"UT  AD2023/07/02 03:04:", MakeDate(2023, 7, 2, 3, 4, 0.05)},
        // Numbers beyond an int saturate.
        {L"UT  AD99999999999/1/1 0:0:0", MakeDate(INT_MAX, 1, 1, 0, 0, 0)},
        {L"UT  BC-2147483648/1/1 0:0:0", MakeDate(INT_MAX, 1, 1, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0.05);
        AnswerTime(c.first);
        obs.UpdateByCorZnt();
        const tagADATE d = obs.GetADate();
        const tagADATE& e = c.second;
        EXPECT_EQ(std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second),
                  std::make_tuple(e.year, e.month, e.day, e.hour, e.minute, e.second))
            << CString(c.first).ToUtf8();
    }
}

TEST_F(DateObsTest, CoordinatesThatAreNoNumbers) {
    Attach();
    const std::tuple<const wchar_t*, const wchar_t*, int, double> steps[] = {
        {L"nan", L"35.7", 2, 0.0},  // no pixel under a point that is no number
        {L"nan", L"35.7", 0, 0.0},  // still NaN: nothing new
        {L"139.7", L"inf", 2, 0.0},
        {L"139.7", L"35.7", 2, 9.0},
    };
    for (const auto& [lon, lat, mask, tz] : steps) {
        AnswerSite(L"Solar.Planet.Earth", lon, lat, L"40");
        obs.UpdateByCorZnt();
        EXPECT_EQ(TakeMessages(), mask ? std::vector<Msg>{Updated(mask)} : std::vector<Msg>{});
        EXPECT_EQ(obs.GetTz(), tz);
    }
}

TEST_F(DateObsTest, WindowsAndHostFailures) {
    AfxGetThread()->m_pMainWnd = nullptr;  // no main window: nothing is sent, nothing breaks
    obs.SetpCorZnt(&host);
    obs.UpdateByCorZnt();
    obs.UpdateDateDisp(1);
    AfxGetThread()->m_pMainWnd = &wnd;
    EXPECT_TRUE(wnd.messages.empty());
    obs.UpdateDateDisp(1);
    obs.UpdateDateDisp(0xF);
    obs.UpdateDateDisp(0xFFFFFFF0u);
    EXPECT_EQ(TakeMessages(), (std::vector<Msg>{{0x727, 0xE, 0}, {0x727, 0, 0}, {0x727, 0xF, 0}}));

    host.Fail(L"? Location.Latitude");
    try {
        obs.UpdateByCorZnt();
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        e->Delete();
    }
}
