// SPDX-License-Identifier: LGPL-3.0-or-later
// The framing aids of the sky chart as a source: a camera's field behind a lens
// ("AngleOfView"), a mosaic of such fields ("MosaicOfField", its frames "MosaicOfField.N")
// and a field-of-view circle ("FieldOfViewCircle"), each centred on a point of the sky with
// a roll angle. They are set by statements ("AngleOfView.Camera = Canon EOS 6D",
// "AngleOfView.FocalLength = 400", "MosaicOfField.Row = 3", ...); a value out of its range
// is refused and leaves the frame as it was.
#include <cmath>
#include <cstdlib>
#include <algorithm>
#include <cwchar>
#include <memory>

#include "camera/CameraDB.h"
#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

struct Frame {
    bool defined = false;
    CString name, camera = L"None", coordinate = L"Equatorial";
    double focal = 0, width = 0, height = 0, angle = 0;
    double ra = 0, dec = 0, roll = 0;  // centre: J2000 RA hours, Dec degrees; roll degrees
    int rows = 1, columns = 1;
    double overlap = 0;
};

bool ReadValue(const CString& text, double* v) {
    const std::string s = text.ToUtf8();
    if (s.empty()) return false;
    char* end = nullptr;
    *v = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(*v);
}

// The camera of the database named so (blanks and case aside).
bool FindCamera(const CString& wanted, double* width, double* height) {
    static const CCameraDB* db = [] {
        auto* d = new CCameraDB;
        const std::string path = DataPath("zcmccd.txt");
        if (!path.empty()) d->Init(CString(path.substr(0, path.size() - 10).c_str()));
        return d;
    }();
    CString key = wanted;
    key.Remove(L' ');
    for (int i = 0; i < db->GetCameraNum(); ++i) {
        const _ANGLE_OF_FIELD c = db->GetCamera(i);
        if (c.strName.CompareNoCase(key) != 0) continue;
        *width = c.dValue[0], *height = c.dValue[1];
        return *width > 0 && *height > 0;
    }
    return false;
}

// The point at offsets east and north (radians, on the tangent plane) from a centre
// (degrees): the gnomonic projection undone.
void FromTangent(double ra0, double dec0, double east, double north, double* ra, double* dec) {
    const double d0 = dec0 * kRad;
    *dec = std::asin((std::sin(d0) + north * std::cos(d0)) /
                     std::sqrt(1 + east * east + north * north)) /
           kRad;
    *ra = Norm360(ra0 + std::atan2(east, std::cos(d0) - north * std::sin(d0)) / kRad);
}

// A point and a unit vector.
void Vector(double ra, double dec, double v[3]) {
    v[0] = std::cos(dec * kRad) * std::cos(ra * kRad);
    v[1] = std::cos(dec * kRad) * std::sin(ra * kRad);
    v[2] = std::sin(dec * kRad);
}

// "RA,Dec" of each point, J2000 degrees, separated by blanks.
void AppendPoint(CString& text, double ra, double dec) {
    text.AppendFormat(text.IsEmpty() ? L"%.8f,%.8f" : L" %.8f,%.8f", ra, dec);
}

// The outline of a frame: its corners, east and north of the centre on its tangent plane
// (radians, before the roll), joined by great circles (the straight sides of the gnomonic
// plane) with a point at least every degree; the first corner is not repeated.
CString RectangleOutline(double ra0, double dec0, double roll, const double corners[4][2]) {
    double v[4][3];
    const double r = roll * kRad;
    for (int i = 0; i < 4; ++i) {
        const double east = corners[i][0], north = corners[i][1];
        double ra = 0, dec = 0;
        FromTangent(ra0, dec0, east * std::cos(r) + north * std::sin(r),
                    north * std::cos(r) - east * std::sin(r), &ra, &dec);
        Vector(ra, dec, v[i]);
    }
    CString text;
    for (int i = 0; i < 4; ++i) {
        const double *a = v[i], *b = v[(i + 1) % 4];
        const double dot = std::min(1.0, a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
        const double angle = std::acos(dot);
        const int steps = std::max(1, static_cast<int>(std::ceil(angle / kRad)));
        for (int k = 0; k < steps; ++k) {
            // Along the great circle from a to b.
            const double t = angle * k / steps, s = std::sin(angle);
            const double fa = k == 0 || s == 0 ? 1 : std::sin(angle - t) / s,
                         fb = k == 0 || s == 0 ? 0 : std::sin(t) / s;
            const double p[3] = {fa * a[0] + fb * b[0], fa * a[1] + fb * b[1],
                                 fa * a[2] + fb * b[2]};
            AppendPoint(text, Norm360(std::atan2(p[1], p[0]) / kRad),
                        std::atan2(p[2], std::hypot(p[0], p[1])) / kRad);
        }
    }
    return text;
}

// A circle of that radius (degrees) around a centre, a point at least every degree.
CString CircleOutline(double ra0, double dec0, double radius) {
    const double d0 = dec0 * kRad, r = radius * kRad;
    const int n = std::max(72, static_cast<int>(std::ceil(360 * std::sin(r))));
    CString text;
    for (int k = 0; k < n; ++k) {
        const double pa = 2 * M_PI * k / n;
        const double dec =
            std::asin(std::sin(d0) * std::cos(r) + std::cos(d0) * std::sin(r) * std::cos(pa));
        const double ra = ra0 + std::atan2(std::sin(pa) * std::sin(r) * std::cos(d0),
                                           std::cos(r) - std::sin(d0) * std::sin(dec)) /
                                    kRad;
        AppendPoint(text, Norm360(ra), dec / kRad);
    }
    return text;
}

class FrameSource : public Source {
public:
    bool Statement(const CString& lhs, const CString& value) override {
        Frame* f = nullptr;
        CString key;
        if (!Split(lhs, &f, &key, nullptr)) return false;
        Frame next = *f;
        double v = 0;
        const bool number = ReadValue(value, &v);
        if (key == L"name")
            next.name = value;
        else if (key == L"coordinate")
            next.coordinate = value;
        else if (key == L"camera") {
            if (value.CompareNoCase(L"None") == 0)
                next.camera = L"None";
            else if (FindCamera(value, &next.width, &next.height))
                next.camera = value;
            else
                return true;
        } else if (!number)
            return true;
        else if (key == L"focallength" && v > 0 && v <= 1e5)
            next.focal = v;
        else if ((key == L"horizontalsize" || key == L"verticalsize") && v > 0 && v <= 1000)
            (key == L"horizontalsize" ? next.width : next.height) = v, next.camera = L"None";
        else if (key == L"ra" && v >= 0 && v < 24)
            next.ra = v;
        else if (key == L"dec" && v >= -90 && v <= 90)
            next.dec = v;
        else if (key == L"roll")
            next.roll = Norm360(v);
        else if (key == L"angle" && v > 0 && v <= 180)
            next.angle = v;
        else if ((key == L"row" || key == L"column") && v >= 1 && v <= 100 && v == std::floor(v))
            (key == L"row" ? next.rows : next.columns) = static_cast<int>(v);
        else if (key == L"overlap" && v >= 0 && v < 1)
            next.overlap = v;
        else
            return true;
        if (next.rows * next.columns > 1000) return true;
        next.defined = true;
        *f = next;
        return true;
    }

    bool Answer(const CString& q, const Context& at, CString* answer) override {
        Frame* f = nullptr;
        CString property;
        int number = 0;
        if (!Split(q, &f, &property, &number) || !f->defined) return false;
        *answer = Property(*f, f == &m_mosaic, number, property, at);
        return true;
    }

    void List(std::vector<Entry>& out) override {
        if (m_view.defined) out.push_back(Entry{L"AngleOfView", {m_view.name}, L"frame", NAN});
        if (m_fov.defined) out.push_back(Entry{L"FieldOfViewCircle", {m_fov.name}, L"frame", NAN});
        for (int n = 1; m_mosaic.defined && n <= m_mosaic.rows * m_mosaic.columns; ++n) {
            CString path;
            path.Format(L"MosaicOfField.%d", n);
            out.push_back(Entry{path, {m_mosaic.name}, L"frame", NAN});
        }
    }

private:
    // Which frame a canonical path names, what follows it, and for a mosaic the frame
    // number (0 for the mosaic as a whole).
    bool Split(const CString& q, Frame** f, CString* rest, int* number) {
        static const struct {
            const wchar_t* prefix;
            Frame FrameSource::*frame;
        } kKinds[] = {{L"angleofview.", &FrameSource::m_view},
                      {L"mosaicoffield.", &FrameSource::m_mosaic},
                      {L"fieldofviewcircle.", &FrameSource::m_fov}};
        for (const auto& k : kKinds) {
            const int n = static_cast<int>(std::wcslen(k.prefix));
            if (!HasPrefix(q, k.prefix)) continue;
            *f = &(this->*k.frame);
            *rest = q.Mid(n);
            if (number) *number = 0;
            CString element, property;
            if (number && k.frame == &FrameSource::m_mosaic &&
                NextElement(q, n, &element, &property) && WholeNumber(element) >= 0) {
                *number = WholeNumber(element);
                *rest = property;
            }
            return true;
        }
        return false;
    }

    static CString Property(const Frame& f, bool mosaic, int number, const CString& p,
                            const Context& at) {
        if (p == L"name") return f.name;
        if (p == L"camera") return f.camera;
        if (p == L"focallength") return sky::Answer(f.focal, L"%.3f");
        if (p == L"horizontalsize") return sky::Answer(f.width, L"%.3f");
        if (p == L"verticalsize") return sky::Answer(f.height, L"%.3f");
        if (p == L"roll") return sky::Answer(f.roll, L"%.3f");
        if (p == L"angle") return sky::Answer(f.angle, L"%.4f");
        if (HasPrefix(p, L"guider.")) return L"0";
        if (mosaic) {
            if (p == L"row") return sky::Answer(f.rows, L"%.0f");
            if (p == L"column") return sky::Answer(f.columns, L"%.0f");
            if (p == L"overlap") return sky::Answer(f.overlap, L"%.4f");
            if (p == L"coordinate") return f.coordinate;
        }
        const bool outline = p == L"outline";
        if (!HasPrefix(p, L"position.") && !HasPrefix(p, L"jd.") && !outline) return CString();
        double ra = f.ra * 15.0, dec = f.dec;
        if (mosaic && number > f.rows * f.columns) return L"*";  // no such frame in the mosaic
        // Frames of a mosaic counted along the rows from the north-east corner, before the
        // roll; neighbours overlap by the given fraction of a side. All lie on the mosaic's
        // tangent plane.
        const int row = (std::max(number, 1) - 1) / f.columns,
                  column = (std::max(number, 1) - 1) % f.columns;
        const double east = mosaic && number > 0 ? -(column - (f.columns - 1) / 2.0) * f.width *
                                                       (1 - f.overlap) / f.focal
                                                 : 0,
                     north = mosaic && number > 0
                                 ? ((f.rows - 1) / 2.0 - row) * f.height * (1 - f.overlap) / f.focal
                                 : 0;
        if (outline) {
            // The outline of each frame (J2000 degrees, "RA,Dec" separated by blanks); none
            // for a mosaic as a whole or a frame without its size.
            if (mosaic && number == 0) return CString();
            if (!(f.focal > 0 && f.width > 0 && f.height > 0))
                return f.angle > 0 ? CircleOutline(ra, dec, f.angle / 2) : CString();
            const double w = f.width / f.focal / 2, h = f.height / f.focal / 2;
            const double corners[4][2] = {{east + w, north + h},
                                          {east - w, north + h},
                                          {east - w, north - h},
                                          {east + w, north - h}};
            return RectangleOutline(ra, dec, f.roll, corners);
        }
        if (mosaic && number > 0) {
            const double r = f.roll * kRad;
            FromTangent(ra, dec, east * std::cos(r) + north * std::sin(r),
                        north * std::cos(r) - east * std::sin(r), &ra, &dec);
        }
        return PlaceAnswer(FixedPlace(ra, dec, at.jdUt, at.site, HasPrefix(p, L"jd.")), p);
    }

    Frame m_view{false, L"撮影画角"}, m_mosaic{false, L"モザイク"}, m_fov{false, L"視野円"};
};

const SourceRegistration kFrames([] { return std::make_unique<FrameSource>(); },
                                 {L"angleofview.", L"mosaicoffield.", L"fieldofviewcircle."});

}  // namespace

}  // namespace sky
