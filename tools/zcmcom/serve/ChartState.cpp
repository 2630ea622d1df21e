// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/ChartState.h"
#include "serve/CivilTime.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "draw/TimeZone.h"
#include "sky/TzDatabase.h"
#include "zvacl/zvacl.h"

namespace serve {

namespace {

constexpr double kSecond = 1.0 / 86400.0;

// The bodies of the solar system the chart draws, with their kind.
const struct {
    const wchar_t* path;
    const char* kind;
} kBodies[] = {
    {L"Solar.Sun", "sun"},
    {L"Solar.Planet.Earth.Satellite.Moon", "moon"},
    {L"Solar.Planet.Mercury", "planet"},
    {L"Solar.Planet.Venus", "planet"},
    {L"Solar.Planet.Mars", "planet"},
    {L"Solar.Planet.Jupiter", "planet"},
    {L"Solar.Planet.Saturn", "planet"},
    {L"Solar.Planet.Uranus", "planet"},
    {L"Solar.Planet.Neptune", "planet"},
    {L"Solar.DwarfPlanet.Pluto", "dwarf"},
};

// The switches the page offers: the ones that change what the texts hold.
const struct {
    const char* name;
    int CCdStatus::*field;
} kSwitches[] = {
    {"CnsInfo", &CCdStatus::CnsInfo},
    {"StarDetails", &CCdStatus::StarDetails},
    {"DispMag", &CCdStatus::DispMag},
    {"DispEqt2000", &CCdStatus::DispEqt2000},
    {"DispEqtDateApp", &CCdStatus::DispEqtDateApp},
    {"DispEqt1950", &CCdStatus::DispEqt1950},
    {"DispEclDateMean", &CCdStatus::DispEclDateMean},
    {"DispEclDateApp", &CCdStatus::DispEclDateApp},
    {"DispEcl2000", &CCdStatus::DispEcl2000},
    {"DispGal", &CCdStatus::DispGal},
    {"DispHrz", &CCdStatus::DispHrz},
    {"DispHrzOrgSouth", &CCdStatus::DispHrzOrgSouth},
    {"DispRiseSet", &CCdStatus::DispRiseSet},
    {"DispAzmth", &CCdStatus::DispAzmth},
    {"DispHourAngle", &CCdStatus::DispHourAngle},
    {"DispDeltaEqt", &CCdStatus::DispDeltaEqt},
    {"DispDistR", &CCdStatus::DispDistR},
    {"SolarOrbitDetails", &CCdStatus::SolarOrbitDetails},
    {"PlanetPhysicalTable", &CCdStatus::PlanetPhysicalTable},
    {"PgcDetails", &CCdStatus::PgcDetails},
    {"DispComment", &CCdStatus::DispComment},
    {"DispConstellation", &CCdStatus::DispConstellation},
    {"DispAirmass", &CCdStatus::DispAirmass},
    {"DispSiderealTime", &CCdStatus::DispSiderealTime},
    {"DispLightTime", &CCdStatus::DispLightTime},
    {"DispPhaseAngle", &CCdStatus::DispPhaseAngle},
    {"DispParallacticAngle", &CCdStatus::DispParallacticAngle},
    {"DispSunMoonAltitude", &CCdStatus::DispSunMoonAltitude},
    {"DispTimeToEvents", &CCdStatus::DispTimeToEvents},
    {"DispObservingWindow", &CCdStatus::DispObservingWindow},
    {"DispVariableForecast", &CCdStatus::DispVariableForecast},
    {"DispProvenance", &CCdStatus::DispProvenance},
};

// A number the host answered; NaN for "*", empty or anything else.
double Number(const CString& answer) {
    const wchar_t* s = answer;
    wchar_t* end = nullptr;
    const double v = std::wcstod(s, &end);
    return end != s && *end == 0 ? v : NAN;
}

// Object paths go into the host's query language: nothing that could end the query or
// start a statement of its own.
void CheckPath(const std::string& path) {
    if (path.empty() || path.size() > 200) throw BadRequest("path: 1 to 200 bytes");
    for (unsigned char c : path)
        if (c < 0x20 || c == 0x7f || c == ';' || c == '=' || c == '?' || c == '"')
            throw BadRequest("path: no control characters, ';', '=', '?' or '\"'");
}

// A whole decimal number of at most digits digits at s[*at]; -1 when there is none.
long Digits(const std::string& s, size_t* at, size_t digits) {
    long v = 0;
    size_t n = 0;
    while (*at < s.size() && n < digits && s[*at] >= '0' && s[*at] <= '9')
        v = v * 10 + (s[(*at)++] - '0'), ++n;
    return n ? v : -1;
}

bool Expect(const std::string& s, size_t* at, const char* options) {
    if (*at >= s.size() || s[*at] == 0 || !std::strchr(options, s[*at])) return false;
    ++*at;
    return true;
}

// "+DDMM[SS]" or "+DDDMM[SS]" of zone.tab, in degrees.
double TabAngle(const std::string& s) {
    const size_t degreeDigits = s.size() == 5 || s.size() == 7 ? 2 : 3;
    if (s.size() != degreeDigits + 3 && s.size() != degreeDigits + 5) return NAN;
    const double sign = s[0] == '-' ? -1.0 : 1.0;
    const double d = std::atof(s.substr(1, degreeDigits).c_str()),
                 m = std::atof(s.substr(1 + degreeDigits, 2).c_str());
    const double sec =
        s.size() > degreeDigits + 3 ? std::atof(s.substr(3 + degreeDigits).c_str()) : 0.0;
    return sign * (d + m / 60.0 + sec / 3600.0);
}

}  // namespace

std::string Utf8(const CString& text) { return text.ToUtf8(); }

ChartState::ChartState(const StartOptions& start)
    : m_host(std::isfinite(start.jd) ? start.jd : 0.0) {
    if (!std::isfinite(start.jd))
        m_host.SetJd(2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0);
    m_status.Init();
    m_status.Load();
    m_clickData.SetStatus(&m_status);
    m_dateObs.SetpCorZnt(&m_host);
    // The site (given, else the host's default) with the zone of the time-zone map there.
    if (start.hasSite)
        m_dateObs.UpdateObsByUI(start.lon, start.lat, start.height);
    else
        m_dateObs.UpdateObsByUI(m_dateObs.GetLongitude(), m_dateObs.GetLatitude(),
                                m_dateObs.GetHeight());
    m_dateObs.UpdateByCorZnt();
}

void ChartState::Changed() {
    m_dateObs.UpdateByCorZnt();
    m_snapshot.reset();
}

std::shared_ptr<const Snapshot> ChartState::Sky() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_snapshot) m_snapshot = Compute();
    return m_snapshot;
}

std::shared_ptr<Snapshot> ChartState::Compute() {
    auto s = std::make_shared<Snapshot>();
    s->jd = m_host.GetJd();
    s->zone = m_dateObs.GetTz();
    s->lon = m_dateObs.GetLongitude();
    s->lat = m_dateObs.GetLatitude();
    s->height = m_dateObs.GetHeight();
    s->city = m_city;
    int y, mo, d, h, mi, sec;
    m_dateObs.GetLST(&y, &mo, &d, &h, &mi, &sec);
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", y, mo, d, h, mi, sec);
    s->time = text;
    s->frame = std::make_shared<sky::HorizonFrame>(s->jd, sky::Site{s->lon, s->lat, s->height});

    for (const auto& b : kBodies) {
        const CString p(b.path);
        auto ask = [&](const wchar_t* property) { return m_host.Execute(L"? " + p + property); };
        SkyItem item{Utf8(p), Utf8(ask(L".JapaneseName")), b.kind};
        item.ra = Number(ask(L".position.RA")) * 15.0;
        item.dec = Number(ask(L".position.DEC"));
        item.alt = Number(ask(L".position.Altitude"));
        item.az = std::fmod(Number(ask(L".position.Azimuth")) + 180.0,
                            360.0);  // the host counts from the south
        item.mag = Number(ask(L".Magnitude"));
        if (item.kind == "sun")
            s->sunAlt = item.alt, s->sunAz = item.az, s->sunRa = item.ra, s->sunDec = item.dec;
        else
            item.phase = Number(ask(L".PhysicalTable.K"));
        if (item.alt > 0) s->items.push_back(std::move(item));
    }
    const sky::ChartCatalogue& fixed = sky::FixedChartObjects();
    for (const sky::ChartObject& o : fixed.objects) {
        double alt, az;
        s->frame->ToHorizon(o.ra, o.dec, &alt, &az);
        if (alt > 0)
            s->items.push_back(
                {Utf8(o.path), Utf8(o.name), Utf8(o.kind), o.mag, alt, az, o.ra, o.dec});
    }
    for (const sky::ChartLabel& l : fixed.labels) {
        double alt, az;
        s->frame->ToHorizon(l.ra, l.dec, &alt, &az);
        if (alt > 0)
            s->labels.push_back({Utf8(l.name), Utf8(l.abbreviation), alt, az, l.ra, l.dec});
    }
    for (const sky::ChartSegment& g : fixed.segments) {
        SkySegment seg{0, 0, g.ra1, g.dec1, 0, 0, g.ra2, g.dec2};
        s->frame->ToHorizon(g.ra1, g.dec1, &seg.alt1, &seg.az1);
        s->frame->ToHorizon(g.ra2, g.dec2, &seg.alt2, &seg.az2);
        if (seg.alt1 > 0 && seg.alt2 > 0) s->segments.push_back(seg);
    }
    return s;
}

ClickTexts ChartState::TextsOf(const CString& path) {
    ClickTexts t;
    t.path = Utf8(path);
    try {
        // The builders format whatever the host answers, zeros for an object it does not
        // know; an object the sky knows has a place.
        if (m_host.Execute(L"? " + path + L".Position.RA").IsEmpty())
            throw NotFound("no object " + t.path);
        // A point of the bare sky has no text while the switch "CnsInfo" is off.
        const CString text = m_clickData.GetText(&m_host, path, 0);
        if (text.IsEmpty() && path != L"Equatorial") throw NotFound("no object " + t.path);
        t.text = Utf8(text);
        t.compact = Utf8(m_clickData.GetText(&m_host, path, 1));
        t.cdf = Utf8(m_clickData.StkToCdf(&m_host, path));
    } catch (CException* e) {
        e->Delete();
        throw NotFound("the sky has no answer for " + t.path);
    }
    return t;
}

ClickTexts ChartState::Click(const std::string& path) {
    CheckPath(path);
    std::lock_guard<std::mutex> lock(m_mutex);
    return TextsOf(CString(path.c_str()));
}

ClickTexts ChartState::ClickAt(const ChartView& view, double x, double y) {
    const std::shared_ptr<const Snapshot> s = Sky();
    const SkyItem* best = nullptr;
    double bestDistance = 8.0;
    for (const SkyItem& item : s->items) {
        double px, py;
        if (view.kind == ChartView::Horizon)
            ProjectHorizon(view, item.alt, item.az, &px, &py);
        else
            ProjectEquatorial(view, item.ra, item.dec, &px, &py);
        const double distance = std::hypot(px - x, py - y);
        if (distance <= bestDistance) bestDistance = distance, best = &item;
    }
    if (best) return Click(best->path);
    double ra, dec;
    if (view.kind == ChartView::Horizon) {
        double alt, az;
        if (!UnprojectHorizon(view, x, y, &alt, &az))
            throw BadRequest("the point lies outside the horizon");
        s->frame->ToJ2000(alt, az, &ra, &dec);
    } else if (!UnprojectEquatorial(view, x, y, &ra, &dec)) {
        throw BadRequest("the point lies outside the chart");
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_host.SetMark(ra / 15.0, dec);  // a bare-sky point's text is never cached
    return TextsOf(L"Equatorial");
}

std::vector<Switch> ChartState::Switches() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Switch> out;
    for (const auto& s : kSwitches) out.push_back({s.name, m_status.*s.field != 0});
    return out;
}

void ChartState::SetSwitch(const std::string& name, bool on) {
    for (const auto& s : kSwitches) {
        if (name != s.name) continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_status.*s.field = on ? 1 : 0;
        m_status.Save();
        m_clickData.ClearCache();  // the texts kept were made with the old switches
        return;
    }
    throw BadRequest("unknown switch '" + name.substr(0, 64) + "'");
}

// A dropped edit (a date the planetarium does not take) leaves the instant where it was.
void ChartState::CheckInstant(double expectedJd) {
    if (std::fabs(m_host.GetJd() - expectedJd) > 61 * kSecond)
        throw BadRequest("the sky does not take that date");
}

void ChartState::SetNow() {
    const double jd = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    tagADATE date{};
    JdToDate2(jd, &date);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dateObs.UpdateDateByUI(&date);
    Changed();
}

void ChartState::Step(const std::string& step) {
    size_t at = 0;
    const int sign = !step.empty() && step[0] == '-' ? -1 : 1;
    Expect(step, &at, "+-");
    const long n = Digits(step, &at, 6);
    if (n < 0 || n > 100000 || at + 1 != step.size() || step[at] == 0 ||
        !std::strchr("mhd", step[at]))
        throw BadRequest("step: a signed whole number up to 100000 and m, h or d (\"+1d\")");
    tagSPAN span{};
    const char unit = step[at];
    (unit == 'm'   ? span.minutes
     : unit == 'h' ? span.hours
                   : span.days) = static_cast<int>(sign * n);
    const double days = sign * n * (unit == 'm' ? 1.0 / 1440 : unit == 'h' ? 1.0 / 24 : 1.0);
    std::lock_guard<std::mutex> lock(m_mutex);
    const double expected = m_host.GetJd() + days;
    m_dateObs.UpdateDateByUI(&span, 0);
    Changed();
    CheckInstant(expected);
}

void ChartState::SetLocalTime(const std::string& text) {
    size_t at = 0;
    tagADATE d{};
    long v[6] = {-1, -1, -1, -1, -1, 0};
    const char* separators[] = {"-", "-", " T", ":", ":"};
    bool ok = text.size() <= 32;
    for (int i = 0; ok && i < 6; ++i) {
        if (i == 5 && at == text.size()) break;  // the seconds may be left out
        if (i > 0 && !Expect(text, &at, separators[i - 1]))
            ok = false;
        else if ((v[i] = Digits(text, &at, i == 0 ? 4 : 2)) < 0)
            ok = false;
    }
    ok = ok && at == text.size() && v[0] >= 1;
    if (!ok) throw BadRequest("time: \"YYYY-MM-DD HH:MM[:SS]\" (years 1 to 9999)");
    d.year = static_cast<int>(v[0]), d.month = static_cast<int>(v[1]),
    d.day = static_cast<int>(v[2]);
    d.hour = static_cast<int>(v[3]), d.minute = static_cast<int>(v[4]),
    d.second = static_cast<double>(v[5]);
    std::lock_guard<std::mutex> lock(m_mutex);
    d.timezone = m_dateObs.GetTz();
    if (const std::string why =
            CivilTimeProblem(d.year, d.month, d.day, d.hour, d.minute, d.second, d.timezone);
        !why.empty())
        throw BadRequest("time: no such day or time ('" + text + "': " + why + ")");
    tagADATE probe = d;
    const double expected = GetJd(&probe);
    m_dateObs.UpdateDateByUI(&d);
    Changed();
    CheckInstant(expected);
}

void ChartState::SetSite(double lon, double lat, double height, bool keepHeight) {
    if (!std::isfinite(lon) || lon < -180 || lon > 360)
        throw BadRequest("lon: degrees east, -180 to 360");
    if (!std::isfinite(lat) || lat < -90 || lat > 90)
        throw BadRequest("lat: degrees north, -90 to 90");
    if (!keepHeight && (!std::isfinite(height) || height < -500 || height > 100000))
        throw BadRequest("height: metres, -500 to 100000");
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dateObs.UpdateObsByUI(lon > 180 ? lon - 360 : lon, lat,
                            keepHeight ? CZVDateObs::KEEP_HEIGHT : height);
    m_city.clear();
    Changed();
}

void ChartState::SetCity(const std::string& name) {
    for (const City& c : Cities()) {
        if (c.zone != name && c.name != name) continue;
        SetSite(c.lon, c.lat, 0.0, true);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_city = c.zone;
        m_snapshot.reset();
        return;
    }
    throw BadRequest("unknown city '" + name.substr(0, 64) + "' (see /api/cities)");
}

const std::vector<City>& ChartState::Cities() {
    static const std::vector<City> cities = [] {
        std::vector<City> out;
        std::ifstream in(sky::ZoneFolder() + "/zone.tab");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            std::string country, place, zone;
            if (!std::getline(fields, country, '\t') || !std::getline(fields, place, '\t') ||
                !std::getline(fields, zone, '\t'))
                continue;
            const size_t split = place.find_first_of("+-", 1);
            if (split == std::string::npos) continue;
            const double lat = TabAngle(place.substr(0, split)),
                         lon = TabAngle(place.substr(split));
            if (!std::isfinite(lat) || !std::isfinite(lon)) continue;
            std::string name = zone.substr(zone.rfind('/') + 1);
            for (char& c : name)
                if (c == '_') c = ' ';
            out.push_back({name, zone, lon, lat});
        }
        return out;
    }();
    return cities;
}

std::string ChartState::TimeZoneMapBmp() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_tzmap.empty()) return m_tzmap;
    CTimeZone tz;
    tz.Create(nullptr);
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/zcmcom-tzmap-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) throw std::runtime_error("no temporary file for the map");
    close(fd);
    if (tz.GetMap()->Write(CString(name.c_str()))) {
        std::ifstream in(name, std::ios::binary);
        m_tzmap.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    unlink(name.c_str());
    if (m_tzmap.empty()) throw std::runtime_error("the time-zone map could not be written");
    return m_tzmap;
}

}  // namespace serve
