// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/ChartServer.h"

#include <httplib.h>

#include <climits>
#include <cstdio>
#include <mutex>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <vector>

#include "draw/TimeZone.h"
#include "serve/Catalogue.h"
#include "serve/HttpFront.h"
#include "serve/TownList.h"
#include "serve/SkyJson.h"
#include "sky/DataFolders.h"

namespace serve {

namespace {

using nlohmann::json;

constexpr size_t kMaxQuery = 1024;
constexpr size_t kMaxBody = 4096;

const char kPlaceholder[] =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>zcmcom</title></head>\n"
    "<body><p>The chart's page is not installed; the JSON API answers under "
    "/api/.</p></body></html>\n";

void SendJson(httplib::Response& res, const json& body, int status = 200) {
    res.status = status;
    res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace),
                    "application/json; charset=utf-8");
}

// The catalogue's answers with "camera": [{"name", "outline": [[ra, dec], ...]}, ...] and
// tags of their own.
Catalogue WithCamera(const Catalogue& plain, const std::vector<CameraFrame>& frames) {
    json camera = json::array();
    for (const CameraFrame& f : frames)
        camera.push_back({{"name", f.name}, {"outline", f.outline}});
    const std::string member =
        ",\"camera\":" + camera.dump(-1, ' ', false, json::error_handler_t::replace) + "}";
    Catalogue c;
    for (int with = 0; with < 2; ++with) {
        c.json[with] = plain.json[with].substr(0, plain.json[with].rfind('}')) + member;
        uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (unsigned char ch : c.json[with]) h = (h ^ ch) * 1099511628211ull;
        char tag[24];
        std::snprintf(tag, sizeof tag, "\"%016llx\"", static_cast<unsigned long long>(h));
        c.etag[with] = tag;
    }
    return c;
}

void SendError(httplib::Response& res, int status, const std::string& message) {
    SendJson(res, json{{"error", message}}, status);
}

// Runs a handler; the library's refusals become 400 and 404, anything else 500.
httplib::Server::Handler Guarded(
    std::function<void(const httplib::Request&, httplib::Response&)> handler) {
    return [handler](const httplib::Request& req, httplib::Response& res) {
        try {
            handler(req, res);
        } catch (const BadRequest& e) {
            SendError(res, 400, e.what());
        } catch (const NotFound& e) {
            SendError(res, 404, e.what());
        } catch (const std::exception& e) {
            SendError(res, 500, e.what());
        }
    };
}

// A parameter as a number within [low, high] (whole when integral); absent: fallback.
double Param(const httplib::Request& req, const char* name, double fallback, double low,
             double high, bool integral) {
    if (!req.has_param(name)) return fallback;
    const std::string text = req.get_param_value(name);
    char* end = nullptr;
    const double v = text.empty() || text.size() > 32 ? NAN : std::strtod(text.c_str(), &end);
    if (!std::isfinite(v) || !end || *end || v < low || v > high ||
        (integral && v != std::floor(v))) {
        char message[160];
        std::snprintf(message, sizeof message, "%s: %s from %g to %g", name,
                      integral ? "a whole number" : "a number", low, high);
        throw BadRequest(message);
    }
    return v;
}

ChartView ViewOf(const httplib::Request& req) {
    ChartView v;
    if (req.has_param("view") && !ParseViewKind(req.get_param_value("view"), &v.kind))
        throw BadRequest("view: horizon or equatorial");
    v.w = static_cast<int>(Param(req, "w", 800, 16, 8192, true));
    v.h = static_cast<int>(Param(req, "h", 800, 16, 8192, true));
    return v;
}

// The request's body as a JSON object.
json Body(const httplib::Request& req) {
    json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object())
        throw BadRequest("the body must be a JSON object");
    return body;
}

const json& Field(const json& body, const char* name, json::value_t type) {
    const auto it = body.find(name);
    const bool number = type == json::value_t::number_float;
    if (it == body.end() || (number ? !it->is_number() : it->type() != type))
        throw BadRequest(std::string(name) + ": missing or of the wrong type");
    return *it;
}

json TextsJson(const ClickTexts& t) {
    return {{"path", t.path}, {"text", t.text}, {"compact", t.compact}, {"cdf", t.cdf}};
}

json TownJson(const TownRow& t) {
    return {{"name", t.name}, {"nameJa", t.nameJa}, {"country", t.country},
            {"zone", t.zone}, {"lon", t.lon},       {"lat", t.lat}};
}

json SearchJson(const SearchAnswer& a) {
    json results = json::array();
    for (const SearchHit& h : a.results) {
        json hit = {{"path", h.path}, {"name", h.name}, {"kind", h.kind}};
        const std::pair<const char*, double> numbers[] = {{"mag", h.mag},
                                                          {"ra2000", h.ra2000},
                                                          {"dec2000", h.dec2000},
                                                          {"alt", h.alt},
                                                          {"az", h.az}};
        for (const auto& n : numbers)
            hit[n.first] = std::isfinite(n.second) ? json(n.second) : json(nullptr);
        results.push_back(std::move(hit));
    }
    return {{"results", results}, {"closest", a.closest}};
}

// A text parameter of at most `most` bytes; absent: empty.
std::string TextParam(const httplib::Request& req, const char* name, size_t most) {
    const std::string text = req.has_param(name) ? req.get_param_value(name) : std::string();
    if (text.size() > most)
        throw BadRequest(std::string(name) + ": at most " + std::to_string(most) + " bytes");
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f) throw BadRequest(std::string(name) + ": no control characters");
    return text;
}

json SwitchesJson(const std::vector<Switch>& switches) {
    json list = json::array();
    for (const Switch& s : switches) list.push_back({{"name", s.name}, {"on", s.on}});
    return {{"switches", list}};
}

json ClockJson(const Snapshot& s) {
    return {{"zoneName", s.clock.name}, {"offset", s.clock.offset}, {"abbr", s.clock.abbr}};
}

json TimeJson(ChartState& state) {
    const auto s = state.Sky();
    json clock = ClockJson(*s);
    tagADATE utc{};
    JdToDate2(s->jd + 0.5 / 86400.0, &utc);
    char iso[48];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.year, utc.month, utc.day,
                  utc.hour, utc.minute, static_cast<int>(utc.second));
    clock.update({{"jd", s->jd}, {"time", s->time}, {"zone", s->zone}, {"utc", iso}});
    return clock;
}

json SiteJson(ChartState& state) {
    const auto s = state.Sky();
    json site = {{"lon", s->lon}, {"lat", s->lat}, {"height", s->height}, {"zone", s->zone}};
    if (!s->city.empty()) site["city"] = s->city;
    site["town"] = s->town;
    site.update(ClockJson(*s));
    return site;
}

const char* ContentType(const std::string& name) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".json", "application/json; charset=utf-8"},
        {".png", "image/png"},
        {".svg", "image/svg+xml"},
        {".ico", "image/x-icon"}};
    for (const auto& t : kTypes) {
        const size_t n = std::strlen(t.first);
        if (name.size() > n && name.compare(name.size() - n, n, t.first) == 0) return t.second;
    }
    return "application/octet-stream";
}

// A plain file name of the web folder: letters, digits, '.', '_' and '-', not starting with
// a dot, and the file really inside the folder (no link leads out).
bool ReadWebFile(const std::string& folder, const std::string& name, std::string* bytes) {
    if (folder.empty() || name.empty() || name.size() > 100 || name[0] == '.') return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-')
            return false;
    char root[PATH_MAX], file[PATH_MAX];
    if (!realpath(folder.c_str(), root) || !realpath((folder + "/" + name).c_str(), file))
        return false;
    const std::string inside = std::string(root) + "/";
    struct stat info {};
    if (std::string(file).compare(0, inside.size(), inside) != 0 || stat(file, &info) != 0 ||
        !S_ISREG(info.st_mode))
        return false;
    std::ifstream in(file, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<bool>(in) || in.eof();
}

// What the page uses beside its own folder: the Milky Way's outline the build derives
// (share/zcmcom/webdata) and d3 from Debian's libjs-d3 ($ZCMCOM_D3_DIR to use another).
const std::vector<std::string>& ExtraWebFolders() {
    static const std::vector<std::string> folders = [] {
        std::vector<std::string> list;
        for (const std::string& data : sky::DataFolders()) list.push_back(data + "/webdata");
        const char* d3 = std::getenv("ZCMCOM_D3_DIR");
        list.push_back(d3 && *d3 ? d3 : "/usr/share/javascript/d3");
        return list;
    }();
    return folders;
}

bool HasIndex(const std::string& folder) {
    struct stat info {};
    return !folder.empty() && stat((folder + "/index.html").c_str(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

}  // namespace

std::string FindWebFolder() {
    if (const char* env = std::getenv("ZCMCOM_WEB_DIR"); env && HasIndex(env)) return env;
    for (const std::string& data : sky::DataFolders())
        if (HasIndex(data + "/web")) return data + "/web";
    return std::string();
}

ChartServer::ChartServer(ChartState& state, std::string webFolder)
    : m_state(state), m_web(std::move(webFolder)), m_server(std::make_unique<HttpFront>()) {
    m_server->set_payload_max_length(kMaxBody);
    Route();
}

ChartServer::~ChartServer() = default;

int ChartServer::Bind(const std::string& address, int port) {
    return m_server->Bind(address, port);
}

bool ChartServer::Listen() { return m_server->Serve(); }

void ChartServer::Stop() { m_server->Stop(); }

void ChartServer::Route() {
    HttpFront& s = *m_server;
    ChartState& state = m_state;
    const std::string web = m_web;
    s.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
        if (const auto refused = s.Refusal(req); refused.first) {
            SendError(res, refused.first, refused.second);
            if (refused.first == 405) res.set_header("Allow", "GET, HEAD, POST");
            return httplib::Server::HandlerResponse::Handled;
        }
        const size_t query = req.target.find('?');
        if (query != std::string::npos && req.target.size() - query - 1 > kMaxQuery) {
            SendError(res, 400, "the query string is longer than 1024 bytes");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Whatever ends without a body of its own (no route, too large, bad request line).
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        const std::string message =
            res.status == 404   ? "no such path"
            : res.status == 413 ? "the request body is longer than 4096 bytes"
                                : "request refused (HTTP " + std::to_string(res.status) + ")";
        SendError(res, res.status, message);
    });
    s.set_exception_handler([](const httplib::Request&, httplib::Response& res,
                               std::exception_ptr) { SendError(res, 500, "internal error"); });

    s.Get("/", [web](const httplib::Request&, httplib::Response& res) {
        std::string page;
        if (!ReadWebFile(web, "index.html", &page)) page = kPlaceholder;
        res.set_content(page, "text/html; charset=utf-8");
    });
    s.Get(R"(/static/(.*))", [web](const httplib::Request& req, httplib::Response& res) {
        std::string bytes;
        const std::string name = req.matches[1];
        bool found = ReadWebFile(web, name, &bytes);
        for (const std::string& folder : ExtraWebFolders())
            found = found || ReadWebFile(folder, name, &bytes);
        if (!found) return SendError(res, 404, "no such file");
        res.set_content(bytes, ContentType(name));
    });
    s.Get("/api/sky", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
              const ChartView view = ViewOf(req);
              unsigned fields = 0;
              if (req.has_param("fields") && !ParseSkyFields(TextParam(req, "fields", 64), &fields))
                  throw BadRequest("fields: a list of frame, bodies, sun and zone");
              res.set_content(SkyJson(*state.Sky(), view, fields),
                              "application/json; charset=utf-8");
          }));
    s.Get("/api/click", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
              if (req.has_param("path"))
                  return SendJson(res, TextsJson(state.Click(req.get_param_value("path"))));
              if (!req.has_param("x") || !req.has_param("y"))
                  throw BadRequest("give path, or x and y of a view");
              const ChartView view = ViewOf(req);
              const double x = Param(req, "x", 0, -1e6, 1e6, false),
                           y = Param(req, "y", 0, -1e6, 1e6, false);
              SendJson(res, TextsJson(state.ClickAt(view, x, y)));
          }));
    s.Get("/api/switches", Guarded([&state](const httplib::Request&, httplib::Response& res) {
              SendJson(res, SwitchesJson(state.Switches()));
          }));
    s.Post("/api/switches", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
               const json body = Body(req);
               state.SetSwitch(Field(body, "name", json::value_t::string).get<std::string>(),
                               Field(body, "on", json::value_t::boolean).get<bool>());
               SendJson(res, SwitchesJson(state.Switches()));
           }));
    s.Get("/api/time", Guarded([&state](const httplib::Request&, httplib::Response& res) {
              SendJson(res, TimeJson(state));
          }));
    s.Post(
        "/api/time", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
            const json body = Body(req);
            if (body.contains("now")) {
                if (!Field(body, "now", json::value_t::boolean).get<bool>())
                    throw BadRequest("now: true");
                state.SetNow();
            } else if (body.contains("step")) {
                state.Step(Field(body, "step", json::value_t::string).get<std::string>());
            } else if (body.contains("jd")) {
                state.SetJd(Field(body, "jd", json::value_t::number_float).get<double>());
            } else if (body.contains("local")) {
                state.SetLocalTime(Field(body, "local", json::value_t::string).get<std::string>());
            } else {
                state.SetLocalTime(Field(body, "text", json::value_t::string).get<std::string>());
            }
            SendJson(res, TimeJson(state));
        }));
    s.Get("/api/site", Guarded([&state](const httplib::Request&, httplib::Response& res) {
              SendJson(res, SiteJson(state));
          }));
    s.Post(
        "/api/site", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
            const json body = Body(req);
            if (body.contains("city")) {
                state.SetCity(Field(body, "city", json::value_t::string).get<std::string>());
            } else if (body.contains("town")) {
                state.SetTown(Field(body, "town", json::value_t::string).get<std::string>());
            } else if (body.contains("zone")) {
                state.SetZone(Field(body, "zone", json::value_t::string).get<std::string>());
            } else if (body.contains("nearest")) {
                const json& at = Field(body, "nearest", json::value_t::object);
                state.SetNearest(Field(at, "lon", json::value_t::number_float).get<double>(),
                                 Field(at, "lat", json::value_t::number_float).get<double>());
            } else {
                const double lon = Field(body, "lon", json::value_t::number_float).get<double>();
                const double lat = Field(body, "lat", json::value_t::number_float).get<double>();
                const bool keep = !body.contains("height");
                state.SetSite(
                    lon, lat,
                    keep ? 0.0 : Field(body, "height", json::value_t::number_float).get<double>(),
                    keep);
            }
            SendJson(res, SiteJson(state));
        }));
    s.Get("/api/cities", Guarded([](const httplib::Request&, httplib::Response& res) {
              json list = json::array();
              for (const City& c : ChartState::Cities())
                  list.push_back(
                      {{"name", c.name}, {"zone", c.zone}, {"lon", c.lon}, {"lat", c.lat}});
              SendJson(res, json{{"cities", list}});
          }));
    // The page's folder, or the build's derived data beside it (share/zcmcom/webdata).
    const int milkyway = [&web] {
        struct stat info {};
        if (!web.empty() && stat((web + "/milkyway.json").c_str(), &info) == 0) return 1;
        for (const std::string& folder : ExtraWebFolders())
            if (stat((folder + "/milkyway.json").c_str(), &info) == 0) return 1;
        return 0;
    }();
    // With the camera's frames, the catalogue's answer gains them (made at the first call).
    auto withCamera = std::make_shared<std::pair<std::once_flag, Catalogue>>();
    s.Get("/api/catalog", Guarded([this, milkyway, withCamera](const httplib::Request& req,
                                                               httplib::Response& res) {
              const Catalogue* c = &ChartCatalogue();
              if (!m_state.Camera().empty()) {
                  std::call_once(withCamera->first,
                                 [&] { withCamera->second = WithCamera(*c, m_state.Camera()); });
                  c = &withCamera->second;
              }
              res.set_header("ETag", c->etag[milkyway]);
              res.set_header("Cache-Control", "public, max-age=86400");
              if (req.get_header_value("If-None-Match") == c->etag[milkyway]) {
                  res.status = 304;
                  return;
              }
              res.set_content(c->json[milkyway], "application/json; charset=utf-8");
          }));
    s.Get("/api/search", Guarded([&state](const httplib::Request& req, httplib::Response& res) {
              const std::string q = TextParam(req, "q", 256);
              if (q.empty()) throw BadRequest("q: the text to search for");
              const size_t limit = static_cast<size_t>(Param(req, "limit", 20, 1, 50, true));
              SendJson(res, SearchJson(state.Search(q, limit)));
          }));
    s.Get("/api/towns", Guarded([](const httplib::Request& req, httplib::Response& res) {
              const std::string q = TextParam(req, "q", 128);
              if (q.empty()) throw BadRequest("q: the start of a town's name");
              json list = json::array();
              for (const TownRow* t : TownsLike(q, 20)) list.push_back(TownJson(*t));
              SendJson(res, list);
          }));
    s.Get("/api/tzmap/legend", Guarded([](const httplib::Request&, httplib::Response& res) {
              json colours = json::array();
              for (const auto& [offset, rgb] : CTimeZone::Legend()) {
                  char hex[8];
                  std::snprintf(hex, sizeof hex, "#%06x", rgb);
                  colours.push_back({{"offset", offset}, {"color", hex}});
              }
              SendJson(res, {{"legend", colours},
                             {"map",
                              {{"west", CTimeZone::kWest},
                               {"east", CTimeZone::kEast},
                               {"north", 90},
                               {"south", -90}}}});
          }));
    s.Get("/api/tzmap", Guarded([&state](const httplib::Request&, httplib::Response& res) {
              res.set_content(state.TimeZoneMapBmp(), "image/bmp");
          }));
}

}  // namespace serve
