#include "format/CommonEOS.h"
#include "format/DateFmt.h"

#include "support/TestUtil.h"

namespace {

struct Parsed {
    int v[6] = {-9, -9, -9, -9, -9, -9};
};

Parsed Parse(const wchar_t* text) {
    Parsed p;
    CCommonDateFmt::ParseDate(text, &p.v[0], &p.v[1], &p.v[2], &p.v[3], &p.v[4], &p.v[5]);
    return p;
}

void ExpectParsed(const wchar_t* text, std::initializer_list<int> want) {
    const Parsed p = Parse(text);
    int i = 0;
    for (int w : want) EXPECT_EQ(w, p.v[i++]) << CString(text).ToUtf8() << " field " << i - 1;
}

TEST(ParseDate, ErasAndPartialTexts) {
    ExpectParsed(L"Sun BC100/3/4 5:06:07", {-99, 3, 4, 5, 6, 7});
    ExpectParsed(L"Mon AD2024/12/31 23:59:59", {2024, 12, 31, 23, 59, 59});
    ExpectParsed(L"Sat BC1/1/1 0:0:0", {0, 1, 1, 0, 0, 0});  // 1 BC is year 0
    ExpectParsed(L"garbage", {0, 0, 0, 0, 0, 0});
    ExpectParsed(L"", {0, 0, 0, 0, 0, 0});
    ExpectParsed(L"Tue AD2024/5", {2024, 5, 0, 0, 0, 0});      // stops at the end
    ExpectParsed(L"Tue AD2024-5-1 1:2:3", {2024, 0, 0, 0, 0, 0});  // and at a mismatch
    ExpectParsed(L"Tue BC", {0, 0, 0, 0, 0, 0});               // no year read: none made up
    ExpectParsed(L"Wed AD-44/3/15 12:00:00", {-44, 3, 15, 12, 0, 0});
    ExpectParsed(L"Thu AD99999999999/1/1 0:0:0", {2147483647, 1, 1, 0, 0, 0});
    // Null results are skipped.
    CCommonDateFmt::ParseDate(L"Sun AD2000/1/2 3:4:5", nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr);
}

TEST(DayOfWeek, AcrossTheCalendarReform) {
    auto dow = [](int y, int m, int d) {
        tagADATE a{y, m, d, 0, 0, 0.0, 0.0};
        return CCommonDateFmt::GetDayOfWeek(a);
    };
    EXPECT_EQ(6, dow(2000, 1, 1));   // Saturday
    EXPECT_EQ(4, dow(1582, 10, 4));  // Thursday, last Julian day
    EXPECT_EQ(5, dow(1582, 10, 15));  // Friday, first Gregorian day
    EXPECT_EQ(1, dow(-4712, 1, 1));  // JD 0 began on a Monday
    EXPECT_EQ(0, dow(2024, 12, 29));
    // Weekdays run on day by day over a long stretch, negative years included.
    int previous = dow(-1000, 1, 1);
    for (int day = 2; day <= 28; ++day) {
        const int d = dow(-1000, 1, day);
        EXPECT_EQ((previous + 1) % 7, d);
        previous = d;
    }
}

TEST(DaysInMonth, JulianAndGregorianLeapYears) {
    EXPECT_EQ(29, CCommonDateFmt::GetDayOfMonth(1500, 2));  // Julian leap year
    EXPECT_EQ(28, CCommonDateFmt::GetDayOfMonth(1900, 2));
    EXPECT_EQ(29, CCommonDateFmt::GetDayOfMonth(2000, 2));
    EXPECT_EQ(29, CCommonDateFmt::GetDayOfMonth(1580, 2));
    EXPECT_EQ(28, CCommonDateFmt::GetDayOfMonth(1582, 2));
    EXPECT_EQ(28, CCommonDateFmt::GetDayOfMonth(1583, 2));
    EXPECT_EQ(29, CCommonDateFmt::GetDayOfMonth(1584, 2));
    EXPECT_EQ(28, CCommonDateFmt::GetDayOfMonth(1700, 2));  // 1700 was a Julian leap year only
    EXPECT_EQ(29, CCommonDateFmt::GetDayOfMonth(-4, 2));
    EXPECT_EQ(28, CCommonDateFmt::GetDayOfMonth(-3, 2));
    EXPECT_EQ(31, CCommonDateFmt::GetDayOfMonth(2023, 12));
    EXPECT_EQ(30, CCommonDateFmt::GetDayOfMonth(2023, 4));
    EXPECT_EQ(0, CCommonDateFmt::GetDayOfMonth(2023, 13));
    EXPECT_EQ(0, CCommonDateFmt::GetDayOfMonth(2023, 0));
    EXPECT_EQ(1, CCommonDateFmt::IsEqualJd(2451545.0, 2451545.0000005));
    EXPECT_EQ(0, CCommonDateFmt::IsEqualJd(2451545.0, 2451545.000002));
}

TEST(ModelEtoJ, LongestInternationalNameFirst) {
    EXPECT_EQ(CString(L"Canon EOS 8000D"), CCommonEOS::ModelEtoJ(L"Canon EOS 760D"));
    EXPECT_EQ(CString(L"Canon EOS Kiss X10"), CCommonEOS::ModelEtoJ(L"Canon EOS 200D II"));
    EXPECT_EQ(CString(L"Canon EOS Kiss X9"), CCommonEOS::ModelEtoJ(L"Canon EOS 200D"));
    EXPECT_EQ(CString(L"Canon EOS R5"), CCommonEOS::ModelEtoJ(L"Canon EOS R5"));
    EXPECT_EQ(CString(L"EOS Kiss X90"), CCommonEOS::ModelEtoJ(L"EOS 1500D"));
    EXPECT_EQ(CString(L"Canon EOS Kiss M Mark"), CCommonEOS::ModelEtoJ(L"Canon EOS M50 Mark"));
    EXPECT_EQ(CString(L"canon eos 760d"), CCommonEOS::ModelEtoJ(L"canon eos 760d"));  // case counts
    EXPECT_EQ(CString(L"EOS 8000D / EOS 8000D"), CCommonEOS::ModelEtoJ(L"EOS 760D / EOS 760D"));
    EXPECT_EQ(CString(), CCommonEOS::ModelEtoJ(CString()));
}

}  // namespace
