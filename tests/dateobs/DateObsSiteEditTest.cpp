// Site, body and magnitude edits, and the star catalogue questions.
#include <climits>
#include <cmath>

#include "DateObsFixture.h"

class SiteEditTest : public DateObsTest {
protected:
    void SetUp() override {
        DateObsTest::SetUp();
        Attach();  // Tokyo: 139.7 E, 35.7 N, 40 m
    }
    std::tuple<double, double, double> Site(int code) {
        return {obs.m_aLocation[code].longitude, obs.m_aLocation[code].latitude, obs.m_aLocation[code].height};
    }
};

TEST_F(SiteEditTest, SiteEditsTakeTheZoneFromTheMapOrTheCaller) {
    obs.SetUserTz(0.0);
    obs.UpdateObsByUI(77.2, 28.6, 216.04);  // New Delhi
    EXPECT_EQ(TakeCommands(), (Texts{L"Location.Longitude = 77.20000000; Location.Latitude = 28.60000000; "
                                     L"Location.Altitude = 216.0",
                                     L"Time.Timezone = 5.500000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTz(), obs.GetUserTz(), obs.m_nForceUpdate), std::make_tuple(5.5, 5.5, 7));
    EXPECT_EQ(Site(4), std::make_tuple(77.2, 28.6, 216.04));
    obs.UpdateByCorZnt();
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Msg(0x725, 0, 7)});
    TakeCommands();

    // The refresh read the host's Tokyo site back (40 m); a site edit without a height keeps it.
    obs.UpdateObsByUI(139.75, 35.68, CZVDateObs::KEEP_HEIGHT);
    EXPECT_EQ(TakeCommands(), (Texts{L"Location.Longitude = 139.75000000; Location.Latitude = 35.68000000; "
                                     L"Location.Altitude = 40.0",
                                     L"Time.Timezone = 9.000000 ; Show Zentar"}));
    EXPECT_EQ(Site(4), std::make_tuple(139.75, 35.68, 40.0));

    obs.UpdateObsByUI(-74.0, 40.7, -10000000.0, -5.0);  // with a zone the sentinel is a height
    EXPECT_EQ(TakeCommands(), (Texts{L"Location.Longitude = -74.00000000; Location.Latitude = 40.70000000; "
                                     L"Location.Altitude = -10000000.0",
                                     L"Time.Timezone = -5.000000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTz(), obs.GetUserTz()), std::make_tuple(-5.0, -5.0));

    obs.m_nForceUpdate = 0;
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
    EXPECT_EQ(TakeCommands(), (Texts{L"Location = Solar.Planet.Mars(137.400000, 4.500000, -2600.000000)",
                                     L"Time.Timezone = 0.000000"}));
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.GetTimeSys(), obs.GetTz(), obs.GetUserTz(), obs.m_nForceUpdate),
              std::make_tuple(5, 1, 0.0, 0.0, 7));
    obs.UpdateObsByUI(-10.0, 4.5, 0.0, 0.0);  // a site edit goes to the current body
    EXPECT_EQ(Site(5), std::make_tuple(-10.0, 4.5, 0.0));
    EXPECT_EQ(obs.GetLongitude(), 350.0);
    TakeCommands();

    obs.UpdateLocationObjectByUI(10, 1);
    EXPECT_EQ(TakeCommands(), (Texts{L"Location = Solar.Dwarfplanet.Ceres(0.000000, 0.000000, 0.000000)",
                                     L"Time.Timezone = 0.000000 ; Show Zentar"}));
    obs.UpdateLocationObjectByUI(4, 1);
    EXPECT_EQ(TakeCommands(), (Texts{L"Location = Solar.Planet.Earth; Location = Location(139.700000, 35.700000, 40.000000)",
                                     L"Time.Timezone = 9.000000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetTimeSys(), obs.GetTz(), obs.GetUserTz()), std::make_tuple(0, 9.0, 9.0));

    obs.m_nForceUpdate = 0;
    for (int code : {-1, 15, INT_MIN, INT_MAX}) obs.UpdateLocationObjectByUI(code, 1);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(std::make_tuple(obs.GetLocationObject(), obs.m_nForceUpdate), std::make_tuple(4, 0));
}

TEST_F(SiteEditTest, MagnitudeLimits) {
    host.Answer(L"? Star.AutoMagnitudeLimit", L"TRUE");
    obs.UpdateMagByUI(7.5);
    EXPECT_EQ(TakeCommands(),
              (Texts{L"? Star.AutoMagnitudeLimit", L"Star.AutoMagnitudeLimit.Minimum = 7.500000 ; Show Zentar"}));
    EXPECT_EQ(std::make_tuple(obs.GetMag(), obs.m_nForceUpdate), std::make_tuple(7.5, 4));
    for (const wchar_t* notAuto : {L"FALSE", L"true", L""}) {
        host.Answer(L"? Star.AutoMagnitudeLimit", notAuto);
        obs.UpdateMagByUI(11.25);
        EXPECT_EQ(TakeCommands().back(), CString(L"Star.FixedMagnitudeLimit.Minimum = 11.250000 ; Show Zentar"));
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
        EXPECT_EQ(got, limit) << CString(catalog).ToUtf8() << " " << CString(switchCatalog).ToUtf8();
    }
    int code = 99, isOn = 99, switchCode = 99;
    obs.GetStarCatalogInfo(&code, &isOn, &switchCode, nullptr);
    EXPECT_EQ(std::make_tuple(code, isOn, switchCode), std::make_tuple(5, 1, -1));

    host.Answer(L"? Star.Catalog", L"Tycho2");
    host.Answer(L"? Star.Catalog.Switch", L"FALSE");
    host.Answer(L"? Star.FixedMagnitudeLimit.Maximum", L"11.5");
    double catalogLimit = 0, fixedLimit = 0;
    host.Answer(L"? Star.AutoMagnitudeLimit", L"TRUE");
    TakeCommands();
    EXPECT_EQ(obs.GetCurrentMagLimit(&catalogLimit, &fixedLimit), 1);
    EXPECT_EQ(std::make_tuple(catalogLimit, fixedLimit), std::make_tuple(15.4, -2.0));
    EXPECT_EQ(TakeCommands(), (Texts{L"? Star.AutoMagnitudeLimit", L"? Star.Catalog", L"? Star.Catalog.Switch",
                                     L"? Star.Catalog.Switch.Catalog"}));
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
    EXPECT_EQ(std::make_tuple(obs.GetLatitude(4), obs.GetLocationObject(), obs.GetMag(), obs.GetADate().year),
              std::make_tuple(35.0, 5, 8.0, 2024));
    EXPECT_TRUE(host.Commands().empty());
}
