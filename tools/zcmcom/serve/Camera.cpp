// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/Camera.h"

#include <cstdlib>
#include <sstream>

#include "serve/ChartState.h"
#include "sky/SkyHost.h"

namespace serve {

namespace {

std::string Ask(CSkyHost& sky, const std::string& query) {
    return Utf8(sky.Execute(CString(("? " + query).c_str())));
}

// A frame whose outline the sky answers ("RA,Dec RA,Dec ..."), else nothing.
void Add(CSkyHost& sky, const std::string& path, std::string name,
         std::vector<CameraFrame>& frames) {
    std::istringstream points(Ask(sky, path + ".Outline"));
    CameraFrame frame{std::move(name), {}};
    double ra = 0, dec = 0;
    char comma = 0;
    while (points >> ra >> comma >> dec && comma == ',') frame.outline.push_back({ra, dec});
    if (frame.outline.size() >= 3) frames.push_back(std::move(frame));
}

}  // namespace

std::vector<CameraFrame> CameraFrames(CSkyHost& sky, bool mosaic) {
    std::vector<CameraFrame> frames;
    const int tiles = mosaic ? std::atoi(Ask(sky, "MosaicOfField.Row").c_str()) *
                                   std::atoi(Ask(sky, "MosaicOfField.Column").c_str())
                             : 0;
    if (tiles == 0) Add(sky, "AngleOfView", Ask(sky, "AngleOfView.Name"), frames);
    for (int n = 1; n <= tiles; ++n)
        Add(sky, "MosaicOfField." + std::to_string(n),
            Ask(sky, "MosaicOfField.Name") + " " + std::to_string(n), frames);
    Add(sky, "FieldOfViewCircle", Ask(sky, "FieldOfViewCircle.Name"), frames);
    return frames;
}

}  // namespace serve
