// SPDX-License-Identifier: LGPL-3.0-or-later
// Loading the satellites' element sets and finding a satellite by name.
#include "sky/satellites/SatelliteCatalog.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <strings.h>

#include "sky/Source.h"

namespace sky {
namespace {

std::mutex& Lock() {
    static std::mutex m;
    return m;
}
std::vector<std::string>& UserFiles() {
    static std::vector<std::string> files;
    return files;
}
std::shared_ptr<const SatelliteCatalog>& Current() {
    static std::shared_ptr<const SatelliteCatalog> current;
    return current;
}

std::vector<std::string> EnvironmentFiles() {
    std::vector<std::string> files;
    const char* env = std::getenv("ZCMCOM_SKY_TLE");
    if (!env) return files;
    std::istringstream in(env);
    std::string path;
    while (std::getline(in, path, ':'))
        if (!path.empty()) files.push_back(path);
    return files;
}

void ReadMagnitudes(const std::string& path, std::map<int, double>* out) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream f(line);
        int number = 0;
        double mag = 0.0;
        if (f >> number >> mag && std::isfinite(mag)) (*out)[number] = mag;
    }
}

// The files read and an update since, as the catalogue was read with them.
std::vector<std::string> FilesNow() {
    std::vector<std::string> files = UserTleFiles();
    files.push_back(UpdatedPath("satellites.tle"));  // an update since is read too
    return files;
}
std::vector<std::string>& LoadedWith() {
    static std::vector<std::string> files;
    return files;
}

// The catalogue, or with only at 0 or more the sets of that satellite alone.
std::shared_ptr<const SatelliteCatalog> Load(const std::vector<std::string>& user, int only = -1) {
    auto cat = std::make_shared<SatelliteCatalog>();
    // The user's files, the updated copy, the bundled sets: a satellite's sets come from the
    // first of them that has any.
    TleCatalog tiers[3];
    for (const std::string& f : user) tiers[0].AddFile(f, only);
    if (const std::string updated = UpdatedPath("satellites.tle"); !updated.empty())
        tiers[1].AddFile(updated, only);
    if (const std::string bundled = DataPath("satellites.tle"); !bundled.empty())
        tiers[2].AddFile(bundled, only);
    for (TleCatalog& tier : tiers) {
        for (auto& [number, sets] : tier.all)
            if (cat->choices.emplace(number, std::move(sets)).second)
                cat->tle.sets.emplace(number, std::move(tier.sets[number]));
        cat->tle.problems.insert(cat->tle.problems.end(), tier.problems.begin(),
                                 tier.problems.end());
    }
    const std::string mags = DataPath("satellites-mag.txt");
    if (!mags.empty()) ReadMagnitudes(mags, &cat->magnitudes);
    return cat;
}

}  // namespace

std::string ShortSatelliteName(const std::string& name) {
    const size_t p = name.find(" (");
    return p == std::string::npos || p == 0 ? std::string() : name.substr(0, p);
}

const Elements* SatelliteCatalog::Find(const std::string& name) const {
    if (name.empty()) return nullptr;
    if (name.find_first_not_of("0123456789") == std::string::npos && name.size() <= 9) {
        const auto it = tle.sets.find(std::atoi(name.c_str()));
        if (it != tle.sets.end()) return &it->second;
    }
    const Elements* shortMatch = nullptr;
    for (const auto& [number, e] : tle.sets) {
        if (strcasecmp(e.name.c_str(), name.c_str()) == 0) return &e;
        if (!shortMatch && strcasecmp(ShortSatelliteName(e.name).c_str(), name.c_str()) == 0)
            shortMatch = &e;
    }
    return shortMatch;
}

const Elements* SatelliteCatalog::At(int number, double jdUt) const {
    const auto it = choices.find(number);
    if (it == choices.end() || it->second.empty()) return nullptr;
    const Elements* best = &it->second.front();
    for (const Elements& e : it->second)
        if (std::fabs(e.epochJd - jdUt) <= std::fabs(best->epochJd - jdUt)) best = &e;
    return best;
}

void SetTleFiles(const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> guard(Lock());
    if (paths == UserFiles()) return;
    UserFiles() = paths;
    Current().reset();
}

std::vector<std::string> UserTleFiles() {
    std::vector<std::string> files = EnvironmentFiles();
    files.insert(files.end(), UserFiles().begin(), UserFiles().end());
    return files;
}

std::shared_ptr<const SatelliteCatalog> Satellites() {
    std::lock_guard<std::mutex> guard(Lock());
    const std::vector<std::string> files = FilesNow();
    if (!Current() || files != LoadedWith()) {
        Current() = Load(UserTleFiles());
        LoadedWith() = files;
    }
    return Current();
}

std::shared_ptr<const SatelliteCatalog> SatelliteNumbered(int number) {
    std::lock_guard<std::mutex> guard(Lock());
    static std::map<int, std::shared_ptr<const SatelliteCatalog>> alone;
    static std::vector<std::string> aloneWith;
    const std::vector<std::string> files = FilesNow();
    if (Current() && files == LoadedWith()) return Current();
    if (files != aloneWith) {
        alone.clear();
        aloneWith = files;
    }
    auto& cat = alone[number];
    if (!cat) cat = Load(UserTleFiles(), number);
    return cat;
}

}  // namespace sky
