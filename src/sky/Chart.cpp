// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/Chart.h"

#include <cstdio>
#include <mutex>

#include "sky/Constants.h"
#include "sky/Instant.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"
#include "sky/catalogs/Catalog.h"

namespace sky {

namespace {

constexpr double kChartMagnitude = 6.0;

CString StarName(const Star& s) {
    if (!s.japanese.IsEmpty()) return s.japanese;
    if (!s.english.IsEmpty()) return s.english;
    if (!s.bayer.IsEmpty()) return s.bayer + L" " + s.constellation;
    if (!s.flamsteed.IsEmpty()) return s.flamsteed + L" " + s.constellation;
    CString name;
    name.Format(L"HIP %d", s.hip);
    return name;
}

void AddCatalogue(ChartCatalogue* chart) {
    Catalog catalog;
    const std::string path = CSkyHost::DefaultCatalogPath();
    if (path.empty() || catalog.Load(path.c_str()) == 0) return;
    for (const Star& s : catalog.Stars()) {
        if (!(s.mag <= kChartMagnitude)) continue;
        CString p;
        p.Format(L"Star.HIP.%d", s.hip);
        chart->objects.push_back({p, StarName(s), L"star", s.ra, s.dec, s.mag});
    }
    for (const DeepSky& d : catalog.Messier()) {
        CString p, name;
        p.Format(L"DeepSkyObject.M.%d", d.messier);
        name.Format(L"M%d", d.messier);
        if (!d.japanese.IsEmpty()) name += L" " + d.japanese;
        chart->objects.push_back({p, name, L"dso", d.ra, d.dec, d.mag});
    }
    for (const Constellation& c : catalog.Constellations())
        chart->labels.push_back(
            {c.japanese.IsEmpty() ? c.latin : c.japanese, c.abbreviation, c.ra, c.dec});
}

// Lines "abbr<TAB>ra1<TAB>dec1<TAB>ra2<TAB>dec2"; anything else is skipped.
void AddFigures(ChartCatalogue* chart) {
    const std::string path = DataPath("constellines.txt");
    FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (!f) return;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        char abbr[16];
        ChartSegment s;
        if (line[0] == '#' ||
            std::sscanf(line, "%15s %lf %lf %lf %lf", abbr, &s.ra1, &s.dec1, &s.ra2, &s.dec2) != 5)
            continue;
        if (std::fabs(s.dec1) <= 90 && std::fabs(s.dec2) <= 90) chart->segments.push_back(s);
    }
    std::fclose(f);
}

}  // namespace

const ChartCatalogue& FixedChartObjects() {
    static std::once_flag once;
    static ChartCatalogue chart;
    std::call_once(once, [] {
        AddCatalogue(&chart);
        AddFigures(&chart);
    });
    return chart;
}

ChartFrame ChartFrameAt(double jdUt, const Site& site) {
    const Instant at = InstantAt(jdUt, site);
    ChartFrame f;
    f.jdUt = at.jdUt, f.jdTt = at.jdTt, f.lst = at.lst;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) f.npb[i][j] = at.toDate.m[i][j];
    const Vec v = (at.earthVelocity + at.observerVelocityJ2000) * kLightDaysPerAu;
    f.velocity[0] = v.x, f.velocity[1] = v.y, f.velocity[2] = v.z;
    return f;
}

HorizonFrame::HorizonFrame(double jdUt, const Site& site) {
    const Instant at = InstantAt(jdUt, site);
    const Mat r = R2((90.0 - site.latitude) * kRad) * R3(at.lst * kRad) * at.toDate;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = r.m[i][j];
}

void HorizonFrame::ToHorizon(double ra, double dec, double* alt, double* az) const {
    const Vec v = FromSphere(ra, dec, 1.0);
    const double s = m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z;
    const double e = m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z;
    const double z = m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z;
    *alt = std::atan2(z, std::hypot(s, e)) / kRad;
    *az = Norm360(std::atan2(e, -s) / kRad);
}

void HorizonFrame::ToJ2000(double alt, double az, double* ra, double* dec) const {
    const double a = alt * kRad, A = az * kRad;
    const double s = -std::cos(a) * std::cos(A), e = std::cos(a) * std::sin(A), z = std::sin(a);
    // The transpose turns the horizon back into J2000.
    const Vec v{m[0][0] * s + m[1][0] * e + m[2][0] * z, m[0][1] * s + m[1][1] * e + m[2][1] * z,
                m[0][2] * s + m[1][2] * e + m[2][2] * z};
    const Sphere p = ToSphere(v);
    *ra = p.lon;
    *dec = p.lat;
}

}  // namespace sky
