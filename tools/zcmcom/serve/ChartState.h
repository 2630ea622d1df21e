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
#include "serve/Camera.h"
#include "serve/Projection.h"
#include "serve/SiteClock.h"
#include "serve/SkyFrame.h"
#include "sky/Chart.h"
#include "sky/Names.h"
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
    std::string zone;  // the site's IANA zone; empty: the nearest town's that agrees with the map
    std::string town;  // the town the site was given as, if any
    std::vector<CameraFrame> camera;  // the camera's frames drawn on the chart
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

// A body of the solar system, above or below the horizon: degrees (RA and Dec apparent of
// date, and J2000), the altitude refracted as the texts give it; limb: position angle of
// the bright limb; diam: arc seconds.
struct SkyBody {
    std::string path, name, kind;
    double mag = NAN, ra = NAN, dec = NAN, ra2000 = NAN, dec2000 = NAN, alt = NAN, az = NAN,
           phase = NAN, limb = NAN, diam = NAN;
};

// The sky of one instant and site.
struct Snapshot {
    double jd = 0.0, zone = 0.0;
    std::string time, city, town;
    ClockZone clock;
    StarFrame stars;
    std::vector<SkyBody> bodies;
    double lon = 0.0, lat = 0.0, height = 0.0;
    std::vector<SkyItem> items;
    std::vector<SkyLabel> labels;
    std::vector<SkySegment> segments;
    double sunAlt = 0.0, sunAz = 0.0, sunRa = 0.0, sunDec = 0.0;  // airless; J2000
    double sunApparentRa = 0.0, sunApparentDec = 0.0;
    std::shared_ptr<sky::HorizonFrame> frame;
};

struct ClickTexts {
    std::string path, text, compact, cdf;
};

struct City {
    std::string name, zone;
    double lon, lat;
};

struct SearchHit {
    std::string path, name, kind;
    double mag, ra2000, dec2000, alt, az;  // alt refracted
};
struct SearchAnswer {
    std::vector<SearchHit> results;
    std::vector<std::string> closest;  // names near the text when nothing matched
};

struct Switch {
    std::string name;
    bool on;
};

class ChartState {
public:
    explicit ChartState(const StartOptions& start);

    std::shared_ptr<const Snapshot> Sky();
    // The camera's frames, fixed from the start.
    const std::vector<CameraFrame>& Camera() const { return m_camera; }
    // An object path, or a name the name index knows (the command line's click rule).
    ClickTexts Click(const std::string& path);
    // Objects of the name index whose names hold the text, with their places now.
    SearchAnswer Search(const std::string& text, size_t limit);
    // The object drawn within 8 pixels of (x, y), else the point of the sky there.
    ClickTexts ClickAt(const ChartView& view, double x, double y);

    std::vector<Switch> Switches();
    // Sets one switch and stores them all; BadRequest for an unknown name.
    void SetSwitch(const std::string& name, bool on);

    void SetNow();
    // "+1d", "-15m", "+2h", "+1sd": a signed whole number of minutes, hours, days or
    // sidereal days.
    void Step(const std::string& step);
    // "YYYY-MM-DD HH:MM[:SS]" on the site's clock.
    void SetLocalTime(const std::string& text);
    void SetJd(double jd);
    // A site given by numbers takes the zone of the nearest town that agrees with the map.
    void SetSite(double lon, double lat, double height, bool keepHeight);
    // A town of the town list ("London,GB", "東京"), as the command line's --site reads it;
    // at height 0 as there, or at the height kept.
    void SetTown(const std::string& text, bool keepHeight = false);
    // An IANA zone: its main town.
    void SetZone(const std::string& zone, bool keepHeight = false);
    // The town nearest to a point (a click on the time-zone map).
    void SetNearest(double lon, double lat);
    // A zone or a town's name, at the height kept.
    void SetCity(const std::string& name);

    // The main town of each zone of the town list the tz database has.
    static const std::vector<City>& Cities();
    // The rendered time-zone map as a .bmp file's bytes, made once.
    std::string TimeZoneMapBmp();

private:
    std::shared_ptr<Snapshot> Compute();
    ClickTexts TextsOf(const CString& path);
    void Changed();
    void CheckInstant(double expectedJd);
    void SetInstant(double jd);  // (locked)
    void MoveTo(double lon, double lat, double height, bool keepHeight, const std::string& zone,
                const std::string& town);
    const sky::NameIndex& Index();  // (locked)

    std::mutex m_mutex;
    CSkyHost m_host;
    CZVDateObs m_dateObs;
    CCdStatus m_status;
    CZntClickData m_clickData;
    std::string m_city, m_town;
    std::unique_ptr<sky::NameIndex> m_index;
    std::shared_ptr<const Snapshot> m_snapshot;
    std::string m_tzmap;
    const std::vector<CameraFrame> m_camera;
};

// The text as UTF-8.
std::string Utf8(const CString& text);

}  // namespace serve
