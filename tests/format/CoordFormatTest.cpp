// SPDX-License-Identifier: LGPL-3.0-or-later
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "format/CoordFormat.h"
#include "support/Accuracy.h"
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

// Every formatter at every precision, over values at the carries (seconds into minutes into
// hours or degrees), the wraps (hours and longitudes into the circle, what rounds to the full
// circle is 0), the clamps of declinations to the poles, negative zero, and the placeholders
// of non-finite values and of negated precisions: the texts are tests/golden/coord_formats.txt.
TEST(CoordFormat, EveryFormatterAtEveryPrecision) {
    const double kCarries[] = {23.9999999, 23.9999, 23.999999,
                               23.9995,    10.9999, 1.0 + 59.99 / 3600};
    const struct {
        const char* name;
        const wchar_t* (*format)(double, int);
        std::vector<double> values;
    } kFormatters[] = {
        {"RA", F::CoordFormatRA, {5.0, 12.5824, 25.5, -1.0, -1e-20, -0.0}},
        {"Decl",
         F::CoordFormatDecl,
         {-0.5, 120.0, 250.0, 30.99999, 12.5825, -12.5825, -5.99999, -5.9999999, -0.0, -1e-9}},
        {"Longitude",
         F::CoordFormatLongitude,
         {-10.0, 359.9999, 359.99999, 359.999999, 139.6917, 5.5, 720.25}},
        {"DeclDeg", F::CoordFormatDeclDeg, {5.0, -12.5, -5.0, 12.0}},
        {"RADeg", F::CoordFormatRADeg, {1.0, 12.0, 25.0, -1e-12, 23.99999999}},
        {"LongitudeDeg", F::CoordFormatLongitudeDeg, {-90.0, 1.5, -1e-12}},
    };
    std::string out;
    for (const auto& f : kFormatters) {
        std::vector<double> values = f.values;
        values.insert(values.end(), std::begin(kCarries), std::end(kCarries));
        values.insert(values.end(), {kNaN, kInf, -kInf});
        for (double v : values) {
            for (int p : {1, 2, 3, 4, -1, -2, -3, -4}) {
                if (p < 0 && v != values.front()) continue;  // one value is enough to negate
                char head[64];
                snprintf(head, sizeof head, "%s %.10g %d [", f.name, v, p);
                out += head + CString(f.format(v, p)).ToUtf8() + "]\n";
            }
        }
    }
    ExpectGolden(out, "coord_formats.txt");
}

TEST(CoordFormat, TwinsShareOneBufferAndABadPrecisionKeepsTheLastText) {
    const wchar_t* a = F::CoordFormatDecl(1.0, 1);
    const wchar_t* b = F::CoordFormatLatitude(-2.0, 1);
    EXPECT_EQ(a, b);
    EXPECT_EQ(CString(a), CString(L"-02\uFF9F00'"));
    EXPECT_EQ(F::CoordFormatDeclDeg(1.0, 1), F::CoordFormatLatitudeDeg(1.0, 1));
    EXPECT_NE(static_cast<const void*>(F::CoordFormatRA(1, 1)),
              static_cast<const void*>(F::CoordFormatDecl(1, 1)));
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
    for (const auto& f : DataFields("format/str2radec.txt", 2)) {
        const CString text = f[0] == "<blanks>" ? CString(L"  \t ") : W(f[0]);
        int raH = -1, raM = -1, decPlus = -1, decD = -1, decM = -1;
        double raS = -1, decS = -1;
        const int rc = F::Str2RADec(text, raH, raM, raS, decPlus, decD, decM, decS);
        char got[128];
        snprintf(got, sizeof got, "%d %d %d %g %d %d %d %g", rc, raH, raM, raS, decPlus, decD, decM,
                 decS);
        if (f[1] != "-")
            EXPECT_EQ(std::string(got), f[1]) << f[0];
        else
            EXPECT_EQ(rc, 1);
    }
}
