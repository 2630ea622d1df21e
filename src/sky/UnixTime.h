// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// UT Julian Days and Unix time, the seconds of the system clock since 1970-01-01 00:00 UTC
/// (the time scale of the tz database).
#include <cmath>
#include <cstdint>
#include <ctime>

#include "sky/Constants.h"

namespace sky {

constexpr double kUnixEpochJd = 2440587.5;  ///< 1970-01-01 00:00 UTC as a Julian Day

/// The Unix second nearest the instant (UT Julian Day); a half rounds up, before 1970 too.
inline int64_t UnixSecondsOf(double jdUt) {
    return static_cast<int64_t>(std::floor((jdUt - kUnixEpochJd) * kSecondsPerDay + 0.5));
}

/// The system clock's time now as a UT Julian Day, to the second.
inline double JdNow() {
    return kUnixEpochJd + static_cast<double>(std::time(nullptr)) / kSecondsPerDay;
}

}  // namespace sky
