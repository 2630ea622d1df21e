// The time queries: zones, the nearest-second carries, longitudes and sidereal time.
#include <cmath>

#include "DateObsFixture.h"

namespace {
using Ymdhms = std::tuple<int, int, int, int, int, int>;
}  // namespace

class DateObsTimeTest : public DateObsTest {
protected:
    void SetUp() override {
        DateObsTest::SetUp();
        Attach();
    }
    // Calls one of the six-output queries and returns its outputs as one value.
    template <class F>
    static Ymdhms Get(F query) {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        query(&y, &mo, &d, &h, &mi, &s);
        return {y, mo, d, h, mi, s};
    }
    Ymdhms ST(const wchar_t* answer) {
        host.Answer(L"? Time.SiderealTime", answer);
        return Get([&](int*, int*, int*, int* h, int* mi, int* s) { obs.GetST(h, mi, s); });
    }
};

TEST_F(DateObsTimeTest, ZonesCarriesAndTheUserZone) {
    auto lst = [&](int* y, int* mo, int* d, int* h, int* mi, int* s) { obs.GetLST(y, mo, d, h, mi, s); };
    auto ut = [&](int set) {
        return Get([&](int* y, int* mo, int* d, int* h, int* mi, int* s) { obs.GetUT(y, mo, d, h, mi, s, set); });
    };
    obs.m_Date = MakeDate(2023, 12, 31, 23, 59, 59.6);
    obs.m_dTz = 0.0;
    EXPECT_EQ(Get(lst), Ymdhms(2024, 1, 1, 0, 0, 0));
    EXPECT_EQ(ut(0), Ymdhms(2024, 1, 1, 0, 0, 0));
    EXPECT_EQ(obs.GetADate().second, 59.6);  // the stored instant never moves
    obs.m_Date.second = 59.4;
    EXPECT_EQ(Get(lst), Ymdhms(2023, 12, 31, 23, 59, 59));

    obs.m_Date = MakeDate(2024, 2, 28, 20, 30, 0);
    obs.m_dTz = 9.0;
    obs.SetUserTz(-5.0);
    EXPECT_EQ(Get(lst), Ymdhms(2024, 2, 29, 5, 30, 0));
    EXPECT_EQ(Get([&](int* y, int* mo, int* d, int* h, int* mi, int* s) { obs.GetLT(y, mo, d, h, mi, s); }),
              Ymdhms(2024, 2, 28, 15, 30, 0));
    EXPECT_EQ(obs.GetUserTz(), -5.0);
    EXPECT_EQ(Get([&](int* y, int* mo, int* d, int* h, int* mi, int* s) { obs.GetLT(y, mo, d, h, mi, s, 5.5); }),
              Ymdhms(2024, 2, 29, 2, 0, 0));
    EXPECT_EQ(obs.GetUserTz(), 5.5);
    EXPECT_EQ(ut(0), Ymdhms(2024, 2, 28, 20, 30, 0));
    EXPECT_EQ(obs.GetUserTz(), 5.5);
    ut(1);
    EXPECT_EQ(obs.GetUserTz(), 0.0);

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
}

TEST_F(DateObsTimeTest, LongitudeRuleAndMeanTime) {
    auto lmt = [&](int* y, int* mo, int* d, int* h, int* mi, int* s) { obs.GetLMT(y, mo, d, h, mi, s); };
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
        {5, -10.0, 350.0}, {5, 725.0, 5.0}, {0, 360.0, 0.0}, {1, 180.0, 180.0}, {1, 180.5, -179.5}, {4, -10.0, -10.0},
    };
    for (const auto& [code, stored, expected] : rule) {
        obs.m_aLocation[code].longitude = stored;
        EXPECT_NEAR(obs.GetLongitude(code), expected, 1e-9) << code << " " << stored;
    }
    obs.m_nLocationObject = 5;
    EXPECT_NEAR(obs.GetLMTTz(), 5.0 / 15.0, 1e-9);
    EXPECT_EQ(obs.GetLMTTz(-10.0), -10.0 / 15.0);
}

TEST_F(DateObsTimeTest, SiderealTimeCarries) {
    obs.SetUserTz(3.0);
    EXPECT_EQ(ST(L"23.99999"), Ymdhms(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(obs.GetUserTz(), 0.0);
    EXPECT_EQ(host.Queries().back(), CString(L"? Time.SiderealTime"));
    const std::pair<const wchar_t*, Ymdhms> cases[] = {
        {L"12.5", {0, 0, 0, 12, 30, 0}}, {L"1.9999", {0, 0, 0, 2, 0, 0}}, {L"6.2525", {0, 0, 0, 6, 15, 9}},
        {L"", {}}, {L"*", {}}, {L"nan", {}}, {L"1e300", {}},
    };
    for (const auto& [answer, expected] : cases) EXPECT_EQ(ST(answer), expected) << CString(answer).ToUtf8();
    // Outputs the caller leaves out are not written.
    obs.GetST(nullptr, nullptr, nullptr);
    obs.GetLMT(nullptr, nullptr, nullptr, nullptr, nullptr, static_cast<double*>(nullptr));
    obs.GetUTDate(nullptr, nullptr, nullptr);
    obs.GetJD(nullptr);
}
