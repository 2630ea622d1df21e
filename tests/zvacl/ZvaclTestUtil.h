#pragma once
// Small builders shared by the zvacl tests.
#include <limits>

#include "zvacl/zvacl.h"

namespace zvacltest {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

inline tagADATE Date(int y, int mo, int d, int h = 0, int mi = 0, double s = 0, double tz = 0) {
    return tagADATE{y, mo, d, h, mi, s, tz};
}

inline tagSPAN Span(int y, int mo, int d, int h = 0, int mi = 0, double s = 0) {
    return tagSPAN{y, mo, d, h, mi, s};
}

}  // namespace zvacltest

#define EXPECT_DATE(a, y, mo, d, h, mi, s) \
    do {                                   \
        EXPECT_EQ((a).year, (y));          \
        EXPECT_EQ((a).month, (mo));        \
        EXPECT_EQ((a).day, (d));           \
        EXPECT_EQ((a).hour, (h));          \
        EXPECT_EQ((a).minute, (mi));       \
        EXPECT_NEAR((a).second, (s), 1e-6); \
    } while (0)
