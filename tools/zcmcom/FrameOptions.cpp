// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click's framing aids: --frame, --mosaic, --fov and --roll checked and set on the
// built-in sky as the planetarium's statements.
#include "FrameOptions.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "SkyOptions.h"
#include "sky/SkyHost.h"

namespace {

// A number that is the whole text.
bool Number(const std::string& text, double* v) {
    if (text.empty()) return false;
    char* end = nullptr;
    *v = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(*v);
}

// "AxB" as two numbers.
bool Pair(const std::string& text, double* a, double* b) {
    const auto x = text.find_first_of("xX");
    return x != std::string::npos && Number(text.substr(0, x), a) && Number(text.substr(x + 1), b);
}

void Set(CSkyHost& sky, const char* frame, const char* key, const std::string& value) {
    sky.Execute(CString((std::string(frame) + "." + key + " = " + value).c_str()));
}

std::string Text(double v) {
    char s[40];
    std::snprintf(s, sizeof s, "%.10g", v);
    return s;
}

}  // namespace

std::vector<CLI::Option*> AddFrameOptions(CLI::App& cmd, HostOptions& o) {
    return {cmd.add_option("--frame", o.frame,
                           "the angle of view of a camera of the database (or a sensor "
                           "WIDTHxHEIGHT in mm) behind FOCAL mm, centred on --point")
                ->type_name("CAMERA,FOCAL"),
            cmd.add_option("--mosaic", o.mosaic,
                           "a mosaic of --frame's fields overlapping by a fraction")
                ->type_name("ROWSxCOLUMNS[,OVERLAP]"),
            cmd.add_option("--fov", o.fov,
                           "a field-of-view circle of that diameter, centred on --point")
                ->type_name("DEG"),
            cmd.add_option("--roll", o.roll, "the frames' roll angle")->type_name("DEG")};
}

std::string ReadPoint(const HostOptions& o, double* ra, double* dec) {
    double unused = 0.0;
    *ra = *dec = 0.0;
    if (!o.point.empty() &&
        (!ParseSite(o.point, ra, dec, &unused) || *ra < 0 || *ra >= 24 || std::fabs(*dec) > 90))
        return "bad --point '" + o.point + "' (RA in hours, Dec in degrees, J2000)";
    return std::string();
}

std::string SetUpFrames(const HostOptions& o, double raHours, double decDeg, CSkyHost& sky) {
    double roll = 0;
    if (!o.roll.empty() && (!Number(o.roll, &roll) || std::fabs(roll) > 360))
        return "bad --roll '" + o.roll + "' (degrees, -360 to 360)";
    if (!o.mosaic.empty() && o.frame.empty())
        return "--mosaic needs --frame (the camera and focal length of its frames)";
    const char* kinds[] = {"AngleOfView", "MosaicOfField"};
    if (!o.frame.empty()) {
        const auto comma = o.frame.rfind(',');
        double focal = 0, width = 0, height = 0;
        if (comma == std::string::npos || !Number(o.frame.substr(comma + 1), &focal))
            return "bad --frame '" + o.frame + "' (CAMERA,FOCAL or WIDTHxHEIGHT,FOCAL in mm)";
        if (!(focal > 0 && focal <= 1e5))
            return "bad --frame: the focal length must be above 0 mm (and at most 100 m)";
        const std::string camera = o.frame.substr(0, comma);
        const bool custom = Pair(camera, &width, &height);
        if (custom && !(width > 0 && height > 0 && width <= 1000 && height <= 1000))
            return "bad --frame: the sensor's width and height must be above 0 mm (and at most "
                   "1000 mm)";
        for (const char* kind : kinds) {
            if (custom) {
                Set(sky, kind, "HorizontalSize", Text(width));
                Set(sky, kind, "VerticalSize", Text(height));
            } else {
                Set(sky, kind, "Camera", camera);
            }
            Set(sky, kind, "FocalLength", Text(focal));
        }
        if (!custom && sky.Execute(L"? AngleOfView.Camera") != CString(camera.c_str()))
            return "unknown camera '" + camera + "' (zcmcom cameras lists the database)";
    }
    if (!o.mosaic.empty()) {
        const auto comma = o.mosaic.find(',');
        double rows = 0, columns = 0, overlap = 0;
        if (!Pair(o.mosaic.substr(0, comma), &rows, &columns) ||
            (comma != std::string::npos && !Number(o.mosaic.substr(comma + 1), &overlap)))
            return "bad --mosaic '" + o.mosaic + "' (ROWSxCOLUMNS[,OVERLAP])";
        if (rows < 1 || columns < 1 || rows > 100 || columns > 100 || rows != std::floor(rows) ||
            columns != std::floor(columns) || rows * columns > 1000)
            return "bad --mosaic: rows and columns must be whole numbers from 1 to 100, at most "
                   "1000 frames";
        if (!(overlap >= 0 && overlap < 1))
            return "bad --mosaic: the overlap must be from 0 up to (not including) 1";
        Set(sky, "MosaicOfField", "Row", Text(rows));
        Set(sky, "MosaicOfField", "Column", Text(columns));
        Set(sky, "MosaicOfField", "Overlap", Text(overlap));
    }
    if (!o.fov.empty()) {
        double angle = 0;
        if (!Number(o.fov, &angle) || !(angle > 0 && angle <= 180))
            return "bad --fov '" + o.fov +
                   "' (the circle's diameter, above 0 and at most 180 degrees)";
        Set(sky, "FieldOfViewCircle", "Angle", Text(angle));
    }
    const struct {
        const char* kind;
        bool wanted;
    } centred[] = {{"AngleOfView", !o.frame.empty()},
                   {"MosaicOfField", !o.mosaic.empty()},
                   {"FieldOfViewCircle", !o.fov.empty()}};
    for (const auto& [kind, wanted] : centred) {
        if (!wanted) continue;
        Set(sky, kind, "RA", Text(raHours));
        Set(sky, kind, "Dec", Text(decDeg));
        Set(sky, kind, "Roll", Text(roll));
    }
    return std::string();
}
