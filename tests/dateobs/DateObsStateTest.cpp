// SPDX-License-Identifier: LGPL-3.0-or-later
// Attaching to the planetarium, refreshing from it, the change reports, and the time queries:
// zones, the nearest-second carries, longitudes and sidereal time.
#include <climits>
#include <cmath>
#include <functional>

#include "DateObsFixture.h"
#include "support/Accuracy.h"

TEST_F(DateObsTest, AttachThenFirstRefreshReportsEverythingWindowsAndHostFailures) {
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
    EXPECT_EQ(
        std::make_tuple(obs.GetTz(), obs.GetMoonAge(), obs.GetLocationObject(), obs.GetLongitude(),
                        obs.GetLatitude(), obs.GetHeight(), obs.GetMag(), obs.GetUserTz()),
        std::make_tuple(9.0, 5.25, 4, 139.7, 35.7, 40.0, 6.5, 9.0));

    host.Answer(L"? Time.Timezone", L"3");  // the refresh takes the zone from the map
    obs.UpdateByCorZnt();
    EXPECT_EQ(TakeCommands(),
              (Texts{L"? UT(Time)", L"Calc Sky", L"? Solar.Moon.Age", L"? Location",
                     L"? Location.Longitude", L"? Location.Latitude", L"? Location.Altitude",
                     L"? Star.AutoMagnitudeLimit.Minimum"}));
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Updated(7)});
    EXPECT_EQ(obs.GetTz(), 9.0);
    obs.UpdateByCorZnt();
    EXPECT_EQ(host.Commands().size(),
              6u);  // no "Calc Sky" and no Moon age while the time stands still
    EXPECT_TRUE(TakeMessages().empty());
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
    ExpectThrows<COleDispatchException>([&] { obs.UpdateByCorZnt(); });
}

// Each refresh reports what changed beyond its threshold: 1e-6 day, 1e-5 degree, 1 m, or the
// magnitude's first decimal; the body; and the zone follows the map on the Earth.
TEST_F(AttachedTest, ChangeThresholdsBodiesAndZones) {
    for (const auto& f : DataFields("dateobs/refresh_steps.txt", 9)) {
        AnswerTime(W("UT  AD" + f[0]));
        AnswerSite(W(f[1]), W(f[2]), W(f[3]), W(f[4]));
        host.Answer(L"? Star.AutoMagnitudeLimit.Minimum", W(f[5]));
        if (std::stod(f[6])) obs.m_Date.second = std::stod(f[6]);
        obs.UpdateByCorZnt();
        EXPECT_EQ(TakeMessages(), UpdatedIf(std::stoi(f[7]))) << f[0] << " " << f[2] << " " << f[5];
        EXPECT_EQ(obs.GetTz(), std::stod(f[8])) << f[2];
    }
    // The magnitude is kept while the first decimal rounds the same.
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.GetLatitude(5), obs.GetMag()),
              std::make_tuple(5, 40.7, 6.56));
    EXPECT_TRUE(obs.IsEqualMag(6.01, 6.04) && !obs.IsEqualMag(6.04, 6.06) &&
                obs.IsEqualMag(1e300, 1e300) && obs.IsEqualMag(NAN, NAN) &&
                !obs.IsEqualMag(NAN, 6.0));

    for (const auto& f : DataFields("dateobs/location_answers.txt", 2)) {
        host.Answer(L"? Location", W(f[0]));
        const int before = obs.GetLocationObject(), body = std::stoi(f[1]);
        EXPECT_EQ(obs.GetCurrentLocation(), body != before ? 1 : 0);
        EXPECT_EQ(obs.GetLocationObject(), body) << f[0];
    }
    EXPECT_EQ(obs.ObjNumToName(13), CString(L"Solar.Dwarfplanet.MakeMake"));
    const int small[] = {0, 1, 1, 1, 1, 1, 0, 0,
                         0, 0, 1, 1, 1, 1, 1};  // the Sun and the giants are not
    for (int code = 0; code < 15; ++code) EXPECT_EQ(obs.IsSmallObject(code), small[code]) << code;
    for (int bad : {-1, 15, INT_MIN, INT_MAX})
        EXPECT_TRUE(!obs.IsSmallObject(bad) && obs.ObjNumToName(bad).IsEmpty() &&
                    obs.GetLatitude(bad) == 0.0 && obs.GetHeight(bad) == 0.0 &&
                    obs.GetLongitude(bad) == 0.0);
}

TEST_F(AttachedTest, TimeAnswersReadAsFarAsTheyFit) {
    // Each answer and the time it leaves, from 15 March 2024 12:00:00.05.
    for (const auto& f : DataFields("dateobs/time_answers.txt", 7)) {
        obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0.05);
        AnswerTime(W(f[0]));
        obs.UpdateByCorZnt();
        const tagADATE d = obs.GetADate();
        EXPECT_EQ(std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second),
                  std::make_tuple(std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]),
                                  std::stoi(f[4]), std::stoi(f[5]), std::stod(f[6])))
            << f[0];
    }
}

namespace {
using Ymdhms = std::tuple<int, int, int, int, int, int>;
using Query = std::function<void(int*, int*, int*, int*, int*, int*)>;
// One of the six-output queries, written as a call with the outputs y, mo, d, h, mi, s.
#define QUERY(call)                                               \
    Query([&](int* y, int* mo, int* d, int* h, int* mi, int* s) { \
        (void)y, (void)mo, (void)d, (void)h, (void)mi, (void)s;   \
        call;                                                     \
    })

Ymdhms Get(const Query& query) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    query(&y, &mo, &d, &h, &mi, &s);
    return {y, mo, d, h, mi, s};
}
}  // namespace

using DateObsTimeTest = AttachedTest;

TEST_F(DateObsTimeTest, ZonesCarriesTheUserZoneAndSiderealTime) {
    const Query lst = QUERY(obs.GetLST(y, mo, d, h, mi, s));
    obs.m_Date = MakeDate(2023, 12, 31, 23, 59, 59.6);
    obs.m_dTz = 0.0;
    EXPECT_EQ(Get(lst), Ymdhms(2024, 1, 1, 0, 0, 0));
    EXPECT_EQ(Get(QUERY(obs.GetUT(y, mo, d, h, mi, s, 0))), Ymdhms(2024, 1, 1, 0, 0, 0));
    EXPECT_EQ(obs.GetADate().second, 59.6);  // the stored instant never moves
    obs.m_Date.second = 59.4;
    EXPECT_EQ(Get(lst), Ymdhms(2023, 12, 31, 23, 59, 59));

    // Each query and the user zone it leaves behind; the map's zone is +9, the user's -5.
    obs.m_Date = MakeDate(2024, 2, 28, 20, 30, 0);
    obs.m_dTz = 9.0;
    obs.SetUserTz(-5.0);
    const std::tuple<Query, Ymdhms, double> steps[] = {
        {lst, {2024, 2, 29, 5, 30, 0}, -5.0},
        {QUERY(obs.GetLT(y, mo, d, h, mi, s)), {2024, 2, 28, 15, 30, 0}, -5.0},
        {QUERY(obs.GetLT(y, mo, d, h, mi, s, 5.5)), {2024, 2, 29, 2, 0, 0}, 5.5},
        {QUERY(obs.GetUT(y, mo, d, h, mi, s, 0)), {2024, 2, 28, 20, 30, 0}, 5.5},
        {QUERY(obs.GetUT(y, mo, d, h, mi, s, 1)), {2024, 2, 28, 20, 30, 0}, 0.0},
    };
    for (const auto& [query, expected, userTz] : steps) {
        EXPECT_EQ(Get(query), expected);
        EXPECT_EQ(obs.GetUserTz(), userTz);
    }

    double jd = 0, mjd = 0, day = 0;
    int y = 0, mo = 0;
    obs.m_Date = MakeDate(2000, 1, 1, 18, 36, 54);
    obs.GetJD(&jd);
    obs.SetUserTz(9.0);
    obs.GetMJD(&mjd);
    EXPECT_EQ(obs.GetUserTz(), 0.0);
    obs.SetUserTz(9.0);
    obs.GetUTDate(&y, &mo, &day);
    EXPECT_EQ(obs.GetUserTz(), 0.0);
    const double fraction = (18 * 3600 + 36 * 60 + 54) / 86400.0;
    EXPECT_NEAR(jd, 2451544.5 + fraction, 1e-8);
    EXPECT_NEAR(mjd, 51544.0 + fraction, 1e-8);
    EXPECT_EQ(std::make_tuple(y, mo), std::make_tuple(2000, 1));
    EXPECT_NEAR(day, 1.0 + fraction, 1e-12);
    const std::pair<const wchar_t*, Ymdhms> cases[] = {
        {L"23.99999", {}},
        {L"12.5", {0, 0, 0, 12, 30, 0}},
        {L"1.9999", {0, 0, 0, 2, 0, 0}},
        {L"6.2525", {0, 0, 0, 6, 15, 9}},
        {L"", {}},
        {L"*", {}},
        {L"nan", {}},
        {L"1e300", {}},
    };
    obs.SetUserTz(3.0);
    for (const auto& [answer, expected] : cases) {
        host.Answer(L"? Time.SiderealTime", answer);
        EXPECT_EQ(Get(QUERY(obs.GetST(h, mi, s))), expected) << CString(answer).ToUtf8();
        EXPECT_EQ(host.Queries().back(), CString(L"? Time.SiderealTime"));
        EXPECT_EQ(obs.GetUserTz(), 0.0);
    }
    // Outputs the caller leaves out are not written.
    obs.GetST(nullptr, nullptr, nullptr);
    obs.GetLMT(nullptr, nullptr, nullptr, nullptr, nullptr, static_cast<double*>(nullptr));
    obs.GetUTDate(nullptr, nullptr, nullptr);
    obs.GetJD(nullptr);
}

TEST_F(DateObsTimeTest, LongitudeRuleAndMeanTime) {
    const Query lmt = QUERY(obs.GetLMT(y, mo, d, h, mi, s));
    obs.m_aLocation[4].longitude = 135.0;
    obs.SetUserTz(0.0);
    EXPECT_EQ(Get(lmt), Ymdhms(2024, 3, 15, 21, 0, 0));
    EXPECT_EQ(obs.GetUserTz(), 9.0);
    obs.m_aLocation[4].longitude = 200.0;  // east of 180 the Earth's longitudes turn negative
    EXPECT_EQ(obs.GetLongitude(), -160.0);
    EXPECT_EQ(Get(lmt), Ymdhms(2024, 3, 15, 1, 20, 0));
    EXPECT_DOUBLE_EQ(obs.GetUserTz(), -160.0 / 15.0);

    obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 10.25);
    obs.m_aLocation[4].longitude = 0.1;  // 24 seconds east; the fraction is kept
    int y, mo, d, h, mi;
    double s;
    obs.GetLMT(&y, &mo, &d, &h, &mi, &s);
    EXPECT_EQ(std::make_tuple(h, mi), std::make_tuple(12, 0));
    EXPECT_NEAR(s, 34.25, 1e-6);

    const std::tuple<int, double, double> rule[] = {
        {5, -10.0, 350.0}, {5, 725.0, 5.0},    {0, 360.0, 0.0},
        {1, 180.0, 180.0}, {1, 180.5, -179.5}, {4, -10.0, -10.0},
    };
    for (const auto& [code, stored, expected] : rule) {
        obs.m_aLocation[code].longitude = stored;
        EXPECT_NEAR(obs.GetLongitude(code), expected, 1e-9) << code << " " << stored;
    }
    obs.m_nLocationObject = 5;
    EXPECT_NEAR(obs.GetLMTTz(), 5.0 / 15.0, 1e-9);
}
