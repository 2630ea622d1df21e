// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The camera's frames the chart draws: the outlines of the framing aids set on a built-in
// sky (zcmcom serve --frame, --mosaic, --fov), fixed J2000 places made once at the start.
#include <array>
#include <string>
#include <vector>

class CSkyHost;

namespace serve {

struct CameraFrame {
    std::string name;
    std::vector<std::array<double, 2>> outline;  // J2000 RA and Dec, degrees; closed
};

// The frames set on the sky: the angle of view, or where mosaic each frame of the mosaic
// of it ("モザイク 3"); the field-of-view circle.
std::vector<CameraFrame> CameraFrames(CSkyHost& sky, bool mosaic);

}  // namespace serve
