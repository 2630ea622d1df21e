// SPDX-License-Identifier: LGPL-3.0-or-later
// CSkyHost: command parsing, time, site and settings answers, and the statements.
#include "sky/SkyHost.h"

#include <cmath>
#include <algorithm>
#include <iterator>
#include <cwctype>
#include <mutex>

#include "dirode/Registry.h"
#include "platform/Registry.h"
#include "draw/TimeZone.h"
#include "sky/Answer.h"
#include "host/HostText.h"
#include "sky/Source.h"
#include "sky/UnixTime.h"
#include "sky/catalogs/Catalog.h"
#include "sky/bodies/Observer.h"
#include "zvacl/zvacl.h"

namespace {

using namespace host;  // how hosts read commands and write dates

CString Number(double v, const wchar_t* format = L"%.10g") { return sky::Answer(v, format); }

CString Truth(bool b) { return b ? L"TRUE" : L"FALSE"; }

// Whether a path may be one the host answers itself: the clock ("Time.JD", "UT(Time.Hour)"),
// the site ("Location.Latitude") and the settings ("View.Projection", "Star.Catalog"); the
// sources' objects are asked no more.
bool HostPath(const CString& q) {
    static const wchar_t* const kOwn[] = {L"time",  L"ut(",      L"lst(", L"location",
                                          L"view.", L"measure.", L"star."};
    return std::any_of(std::begin(kOwn), std::end(kOwn),
                       [&](const wchar_t* own) { return sky::HasPrefix(q, own); });
}

// The bundled catalogue, read once per process and shared by the hosts.
const std::shared_ptr<sky::Catalog>& Bundled() {
    static std::once_flag once;
    static std::shared_ptr<sky::Catalog> bundled;
    std::call_once(once, [] {
        bundled = std::make_shared<sky::Catalog>();
        const std::string path = CSkyHost::DefaultCatalogPath();
        if (!path.empty()) bundled->Load(path.c_str());
    });
    return bundled;
}

}  // namespace

CSkyHost::CSkyHost(double jdUt) : m_jd(jdUt) { LoadSite(); }

void CSkyHost::Reset(double jdUt) {
    // The member initialisers' values, then what the constructor does.
    m_jd = jdUt;
    m_tz = 9.0;
    m_zoneName.Empty();
    m_lon = 139.745, m_lat = 35.654, m_height = 40.0;
    m_locationBody.Empty();
    m_onSurface = false;
    m_mark[0] = m_mark[1] = 0.0;
    m_autoMag = 6.5, m_fixedMagMin = -2.0, m_fixedMagMax = 6.5;
    m_autoMagLimit = 1;
    m_lock = TimeLock{};
    m_statements.clear();
    m_next = NextEvents{};
    if (m_catalog && m_catalog != Bundled()) m_catalog->Truncate(*Bundled());
    m_sources.clear();  // they keep what statements set (frames)
    Changed();
    LoadSite();
}

CSkyHost::CSkyHost() : CSkyHost(sky::JdNow()) {}

CSkyHost::~CSkyHost() = default;

void CSkyHost::Changed() {
    for (auto& source : m_sources) source->Changed();
}

std::vector<std::unique_ptr<sky::Source>>& CSkyHost::Sources() {
    if (m_sources.empty())
        for (const sky::RegisteredSource& r : sky::RegisteredSources())
            m_sources.push_back(r.make());
    return m_sources;
}

sky::Context CSkyHost::At() {
    sky::Context at;
    at.jdUt = m_jd;
    at.site = sky::Site{m_lon, m_lat, m_height};
    at.timezone = m_tz;
    // A path of no known body leaves the observer on the Earth.
    if (!m_locationBody.IsEmpty()) sky::ObserverBody(m_locationBody, &at.observer);
    at.onSurface = m_onSurface;
    at.catalog = &Cat();
    at.mark = m_mark;
    return at;
}

CString CSkyHost::QuerySources(const CString& q) {
    const sky::Context at = At();
    CString answer;
    // The sources are made in the registry's order; each is asked only for its own paths.
    const std::vector<sky::RegisteredSource>& registered = sky::RegisteredSources();
    std::vector<std::unique_ptr<sky::Source>>& sources = Sources();
    for (size_t i = 0; i < sources.size(); ++i)
        if (registered[i].Asks(q) && sources[i]->Answer(q, at, &answer)) return answer;
    return CString();
}

void CSkyHost::SetJd(double jdUt) {
    if (!std::isfinite(jdUt)) return;
    m_jd = jdUt;
    FollowZone();
    Changed();
}

namespace {

const wchar_t kSettingsKey[] = L"Default";
const wchar_t* const kSiteValues[3] = {L"Location.Longitude", L"Location.Latitude",
                                       L"Location.Altitude"};

// A stored number: the whole text, blanks aside, is one finite number.
bool StoredNumber(const CString& name, double* out) {
    CString text;
    return CRegistry::Read(kSettingsKey, name, CString(), &text) && ReadNumber(text, out, true);
}

}  // namespace

double CSkyHost::ZoneAt(double longitude, double latitude) {
    return CTimeZone::GetSharedTimeZone(longitude < 0.0 ? longitude + 360.0 : longitude, latitude);
}

bool CSkyHost::LoadSite() {
    double lon = 0.0, lat = 0.0, height = 0.0;
    if (!StoredNumber(kSiteValues[0], &lon) || !StoredNumber(kSiteValues[1], &lat)) return false;
    if (!StoredNumber(kSiteValues[2], &height)) height = 0.0;
    if (std::fabs(lon) > 360.0 || std::fabs(lat) > 90.0 || std::fabs(height) > 1e5) return false;
    SetSite(lon, lat, height);
    SetTimezone(ZoneAt(m_lon, m_lat));
    SetZoneName(ZoneNameAt(m_lon, m_lat));
    return true;
}

bool CSkyHost::SaveSite() const {
    // The three values are one transaction: a reader, or a save killed half-way, never
    // mixes the longitude of one site with the latitude of another.
    CRegistryBatch batch(HKEY_CURRENT_USER);
    const double values[3] = {m_lon, m_lat, m_height};
    for (int i = 0; i < 3; ++i) {
        CString text;
        text.Format(i < 2 ? L"%.6f" : L"%.1f", values[i]);
        if (!CRegistry::Write(kSettingsKey, kSiteValues[i], text)) {
            batch.Cancel();
            return false;
        }
    }
    return batch.Commit() == ERROR_SUCCESS;
}

void CSkyHost::SetSite(double longitude, double latitude, double height) {
    if (!std::isfinite(longitude) || !std::isfinite(latitude) || !std::isfinite(height)) return;
    m_lon = longitude > 180.0 ? longitude - 360.0 : longitude;
    m_lat = std::fmax(-90.0, std::fmin(90.0, latitude));
    m_height = height;
    m_locationBody.Empty();
    Changed();
}

void CSkyHost::SetTimezone(double hours) {
    if (!std::isfinite(hours)) return;
    m_tz = hours;
    m_zoneName.Empty();
}

void CSkyHost::SetMark(double raHours, double decDeg) {
    m_mark[0] = raHours;
    m_mark[1] = decDeg;
}

const sky::Catalog& CSkyHost::Cat() {
    if (!m_catalog) m_catalog = Bundled();
    return *m_catalog;
}

int CSkyHost::LoadCatalog(const char* path) {
    // The first one copies the shared catalogue; later ones add to the host's copy.
    if (!m_catalog || m_catalog == Bundled()) m_catalog = std::make_shared<sky::Catalog>(Cat());
    const int count = m_catalog->Load(path);
    m_next = NextEvents{};
    return count;
}

CString CSkyHost::Execute(LPCTSTR command) {
    const wchar_t* start = command ? command : L"";
    // A query after ASCII blanks is read in place, without a trimmed copy first.
    while (*start == L' ' || (*start >= L'\t' && *start <= L'\r')) ++start;
    if (*start == L'?') return AnswerCanonical(CanonicalQuery(start + 1));
    CString text(start);
    text.TrimLeft();
    if (text.GetLength() >= 1 && text[0] == L'?') return Query(text.Mid(1));
    for (const CString& part : SplitStatements(text)) Statement(part);
    return CString();
}

CString CSkyHost::Query(const CString& expression) {
    return AnswerCanonical(CanonicalQuery(expression));
}

CString CSkyHost::AnswerCanonical(const CString& q) {
    if (q.IsEmpty()) return CString();
    CString answer = QueryDerived(q);
    if (answer.IsEmpty() && HostPath(q)) {
        answer = QueryTime(q);
        if (answer.IsEmpty()) answer = QueryLocation(q);
        if (answer.IsEmpty()) answer = QuerySettings(q);
    }
    if (answer.IsEmpty()) answer = QuerySources(q);
    return answer;
}

CString CSkyHost::QueryTime(const CString& q) {
    if (q == L"time.lock") return Truth(m_lock.locked != 0);
    return ClockAnswer(q, m_jd, m_tz, m_lon);
}

CString CSkyHost::QueryLocation(const CString& q) {
    if (!sky::HasPrefix(q, L"location")) return CString();
    if (q == L"location") {
        if (!m_locationBody.IsEmpty()) return m_locationBody;
        CString s;
        s.Format(L"Location(\"Site\", %.6f, %.6f, %.1f)", m_lon, m_lat, m_height);
        return s;
    }
    if (q == L"location.longitude") return Number(m_lon, L"%.8f");
    if (q == L"location.latitude") return Number(m_lat, L"%.8f");
    if (q == L"location.altitude") return Number(m_height, L"%.1f");
    return CString();
}

CString CSkyHost::QuerySettings(const CString& q) {
    if (q == L"view.projection") return L"Sky";
    if (q == L"measure.visible" || q == L"measure.connecting") return Truth(false);
    if (q == L"star.automagnitudelimit") return Truth(m_autoMagLimit != 0);
    if (q == L"star.automagnitudelimit.minimum") return Number(m_autoMag);
    if (q == L"star.fixedmagnitudelimit.minimum") return Number(m_fixedMagMin);
    if (q == L"star.fixedmagnitudelimit.maximum") return Number(m_fixedMagMax);
    if (q == L"star.catalog" || q == L"star.catalog.switch.catalog") return L"Hipparcos";
    if (q == L"star.catalog.switch") return Truth(false);
    return CString();
}

void CSkyHost::Statement(const CString& statement) {
    m_statements.push_back(statement);
    Assignment assignment;
    if (!ReadAssignment(statement, &assignment))
        return;  // "Show Sky", "Calc Sky": nothing to redraw here
    const CString &lhs = assignment.lhs, &rhs = assignment.rhs, &value = assignment.value;
    double v = 0.0;
    if (lhs == L"time" || lhs == L"time.jd") {
        if (host::TimeStatementJd(assignment, &v)) SetJd(v);
    } else if (lhs == L"time.timezone") {
        if (ReadNumber(rhs, &v)) SetTimezone(v);
    } else if (sky::HasPrefix(lhs, L"time.lock")) {
        const bool on = value == L"true";
        if (lhs == L"time.lock")
            m_lock.locked = on;
        else if (lhs == L"time.lock.rise" && on)
            m_lock.event = 1;
        else if (lhs == L"time.lock.set" && on)
            m_lock.event = 2;
        else if (lhs == L"time.lock.offset.bytheminute" && on)
            m_lock.byDegree = 0;
        else if (lhs == L"time.lock.offset.bythedegree" && on)
            m_lock.byDegree = 1;
        else if (lhs == L"time.lock.offset" && ReadNumber(rhs, &v) && std::fabs(v) < 1e8)
            m_lock.offset = static_cast<int>(v);  // a whole number of minutes or degrees
    } else if (lhs == L"location.longitude" || lhs == L"location.latitude" ||
               lhs == L"location.altitude") {
        if (!ReadNumber(rhs, &v)) return;
        double lon = m_lon, lat = m_lat, h = m_height;
        (lhs == L"location.longitude" ? lon : lhs == L"location.latitude" ? lat : h) = v;
        const CString body = m_locationBody;
        SetSite(lon, lat, h);
        m_locationBody = body;
    } else if (lhs == L"location") {
        // "Location(lon, lat, h)" on the Earth, a body's path, or a body's path with a site.
        const std::vector<double> a = CallArguments(rhs);
        CString body = rhs;
        const int open = body.Find(L'(');
        if (open >= 0) body = body.Left(open);
        body.Trim();
        // "Location" is the site's own function; a site on the Earth keeps no body.
        sky::Body on = sky::Body::Earth;
        const bool site = body.CompareNoCase(L"Location") == 0 ||
                          (sky::ObserverBody(body, &on) && on == sky::Body::Earth);
        if (a.size() >= 3) SetSite(a[0], a[1], a[2]);
        m_locationBody = site ? CString() : body;
        m_onSurface = a.size() >= 3;  // a body's path alone puts the observer at its centre
        Changed();
    } else if (lhs == L"star.automagnitudelimit") {
        m_autoMagLimit = value == L"true";
    } else if (lhs == L"star.automagnitudelimit.minimum") {
        if (ReadNumber(rhs, &v)) m_autoMag = v;
    } else if (lhs == L"star.fixedmagnitudelimit.minimum") {
        if (ReadNumber(rhs, &v)) m_fixedMagMin = v;
    } else if (lhs == L"star.fixedmagnitudelimit.maximum") {
        if (ReadNumber(rhs, &v)) m_fixedMagMax = v;
    } else {
        for (auto& source : Sources())
            if (source->Statement(lhs, rhs)) break;
    }
}
