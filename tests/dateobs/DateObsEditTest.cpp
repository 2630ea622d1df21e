// SPDX-License-Identifier: LGPL-3.0-or-later
// Edits from the user interface: spans, set dates, calendar corrections, era swaps, range,
// time locks; sites, bodies and magnitudes, and the star catalogue questions.
#include <climits>
#include <cmath>

#include "DateObsFixture.h"
#include "support/Accuracy.h"

// 15 March 2024 12:00:00 UT, user zone +9.
class DateEditTest : public AttachedTest {
protected:
    Texts Set(tagADATE date) {
        obs.UpdateDateByUI(&date);
        return TakeCommands();
    }
    Texts Move(tagSPAN span) {
        obs.UpdateDateByUI(&span, 0);
        return TakeCommands();
    }
    // The edit was dropped: nothing sent, nothing stored, nothing marked.
    void ExpectDropped(const std::string& what) {
        EXPECT_EQ((std::tuple{TakeCommands(), GetJd(&obs.m_Date), obs.m_nForceUpdate}),
                  (std::tuple{Texts{}, 2460385.0, 0}))
            << what;
    }
};

TEST_F(DateEditTest, SpansCountInTheUserZone) {
    EXPECT_EQ((std::tuple{Move({0, 0, 1, 0, 0, 0.0}), obs.GetADate().day, obs.m_nForceUpdate}),
              (std::tuple{Texts{L"Time = UT(2024, 3, 16, 12, 0, 0); Show Sky"}, 16, 5}));
    obs.UpdateByCorZnt();  // reports date and magnitude although the host reads as before
    EXPECT_EQ((std::tuple{TakeMessages(), obs.GetADate().day}),
              (std::tuple{std::vector<Msg>{Msg(0x725, 0, 5)}, 15}));
    TakeCommands();
    // 31 January 20:00 UT is 1 February 05:00 at +9; a month on, 1 March 05:00 there.
    obs.m_Date = MakeDate(2024, 1, 31, 20, 0, 0);
    EXPECT_EQ(Move({0, 1, 0, 0, 0, 30.7}), Texts{L"Time = UT(2024, 2, 29, 20, 0, 30); Show Sky"});
    Reset();
    const tagSPAN dropped[] = {
        {INT_MAX, 0, 0, 0, 0, 0.0}, {0, INT_MIN, 0, 0, 0, 0.0}, {0, 0, INT_MAX, 0, 0, 0.0},
        {0, 0, 0, INT_MIN, 0, 0.0}, {0, 0, 0, 0, 0, 1e300},     {0, 0, 0, 0, 0, NAN},
        {200000, 0, 0, 0, 0, 0.0},
    };
    for (const tagSPAN& span : dropped) {
        Move(span);
        ExpectDropped(std::to_string(span.years) + "y " + std::to_string(span.seconds) + "s");
    }
    // The largest count of minutes is some 4083 years: long, but inside the range.
    EXPECT_EQ(Move({0, 0, 0, 0, INT_MAX, 0.0}),
              Texts{L"Time = UT(6107, 4, 8, 14, 7, 0); Show Sky"});
}

TEST_F(DateEditTest, SetDatesAndCalendarCorrections) {
    EXPECT_EQ(Set(MakeDate(2024, 3, 20, 21, 15, 30.6, 9.0)),
              Texts{L"Time = UT(2024, 3, 20, 12, 15, 31); Show Sky"});
    EXPECT_NEAR(obs.GetADate().second, 30.6, 1e-9);
    for (const auto& f : DataFields("dateobs/set_dates.txt", 5)) {
        CString expected;
        expected.Format(L"Time = UT(%s, %s, %s, 12, 0, 0); Show Sky", W(f[0]).GetString(),
                        W(f[3]).GetString(), W(f[4]).GetString());
        EXPECT_EQ(Set(MakeDate(std::stoi(f[0]), std::stoi(f[1]), std::stoi(f[2]), 12, 0, 0)),
                  Texts{expected});
    }
    // Records that are no date are dropped by both setters.
    Reset();
    const tagADATE bad[] = {
        MakeDate(2024, 13, 1, 12, 0, 0),         MakeDate(2024, -1, 1, 12, 0, 0),
        MakeDate(2024, 3, -2, 12, 0, 0),         MakeDate(INT_MAX, 1, 1, 0, 0, 0),
        MakeDate(INT_MIN, 1, 1, 0, 0, 0),        MakeDate(2024, 3, 1, 0, 0, NAN),
        MakeDate(2024, 3, 1, 0, 0, 0, INFINITY),
    };
    for (tagADATE t : bad) {
        tagADATE copy = t;
        obs.UpdateDateByUI(&copy);
        obs.UpdateDateByUI(&copy, 1, 10);
        ExpectDropped(std::to_string(t.year) + "-" + std::to_string(t.month) + "-" +
                      std::to_string(t.day));
    }
    obs.UpdateDateByUI(static_cast<tagADATE*>(nullptr));
    obs.UpdateDateByUI(static_cast<tagADATE*>(nullptr), 0, 0);
    obs.UpdateDateByUI(static_cast<tagSPAN*>(nullptr), 0);
    ExpectDropped("null");
}

TEST_F(DateEditTest, RangeAndEraSwap) {
    // From 1 January 99999 BC (year -99998) to 1 January 100000, both at 0h UT.
    const tagADATE inside[] = {MakeDate(100000, 1, 1, 0, 0, 0), MakeDate(-99998, 1, 1, 0, 0, 0),
                               MakeDate(100000, 1, 1, 9, 0, 0, 9.0)};
    const tagADATE outside[] = {MakeDate(100000, 1, 1, 0, 0, 1),
                                MakeDate(-99999, 12, 31, 23, 59, 59),
                                MakeDate(100000, 1, 1, 9, 0, 0, 8.0)};
    for (tagADATE t : inside) EXPECT_EQ(obs.IsDateInRange(&t), 1) << t.year;
    for (tagADATE t : outside) EXPECT_EQ(obs.IsDateInRange(&t), 0) << t.year;
    EXPECT_EQ(Set(MakeDate(100000, 1, 1, 0, 0, 0)).size(), 1u);
    EXPECT_TRUE(Move({0, 0, 0, 0, 0, 1.0}).empty());
    obs.SwapADBCByUI();  // year -99999 lies before the first day
    EXPECT_TRUE(TakeCommands().empty());
    // 31 December 2023 20:00 UT is 1 January 2024 05:00 at +9; the swap gives 1 January of
    // year -2023 at 05:00 there, which is the evening before in UT.
    obs.m_Date = MakeDate(2023, 12, 31, 20, 0, 0);
    obs.SwapADBCByUI();
    EXPECT_EQ(TakeCommands(), Texts{L"Time = UT(-2024, 12, 31, 20, 0, 0); Show Sky"});
    obs.SwapADBCByUI();
    EXPECT_EQ(TakeCommands(), Texts{L"Time = UT(2023, 12, 31, 20, 0, 0); Show Sky"});
    obs.m_Date = MakeDate(INT_MAX, 1, 1, 0, 0, 0);  // an absurd host year is not swapped
    obs.SwapADBCByUI();
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(DateEditTest, LockKinds) {
    const wchar_t* const locks[] = {
        L"Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; "
        L"Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; "
        L"Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; "
        L"Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; "
        L"Time.Lock.Offset = -30; Show Sky",
    };
    for (int kind = -1; kind <= 5; ++kind) {
        obs.m_nForceUpdate = 0;
        tagADATE t = MakeDate(2024, 3, 20, 12, 0, 59.9, 9.0);
        obs.UpdateDateByUI(&t, kind, -30);
        const CString lock = kind >= 0 && kind <= 4 ? CString(locks[kind]) : CString();
        // The caller records the lock itself.
        EXPECT_EQ(
            (std::tuple{TakeCommands(), obs.m_nForceUpdate, obs.IsTimeLocked()}),
            (std::tuple{Texts{L"Time.Lock = FALSE; Time = UT(2024, 3, 20, 3, 0, 59)", lock}, 5, 0}))
            << kind;
    }
}

TEST_F(DateEditTest, TimeLockQuestion) {
    obs.SetTimeLocked(1);
    // Another day at the same time of day: no question.
    EXPECT_EQ(Set(MakeDate(2024, 3, 18, 21, 0, 0, 9.0)),
              Texts{L"Time = UT(2024, 3, 18, 12, 0, 0); Show Sky"});
    EXPECT_EQ(Move({0, 0, 1, 0, 0, 0.0}).size(), 1u);
    obs.SwapADBCByUI();
    EXPECT_EQ((std::tuple{TakeCommands().size(), boxes.shown.size()}), (std::tuple{1u, 0u}));
    // Another minute: asked, and declined.
    Reset();
    Set(MakeDate(2024, 3, 15, 21, 1, 0, 9.0));
    Move({0, 0, 0, 0, 1, 0.0});
    tagADATE locked = MakeDate(2024, 3, 15, 6, 0, 0);
    obs.UpdateDateByUI(&locked, 1, 5);
    ExpectDropped("declined");
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0],
              std::make_pair(CString(kAsk), static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION)));
    EXPECT_EQ(std::make_tuple(obs.IsTimeLocked(), obs.m_nSpecialTime), std::make_tuple(1, 0));
    // Without a record to compare, asked.
    EXPECT_EQ((std::tuple{obs.TurnOffSpecialTime(1, &locked), obs.TurnOffSpecialTime(1, nullptr),
                          boxes.shown.back().first}),
              (std::tuple{0, 0, CString(kAskKind)}));
    // Accepted: the lock goes first.
    boxes.answer = IDYES;
    EXPECT_EQ(
        Set(MakeDate(2024, 3, 15, 21, 1, 0, 9.0)),
        (Texts{L"Time.Lock = FALSE; Show Zentar", L"Time = UT(2024, 3, 15, 12, 1, 0); Show Sky"}));
    EXPECT_EQ(std::make_tuple(obs.IsTimeLocked(), obs.m_nSpecialTime, boxes.shown.size()),
              std::make_tuple(0, 0, size_t(6)));
    // While the question is open, the caller's own edit does not ask again.
    obs.SetTimeLocked(1);
    AfxSetMessageBoxHandler([&](LPCTSTR text, UINT type) {
        boxes.shown.emplace_back(CString(text), type);
        tagADATE inner = MakeDate(2024, 3, 15, 14, 0, 0);
        obs.UpdateDateByUI(&inner);
        return IDNO;
    });
    EXPECT_EQ((std::tuple{Set(MakeDate(2024, 3, 15, 13, 0, 0)), boxes.shown.size()}),
              (std::tuple{Texts{L"Time = UT(2024, 3, 15, 14, 0, 0); Show Sky"}, 7u}));
    // Without an application handler the framework answers no.
    AfxSetMessageBoxHandler(nullptr);
    EXPECT_TRUE(Set(MakeDate(2024, 3, 15, 13, 0, 0)).empty());
    obs.InitFlg();
    EXPECT_EQ(obs.IsTimeLocked(), 0);
}

class SiteEditTest : public AttachedTest {  // Tokyo: 139.7 E, 35.7 N, 40 m
protected:
    std::tuple<double, double, double> Site(int code) {
        return {obs.m_aLocation[code].longitude, obs.m_aLocation[code].latitude,
                obs.m_aLocation[code].height};
    }
};

TEST_F(SiteEditTest, SiteEditsTakeTheZoneFromTheMapOrTheCaller) {
    obs.SetUserTz(0.0);
    obs.UpdateObsByUI(77.2, 28.6, 216.04);  // New Delhi
    EXPECT_EQ(TakeCommands(),
              (Texts{L"Location.Longitude = 77.20000000; Location.Latitude = 28.60000000; "
                     L"Location.Altitude = 216.0",
                     L"Time.Timezone = 5.500000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTz(), obs.GetUserTz(), obs.m_nForceUpdate),
              std::make_tuple(5.5, 5.5, 7));
    EXPECT_EQ(Site(4), std::make_tuple(77.2, 28.6, 216.04));
    obs.UpdateByCorZnt();
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Updated(7)});
    TakeCommands();
    // The refresh read the host's Tokyo site back (40 m); a site edit without a height keeps it.
    obs.UpdateObsByUI(139.75, 35.68, CZVDateObs::KEEP_HEIGHT);
    EXPECT_NE(TakeCommands().at(0).Find(L"Location.Altitude = 40.0"), -1);
    EXPECT_EQ(Site(4), std::make_tuple(139.75, 35.68, 40.0));
    obs.UpdateObsByUI(-74.0, 40.7, -10000000.0, -5.0);  // with a zone the sentinel is a height
    EXPECT_EQ(TakeCommands(),
              (Texts{L"Location.Longitude = -74.00000000; Location.Latitude = 40.70000000; "
                     L"Location.Altitude = -10000000.0",
                     L"Time.Timezone = -5.000000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTz(), obs.GetUserTz()), std::make_tuple(-5.0, -5.0));
    Reset();
    obs.UpdateObsByUI(NAN, 35.0, 0.0);
    obs.UpdateObsByUI(135.0, INFINITY, 0.0);
    obs.UpdateObsByUI(135.0, 35.0, NAN);
    obs.UpdateObsByUI(135.0, 35.0, 0.0, NAN);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(std::make_tuple(obs.m_nForceUpdate, obs.GetLatitude()), std::make_tuple(0, 40.7));
}

TEST_F(SiteEditTest, MovingToAnotherBody) {
    obs.m_aLocation[5] = {4.5, 137.4, -2600.0};
    obs.UpdateLocationObjectByUI(5, 0);
    EXPECT_EQ(TakeCommands(),
              (Texts{L"Location = Solar.Planet.Mars(137.400000, 4.500000, -2600.000000)",
                     L"Time.Timezone = 0.000000"}));
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.GetTimeSys(), obs.GetTz(),
                              obs.GetUserTz(), obs.m_nForceUpdate),
              std::make_tuple(5, 1, 0.0, 0.0, 7));
    obs.UpdateObsByUI(-10.0, 4.5, 0.0, 0.0);  // a site edit goes to the current body
    EXPECT_EQ(Site(5), std::make_tuple(-10.0, 4.5, 0.0));
    EXPECT_EQ(obs.GetLongitude(), 350.0);
    TakeCommands();

    obs.UpdateLocationObjectByUI(10, 1);
    EXPECT_EQ(TakeCommands(),
              (Texts{L"Location = Solar.Dwarfplanet.Ceres(0.000000, 0.000000, 0.000000)",
                     L"Time.Timezone = 0.000000 ; Show Zentar"}));
    obs.UpdateLocationObjectByUI(4, 1);
    EXPECT_EQ(
        TakeCommands(),
        (Texts{
            L"Location = Solar.Planet.Earth; Location = Location(139.700000, 35.700000, 40.000000)",
            L"Time.Timezone = 9.000000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTimeSys(), obs.GetTz(), obs.GetUserTz()),
              std::make_tuple(0, 9.0, 9.0));

    obs.m_nForceUpdate = 0;
    for (int code : {-1, 15, INT_MIN, INT_MAX}) obs.UpdateLocationObjectByUI(code, 1);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.m_nForceUpdate), std::make_tuple(4, 0));
}

TEST_F(SiteEditTest, MagnitudeLimits) {
    host.Answer(L"? Star.AutoMagnitudeLimit", L"TRUE");
    obs.UpdateMagByUI(7.5);
    EXPECT_EQ(TakeCommands(), (Texts{L"? Star.AutoMagnitudeLimit",
                                     L"Star.AutoMagnitudeLimit.Minimum = 7.500000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetMag(), obs.m_nForceUpdate), std::make_tuple(7.5, 4));
    for (const wchar_t* notAuto : {L"FALSE", L"true", L""}) {
        host.Answer(L"? Star.AutoMagnitudeLimit", notAuto);
        obs.UpdateMagByUI(11.25);
        EXPECT_EQ(TakeCommands().back(),
                  CString(L"Star.FixedMagnitudeLimit.Minimum = 11.250000 ; Show Zentar"));
    }

    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, double> limits[] = {
        {L"hipparcos", L"FALSE", L"Tycho2", 14.1}, {L"Tycho2", L"TRUE", L"HIPPARCOS", -9.9},
        {L"Hipparcos", L"TRUE", L"Tycho-2", 15.4}, {L"GSC-ACT", L"FALSE", L"", 17.3},
        {L"Tycho", L"true", L"USNOA20", 15.2},     {L"Tycho", L"TRUE", L"GSCACT", 17.3},
        {L"USNO-A2.0", L"FALSE", L"", -9.9},       {L"USNOA20", L"TRUE", L"Tycho 2", -9.9},
    };
    for (const auto& [catalog, on, switchCatalog, limit] : limits) {
        host.Answer(L"? Star.Catalog", catalog);
        host.Answer(L"? Star.Catalog.Switch", on);
        host.Answer(L"? Star.Catalog.Switch.Catalog", switchCatalog);
        double got = 99;
        obs.GetStarCatalogInfo(nullptr, nullptr, nullptr, &got);
        EXPECT_EQ(got, limit) << CString(catalog).ToUtf8() << " "
                              << CString(switchCatalog).ToUtf8();
    }
    int code = 99, isOn = 99, switchCode = 99;
    obs.GetStarCatalogInfo(&code, &isOn, &switchCode, nullptr);
    EXPECT_EQ(std::make_tuple(code, isOn, switchCode), std::make_tuple(5, 1, -1));

    host.Answer(L"? Star.Catalog", L"Tycho2");
    host.Answer(L"? Star.Catalog.Switch", L"FALSE");
    host.Answer(L"? Star.FixedMagnitudeLimit.Maximum", L"11.5");
    host.Answer(L"? Star.AutoMagnitudeLimit", L"TRUE");
    TakeCommands();
    double catalogLimit = 0, fixedLimit = 0;
    EXPECT_EQ(obs.GetCurrentMagLimit(&catalogLimit, &fixedLimit), 1);
    EXPECT_EQ(std::make_tuple(catalogLimit, fixedLimit), std::make_tuple(15.4, -2.0));
    EXPECT_EQ(TakeCommands(), (Texts{L"? Star.AutoMagnitudeLimit", L"? Star.Catalog",
                                     L"? Star.Catalog.Switch", L"? Star.Catalog.Switch.Catalog"}));
    host.Answer(L"? Star.AutoMagnitudeLimit", L"FALSE");
    EXPECT_EQ(obs.GetCurrentMagLimit(&catalogLimit, &fixedLimit), 0);
    EXPECT_EQ(std::make_tuple(catalogLimit, fixedLimit), std::make_tuple(15.4, 11.5));
    EXPECT_EQ(obs.GetCurrentMagLimit(nullptr, nullptr), 0);
}

TEST_F(DateObsTest, EditsWithoutAHostChangeOnlyTheCopy) {
    obs.UpdateObsByUI(135.0, 35.0, 10.0, 9.0);
    obs.UpdateLocationObjectByUI(5, 1);
    obs.UpdateMagByUI(8.0);
    tagSPAN day = {0, 0, 1, 0, 0, 0.0};
    obs.UpdateDateByUI(&day, 0);  // the copy holds no date yet: nothing to move
    obs.SwapADBCByUI();
    EXPECT_EQ(obs.GetADate().year, 0);
    tagADATE t = MakeDate(2024, 3, 15, 12, 0, 0);
    obs.UpdateDateByUI(&t);
    EXPECT_EQ(std::make_tuple(obs.GetLatitude(4), obs.GetLocationObject(), obs.GetMag(),
                              obs.GetADate().year),
              std::make_tuple(35.0, 5, 8.0, 2024));
    EXPECT_TRUE(host.Commands().empty());
}
