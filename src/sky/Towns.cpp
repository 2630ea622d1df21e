// SPDX-License-Identifier: LGPL-3.0-or-later
// Towns by name: the named lines of data/tztowns.txt, read through for each question.
#include "sky/Towns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "sky/Constants.h"
#include "sky/DataFolders.h"
#include "platform/EncodedStream.h"
#include "sky/NameFile.h"
#include "sky/Names.h"

namespace sky {

namespace {

CString Wide(std::string_view utf8) {
    return CString(ZcmUtf8ToWide(utf8.data(), utf8.size()).c_str());
}

// FoldName's form as UTF-8; ASCII names without the detour through wide text.
void Fold(std::string_view name, std::string& out) {
    out.clear();
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            out = FoldedUtf8(FoldName(Wide(name)));
            return;
        }
        if (!std::strchr(" \t.-_'\",()", c)) out += static_cast<char>(std::tolower(c));
    }
}

// Calls each(town, name as written, folded name) for every name of every named town.
template <typename Each>
void EachTownName(Each each) {
    std::string text;
    if (!ZcmReadFile(DataPath("tztowns.txt").c_str(), text, 8u << 20)) return;
    std::vector<std::string_view> zones;
    std::string folded;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + at, end - at);
        at = end + 1;
        if (line.compare(0, 2, "Z\t") == 0) zones.push_back(line.substr(2));
        std::string_view f[5];
        size_t n = 0;
        for (size_t from = 0; n < 5; ++n) {
            const size_t tab = line.find('\t', from);
            f[n] = line.substr(from, tab - from);
            if (tab == std::string_view::npos) break;
            from = tab + 1;
        }
        if (n < 4 || line[0] == '#') continue;  // no names
        const long zone =
            std::strtol(std::string(f[2].substr(f[2][0] == '+')).c_str(), nullptr, 10);
        if (zone < 0 || zone >= static_cast<long>(zones.size())) continue;
        Town t;
        t.lat = std::strtod(std::string(f[0]).c_str(), nullptr);
        t.lon = std::strtod(std::string(f[1]).c_str(), nullptr);
        t.zone = zones[static_cast<size_t>(zone)];
        t.country = f[3];
        for (size_t from = 0;;) {
            const size_t bar = f[4].find('|', from);
            const std::string_view name = f[4].substr(from, bar - from);
            if (t.name.empty()) t.name = name;
            Fold(name, folded);
            each(t, name, folded);
            if (bar == std::string_view::npos) break;
            from = bar + 1;
        }
    }
}

}  // namespace

std::string Town::Described() const {
    char place[96];
    std::snprintf(place, sizeof place, "%.2f %c, %.2f %c", std::fabs(lat), lat < 0 ? 'S' : 'N',
                  std::fabs(lon), lon < 0 ? 'W' : 'E');
    return name + "," + country + " (" + zone + ", " + place + ")";
}

std::vector<Town> TownsNamed(const std::string& text, std::vector<std::string>* closest, size_t n) {
    std::string name = text, country;
    if (const size_t comma = text.rfind(','); comma != std::string::npos) {
        name = text.substr(0, comma);
        country = text.substr(comma + 1);
        country.erase(0, country.find_first_not_of(' '));
        for (char& c : country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::wstring wideKey = FoldName(Wide(name));
    const std::string key = FoldedUtf8(wideKey);
    std::vector<Town> found;
    if (key.empty()) return found;
    EachTownName([&](const Town& t, std::string_view, const std::string& folded) {
        if (folded != key || (!country.empty() && t.country != country)) return;
        if (std::none_of(found.begin(), found.end(),
                         [&](const Town& f) { return f.lat == t.lat && f.lon == t.lon; }))
            found.push_back(t);
    });
    if (!found.empty() || !closest) return found;
    // Names that begin with the text or differ from it in a third of its letters at most,
    // nearest in spelling first, as written, each with its country.
    std::vector<std::pair<size_t, std::string>> near;
    const size_t most = std::max<size_t>(1, wideKey.size() / 3);
    EachTownName([&](const Town& t, std::string_view written, const std::string& folded) {
        if (folded.size() + 4 * most < key.size() || folded.size() > 4 * (key.size() + most))
            return;  // (bytes of UTF-8: too short or too long to be near)
        const std::wstring wide = ZcmUtf8ToWide(folded.data(), folded.size());
        const size_t d =
            wide.compare(0, wideKey.size(), wideKey) == 0 ? 1 : EditDistance(wideKey, wide);
        if (d <= most) near.emplace_back(d, std::string(written) + "," + t.country);
    });
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    closest->clear();
    for (const auto& [distance, shown] : near) {
        if (closest->size() >= n) break;
        if (std::find(closest->begin(), closest->end(), shown) == closest->end())
            closest->push_back(shown);
    }
    return found;
}

double GreatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    const double r = M_PI / 180.0;
    const double a =
        std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
        std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
    return 2 * kEarthMeanRadiusKm * std::asin(std::sqrt(std::min(1.0, a)));
}

}  // namespace sky
