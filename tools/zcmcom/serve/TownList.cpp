// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/TownList.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "sky/Names.h"
#include "sky/NameFile.h"
#include "sky/Towns.h"

namespace serve {

namespace {

struct Table {
    std::vector<TownRow> towns;
    std::vector<std::vector<std::string>> folded;  // by town, every name
};

bool Ascii(const std::string& s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool HasKana(const std::string& s) {  // U+3040 to U+30FF: E3 81 80 to E3 83 BF
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) == 0xE3 &&
            static_cast<unsigned char>(s[i + 1]) >= 0x81 &&
            static_cast<unsigned char>(s[i + 1]) <= 0x83)
            return true;
    return false;
}

// The Japanese name to show: one with kana; else a kanji name that begins another (東京 of
// 東京都, not the Chinese 东京); else the first written otherwise than in Latin letters.
std::string JapaneseName(const std::vector<std::string>& names) {
    for (const std::string& n : names)
        if (HasKana(n)) return n;
    std::string first;
    for (const std::string& n : names) {
        if (Ascii(n) || static_cast<unsigned char>(n[0]) < 0xE3) continue;
        for (const std::string& other : names)
            if (other.size() > n.size() && other.compare(0, n.size(), n) == 0) return n;
        if (first.empty()) first = n;
    }
    return first;
}

const Table& Towns() {
    static Table t;
    static std::once_flag once;
    std::call_once(once, [] {
        for (sky::NamedTown& n : sky::AllTowns()) {
            TownRow r;
            r.lat = n.town.lat;
            r.lon = n.town.lon;
            r.zone = std::move(n.town.zone);
            r.country = std::move(n.town.country);
            r.name = std::move(n.town.name);
            r.nameJa = JapaneseName(n.names);
            std::string city = r.zone.substr(r.zone.rfind('/') + 1);
            std::replace(city.begin(), city.end(), '_', ' ');
            r.zoneTown = r.name == city;
            t.folded.push_back(std::move(n.folded));
            t.towns.push_back(std::move(r));
        }
    });
    return t;
}

}  // namespace

const std::vector<TownRow>& NamedTowns() { return Towns().towns; }

std::vector<const TownRow*> TownsLike(const std::string& text, size_t n) {
    const Table& t = Towns();
    const sky::TownText typed(text);
    const std::string& key = typed.folded;
    const std::string& country = typed.country;
    std::vector<const TownRow*> whole, begins;
    if (!key.empty())
        for (size_t i = 0; i < t.towns.size(); ++i) {
            if (!country.empty() && t.towns[i].country != country) continue;
            const auto& names = t.folded[i];
            if (std::find(names.begin(), names.end(), key) != names.end())
                whole.push_back(&t.towns[i]);
            else if (std::any_of(names.begin(), names.end(), [&](const std::string& n) {
                         return n.compare(0, key.size(), key) == 0;
                     }))
                begins.push_back(&t.towns[i]);
        }
    // The towns zones are named after first, then the larger (those with a Japanese name).
    for (auto* list : {&whole, &begins})
        std::stable_sort(list->begin(), list->end(), [](const TownRow* a, const TownRow* b) {
            return std::make_pair(!a->zoneTown, a->nameJa.empty()) <
                   std::make_pair(!b->zoneTown, b->nameJa.empty());
        });
    whole.insert(whole.end(), begins.begin(), begins.end());
    if (whole.empty()) {
        std::vector<std::string> closest;
        sky::TownsNamed(text, &closest, n);
        for (const std::string& c : closest)
            for (const TownRow* r : TownsLike(c, 1)) whole.push_back(r);
    }
    if (whole.size() > n) whole.resize(n);
    return whole;
}

const TownRow* NearestTown(double lon, double lat) {
    const TownRow* best = nullptr;
    double bestKm = 1e9;
    for (const TownRow& r : Towns().towns) {
        const double d = sky::GreatCircleKm(lat, lon, r.lat, r.lon);
        if (d < bestKm) bestKm = d, best = &r;
    }
    return best;
}

const TownRow* MainTown(const std::string& zone) {
    const TownRow* first = nullptr;
    for (const TownRow& r : Towns().towns) {
        if (r.zone != zone) continue;
        if (r.zoneTown) return &r;
        if (!first) first = &r;
    }
    return first;
}

}  // namespace serve
