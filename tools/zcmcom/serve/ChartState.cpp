// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/ChartState.h"

#include "serve/Catalogue.h"
#include "serve/CivilTime.h"
#include "serve/TownList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "draw/TimeZone.h"
#include "sky/Towns.h"
#include "sky/TzDatabase.h"
#include "sky/UnixTime.h"
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

// The position angle (degrees, from the north through the east) of the bright limb of a
// body at apparent (ra, dec) lit by the Sun at (sunRa, sunDec), degrees.
double BrightLimb(double ra, double dec, double sunRa, double sunDec) {
    const double r = M_PI / 180.0, d = (sunRa - ra) * r;
    const double pa = std::atan2(std::cos(sunDec * r) * std::sin(d),
                                 std::sin(sunDec * r) * std::cos(dec * r) -
                                     std::cos(sunDec * r) * std::sin(dec * r) * std::cos(d)) /
                      r;
    return pa < 0 ? pa + 360.0 : pa;
}

}  // namespace

std::string Utf8(const CString& text) { return text.ToUtf8(); }

ChartState::ChartState(const StartOptions& start)
    : m_host(std::isfinite(start.jd) ? start.jd : 0.0), m_camera(start.camera) {
    if (!std::isfinite(start.jd)) m_host.SetJd(sky::JdNow());
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
    if (start.zone.empty() || !m_host.SetZoneName(CString(start.zone.c_str())))
        m_host.SetZoneName(CSkyHost::ZoneNameAt(m_dateObs.GetLongitude(), m_dateObs.GetLatitude()));
    m_town = start.town;
    m_dateObs.UpdateByCorZnt();
    m_snapshot = Compute();  // the first sky (tables opened, places made) before any client waits
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
    s->lon = m_dateObs.GetLongitude();
    s->lat = m_dateObs.GetLatitude();
    s->height = m_dateObs.GetHeight();
    s->city = m_city;
    s->town = m_town;
    // The site's clock: its zone's offset at the instant (the texts' zone too).
    s->clock = ZoneAtInstant(Utf8(m_host.GetZoneName()), s->jd, m_host.GetTimezone());
    s->zone = s->clock.offset;
    tagADATE local{};
    JdToDate2(s->jd + s->zone / 24.0 + 0.5 * kSecond, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.year, local.month,
                  local.day, local.hour, local.minute, static_cast<int>(local.second));
    s->time = text;
    s->frame = std::make_shared<sky::HorizonFrame>(s->jd, sky::Site{s->lon, s->lat, s->height});
    s->stars = StarFrameAt(s->jd, s->lon, s->lat, s->height);

    for (const auto& b : kBodies) {
        const CString p(b.path);
        auto ask = [&](const wchar_t* property) {
            return Number(m_host.Execute(L"? " + p + property));
        };
        SkyBody body{Utf8(p), Utf8(m_host.Execute(L"? " + p + L".JapaneseName")), b.kind};
        body.ra2000 = ask(L".position.RA") * 15.0;
        body.dec2000 = ask(L".position.DEC");
        body.ra = ask(L".position.EquatorialDateApp.RA") * 15.0;
        body.dec = ask(L".position.EquatorialDateApp.DEC");
        const double airless = ask(L".position.Altitude");
        body.alt = Refracted(airless);
        body.az =
            std::fmod(ask(L".position.Azimuth") + 180.0, 360.0);  // the host counts from the south
        body.mag = ask(L".Magnitude");
        const double dm = ask(L".dm");
        body.diam = body.kind == "sun" || body.kind == "moon" ? dm * 3600.0 : dm;
        body.phase = body.kind == "sun" ? NAN : ask(L".PhysicalTable.K");
        body.limb = NAN;
        if (body.kind == "sun") {
            s->sunAlt = airless, s->sunAz = body.az, s->sunRa = body.ra2000,
            s->sunDec = body.dec2000;
            s->sunApparentRa = body.ra, s->sunApparentDec = body.dec;
        } else {
            body.limb = BrightLimb(body.ra, body.dec, s->sunApparentRa, s->sunApparentDec);
        }
        if (airless > 0)
            s->items.push_back({body.path, body.name, body.kind, body.mag, airless, body.az,
                                body.ra2000, body.dec2000, body.phase});
        s->bodies.push_back(std::move(body));
    }
    const sky::ChartCatalogue& fixed = sky::FixedChartObjects();
    for (const sky::ChartObject& o : fixed.objects) {
        SkyItem item{Utf8(o.path), Utf8(o.name), Utf8(o.kind), o.mag, 0, 0, o.ra, o.dec};
        // Stars where the page puts them from the catalogue; the rest from its J2000 place.
        double ra = o.ra, dec = o.dec, pmRa = NAN, pmDec = NAN;
        CatalogueStarPlace(item.path, &ra, &dec, &pmRa, &pmDec);
        StarHorizon(s->stars, ra, dec, pmRa, pmDec, &item.alt, &item.az);
        if (item.alt > 0) s->items.push_back(std::move(item));
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
    if (const std::string why = sky::NameTextError(path); !why.empty())
        throw BadRequest("path: " + why);
    std::lock_guard<std::mutex> lock(m_mutex);
    CString p(path.c_str());
    const CString ra = m_host.Execute(L"? " + p + L".Position.RA");
    if (ra.IsEmpty() || ra == L"*") {
        // A name, as the command line's click takes it; an asterism names no one object.
        for (const auto& match : Index().Named(p))
            if (match.entry->kind.Left(9) != L"asterism ") {
                p = match.entry->path;
                break;
            }
    }
    return TextsOf(p);
}

const sky::NameIndex& ChartState::Index() {
    if (!m_index)
        m_index = std::make_unique<sky::NameIndex>(sky::NameIndex::ForSky(m_host.GetJd()));
    return *m_index;
}

SearchAnswer ChartState::Search(const std::string& text, size_t limit) {
    if (const std::string why = sky::NameTextError(text); !why.empty())
        throw BadRequest("q: " + why);
    SearchAnswer answer;
    std::lock_guard<std::mutex> lock(m_mutex);
    const sky::NameIndex& index = Index();
    const CString wide(text.c_str());
    for (const auto& match : index.Find(wide)) {
        if (answer.results.size() >= limit) break;
        const sky::Entry& e = *match.entry;
        SearchHit hit{Utf8(e.path), Utf8(match.name), Utf8(e.kind), e.magnitude, NAN, NAN, NAN,
                      NAN};
        auto ask = [&](const wchar_t* property) {
            return Number(m_host.Execute(L"? " + e.path + property));
        };
        if (e.kind.Left(9) != L"asterism ") {
            hit.ra2000 = ask(L".position.RA") * 15.0;
            hit.dec2000 = ask(L".position.DEC");
            hit.alt = Refracted(ask(L".position.Altitude"));
            hit.az = std::fmod(ask(L".position.Azimuth") + 180.0, 360.0);
            if (!std::isfinite(hit.mag)) hit.mag = ask(L".Magnitude");
        }
        answer.results.push_back(std::move(hit));
    }
    if (answer.results.empty())
        for (const CString& name : index.Closest(wide, 5)) answer.closest.push_back(Utf8(name));
    return answer;
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
    const double jd = sky::JdNow();
    tagADATE date{};
    JdToDate2(jd, &date);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dateObs.UpdateDateByUI(&date);
    Changed();
}

void ChartState::SetInstant(double jd) {
    tagADATE date{};
    JdToDate2(jd, &date);
    m_dateObs.UpdateDateByUI(&date);
    Changed();
    CheckInstant(jd);
}

void ChartState::SetJd(double jd) {
    if (!std::isfinite(jd) || jd < 0 || jd > 5373484.5)
        throw BadRequest("jd: a Julian Day from 0 to 5373484.5");
    std::lock_guard<std::mutex> lock(m_mutex);
    SetInstant(jd);
}

void ChartState::Step(const std::string& step) {
    size_t at = 0;
    const int sign = !step.empty() && step[0] == '-' ? -1 : 1;
    Expect(step, &at, "+-");
    const long n = Digits(step, &at, 6);
    const std::string unit = at < step.size() ? step.substr(at) : std::string();
    if (n < 0 || n > 100000 || (unit != "m" && unit != "h" && unit != "d" && unit != "sd"))
        throw BadRequest(
            "step: a signed whole number up to 100000 and m, h, d or sd (\"+1d\", \"-1sd\")");
    std::lock_guard<std::mutex> lock(m_mutex);
    if (unit == "sd") return SetInstant(m_host.GetJd() + sign * n * 0.99726956633);
    tagSPAN span{};
    (unit == "m"   ? span.minutes
     : unit == "h" ? span.hours
                   : span.days) = static_cast<int>(sign * n);
    const double days = sign * n * (unit == "m" ? 1.0 / 1440 : unit == "h" ? 1.0 / 24 : 1.0);
    const double expected = m_host.GetJd() + days;
    m_dateObs.UpdateDateByUI(&span, 0);
    Changed();
    CheckInstant(expected);
}

void ChartState::SetLocalTime(const std::string& text) {
    size_t at = 0;
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
    tagADATE d{static_cast<int>(v[0]),
               static_cast<int>(v[1]),
               static_cast<int>(v[2]),
               static_cast<int>(v[3]),
               static_cast<int>(v[4]),
               static_cast<double>(v[5]),
               0.0};
    std::lock_guard<std::mutex> lock(m_mutex);
    // The clock time as if it were UT, then read on the site's clock.
    tagADATE clock = d;
    if (const std::string why = CivilTimeProblem(d.year, d.month, d.day, d.hour, d.minute,
                                                 std::min(d.second, 59.0), 0.0);
        !why.empty())
        throw BadRequest("time: no such day or time ('" + text + "': " + why + ")");
    double offset = 0.0;
    const double jd =
        ClockTimeToJd(GetJd(&clock), Utf8(m_host.GetZoneName()), m_dateObs.GetTz(), &offset);
    if (const std::string why =
            CivilTimeProblem(d.year, d.month, d.day, d.hour, d.minute, d.second, offset);
        !why.empty())
        throw BadRequest("time: no such day or time ('" + text + "': " + why + ")");
    SetInstant(jd);
}

void ChartState::MoveTo(double lon, double lat, double height, bool keepHeight,
                        const std::string& zone, const std::string& town) {
    if (!std::isfinite(lon) || lon < -180 || lon > 360)
        throw BadRequest("lon: degrees east, -180 to 360");
    if (!std::isfinite(lat) || lat < -90 || lat > 90)
        throw BadRequest("lat: degrees north, -90 to 90");
    if (!keepHeight && (!std::isfinite(height) || height < -500 || height > 100000))
        throw BadRequest("height: metres, -500 to 100000");
    if (lon > 180) lon -= 360;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dateObs.UpdateObsByUI(lon, lat, keepHeight ? CZVDateObs::KEEP_HEIGHT : height);
    // The town's zone, else that of the nearest town agreeing with the map (the command
    // line's rule); none: the map's standard offset stays.
    if (zone.empty() || !m_host.SetZoneName(CString(zone.c_str())))
        m_host.SetZoneName(CSkyHost::ZoneNameAt(lon, lat));
    m_town = town;
    m_city.clear();
    Changed();
}

void ChartState::SetSite(double lon, double lat, double height, bool keepHeight) {
    MoveTo(lon, lat, height, keepHeight, std::string(), std::string());
}

void ChartState::SetTown(const std::string& text, bool keepHeight) {
    if (const std::string why = sky::NameTextError(text); !why.empty())
        throw BadRequest("town: " + why);
    std::vector<std::string> closest;
    const std::vector<sky::Town> towns = sky::TownsNamed(text, &closest);
    if (towns.size() != 1) {
        std::string list;
        for (const std::string& c : closest) list += (list.empty() ? "" : ", ") + c;
        for (size_t i = 0; i < towns.size() && i < 6; ++i)
            list += (i ? "; " : "") + towns[i].Described();
        throw BadRequest(std::string(towns.empty() ? "unknown town '" : "several towns named '") +
                         text.substr(0, 64) + "'" + (list.empty() ? "" : " (" + list + ")"));
    }
    const sky::Town& t = towns[0];
    MoveTo(t.lon, t.lat, 0.0, keepHeight, t.zone, t.name + "," + t.country);
}

void ChartState::SetZone(const std::string& zone, bool keepHeight) {
    const TownRow* t = zone.size() <= 64 && sky::FindZone(zone) ? MainTown(zone) : nullptr;
    if (!t) throw BadRequest("zone: no town of the zone '" + zone.substr(0, 64) + "'");
    MoveTo(t->lon, t->lat, 0.0, keepHeight, zone, t->Label());
}

void ChartState::SetNearest(double lon, double lat) {
    if (!std::isfinite(lon) || lon < -180 || lon > 360 || !std::isfinite(lat) || lat < -90 ||
        lat > 90)
        throw BadRequest("nearest: lon -180 to 360, lat -90 to 90");
    const TownRow* t = NearestTown(lon > 180 ? lon - 360 : lon, lat);
    if (!t) throw BadRequest("nearest: the town list is missing");
    MoveTo(t->lon, t->lat, 0.0, false, t->zone, t->Label());
}

void ChartState::SetCity(const std::string& name) {
    if (name.find('/') != std::string::npos)
        SetZone(name, true);
    else
        SetTown(name, true);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_city = Utf8(m_host.GetZoneName());
    m_snapshot.reset();
}

const std::vector<City>& ChartState::Cities() {
    static const std::vector<City> cities = [] {
        std::vector<City> out;
        std::vector<std::string> seen;
        for (const TownRow& t : NamedTowns()) {
            if (std::find(seen.begin(), seen.end(), t.zone) != seen.end()) continue;
            seen.push_back(t.zone);
            const TownRow* main = MainTown(t.zone);
            if (main && sky::FindZone(t.zone))
                out.push_back({main->name, t.zone, main->lon, main->lat});
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
