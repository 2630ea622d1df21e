// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// zcmcom click's framing aids on the built-in sky.
#include <string>

#include "HostCommand.h"

class CSkyHost;

// Sets the frames the options ask for on the sky, centred on the point (J2000 RA hours,
// Dec degrees). Returns an error message for a bad option (nothing is half set that the
// text would show), or empty.
std::string SetUpFrames(const HostOptions& options, double raHours, double decDeg, CSkyHost& sky);
