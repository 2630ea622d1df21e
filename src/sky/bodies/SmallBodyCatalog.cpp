// SPDX-License-Identifier: LGPL-3.0-or-later
// The index of comets and minor planets by designation, number and name.
#include <cctype>
#include <cmath>

#include "sky/bodies/SmallBody.h"

namespace sky {

std::string SmallBodyCatalog::Key(const std::string& text) {
    std::string key;
    key.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t')
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::string SmallBodyCatalog::PathName(const SmallBody& b) {
    std::string s = !b.comet && b.number > 0 ? std::to_string(b.number) : b.designation;
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '/') out += c;
    return out;
}

int SmallBodyCatalog::Load(const std::string& path, int rank, ElementsOnly only) {
    std::vector<SmallBody> read;
    const int n = ReadElementsFile(path, read, &m_problems, only);
    m_bodies.reserve(m_bodies.size() + read.size());
    for (auto& keys : m_keys) keys.reserve(keys.size() + 6 * read.size());
    for (SmallBody& b : read) {
        b.file = path;
        b.rank = rank;
        Add(std::move(b));
    }
    return n;
}

void SmallBodyCatalog::Add(SmallBody body) {
    auto& keys = m_keys[body.comet ? 1 : 0];
    // The same body again (by number or designation) takes the place of the earlier one.
    const std::string primary =
        Key(body.comet || body.number == 0 ? body.designation : std::to_string(body.number));
    const auto found = keys.find(primary);
    if (found != keys.end() && m_bodies[found->second].comet == body.comet &&
        Key(PathName(m_bodies[found->second])) == Key(PathName(body))) {
        SmallBody& held = m_bodies[found->second];
        if (held.rank > body.rank) return;
        if (held.rank == body.rank)
            m_others[found->second].push_back(std::move(held));
        else
            m_others.erase(found->second);
        held = std::move(body);
        Index(found->second);
        return;
    }
    m_bodies.push_back(std::move(body));
    Index(static_cast<int>(m_bodies.size()) - 1);
}

void SmallBodyCatalog::Index(int at) {
    const SmallBody& b = m_bodies[at];
    auto& keys = m_keys[b.comet ? 1 : 0];
    // Designations and numbers name one body: the latest holds them. A bare name may be
    // shared ("Borisov"): the first body keeps it, unless a numbered comet comes later.
    std::string last;
    const auto own = [&](const std::string& k) {
        if (k.empty()) return;
        std::string key = Key(k);
        if (key == last) return;  // the path's name, the designation and the id often agree
        keys.insert_or_assign(key, at);
        last = std::move(key);
    };
    const auto share = [&](const std::string& k) {
        if (k.empty()) return;
        auto it = keys.find(Key(k));
        if (it == keys.end())
            keys.emplace(Key(k), at);
        else if (b.number > 0 && m_bodies[it->second].number == 0)
            it->second = at;
    };
    own(PathName(b));
    own(b.designation);
    own(b.id);
    if (b.number > 0 && !b.comet) {
        own("(" + std::to_string(b.number) + ")");
        own("(" + std::to_string(b.number) + ")" + (b.name.empty() ? b.designation : b.name));
    }
    if (b.comet && !b.name.empty()) own(b.designation + "/" + b.name);
    share(b.name);
}

const SmallBody* SmallBodyCatalog::Find(bool comet, const std::string& key, double jdTt) const {
    const auto& keys = m_keys[comet ? 1 : 0];
    const auto it = keys.find(Key(key));
    if (it == keys.end()) return nullptr;
    const SmallBody* best = &m_bodies[it->second];
    const auto others = m_others.find(it->second);
    if (others == m_others.end() || !std::isfinite(jdTt)) return best;
    // A body without an epoch (a comet line may give none) is placed by its perihelion.
    const auto distance = [jdTt](const SmallBody& b) {
        return std::fabs((std::isfinite(b.epoch) ? b.epoch : b.perihelion) - jdTt);
    };
    for (const SmallBody& b : others->second)
        if (distance(b) < distance(*best)) best = &b;
    return best;
}

}  // namespace sky
