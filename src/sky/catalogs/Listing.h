// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The objects of one kind that the sky's sources know, for listings (internal).
#include <string>
#include <vector>

#include "platform/Export.h"
#include "sky/Source.h"

namespace sky {

/// Every object whose kind is kind ("star", "variable", "double", "exoplanet", "deepsky",
/// or any kind a source lists) and whose magnitude is at most maxMagnitude; NaN: no limit
/// (objects without a magnitude are listed only then).
ZCMCOM_API std::vector<Entry> ListKind(const std::string& kind, double maxMagnitude);

}  // namespace sky
