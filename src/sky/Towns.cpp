// SPDX-License-Identifier: LGPL-3.0-or-later
// Towns by name: the named lines of data/tztowns.txt, read through for each question.
#include "sky/Towns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "sky/Constants.h"
#include "sky/DataFolders.h"
#include "sky/NameFile.h"
#include "sky/Names.h"
#include "sky/TownFile.h"

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

// Calls each(town, names) for every named town of the list, in its order: its names as
// written, none empty, the first the town's name.
template <typename Each>
void EachTown(Each each) {
    std::vector<std::string> zones;
    std::vector<std::string_view> names;
    ReadTownFile(DataPath("tztowns.txt"), zones, [&](const TownLine& line) {
        names.clear();
        for (size_t from = 0; from <= line.names.size();) {
            const size_t bar = std::min(line.names.find('|', from), line.names.size());
            if (bar > from) names.push_back(line.names.substr(from, bar - from));
            from = bar + 1;
        }
        if (names.empty()) return true;
        Town t;
        t.lat = line.lat;
        t.lon = line.lon;
        t.zone = zones[line.zone];
        t.country = line.country;
        t.name = names[0];
        each(t, names);
        return true;
    });
}

// Calls each(town, name as written, folded name) for every name of every named town.
template <typename Each>
void EachTownName(Each each) {
    std::string folded;
    EachTown([&](const Town& t, const std::vector<std::string_view>& names) {
        for (const std::string_view name : names) {
            Fold(name, folded);
            each(t, name, folded);
        }
    });
}

}  // namespace

std::string Town::Described() const {
    char place[96];
    std::snprintf(place, sizeof place, "%.2f %c, %.2f %c", std::fabs(lat), lat < 0 ? 'S' : 'N',
                  std::fabs(lon), lon < 0 ? 'W' : 'E');
    return name + "," + country + " (" + zone + ", " + place + ")";
}

TownText::TownText(const std::string& text) : name(text) {
    if (const size_t comma = text.rfind(','); comma != std::string::npos) {
        name = text.substr(0, comma);
        country = text.substr(comma + 1);
        country.erase(0, country.find_first_not_of(' '));
        for (char& c : country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    folded = FoldedUtf8(FoldName(Wide(name)));
}

std::vector<Town> TownsNamed(const std::string& text, std::vector<std::string>* closest, size_t n) {
    const TownText typed(text);
    const std::string& key = typed.folded;
    const std::string& country = typed.country;
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
    const std::wstring wideKey = ZcmUtf8ToWide(key.data(), key.size());
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

std::vector<NamedTown> AllTowns() {
    std::vector<NamedTown> all;
    EachTown([&](const Town& t, const std::vector<std::string_view>& names) {
        NamedTown& n = all.emplace_back();
        n.town = t;
        for (const std::string_view name : names) {
            n.names.emplace_back(name);
            Fold(name, n.folded.emplace_back());
        }
    });
    return all;
}

double GreatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    const double r = M_PI / 180.0;
    const double a =
        std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
        std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
    return 2 * kEarthMeanRadiusKm * std::asin(std::sqrt(std::min(1.0, a)));
}

}  // namespace sky
