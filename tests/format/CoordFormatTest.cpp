// SPDX-License-Identifier: LGPL-3.0-or-later
#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include "format/CoordFormat.h"
#include "support/TestUtil.h"

using F = CCommonCoordFormat;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct Case {
    double value;
    int precision;
    const wchar_t* text;
};

void ExpectTexts(const wchar_t* (*format)(double, int), std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(CString(format(c.value, c.precision)), CString(c.text))
            << c.value << " at precision " << c.precision;
}

}  // namespace

TEST(CoordFormat, EveryFormatterAtEveryPrecisionWithCarries) {
    ExpectTexts(F::CoordFormatRA, {{5.0, 1, L"05h00.0m"},
                                   {12.5824, 2, L"12h34m56.6s"},
                                   {12.5824, 3, L"12h34m56.64s"},
                                   {12.5824, 4, L"12h34m56.640s"},
                                   {23.9999999, 4, L"00h00m00.000s"},
                                   {23.9999, 3, L"23h59m59.64s"},
                                   {23.999999, 3, L"00h00m00.00s"},
                                   {23.9999, 4, L"23h59m59.640s"},
                                   {23.9995, 2, L"23h59m58.2s"},
                                   {10.9999, 1, L"11h00.0m"},  // minutes carry
                                   {23.9995, 1, L"00h00.0m"},  // hours wrap
                                   {1.0 + 59.99 / 3600, 2, L"01h01m00.0s"},
                                   {25.5, 1, L"01h30.0m"},
                                   // negative hours are the same right ascension a day later
                                   {-1.0, 1, L"23h00.0m"},
                                   {-1e-20, 4, L"00h00m00.000s"},
                                   // negative zero is zero
                                   {-0.0, 4, L"00h00m00.000s"},
                                   {-0.0, 1, L"00h00.0m"}});
    // declination: sign, clamp to the poles, carries
    ExpectTexts(F::CoordFormatDecl, {{-0.5, 1, L"-00\uFF9F30'"},
                                     {120.0, 1, L"+90\uFF9F00'"},
                                     {250.0, 1, L"-90\uFF9F00'"},
                                     {30.99999, 2, L"+31\uFF9F00'00\""},
                                     {12.58250, 3, L"+12\uFF9F34'57.0\""},
                                     {-12.5825, 4, L"-12\uFF9F34'57.00\""},
                                     {-5.99999, 3, L"-06\uFF9F00'00.0\""},
                                     {-5.9999999, 4, L"-06\uFF9F00'00.00\""},
                                     {10.9999, 1, L"+11\uFF9F00'"},
                                     {-0.0, 2, L"+00\uFF9F00'00\""},
                                     {-1e-9, 1, L"-00\uFF9F00'"}});
    // longitude: wraps into the circle
    ExpectTexts(F::CoordFormatLongitude, {{-10.0, 1, L"350\uFF9F00'"},
                                          {359.9999, 2, L"  0\uFF9F00'00\""},
                                          {359.99999, 4, L"359\uFF9F59'59.96\""},
                                          {359.999999, 4, L"  0\uFF9F00'00.00\""},
                                          {139.6917, 3, L"139\uFF9F41'30.1\""},
                                          {5.5, 1, L"  5\uFF9F30'"},
                                          {720.25, 2, L"  0\uFF9F15'00\""}});
    // decimal degrees: sign field and widths
    ExpectTexts(F::CoordFormatDeclDeg, {{5.0, 1, L" +5.000"},
                                        {-12.5, 2, L"-12.5000"},
                                        {-5.0, 1, L" -5.000"},
                                        {12.0, 3, L"+12.00000 "},
                                        {5.0, 4, L" +5.000000"}});
    ExpectTexts(F::CoordFormatRADeg, {{1.0, 1, L"15.000  "},
                                      {12.0, 2, L"180.0000   "},
                                      {25.0, 4, L"15.000000    "},
                                      // what rounds to the full circle is 0
                                      {-1e-12, 4, L"0.000000     "},
                                      {23.99999999, 1, L"0.000   "}});
    ExpectTexts(F::CoordFormatLongitudeDeg,
                {{-90.0, 1, L"270.000"}, {1.5, 3, L"1.50000    "}, {-1e-12, 2, L"0.0000    "}});
}

TEST(CoordFormat, TwinFormattersShareOneBuffer) {
    const wchar_t* a = F::CoordFormatDecl(1.0, 1);
    const wchar_t* b = F::CoordFormatLatitude(-2.0, 1);
    EXPECT_EQ(a, b);
    EXPECT_EQ(CString(a), CString(L"-02\uFF9F00'"));
    EXPECT_EQ(F::CoordFormatDeclDeg(1.0, 1), F::CoordFormatLatitudeDeg(1.0, 1));
    EXPECT_NE(static_cast<const void*>(F::CoordFormatRA(1, 1)),
              static_cast<const void*>(F::CoordFormatDecl(1, 1)));
}

TEST(CoordFormat, PlaceholdersForNegatedPrecisionAndNonFiniteValues) {
    const wchar_t* ra[] = {L"--h--.-m", L"--h--m--.-s", L"--h--m--.--s", L"--h--m--.---s"};
    const wchar_t* dec[] = {L" --\uFF9F--'", L" --\uFF9F--'--\"", L" --\uFF9F--'--.-\"",
                            L" --\uFF9F--'--.--\""};
    const wchar_t* lon[] = {L"---\uFF9F--'", L"---\uFF9F--'--\"", L"---\uFF9F--'--.-\"",
                            L"---\uFF9F--'--.--\""};
    const wchar_t* deg[] = {L" --.---   ", L" --.----   ", L" --.-----   ", L" --.------   "};
    const wchar_t* lonDeg[] = {L"---.---  ", L"---.----  ", L"---.-----  ", L"---.------  "};
    for (int p = 1; p <= 4; ++p) {
        for (double v : {12.3, kNaN, kInf, -kInf}) {
            const int prec = std::isfinite(v) ? -p : p;  // non-finite values at any precision
            ExpectTexts(F::CoordFormatRA, {{v, prec, ra[p - 1]}});
            ExpectTexts(F::CoordFormatDecl, {{v, prec, dec[p - 1]}});
            ExpectTexts(F::CoordFormatLongitude, {{v, prec, lon[p - 1]}});
            ExpectTexts(F::CoordFormatRADeg, {{v, prec, deg[p - 1]}});
            ExpectTexts(F::CoordFormatDeclDeg, {{v, prec, deg[p - 1]}});
            ExpectTexts(F::CoordFormatLongitudeDeg, {{v, prec, lonDeg[p - 1]}});
        }
    }
}

TEST(CoordFormat, PrecisionOutsideTheRangeKeepsTheLastText) {
    const CString before = F::CoordFormatLongitudeDeg(10.0, 1);
    for (int bad : {0, 5, -5, 1000, -2147483647 - 1})
        EXPECT_EQ(CString(F::CoordFormatLongitudeDeg(99.0, bad)), before) << bad;
    ExpectTexts(F::CoordFormatRA, {{3.0, 2, L"03h00m00.0s"}, {7.0, 0, L"03h00m00.0s"}});
}

TEST(CoordNormalise, DegmalDegmal2AndTolerances) {
    for (auto [in, out, out2] : {std::array<double, 3>{-10, 350, -10},
                                 {720, 0, 0},
                                 {100, 100, 90},
                                 {250, 250, -90},
                                 {-45, 315, -45}}) {
        EXPECT_DOUBLE_EQ(F::degmal(in), out) << in;
        EXPECT_DOUBLE_EQ(F::degmal2(in), out2) << in;
    }
    EXPECT_TRUE(F::degmal(-1e-20) >= 0.0 && F::degmal(-1e-20) < 360.0);
    EXPECT_EQ((std::tuple{F::IsEqualDeg(1.0, 1.00002), F::IsEqualDeg(1.0, 1.000009),
                          F::IsEqualAlt(10.0, 10.9), F::IsEqualAlt(10.0, 11.0)}),
              (std::tuple{0, 1, 1, 0}));
}

TEST(Str2RADec, NotationsEmptyMissingAndOddFields) {
    // Each row: the text, then the return code and the seven fields as "rc h m s sign d m s";
    // fields that must stay untouched read -1.
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"12h34m56.7s +12\uFF9F34'56.7\"", "1 12 34 56.7 1 12 34 56.7"},
        {L"12 34 56 -05 06 07", "1 12 34 56 0 5 6 7"},
        {L"12h34m56s.7 +10\uFF9F00'00\"", "1 12 34 56.7 1 10 0 0"},
        {L"05:35:17.3, - 05:23:28", "1 5 35 17.3 0 5 23 28"},  // sign joined to its number
        {L"1 2 3 4 5 6", "1 1 2 3 0 4 5 6"},                   // unsigned declination
        {L"  \t ", "0 0 0 0 -1 0 0 0"},
        {L"7", "1 7 0 0 0 0 0 0"},
        {L"1 .5 .", "1 1 0 0 0 0 0 0"},  // a point between digits joins them, a trailing one
        {L"2 . 5", "1 2 5 0 0 0 0 0"},   // separates
        {L"+-+-12 -- 3", nullptr}};
    for (const auto& [text, want] : cases) {
        int raH = -1, raM = -1, decPlus = -1, decD = -1, decM = -1;
        double raS = -1, decS = -1;
        const int rc = F::Str2RADec(text, raH, raM, raS, decPlus, decD, decM, decS);
        char got[128];
        snprintf(got, sizeof got, "%d %d %d %g %d %d %d %g", rc, raH, raM, raS, decPlus, decD, decM,
                 decS);
        if (want)
            EXPECT_EQ(std::string(got), want) << CString(text).ToUtf8();
        else
            EXPECT_EQ(rc, 1);
    }
}
