// SPDX-License-Identifier: LGPL-3.0-or-later
// CStellariumHost: the HTTP conversation with Stellarium, the cache of its answers, the
// clock and site answers and the statements.
#include "hosts/stellarium/StellariumHost.h"

#include <httplib.h>

#include <strings.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cwctype>
#include <map>
#include <mutex>
#include <thread>

#include "hosts/stellarium/StellariumJson.hpp"
#include "sky/Answer.h"
#include "host/HostText.h"
#include "zvacl/zvacl.h"

namespace {

using namespace host;  // how hosts read commands and write dates
using stellarium::Field;
using stellarium::Number;
using stellarium::Text;
CString Num(double v, const wchar_t* format = L"%.10g") { return sky::Answer(v, format); }

using Clock = std::chrono::steady_clock;
using nlohmann::json;

// The largest answer taken: Stellarium's are a few kilobytes.
constexpr size_t kMaxBody = 4u << 20;

std::string Fixed(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

// Parameters as an URL query or form body (RFC 3986 unreserved characters kept).
std::string FormOf(const httplib::Params& params) {
    std::string out;
    for (const auto& [key, value] : params) {
        if (!out.empty()) out += '&';
        for (const std::string* part : {&key, &value}) {
            for (const unsigned char c : *part) {
                if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
                    out += static_cast<char>(c);
                } else {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, "%%%02X", c);
                    out += hex;
                }
            }
            if (part == &key) out += '=';
        }
    }
    return out;
}

// Cuts an exchange off at its deadline: the client's socket is shut down from this thread,
// so a peer that trickles its answer, or never ends it, cannot hold the caller (the
// client's own time-outs count from the last byte received).
class Watchdog {
public:
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable()) m_thread.join();
    }
    void Arm(httplib::Client* client, Clock::time_point deadline) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
        m_client = client, m_deadline = deadline, m_fired = false;
        m_wake.notify_one();
    }
    // Whether the deadline cut the exchange off.
    bool Disarm() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_client = nullptr;
        return m_fired;
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_quit) {
            if (!m_client) {
                m_wake.wait(lock);
            } else if (m_wake.wait_until(lock, m_deadline) == std::cv_status::timeout && m_client &&
                       Clock::now() >= m_deadline) {
                m_client->stop();
                m_client = nullptr, m_fired = true;
            }
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    httplib::Client* m_client = nullptr;
    Clock::time_point m_deadline;
    bool m_fired = false, m_quit = false;
};

}  // namespace

struct CStellariumHost::Impl {
    CString url;
    double timeout = 2.0;
    double clockPeriod = 0.5;
    std::unique_ptr<httplib::Client> http;
    Watchdog watchdog;

    // Stellarium's state as last read.
    bool known = false;
    Clock::time_point readAt;
    double jd = 0.0, stellariumZone = 0.0, lon = 0.0, lat = 0.0, height = 0.0;
    std::string planet = "Earth";
    // The zone the library set (NaN: Stellarium's own).
    double zone = NAN;
    // Object infos of the instant and site above, by Stellarium name (null: unknown there).
    std::map<std::string, json> infos;
    // Settings kept for the queries that read them back.
    double autoMag = 6.5, fixedMagMin = -2.0, fixedMagMax = 6.5;
    bool autoMagLimit = true, timeLock = false;

    [[noreturn]] void Fail(const std::string& what) const {
        const CString message = L"Stellarium at " + url + L": " + CString(what.c_str());
        AfxThrowOleDispatchException(0, message);
    }

    // Runs a public call: whatever fails inside (the HTTP client, memory, a library
    // exception) leaves as the host exception naming the URL.
    template <class Call>
    auto Guarded(Call call) -> decltype(call()) {
        try {
            return call();
        } catch (const std::exception& e) {
            watchdog.Disarm();
            http.reset();
            Fail(e.what());
        }
    }

    httplib::Client& Http() {
        if (!http) {
            std::string base = url.ToUtf8();
            while (!base.empty() && base.back() == '/') base.pop_back();
            if (base.size() < 8 || strncasecmp(base.c_str(), "http://", 7) != 0)
                Fail("not an http:// URL");
            http = std::make_unique<httplib::Client>(base);
            if (!http->is_valid()) Fail("not an http:// URL");
            const auto seconds = static_cast<time_t>(timeout);
            const auto micro = static_cast<time_t>((timeout - static_cast<double>(seconds)) * 1e6);
            http->set_connection_timeout(seconds, micro);
            http->set_read_timeout(seconds, micro);
            http->set_write_timeout(seconds, micro);
            http->set_keep_alive(true);
        }
        return *http;
    }

    // A failed exchange in words (the client's own names are one word: "Connection").
    std::string Why(httplib::Error error) const {
        switch (error) {
            case httplib::Error::Connection:
                return "cannot connect (nothing listens there, or the host cannot be reached)";
            case httplib::Error::ConnectionTimeout:
                return "no connection within " + Fixed(timeout, 1) + " s";
            case httplib::Error::Read:
                return "the connection closed before the whole answer";
            case httplib::Error::Write:
                return "the connection closed while the request was sent";
            default:
                return "the request failed (" + httplib::to_string(error) + ")";
        }
    }

    // The body of a successful answer, the whole exchange within the time-out and the body
    // within kMaxBody; an HTTP status other than 200 is returned in *status when asked
    // for, else it fails as a broken connection does.
    std::string Call(bool post, const std::string& path, const httplib::Params& params,
                     int* status = nullptr) {
        httplib::Client& client = Http();
        httplib::Request request;
        request.method = post ? "POST" : "GET";
        request.path = path;
        const std::string form = FormOf(params);
        if (post) {
            request.body = form;
            request.set_header("Content-Type", "application/x-www-form-urlencoded");
        } else if (!form.empty()) {
            request.path += "?" + form;
        }
        std::string body;
        bool tooLarge = false;
        request.content_receiver = [&](const char* data, size_t size, uint64_t, uint64_t) {
            if (body.size() + size > kMaxBody) {
                tooLarge = true;
                return false;
            }
            body.append(data, size);
            return true;
        };
        watchdog.Arm(&client, Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                 std::chrono::duration<double>(timeout)));
        httplib::Result r = client.send(request);
        const bool late = watchdog.Disarm();
        if (!r) {
            http.reset();  // a fresh connection next time (Stellarium may have restarted)
            Fail(path + ": " +
                 (tooLarge ? "an answer of more than " + std::to_string(kMaxBody >> 20) + " MB"
                  : late   ? "no whole answer within " + Fixed(timeout, 1) + " s"
                           : Why(r.error())));
        }
        if (status) *status = r->status;
        if (r->status != 200 && !status) Fail(path + ": HTTP " + std::to_string(r->status));
        return body;
    }

    // Reads Stellarium's clock and site when they may have moved; forgets the objects when they
    // did. A status without its instant and site is no status.
    void Refresh(bool force = false) {
        if (!force && known &&
            std::chrono::duration<double>(Clock::now() - readAt).count() < clockPeriod)
            return;
        const json s = json::parse(Call(false, "/api/main/status", {}), nullptr, false);
        const json &t = Field(s, "time"), &l = Field(s, "location");
        const double newJd = Number(t, "jday"), newLon = Number(l, "longitude"),
                     newLat = Number(l, "latitude");
        if (!std::isfinite(newJd) || !std::isfinite(newLon) || !std::isfinite(newLat))
            Fail("/api/main/status: not a status");
        const double newHeight = std::isfinite(Number(l, "altitude")) ? Number(l, "altitude") : 0;
        const std::string newPlanet = Text(l, "planet").empty() ? "Earth" : Text(l, "planet");
        if (!known || newJd != jd || newLon != lon || newLat != lat || newHeight != height ||
            newPlanet != planet)
            infos.clear();
        jd = newJd, lon = newLon, lat = newLat, height = newHeight, planet = newPlanet;
        const double shift = Number(t, "gmtShift");
        stellariumZone = std::isfinite(shift) ? shift * 24.0 : 0.0;
        known = true;
        readAt = Clock::now();
    }

    // One object's info at the current instant and site, read once.
    const json& Info(const std::string& name) {
        auto it = infos.find(name);
        if (it != infos.end()) return it->second;
        int status = 0;
        const std::string body =
            Call(false, "/api/objects/info", {{"name", name}, {"format", "json"}}, &status);
        json info = status == 200 ? json::parse(body, nullptr, false) : json();
        if (status != 200 && status != 400 && status != 404)
            Fail("/api/objects/info: HTTP " + std::to_string(status));
        if (info.is_discarded()) info = json();
        return infos[name] = std::move(info);
    }

    stellarium::InfoContext Context() const {
        stellarium::InfoContext c;
        c.jdUt = jd, c.zone = stellariumZone, c.longitude = lon, c.latitude = lat,
        c.height = height;
        return c;
    }

    double Zone() const { return std::isfinite(zone) ? zone : stellariumZone; }

    // Waits until Stellarium's status shows what was set, then one frame more: it takes a
    // new time at once but moves its objects only when it next draws.
    template <class Done>
    void WaitFor(Done done, const std::string& what) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
        for (;;) {
            Refresh(true);
            if (done()) break;
            if (Clock::now() > deadline)
                Fail(what + " did not take within the time-out (JD " + Fixed(jd, 6) + ")");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kFrameMs));
        infos.clear();
    }
    static constexpr int kFrameMs = 120;

    // The time is a Julian Day (UT); the clock is stopped there, so every answer that
    // follows is of that instant whatever rate Stellarium's clock ran at.
    void SetJd(double target) {
        Call(true, "/api/main/time", {{"time", Fixed(target, 9)}, {"timerate", "0"}});
        WaitFor([&] { return std::fabs(jd - target) < 2e-6; }, "the time JD " + Fixed(target, 6));
    }

    void SetSite(double newLon, double newLat, double newHeight, const std::string& body) {
        httplib::Params p{{"longitude", Fixed(newLon, 6)},
                          {"latitude", Fixed(newLat, 6)},
                          {"altitude", Fixed(newHeight, 0)}};
        if (!body.empty()) p.emplace("planet", body);
        Call(true, "/api/location/setlocationfields", p);
        WaitFor(
            [&] {
                return std::fabs(lon - newLon) < 1e-4 && std::fabs(lat - newLat) < 1e-4 &&
                       (body.empty() || planet == body);
            },
            "the site");
    }

    void SetProperty(const char* id, const std::string& value) {
        int status = 0;  // a property this version lacks changes nothing
        Call(true, "/api/stelproperty/set", {{"id", id}, {"value", value}}, &status);
    }
};

CStellariumHost::CStellariumHost(const CString& url, double timeoutSeconds) : m_impl(new Impl) {
    m_impl->url = url;
    m_impl->timeout = std::isfinite(timeoutSeconds) && timeoutSeconds > 0.01 ? timeoutSeconds : 2.0;
}

CStellariumHost::~CStellariumHost() = default;

CString CStellariumHost::GetUrl() const { return m_impl->url; }

double CStellariumHost::GetJd() {
    return m_impl->Guarded([&]() -> double {
        m_impl->Refresh();
        return m_impl->jd;
    });
}

double CStellariumHost::GetTimezone() {
    return m_impl->Guarded([&]() -> double {
        m_impl->Refresh();
        return m_impl->Zone();
    });
}

void CStellariumHost::Invalidate() {
    m_impl->known = false;
    m_impl->infos.clear();
}

void CStellariumHost::SetClockPeriod(double seconds) {
    m_impl->clockPeriod = std::fmax(0.0, seconds);
}

CString CStellariumHost::SelectedPath() {
    return m_impl->Guarded([&]() -> CString {
        int status = 0;
        const std::string body =
            m_impl->Call(false, "/api/objects/info", {{"format", "json"}}, &status);
        return status == 200 ? stellarium::PathOfInfo(body) : CString();
    });
}

CString CStellariumHost::Select(const CString& nameOrPath) {
    return m_impl->Guarded([&]() -> CString {
        CString path, property;
        CString name = stellarium::SplitObjectQuery(CanonicalQuery(nameOrPath), &path, &property) &&
                               property.IsEmpty()
                           ? stellarium::NameOfPath(path)
                           : nameOrPath;
        name.Trim();
        if (name.IsEmpty() || name.FindOneOf(L"\"\\\r\n") >= 0) return CString();
        m_impl->Refresh();
        const std::string utf8 = name.ToUtf8();
        const json& info = m_impl->Info(utf8);
        const CString found = stellarium::PathOfInfo(info);
        if (found.IsEmpty()) return found;
        m_impl->Call(true, "/api/scripts/direct",
                     {{"code", "core.selectObjectByName(\"" + utf8 + "\", true);"}});
        return found;
    });
}

CString CStellariumHost::Execute(LPCTSTR command) {
    return m_impl->Guarded([&]() -> CString {
        CString text(command ? command : L"");
        text.TrimLeft();
        if (!text.IsEmpty() && text[0] == L'?') return Query(CanonicalQuery(text.Mid(1)));
        // Statements: parts joined by ";"; the site's parts are sent to Stellarium together.
        Impl& s = *m_impl;
        s.Refresh(true);
        double lon = s.lon, lat = s.lat, height = s.height;
        std::string body;
        bool siteChanged = false;
        for (const CString& part : SplitStatements(text)) {
            Assignment assignment;
            if (!ReadAssignment(part, &assignment))
                continue;  // "Show Sky", "Calc Sky": Stellarium draws by itself
            const CString &lhs = assignment.lhs, &rhs = assignment.rhs, &value = assignment.value;
            const std::vector<double> a = CallArguments(rhs);
            double v = 0.0;
            if (host::TimeStatementJd(assignment, &v)) {
                s.SetJd(v);
            } else if (lhs == L"time.timezone" && ReadNumber(rhs, &v) && std::fabs(v) <= 24) {
                s.zone = v;
            } else if (lhs == L"time.lock") {
                s.timeLock = value == L"true";
            } else if ((lhs == L"location.longitude" || lhs == L"location.latitude" ||
                        lhs == L"location.altitude") &&
                       ReadNumber(rhs, &v)) {
                (lhs == L"location.longitude"  ? lon
                 : lhs == L"location.latitude" ? lat
                                               : height) = v;
                siteChanged = true;
            } else if (lhs == L"location") {
                CString bodyPath =
                    value.Left(value.Find(L'(') < 0 ? value.GetLength() : value.Find(L'('));
                if (bodyPath != L"location") {
                    const CString name = stellarium::NameOfPath(
                        bodyPath == L"solar.planet.earth" ? CString() : bodyPath);
                    body = bodyPath == L"solar.planet.earth" ? std::string("Earth") : name.ToUtf8();
                    if (body.empty()) continue;  // no body Stellarium can stand on
                }
                if (a.size() >= 3) lon = a[0], lat = a[1], height = a[2];
                siteChanged = true;
            } else if (lhs == L"star.automagnitudelimit") {
                s.autoMagLimit = value == L"true";
                s.SetProperty("StelSkyDrawer.flagStarMagnitudeLimit",
                              s.autoMagLimit ? "false" : "true");
            } else if (lhs == L"star.automagnitudelimit.minimum" && ReadNumber(rhs, &v)) {
                s.autoMag = v;
            } else if (lhs == L"star.fixedmagnitudelimit.minimum" && ReadNumber(rhs, &v)) {
                s.fixedMagMin = v;
            } else if (lhs == L"star.fixedmagnitudelimit.maximum" && ReadNumber(rhs, &v)) {
                s.fixedMagMax = v;
                s.SetProperty("StelSkyDrawer.customStarMagLimit", Fixed(v, 2));
            }
        }
        if (siteChanged && std::fabs(lat) <= 90 && std::fabs(lon) <= 360 && std::fabs(height) < 1e5)
            s.SetSite(lon > 180 ? lon - 360 : lon, lat, height, body);
        return CString();
    });
}

CString CStellariumHost::Query(const CString& q) {
    Impl& s = *m_impl;
    if (q.IsEmpty()) return CString();
    s.Refresh();
    const double zone = s.Zone();
    // The clock.
    if (q == L"time.lock") return s.timeLock ? L"TRUE" : L"FALSE";
    if (const CString clock = ClockAnswer(q, s.jd, zone, s.lon); !clock.IsEmpty()) return clock;
    // The site.
    if (q == L"location") {
        if (s.planet != "Earth") return L"Solar.Planet." + CString(s.planet.c_str());
        CString t;
        t.Format(L"Location(\"Site\", %.6f, %.6f, %.1f)", s.lon, s.lat, s.height);
        return t;
    }
    if (q == L"location.longitude") return Num(s.lon, L"%.8f");
    if (q == L"location.latitude") return Num(s.lat, L"%.8f");
    if (q == L"location.altitude") return Num(s.height, L"%.1f");
    if (q.Left(15) == L"location.solar.") {
        // The Earth about the Sun (J2000 ecliptic, au): the Sun's geocentric place turned round.
        const json& sun = s.Info("Sun");
        double r = NAN;  // Stellarium gives no distance of the Sun
        CalcPlanetLbr(-3, UtToDt(s.jd), nullptr, &r);
        const double kRad = 3.141592653589793 / 180.0;
        const double l = Number(sun, "elongJ2000") * kRad + 3.141592653589793,
                     b = -Number(sun, "elatJ2000") * kRad;
        const CString axis = q.Mid(15);
        if (axis == L"x") return Num(r * std::cos(b) * std::cos(l), L"%.8f");
        if (axis == L"y") return Num(r * std::cos(b) * std::sin(l), L"%.8f");
        if (axis == L"z") return Num(r * std::sin(b), L"%.8f");
        return CString();
    }
    // Settings.
    if (q == L"view.projection") return L"Sky";
    if (q == L"measure.visible" || q == L"measure.connecting") return L"FALSE";
    if (q == L"star.automagnitudelimit") return s.autoMagLimit ? L"TRUE" : L"FALSE";
    if (q == L"star.automagnitudelimit.minimum") return Num(s.autoMag);
    if (q == L"star.fixedmagnitudelimit.minimum") return Num(s.fixedMagMin);
    if (q == L"star.fixedmagnitudelimit.maximum") return Num(s.fixedMagMax);
    if (q == L"star.catalog" || q == L"star.catalog.switch.catalog") return L"Hipparcos";
    if (q == L"star.catalog.switch") return L"FALSE";
    // An object.
    CString path, property;
    if (!stellarium::SplitObjectQuery(q, &path, &property)) return CString();
    const json& info = s.Info(stellarium::NameOfPath(path).ToUtf8());
    return stellarium::AnswerFromInfo(info, path, property, s.Context());
}
