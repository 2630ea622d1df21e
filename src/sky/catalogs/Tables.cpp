// SPDX-License-Identifier: LGPL-3.0-or-later
// The catalogue tables opened once per process, and the star answers the catalogue sources
// share.
#include "sky/catalogs/Tables.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "sky/catalogs/Listing.h"

#include "sky/Answer.h"
#include "sky/Instant.h"
#include "sky/catalogs/Astrometry.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
constexpr double kMasToRad = kDeg / 3600000.0;

CString Num(double v, const wchar_t* format) { return Answer(v, format); }

}  // namespace

namespace {
struct OpenTable {
    std::unique_ptr<CatalogFile> file;             // null: missing or damaged
    std::chrono::steady_clock::time_point looked;  // when its file was last looked at
};
struct OpenTables {
    std::mutex mutex;
    std::map<std::string, OpenTable> tables;
};
OpenTables& Opened() {
    static OpenTables opened;
    return opened;
}
}  // namespace

std::vector<std::string> UnreadableTables() {
    std::lock_guard<std::mutex> lock(Opened().mutex);
    std::vector<std::string> names;
    for (const auto& [name, table] : Opened().tables)
        if (!table.file) names.push_back(name);
    return names;
}

const CatalogFile* Table(const char* name) {
    auto& [mutex, tables] = Opened();
    std::lock_guard<std::mutex> lock(mutex);
    const auto now = std::chrono::steady_clock::now();
    auto it = tables.find(name);
    if (it == tables.end()) {
        auto table = std::make_unique<CatalogFile>();
        const std::string path = DataPath(name);
        std::string error;
        if (path.empty()) {
            std::fprintf(stderr, "zcmcom: catalogue %s not found; its objects are not known\n",
                         name);
            table.reset();
        } else if (!table->Open(path, &error)) {
            std::fprintf(stderr, "zcmcom: %s; its objects are not known\n", error.c_str());
            table.reset();
        }
        it = tables.emplace(name, OpenTable{std::move(table), now}).first;
    }
    // A table changed in place is refused from then on; it stays mapped (its pages past a
    // new end read as zeros), as other threads may be reading it still. Its file is looked
    // at once a second at most, a look being a system call dearer than most answers, and
    // at once when a read found it cut short.
    OpenTable& open = it->second;
    std::string error;
    if (open.file && (now - open.looked >= std::chrono::seconds(1) || open.file->Faulted())) {
        open.looked = now;
        if (open.file->Changed(&error)) {
            std::fprintf(stderr, "zcmcom: %s; its objects are not known\n", error.c_str());
            static std::vector<std::unique_ptr<CatalogFile>> refused;
            refused.push_back(std::move(open.file));
        }
    }
    return open.file.get();
}

CString TextOf(const CatalogFile& table, int column, uint32_t row) {
    const char* text = table.Text(column, row);
    return CString(ZcmUtf8ToWide(text, std::strlen(text)).c_str());
}

Vec StarVector(double ra, double dec, double pmRa, double pmDec, double parallax, double jdTt,
               const Vec& e) {
    const double a = ra * kDeg, d = dec * kDeg;
    const double ca = std::cos(a), sa = std::sin(a), cd = std::cos(d), sd = std::sin(d);
    // Unit vector and the unit vectors towards increasing RA and Dec.
    double p[3] = {cd * ca, cd * sa, sd};
    const double east[3] = {-sa, ca, 0.0};
    const double north[3] = {-sd * ca, -sd * sa, cd};
    const double years = (jdTt - 2451545.0) / 365.25;
    const double mu1 = std::isfinite(pmRa) ? pmRa * kMasToRad * years : 0.0;
    const double mu2 = std::isfinite(pmDec) ? pmDec * kMasToRad * years : 0.0;
    for (int i = 0; i < 3; ++i) p[i] += mu1 * east[i] + mu2 * north[i];
    if (std::isfinite(parallax) && parallax > 0.0) {
        // Seen from the Earth rather than the Sun: the star's distance is 1/parallax au.
        const double w = parallax * kMasToRad;
        p[0] -= w * e.x;
        p[1] -= w * e.y;
        p[2] -= w * e.z;
    }
    return Vec{p[0], p[1], p[2]};
}

CString StarPlaceAnswer(const CatalogFile& stars, uint32_t row, const CString& property,
                        const Context& at) {
    if (!HasPrefix(property, L"position.") && !HasPrefix(property, L"jd.")) return CString();
    // The columns found once per table.
    thread_local const CatalogFile* columnsOf = nullptr;
    thread_local int columns[5];
    if (columnsOf != &stars) {
        const char* const names[5] = {"ra", "dec", "pmra", "pmdec", "plx"};
        for (int i = 0; i < 5; ++i) columns[i] = stars.Column(names[i]);
        columnsOf = &stars;
    }
    CatalogueStar star;
    star.ra = stars.Number(columns[0], row);
    star.dec = stars.Number(columns[1], row);
    star.pmRa = stars.Number(columns[2], row);
    star.pmDec = stars.Number(columns[3], row);
    star.parallax = stars.Number(columns[4], row);
    const double jdTt = TtOf(at.jdUt);
    // The instant's Earth, which the place below shares.
    const Vec earth = InstantAt(at.jdUt, jdTt, at.site).earth;
    const Vec direction =
        StarVector(star.ra, star.dec, star.pmRa, star.pmDec, star.parallax, jdTt, earth);
    const bool events = HasPrefix(property, L"jd.");
    BodyPlace place = FixedPlace(direction, at.jdUt, at.site, events);
    if (property.Find(L"dateapp.") >= 0) {
        // The apparent place by the full chain (deflection, relativistic aberration, IAU 2006
        // precession); the horizon and the other systems keep the shared computation.
        double obliquity = 0.0;
        ApparentPlace(star, jdTt, &place.apparent.lon, &place.apparent.lat, &obliquity);
        const double e = obliquity * kDeg, a = place.apparent.lon * kDeg,
                     d = place.apparent.lat * kDeg;
        const double x = std::cos(d) * std::cos(a), y = std::cos(d) * std::sin(a), z = std::sin(d);
        const double ye = y * std::cos(e) + z * std::sin(e),
                     ze = -y * std::sin(e) + z * std::cos(e);
        double lon = std::atan2(ye, x) / kDeg;
        if (lon < 0.0) lon += 360.0;
        if (property == L"position.eclipticdateapp.lambda") return Num(lon, L"%.8f");
        if (property == L"position.eclipticdateapp.beta")
            return Num(std::asin(std::fmax(-1.0, std::fmin(1.0, ze))) / kDeg, L"%.8f");
    }
    return PlaceAnswer(place, property);
}

bool StarAnswer(const CatalogFile& s, uint32_t row, const CString& property, const Context& at,
                CString* answer) {
    const auto text = [&](const char* column) { return TextOf(s, s.Column(column), row); };
    const auto number = [&](const char* column, const wchar_t* format) {
        return Num(s.Number(s.Column(column), row), format);
    };
    const auto whole = [&](const char* column) {
        const int32_t v = s.Integer(s.Column(column), row);
        return v > 0 ? Num(v, L"%.0f") : CString(L"*");
    };
    const CString& p = property;
    if (p == L"japanesename")
        *answer = text("ja");
    else if (p == L"englishname")
        *answer = text("en");
    else if (p == L"japanesesubname" || p == L"englishsubname")
        *answer = CString();
    else if (p == L"bayerletter")
        *answer = text("bayer");
    else if (p == L"flamsteednumber")
        *answer = text("flam");
    else if (p == L"constellation.abbreviation")
        *answer = text("con");
    else if (p == L"constellation.name")
        *answer = text("cname");
    else if (p == L"hipparcosnumber")
        *answer = whole("hip");
    else if (p == L"hdnumber")
        *answer = whole("hd");
    else if (p == L"magnitude")
        *answer = number("mag", L"%.2f");
    else if (p == L"magnitude.bv")
        *answer = number("bv", L"%.3f");
    else if (p == L"magnitude.bt" || p == L"magnitude.vt")
        *answer = L"*";  // not in the source
    else if (p == L"propermotion.ra")
        *answer = number("pmra", L"%.2f");
    else if (p == L"propermotion.dec")
        *answer = number("pmdec", L"%.2f");
    else if (p == L"pi")
        *answer = number("plx", L"%.2f");
    else if (p == L"spectraltype")
        *answer = text("sp");
    else if (p == L"variablename") {
        CString v = text("var");
        if (!v.IsEmpty() && v.Find(L' ') < 0) v += L" " + text("con");  // d3 gives "CG" of "CG And"
        *answer = v;
    } else if (p == L"numberofplanets") {
        *answer = Num(s.Integer(s.Column("planets"), row), L"%.0f");
    } else if (p == L"crossid") {
        CString ids;
        const char* catalogues[] = {"hd", "sao", "hr"};
        const wchar_t* labels[] = {L"HD", L"SAO", L"HR"};
        for (int i = 0; i < 3; ++i) {
            const int32_t v = s.Integer(s.Column(catalogues[i]), row);
            if (v <= 0) continue;
            if (!ids.IsEmpty()) ids += L"|";
            ids.AppendFormat(L"%s %d", labels[i], v);
        }
        *answer = ids;
    } else {
        *answer = StarPlaceAnswer(s, row, p, at);
        return !answer->IsEmpty();
    }
    return true;
}

bool SplitPath(const CString& q, const wchar_t* prefix, CString* element, CString* property) {
    const int n = static_cast<int>(std::wcslen(prefix));
    if (q.GetLength() <= n || !HasPrefix(q, prefix)) return false;
    return NextElement(q, n, element, property);
}

std::string KeyOf(const CString& element) {
    return ZcmWideToUtf8(element.GetString(), element.GetLength());
}

int64_t StarRowOf(const CatalogFile& table, uint32_t row) {
    const CatalogFile* stars = Table("stars.zct");
    return stars ? stars->FindNumber("hip", table.Integer(table.Column("hip"), row)) : -1;
}

void StarAnswerOrEmpty(int64_t star, const CString& property, const Context& at, CString* answer) {
    const CatalogFile* stars = Table("stars.zct");
    if (star < 0 || !stars ||
        !StarAnswer(*stars, static_cast<uint32_t>(star), property, at, answer))
        answer->Empty();
}

bool RowOf(const CString& q, const wchar_t* prefix, const char* name, const CatalogFile** table,
           uint32_t* row, CString* property) {
    CString element;
    if (!SplitPath(q, prefix, &element, property)) return false;
    *table = Table(name);
    if (!*table) return false;
    const std::vector<uint32_t> rows = (*table)->Find(KeyOf(element));
    if (rows.empty()) return false;
    *row = rows.front();
    return true;
}

}  // namespace sky
