// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The next maximum and minimum of a variable star from its catalogue elements (internal).
#include <string>

#include "platform/Export.h"

namespace sky {

/// For the catalogue's type ("M", "EA/RS", "DCEP", ...), epoch (JD), period (days) and
/// rise time (percent of the period; NaN: unknown): the first maximum and minimum at or
/// after jd. The epoch of an eclipsing star ("E...") is a minimum, and it has no maximum to
/// predict; that of a pulsating star is a maximum, its minimum the rise time before it.
/// NaN where the elements do not tell.
ZCMCOM_API void NextExtrema(const std::string& type, double epoch, double period, double rise,
                            double jd, double* nextMaximum, double* nextMinimum);

}  // namespace sky
