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

/// The catalogue tables this process found missing or damaged so far ("stars.zct"): a
/// listing made without them is incomplete.
ZCMCOM_API std::vector<std::string> UnreadableTables();

}  // namespace sky
