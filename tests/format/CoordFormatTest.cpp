#include <cmath>
#include <limits>

#include "format/CoordFormat.h"
#include "support/TestUtil.h"

using F = CCommonCoordFormat;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
CString S(const wchar_t* p) { return CString(p); }
}  // namespace

TEST(CoordFormatRA, EveryPrecisionAndItsCarries) {
    EXPECT_EQ(S(F::CoordFormatRA(5.0, 1)), S(L"05h00.0m"));
    EXPECT_EQ(S(F::CoordFormatRA(12.5824, 2)), S(L"12h34m56.6s"));
    EXPECT_EQ(S(F::CoordFormatRA(12.5824, 3)), S(L"12h34m56.64s"));
    EXPECT_EQ(S(F::CoordFormatRA(12.5824, 4)), S(L"12h34m56.640s"));
    EXPECT_EQ(S(F::CoordFormatRA(23.9999999, 4)), S(L"00h00m00.000s"));
    EXPECT_EQ(S(F::CoordFormatRA(23.9999, 3)), S(L"23h59m59.64s"));
    EXPECT_EQ(S(F::CoordFormatRA(23.999999, 3)), S(L"00h00m00.00s"));
    EXPECT_EQ(S(F::CoordFormatRA(23.9999, 4)), S(L"23h59m59.640s"));
    EXPECT_EQ(S(F::CoordFormatRA(23.9995, 2)), S(L"23h59m58.2s"));
    EXPECT_EQ(S(F::CoordFormatRA(10.9999, 1)), S(L"11h00.0m"));   // minutes carry to hours
    EXPECT_EQ(S(F::CoordFormatRA(23.9995, 1)), S(L"00h00.0m"));   // and hours wrap
    EXPECT_EQ(S(F::CoordFormatRA(1.0 + 59.99 / 3600, 2)), S(L"01h01m00.0s"));
    EXPECT_EQ(S(F::CoordFormatRA(25.5, 1)), S(L"01h30.0m"));
    // negative hours are the same right ascension a day later, never a negative field
    EXPECT_EQ(S(F::CoordFormatRA(-1.0, 1)), S(L"23h00.0m"));
    EXPECT_EQ(S(F::CoordFormatRA(-1e-20, 4)), S(L"00h00m00.000s"));
}

TEST(CoordFormatDecl, SignClampAndCarries) {
    EXPECT_EQ(S(F::CoordFormatDecl(-0.5, 1)), S(L"-00\uFF9F30'"));
    EXPECT_EQ(S(F::CoordFormatDecl(120.0, 1)), S(L"+90\uFF9F00'"));
    EXPECT_EQ(S(F::CoordFormatDecl(250.0, 1)), S(L"-90\uFF9F00'"));
    EXPECT_EQ(S(F::CoordFormatDecl(30.99999, 2)), S(L"+31\uFF9F00'00\""));
    EXPECT_EQ(S(F::CoordFormatDecl(12.58250, 3)), S(L"+12\uFF9F34'57.0\""));
    EXPECT_EQ(S(F::CoordFormatDecl(-12.5825, 4)), S(L"-12\uFF9F34'57.00\""));
    EXPECT_EQ(S(F::CoordFormatDecl(-5.99999, 3)), S(L"-06\uFF9F00'00.0\""));
    EXPECT_EQ(S(F::CoordFormatDecl(-5.9999999, 4)), S(L"-06\uFF9F00'00.00\""));
    EXPECT_EQ(S(F::CoordFormatDecl(10.9999, 1)), S(L"+11\uFF9F00'"));
    EXPECT_EQ(S(F::CoordFormatDecl(-0.0, 2)), S(L"+00\uFF9F00'00\""));
    EXPECT_EQ(S(F::CoordFormatDecl(-1e-9, 1)), S(L"-00\uFF9F00'"));
}

TEST(CoordFormatDecl, LatitudeIsTheSameFormatterAndBuffer) {
    const wchar_t* a = F::CoordFormatDecl(1.0, 1);
    const wchar_t* b = F::CoordFormatLatitude(-2.0, 1);
    EXPECT_EQ(a, b);
    EXPECT_EQ(S(a), S(L"-02\uFF9F00'"));
    EXPECT_EQ(F::CoordFormatDeclDeg(1.0, 1), F::CoordFormatLatitudeDeg(1.0, 1));
    EXPECT_NE(static_cast<const void*>(F::CoordFormatRA(1, 1)),
              static_cast<const void*>(F::CoordFormatDecl(1, 1)));
}

TEST(CoordFormatLongitude, WrapsIntoTheCircle) {
    EXPECT_EQ(S(F::CoordFormatLongitude(-10.0, 1)), S(L"350\uFF9F00'"));
    EXPECT_EQ(S(F::CoordFormatLongitude(359.9999, 2)), S(L"  0\uFF9F00'00\""));
    EXPECT_EQ(S(F::CoordFormatLongitude(359.99999, 4)), S(L"359\uFF9F59'59.96\""));
    EXPECT_EQ(S(F::CoordFormatLongitude(359.999999, 4)), S(L"  0\uFF9F00'00.00\""));
    EXPECT_EQ(S(F::CoordFormatLongitude(139.6917, 3)), S(L"139\uFF9F41'30.1\""));
    EXPECT_EQ(S(F::CoordFormatLongitude(5.5, 1)), S(L"  5\uFF9F30'"));
    EXPECT_EQ(S(F::CoordFormatLongitude(720.25, 2)), S(L"  0\uFF9F15'00\""));
}

TEST(CoordFormatDegrees, SignFieldAndWidths) {
    EXPECT_EQ(S(F::CoordFormatDeclDeg(5.0, 1)), S(L" +5.000"));
    EXPECT_EQ(S(F::CoordFormatDeclDeg(-12.5, 2)), S(L"-12.5000"));
    EXPECT_EQ(S(F::CoordFormatDeclDeg(-5.0, 1)), S(L" -5.000"));
    EXPECT_EQ(S(F::CoordFormatDeclDeg(12.0, 3)), S(L"+12.00000 "));
    EXPECT_EQ(S(F::CoordFormatDeclDeg(5.0, 4)), S(L" +5.000000"));
    EXPECT_EQ(S(F::CoordFormatRADeg(1.0, 1)), S(L"15.000  "));
    EXPECT_EQ(S(F::CoordFormatRADeg(12.0, 2)), S(L"180.0000   "));
    EXPECT_EQ(S(F::CoordFormatRADeg(25.0, 4)), S(L"15.000000    "));
    EXPECT_EQ(S(F::CoordFormatLongitudeDeg(-90.0, 1)), S(L"270.000"));
    EXPECT_EQ(S(F::CoordFormatLongitudeDeg(1.5, 3)), S(L"1.50000    "));
}

TEST(CoordFormatPlaceholders, NegatedPrecisionAndNonFiniteValues) {
    const wchar_t* raPh[] = {L"--h--.-m", L"--h--m--.-s", L"--h--m--.--s", L"--h--m--.---s"};
    const wchar_t* decPh[] = {L" --\uFF9F--'", L" --\uFF9F--'--\"", L" --\uFF9F--'--.-\"",
                              L" --\uFF9F--'--.--\""};
    const wchar_t* lonPh[] = {L"---\uFF9F--'", L"---\uFF9F--'--\"", L"---\uFF9F--'--.-\"",
                              L"---\uFF9F--'--.--\""};
    const wchar_t* degPh[] = {L" --.---   ", L" --.----   ", L" --.-----   ", L" --.------   "};
    const wchar_t* lonDegPh[] = {L"---.---  ", L"---.----  ", L"---.-----  ", L"---.------  "};
    for (int p = 1; p <= 4; ++p) {
        for (double v : {12.3, kNaN, kInf, -kInf}) {
            const int prec = std::isfinite(v) ? -p : p;  // non-finite values at any precision
            EXPECT_EQ(S(F::CoordFormatRA(v, prec)), S(raPh[p - 1])) << p << " " << v;
            EXPECT_EQ(S(F::CoordFormatDecl(v, prec)), S(decPh[p - 1])) << p << " " << v;
            EXPECT_EQ(S(F::CoordFormatLongitude(v, prec)), S(lonPh[p - 1])) << p << " " << v;
            EXPECT_EQ(S(F::CoordFormatRADeg(v, prec)), S(degPh[p - 1])) << p << " " << v;
            EXPECT_EQ(S(F::CoordFormatDeclDeg(v, prec)), S(degPh[p - 1])) << p << " " << v;
            EXPECT_EQ(S(F::CoordFormatLongitudeDeg(v, prec)), S(lonDegPh[p - 1])) << p;
        }
    }
}

TEST(CoordFormatPlaceholders, PrecisionOutsideTheRangeKeepsTheLastText) {
    const CString before = F::CoordFormatLongitudeDeg(10.0, 1);
    for (int bad : {0, 5, -5, 1000, -2147483647 - 1})
        EXPECT_EQ(S(F::CoordFormatLongitudeDeg(99.0, bad)), before) << bad;
    EXPECT_EQ(S(F::CoordFormatRA(3.0, 2)), S(L"03h00m00.0s"));
    EXPECT_EQ(S(F::CoordFormatRA(7.0, 0)), S(L"03h00m00.0s"));
}

TEST(CoordNormalise, DegmalDegmal2AndTolerances) {
    EXPECT_DOUBLE_EQ(F::degmal(-10.0), 350.0);
    EXPECT_DOUBLE_EQ(F::degmal(720.0), 0.0);
    EXPECT_GE(F::degmal(-1e-20), 0.0);
    EXPECT_LT(F::degmal(-1e-20), 360.0);
    EXPECT_DOUBLE_EQ(F::degmal2(100.0), 90.0);
    EXPECT_DOUBLE_EQ(F::degmal2(250.0), -90.0);
    EXPECT_DOUBLE_EQ(F::degmal2(-45.0), -45.0);
    EXPECT_EQ(F::IsEqualDeg(1.0, 1.00002), 0);
    EXPECT_EQ(F::IsEqualDeg(1.0, 1.000009), 1);
    EXPECT_EQ(F::IsEqualAlt(10.0, 10.9), 1);
    EXPECT_EQ(F::IsEqualAlt(10.0, 11.0), 0);
}

namespace {
struct RaDec {
    int raH = -1, raM = -1, decPlus = -1, decD = -1, decM = -1;
    double raS = -1, decS = -1;
    int rc = -1;
};
RaDec Parse(const wchar_t* text) {
    RaDec r;
    r.rc = F::Str2RADec(text, r.raH, r.raM, r.raS, r.decPlus, r.decD, r.decM, r.decS);
    return r;
}
}  // namespace

TEST(Str2RADec, FormatterNotationsAndTypedText) {
    RaDec r = Parse(L"12h34m56.7s +12\uFF9F34'56.7\"");
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.raH, 12);
    EXPECT_EQ(r.raM, 34);
    EXPECT_DOUBLE_EQ(r.raS, 56.7);
    EXPECT_EQ(r.decPlus, 1);
    EXPECT_EQ(r.decD, 12);
    EXPECT_EQ(r.decM, 34);
    EXPECT_DOUBLE_EQ(r.decS, 56.7);

    r = Parse(L"12 34 56 -05 06 07");
    EXPECT_EQ(r.decPlus, 0);
    EXPECT_EQ(r.decD, 5);
    EXPECT_EQ(r.decM, 6);
    EXPECT_DOUBLE_EQ(r.decS, 7.0);

    r = Parse(L"12h34m56s.7 +10\uFF9F00'00\"");
    EXPECT_DOUBLE_EQ(r.raS, 56.7);
    EXPECT_EQ(r.decD, 10);

    r = Parse(L"05:35:17.3, - 05:23:28");  // sign joined to its number
    EXPECT_EQ(r.raH, 5);
    EXPECT_DOUBLE_EQ(r.raS, 17.3);
    EXPECT_EQ(r.decPlus, 0);
    EXPECT_EQ(r.decD, 5);
    EXPECT_EQ(r.decM, 23);

    r = Parse(L"1 2 3 4 5 6");  // unsigned declination
    EXPECT_EQ(r.decPlus, 0);
    EXPECT_EQ(r.decD, 4);
}

TEST(Str2RADec, EmptyMissingAndOddFields) {
    RaDec r = Parse(L"  \t ");
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.raH, 0);
    EXPECT_EQ(r.decM, 0);
    EXPECT_DOUBLE_EQ(r.decS, 0.0);
    EXPECT_EQ(r.decPlus, -1);  // untouched

    r = Parse(L"7");
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.raH, 7);
    EXPECT_EQ(r.raM, 0);
    EXPECT_EQ(r.decD, 0);

    r = Parse(L"1 .5 .");  // a point between digits joins them; a trailing one separates
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.raH, 1);
    EXPECT_EQ(r.raM, 0);
    r = Parse(L"2 . 5");
    EXPECT_EQ(r.raH, 2);
    EXPECT_EQ(r.raM, 5);

    r = Parse(L"+-+-12 -- 3");
    EXPECT_EQ(r.rc, 1);
}
