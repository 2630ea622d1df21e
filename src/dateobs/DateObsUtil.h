// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Small numeric helpers shared by the CZVDateObs sources; not part of its interface.
#include <cmath>
#include <climits>

namespace zvdateobs {

/// A double cut toward zero into an int; NaN gives 0 and values beyond the range saturate,
/// where a plain cast would be undefined.
inline int CutToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace zvdateobs
