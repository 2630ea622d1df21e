// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The state the browser chart shares between its clients, used as an application uses the
// library: the built-in sky is the planetarium, CZVDateObs holds the date, site and zone and
// makes every edit, CZntClickData makes the texts with the switches of a CCdStatus kept in
// the registry. One mutex guards them all; the places of one instant are kept as an
// immutable snapshot that requests read without the lock.
#include <cmath>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "dateobs/DateObs.h"
#include "serve/Projection.h"
#include "sky/Chart.h"
#include "sky/SkyHost.h"

namespace serve {

// A request the server refuses (HTTP 400) or an object it does not know (404).
struct BadRequest : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct NotFound : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct StartOptions {
    double jd = NAN;  // UT Julian Day; NaN: the clock's now
    bool hasSite = false;
    double lon = 0.0, lat = 0.0, height = 0.0;
};

// One object above the horizon: degrees (azimuth from the north through the east; J2000).
struct SkyItem {
    std::string path, name, kind;
    double mag = NAN, alt = 0.0, az = 0.0, ra = 0.0, dec = 0.0, phase = NAN;
};
struct SkyLabel {
    std::string name, abbr;
    double alt, az, ra, dec;
};
struct SkySegment {
    double alt1, az1, ra1, dec1, alt2, az2, ra2, dec2;
};

// The sky of one instant and site.
struct Snapshot {
    double jd = 0.0, zone = 0.0;
    std::string time, city;
    double lon = 0.0, lat = 0.0, height = 0.0;
    std::vector<SkyItem> items;
    std::vector<SkyLabel> labels;
    std::vector<SkySegment> segments;
    double sunAlt = 0.0, sunAz = 0.0, sunRa = 0.0, sunDec = 0.0;
    std::shared_ptr<sky::HorizonFrame> frame;
};

struct ClickTexts {
    std::string path, text, compact, cdf;
};

struct City {
    std::string name, zone;
    double lon, lat;
};

struct Switch {
    std::string name;
    bool on;
};

class ChartState {
public:
    explicit ChartState(const StartOptions& start);

    std::shared_ptr<const Snapshot> Sky();
    ClickTexts Click(const std::string& path);
    // The object drawn within 8 pixels of (x, y), else the point of the sky there.
    ClickTexts ClickAt(const ChartView& view, double x, double y);

    std::vector<Switch> Switches();
    // Sets one switch and stores them all; BadRequest for an unknown name.
    void SetSwitch(const std::string& name, bool on);

    void SetNow();
    // "+1d", "-15m", "+2h": a signed whole number of minutes, hours or days.
    void Step(const std::string& step);
    // "YYYY-MM-DD HH:MM[:SS]" in the site's zone.
    void SetLocalTime(const std::string& text);
    void SetSite(double lon, double lat, double height, bool keepHeight);
    void SetCity(const std::string& name);

    // The towns of the system's time-zone list, read once.
    static const std::vector<City>& Cities();
    // The rendered time-zone map as a .bmp file's bytes, made once.
    std::string TimeZoneMapBmp();

private:
    std::shared_ptr<Snapshot> Compute();
    ClickTexts TextsOf(const CString& path);
    void Changed();
    void CheckInstant(double expectedJd);

    std::mutex m_mutex;
    CSkyHost m_host;
    CZVDateObs m_dateObs;
    CCdStatus m_status;
    CZntClickData m_clickData;
    std::string m_city;
    std::shared_ptr<const Snapshot> m_snapshot;
    std::string m_tzmap;
};

// The text as UTF-8.
std::string Utf8(const CString& text);

}  // namespace serve
