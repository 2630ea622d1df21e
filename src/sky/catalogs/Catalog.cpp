// SPDX-License-Identifier: LGPL-3.0-or-later
// The bundled catalogue's reader and CSkyHost's answers about its objects: constellations
// and bare points of the sky (catalogue stars and deep-sky objects are sources of their own).
#include "sky/catalogs/Catalog.h"

#include <cstdlib>
#include <fstream>
#include <charconv>
#include <iterator>
#include <string_view>

#include "sky/Answer.h"
#include "sky/bodies/Ephemeris.h"
#include "sky/SkyHost.h"
#include "sky/Source.h"

namespace sky {
namespace {

// One line's fields, split at tabs, without copying them.
struct Fields {
    static constexpr size_t kMax = 16;
    std::string_view f[kMax];
    size_t size = 0;
    explicit Fields(std::string_view line) {
        while (size < kMax) {
            const size_t tab = line.find('\t');
            f[size++] = line.substr(0, tab);
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
    }
};

// A number field; NaN when empty or not a number (blanks and a plus sign may lead).
double Field(const Fields& f, size_t i) {
    if (i >= f.size) return NAN;
    std::string_view t = f.f[i];
    while (!t.empty() && (t.front() == ' ' || t.front() == '+')) t.remove_prefix(1);
    double v = NAN;
    if (std::from_chars(t.data(), t.data() + t.size(), v).ec != std::errc()) return NAN;
    return v;
}

int Whole(const Fields& f, size_t i) {
    const double v = Field(f, i);
    return v >= 0.0 && v < 1e9 ? static_cast<int>(v) : 0;
}

CString Text(const Fields& f, size_t i) {
    if (i >= f.size || f.f[i].empty()) return CString();
    return CString(ZcmUtf8ToWide(f.f[i].data(), f.f[i].size()).c_str());
}

}  // namespace

int Catalog::Load(const char* path) {
    // The whole file at once, then its lines in place.
    std::ifstream in(path ? path : "", std::ios::binary);
    if (!in) return 0;
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m_stars.reserve(m_stars.size() + all.size() / 48);
    m_starIndex.reserve(m_stars.capacity());
    int count = 0;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::string_view line(all.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        const Fields f(line);
        const std::string_view kind = f.f[0];
        if (kind == "S" && f.size >= 11) {
            Star s;
            s.hip = Whole(f, 1);
            s.ra = Field(f, 2);
            s.dec = Field(f, 3);
            if (s.hip <= 0 || !std::isfinite(s.ra) || !std::isfinite(s.dec)) continue;
            s.mag = Field(f, 4);
            s.bv = Field(f, 5);
            s.constellation = Text(f, 6);
            s.bayer = Text(f, 7);
            s.flamsteed = Text(f, 8);
            s.english = Text(f, 9);
            s.japanese = Text(f, 10);
            m_starIndex[s.hip] = m_stars.size();
            m_stars.push_back(std::move(s));
        } else if (kind == "C" && f.size >= 7) {
            m_constellations.push_back(
                {Text(f, 1), Text(f, 2), Text(f, 3), Text(f, 4), Field(f, 5), Field(f, 6)});
        } else if (kind == "M" && f.size >= 9) {
            DeepSky d;
            d.messier = Whole(f, 1);
            d.ngc = Text(f, 2);
            d.type = Text(f, 3);
            d.english = Text(f, 4);
            d.ra = Field(f, 5);
            d.dec = Field(f, 6);
            d.mag = Field(f, 7);
            d.size = NAN;
            d.sizeText = Text(f, 8);
            if (d.messier <= 0 || !std::isfinite(d.ra)) continue;
            m_messier.push_back(d);
        } else if (kind == "K" && f.size >= 12) {
            Orbit o;
            o.id = Text(f, 1);
            o.english = Text(f, 2);
            o.japanese = Text(f, 3);
            o.a = Field(f, 4);
            o.e = Field(f, 5);
            o.i = Field(f, 6);
            o.M = Field(f, 7);
            o.w = Field(f, 8);
            o.node = Field(f, 9);
            o.n = Field(f, 10);
            o.epoch = Field(f, 11);
            o.H = Field(f, 12);
            if (!(o.a > 0) || !(o.e >= 0 && o.e < 1)) continue;
            m_orbits.push_back(o);
        } else {
            continue;
        }
        ++count;
    }
    return count;
}

void Catalog::Truncate(const Catalog& prefix) {
    for (size_t i = prefix.m_stars.size(); i < m_stars.size(); ++i) {
        const int hip = m_stars[i].hip;
        const auto kept = prefix.m_starIndex.find(hip);
        if (kept != prefix.m_starIndex.end())
            m_starIndex[hip] = kept->second;
        else
            m_starIndex.erase(hip);
    }
    const auto cut = [](auto& records, size_t size) {
        if (records.size() > size) records.erase(records.begin() + size, records.end());
    };
    cut(m_stars, prefix.m_stars.size());
    cut(m_constellations, prefix.m_constellations.size());
    cut(m_messier, prefix.m_messier.size());
    cut(m_orbits, prefix.m_orbits.size());
}

const Star* Catalog::FindStar(int hip) const {
    const auto it = m_starIndex.find(hip);
    return it == m_starIndex.end() ? nullptr : &m_stars[it->second];
}

const Constellation* Catalog::FindConstellation(const CString& abbreviation) const {
    for (const Constellation& c : m_constellations)
        if (c.abbreviation.CompareNoCase(abbreviation) == 0) return &c;
    return nullptr;
}

const DeepSky* Catalog::FindMessier(int number) const {
    for (const DeepSky& d : m_messier)
        if (d.messier == number) return &d;
    return nullptr;
}

const Orbit* Catalog::FindOrbit(const CString& englishName) const {
    for (const Orbit& o : m_orbits)
        if (o.english.CompareNoCase(englishName) == 0) return &o;
    return nullptr;
}

}  // namespace sky

std::string CSkyHost::DefaultCatalogPath() {
    if (const char* env = std::getenv("ZCMCOM_SKY_DATA"); env && *env) return env;
    return sky::DataPath("skycat.txt");
}

std::vector<CString> CSkyHost::KnownObjects() {
    std::vector<CString> names;
    const wchar_t* const solar[] = {L"Solar.Sun",
                                    L"Solar.Planet.Earth.Satellite.Moon",
                                    L"Solar.Planet.Mercury",
                                    L"Solar.Planet.Venus",
                                    L"Solar.Planet.Earth",
                                    L"Solar.Planet.Mars",
                                    L"Solar.Planet.Jupiter",
                                    L"Solar.Planet.Saturn",
                                    L"Solar.Planet.Uranus",
                                    L"Solar.Planet.Neptune",
                                    L"Solar.DwarfPlanet.Pluto"};
    for (const wchar_t* s : solar) names.push_back(s);
    for (const sky::Orbit& o : Cat().Orbits()) names.push_back(L"Solar.DwarfPlanet." + o.english);
    for (const sky::Constellation& c : Cat().Constellations())
        names.push_back(L"Constellation." + c.abbreviation + L"\t" + c.japanese + L" " + c.latin);
    for (const sky::DeepSky& d : Cat().Messier()) {
        CString s;
        s.Format(L"DeepSkyObject.M.%d\t", d.messier);
        names.push_back(s + d.ngc + (d.english.IsEmpty() ? CString() : L" " + d.english));
    }
    for (const sky::Star& st : Cat().Stars()) {
        if (st.english.IsEmpty() && st.japanese.IsEmpty()) continue;
        CString s;
        s.Format(L"Star.HIP.%d\t", st.hip);
        names.push_back(s + st.japanese + L" " + st.english);
    }
    // The registered sources' objects (comets, minor planets, ...), with their names.
    for (auto& source : Sources()) {
        std::vector<sky::Entry> entries;
        source->List(entries);
        for (const sky::Entry& e : entries) {
            CString line = e.path + L"\t";
            for (size_t k = 0; k < e.names.size(); ++k) line += (k ? L" / " : L"") + e.names[k];
            names.push_back(line);
        }
    }
    names.push_back(L"Equatorial");
    return names;
}
