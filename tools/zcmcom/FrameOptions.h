// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// zcmcom click's framing aids on the built-in sky.
#include <string>
#include <vector>

#include "HostCommand.h"

class CSkyHost;
namespace CLI {
class App;
class Option;
}  // namespace CLI

// Declares --frame, --mosaic, --fov and --roll into the options; returns them.
std::vector<CLI::Option*> AddFrameOptions(CLI::App& command, HostOptions& options);
// Reads --point (J2000 RA hours, Dec degrees; 0, 0 when not given). Returns an error
// message, or empty.
std::string ReadPoint(const HostOptions& options, double* raHours, double* decDeg);

// Sets the frames the options ask for on the sky, centred on the point (J2000 RA hours,
// Dec degrees). Returns an error message for a bad option (nothing is half set that the
// text would show), or empty.
std::string SetUpFrames(const HostOptions& options, double raHours, double decDeg, CSkyHost& sky);
