// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's comets and minor planets: "Solar.Comet.<designation>" and
// "Solar.MinorPlanet.<number or designation>" from the bundled MPC element files and the
// user's own (ZCMCOM_SKY_ELEMENTS, several files separated by ':').
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/SkyMath.h"
#include "sky/bodies/MinorPlanetTable.h"
#include "sky/bodies/SmallBody.h"

namespace sky {
namespace {

// The bundled elements and the updated copies are read once per process; the user's files
// on top of them again whenever ZCMCOM_SKY_ELEMENTS names others. Bad lines of the user's
// files go to standard error once, with file and line.
constexpr int kBundled = 0, kUpdated = 1, kUser = 2;
const char* const kFiles[] = {"mpcorb.txt", "cometels.txt"};

// Whether the updated minor planets are read through their table (MinorPlanetTable), not
// from the element file itself.
bool InTable(const std::string& file) {
    return file == "mpcorb.txt" && MinorPlanetTable::Updated() != nullptr;
}

// Each path of a list separated by ':'.
template <typename F>
void EachFile(const std::string& files, F each) {
    for (size_t start = 0; start <= files.size();) {
        const size_t colon = std::min(files.find(':', start), files.size());
        if (colon > start) each(files.substr(start, colon - start));
        start = colon + 1;
    }
}

// The catalogue of all bodies, or of the comets or the minor planets only: a click on one
// comet does not read the minor planets' file. The user's files are read whole in each,
// and their bad lines are told once.
std::shared_ptr<const SmallBodyCatalog> CurrentCatalog(ElementsOnly only = ElementsOnly::kAll) {
    static std::mutex mutex;
    static std::shared_ptr<const SmallBodyCatalog> bundled[3], current[3];
    static std::string lastFiles[3], toldFiles;
    std::lock_guard<std::mutex> lock(mutex);
    const int k = static_cast<int>(only);
    if (!bundled[k]) {
        auto cat = std::make_shared<SmallBodyCatalog>();
        for (const char* name : kFiles) {
            if (const std::string path = DataPath(name); !path.empty())
                cat->Load(path, kBundled, only);
            if (const std::string path = UpdatedPath(name); !path.empty() && !InTable(name))
                cat->Load(path, kUpdated, only);
        }
        bundled[k] = current[k] = cat;
    }
    const char* env = std::getenv("ZCMCOM_SKY_ELEMENTS");
    const std::string files = env ? env : "";
    if (files == lastFiles[k]) return current[k];
    lastFiles[k] = files;
    auto cat = std::make_shared<SmallBodyCatalog>(*bundled[k]);
    const size_t known = cat->Problems().size();
    // A file that cannot be read is a problem too.
    EachFile(files, [&](const std::string& path) { cat->Load(path, kUser); });
    if (files != toldFiles)
        for (size_t i = known; i < cat->Problems().size(); ++i)
            std::fprintf(stderr, "zcmcom: %s\n", cat->Problems()[i].c_str());
    toldFiles = files;
    current[k] = cat;
    return current[k];
}

// Japanese names of the bodies a user is most likely to click.
const char* JapaneseName(const SmallBody& b) {
    static const std::map<std::string, const char*> kComets = {
        {"1P", "ハレー彗星"},
        {"2P", "エンケ彗星"},
        {"12P", "ポン・ブルックス彗星"},
        {"2I", "ボリソフ彗星"},
        {"1I", "オウムアムア"},
        {"21P", "ジャコビニ・ツィナー彗星"},
        {"55P", "テンペル・タットル彗星"},
        {"109P", "スイフト・タットル彗星"},
        {"67P", "チュリュモフ・ゲラシメンコ彗星"},
        {"C/1995 O1", "ヘール・ボップ彗星"},
        {"C/2023 A3", "紫金山・アトラス彗星"}};
    static const std::map<long, const char*> kMinor = {
        {1, "ケレス"},       {2, "パラス"},          {3, "ジュノー"},
        {4, "ベスタ"},       {10, "ヒギエア"},       {433, "エロス"},
        {25143, "イトカワ"}, {162173, "リュウグウ"}, {101955, "ベンヌ"}};
    if (b.comet) {
        const auto it = kComets.find(b.designation);
        return it == kComets.end() ? nullptr : it->second;
    }
    const auto it = kMinor.find(b.number);
    return it == kMinor.end() ? nullptr : it->second;
}

CString Wide(const std::string& utf8) { return CString(utf8.c_str()); }

std::string Narrow(const CString& s) { return s.ToUtf8(); }

CString Num(double v, const wchar_t* format = L"%.8f") { return Answer(v, format); }

// The entries of a catalogue's bodies, for the name index.
void ListOf(const SmallBodyCatalog& catalog, std::vector<Entry>& out) {
    for (const SmallBody& b : catalog.Bodies()) {
        Entry e;
        e.path =
            Wide((b.comet ? "Solar.Comet." : "Solar.MinorPlanet.") + SmallBodyCatalog::PathName(b));
        e.names.push_back(Wide(b.id));
        if (!b.comet && b.number > 0)
            e.names.push_back(Wide("(" + std::to_string(b.number) + ") " +
                                   (b.name.empty() ? b.designation : b.name)));
        if (!b.designation.empty() && b.id != b.designation) e.names.push_back(Wide(b.designation));
        if (!b.name.empty()) e.names.push_back(Wide(b.name));
        if (const char* j = JapaneseName(b)) e.names.push_back(Wide(j));
        e.kind = b.comet ? L"comet" : L"minor planet";
        out.push_back(std::move(e));
    }
}

// The instant the elements hold for: the epoch, or the perihelion of a comet given without.
double Epoch(const SmallBody& b) { return std::isfinite(b.epoch) ? b.epoch : b.perihelion; }

class SmallBodySource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        static const CString kComet = L"solar.comet.", kMinor = L"solar.minorplanet.";
        const bool comet = HasPrefix(q, kComet);
        if (!comet && !HasPrefix(q, kMinor)) return false;
        CString element, property;
        if (!NextElement(q, (comet ? kComet : kMinor).GetLength(), &element, &property))
            return false;
        const auto catalog =
            CurrentCatalog(comet ? ElementsOnly::kComets : ElementsOnly::kMinorPlanets);
        const SmallBody* b = catalog->Find(comet, Narrow(element), TtOf(at.jdUt));
        // The updated table answers for the minor planets of no file of the user's.
        if (!comet && (!b || b->rank < kUpdated))
            if (const auto table = MinorPlanetTable::Updated()) {
                const long k = table->Find(Narrow(element));
                if (k >= 0) b = &m_fromTable.emplace(k, table->At(k)).first->second;
            }
        if (!b) return false;
        *answer = Property(*b, property, at);
        return true;
    }

    void List(std::vector<Entry>& out) override { ListOf(*CurrentCatalog(), out); }

    // The user's files and the updated copies: the name index holds the bundled ones only.
    void ListUserFiles(std::vector<Entry>& out) override {
        SmallBodyCatalog user;
        const char* env = std::getenv("ZCMCOM_SKY_ELEMENTS");
        EachFile(env ? env : "", [&](const std::string& path) { user.Load(path); });
        for (const char* name : kFiles)
            if (const std::string path = UpdatedPath(name); !path.empty() && !InTable(name))
                user.Load(path);
        ListOf(user, out);
    }

    void Changed() override {
        m_places.clear();
        m_fromTable.clear();
    }

private:
    CString Property(const SmallBody& b, const CString& p, const Context& at) {
        const CString english = Wide(b.name.empty() ? b.designation : b.name);
        if (p.IsEmpty() || p == L"englishname") return english;
        if (p == L"japanesename") return JapaneseName(b) ? Wide(JapaneseName(b)) : english;
        if (p == L"id") return Wide(b.id);
        if (p == L"provenance") return ElementsProvenance(DataOrigin(b.file), Epoch(b));
        if (p == L"provenance.warning")
            return ElementsAgeWarning(Epoch(b), at.jdUt, kSmallBodyUsefulDays);
        // The elements.
        if (p == L"eccentricity") return Num(b.e);
        if (p == L"periheliondistance") return Num(b.q);
        if (p == L"semimajoraxis") return Num(SemiMajorAxis(b));
        if (p == L"revolutionperiod") return Num(PeriodYears(b), L"%.6f");
        if (p == L"timeofperihelionpassage") return Num(b.perihelion, L"%.6f");
        if (p == L"epoch") return Num(b.epoch, L"%.6f");
        if (p == L"inclination") return Num(b.i, L"%.6f");
        if (p == L"argumentofperihelion") return Num(b.w, L"%.6f");
        if (p == L"longitudeofascendingnode" || p == L"ascendingnode") return Num(b.node, L"%.6f");
        if (p == L"absolutemagnitude") return Num(b.H, L"%.2f");
        if (p == L"dailymotion.ra" || p == L"dailymotion.dec") {
            const BodyPlace a0 = FastPlaceAt(b, at.jdUt - 0.5 / 24.0, at.site);
            const BodyPlace a1 = FastPlaceAt(b, at.jdUt + 0.5 / 24.0, at.site);
            return Num(p == L"dailymotion.ra" ? Norm180(a1.apparent.lon - a0.apparent.lon) * 24.0
                                              : (a1.apparent.lat - a0.apparent.lat) * 24.0);
        }
        const bool events = HasPrefix(p, L"jd.");
        const BodyPlace& place = Cached(b, at, events);
        if (events || HasPrefix(p, L"position.")) return PlaceAnswer(place, p);
        if (p == L"magnitude") return Num(place.magnitude, L"%.3f");
        if (p == L"geocentricdistance") return Num(place.geocentricDistance);
        if (p == L"topocentricdistance") return Num(place.topocentricDistance);
        if (p == L"heliocentricdistance") return Num(place.heliocentricDistance);
        if (p == L"solarelongation") return Num(place.elongation);
        if (p == L"physicaltable.k") return Num(place.illuminated, L"%.6f");
        return CString();
    }

    // The place with rise, transit and set, by the sky's general reduction.
    static BodyPlace PlaceAt(const SmallBody& b, double jdUt, const Site& site, bool events) {
        const auto helio = [&b](double jdTt) {
            Vec v{NAN, NAN, NAN};
            SmallBodyAt(b, jdTt, &v);
            return v;
        };
        BodyPlace p = PlaceOfHeliocentric(helio, jdUt, site, events);
        p.magnitude =
            SmallBodyMagnitude(b, p.heliocentricDistance, p.geocentricDistance, p.phaseAngle);
        return p;
    }

    // The place without events, many bodies at one instant: the same reduction as
    // PlaceOfHeliocentric with the Earth's position and velocity worked out once per instant.
    BodyPlace FastPlaceAt(const SmallBody& b, double jdUt, const Site& site) {
        if (jdUt != m_earthJd) {
            m_earthJd = jdUt;
            m_jdTt = TtOf(jdUt);
            m_earth = EarthAndVelocity(m_jdTt, &m_earthVelocity);
        }
        const auto aberrate = [this](const Vec& geo) {
            const double r = Norm(geo);
            const Vec u = geo * (1.0 / r) + m_earthVelocity * kLightDaysPerAu;
            return u * (r / Norm(u));
        };
        BodyPlace p;
        Vec now{}, h{}, geo{};
        if (!SmallBodyAt(b, m_jdTt, &now)) return BodyPlace{};
        geo = now - m_earth;  // the first step of the light-time iteration is the body now
        for (int i = 0; i < 2; ++i) {
            if (!SmallBodyAt(b, m_jdTt - Norm(geo) * kLightDaysPerAu, &h)) return BodyPlace{};
            geo = h - m_earth;
        }
        const Vec app = aberrate(geo);
        FillAstrometric(&p, geo, jdUt, m_jdTt, site);
        const double r = Norm(h), delta = Norm(geo), R = Norm(m_earth);
        p.heliocentricDistance = r;
        p.geocentricDistance = Norm(now - m_earth);
        // Distances are the geometric ones at the instant: move the site's by the light time.
        p.topocentricDistance += p.geocentricDistance - delta;
        const Vec sun = aberrate(-1.0 * m_earth);
        p.elongation =
            std::acos(std::clamp(Dot(app, sun) / (Norm(app) * Norm(sun)), -1.0, 1.0)) / kRad;
        const double cosI =
            std::clamp((r * r + delta * delta - R * R) / (2.0 * r * delta), -1.0, 1.0);
        p.phaseAngle = std::acos(cosI) / kRad;
        p.illuminated = (1.0 + cosI) / 2.0;
        p.magnitude =
            SmallBodyMagnitude(b, p.heliocentricDistance, p.geocentricDistance, p.phaseAngle);
        return p;
    }

    const BodyPlace& Cached(const SmallBody& b, const Context& at, bool events) {
        if (at.jdUt != m_jd || at.site.longitude != m_site.longitude ||
            at.site.latitude != m_site.latitude || at.site.height != m_site.height) {
            m_places.clear();
            m_jd = at.jdUt;
            m_site = at.site;
        }
        const std::string key =
            (b.comet ? "c" : "m") + b.designation + std::to_string(b.number) + (events ? "+" : "");
        auto it = m_places.find(key);
        if (it == m_places.end())
            it = m_places
                     .emplace(key, events ? PlaceAt(b, at.jdUt, at.site, true)
                                          : FastPlaceAt(b, at.jdUt, at.site))
                     .first;
        return it->second;
    }

    std::map<std::string, BodyPlace> m_places;
    std::map<long, SmallBody> m_fromTable;  ///< the table's bodies asked since the last change
    double m_earthJd = NAN, m_jdTt = NAN;
    Vec m_earth{}, m_earthVelocity{};
    double m_jd = NAN;
    Site m_site;
};

const SourceRegistration kSmallBodies([] { return std::make_unique<SmallBodySource>(); },
                                      {L"solar.comet.", L"solar.minorplanet."});

}  // namespace
}  // namespace sky
