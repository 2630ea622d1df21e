// SPDX-License-Identifier: LGPL-3.0-or-later
// The memory-mapped table of the minor planets: its writer, the look-up by key and the
// screened search of a region.
#include "sky/bodies/MinorPlanetTable.h"

#include "sky/Bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <mutex>

#include "sky/DataFolders.h"
#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

// Layout: a header; the records (kRecord bytes each); the brightest magnitude each body can
// have seen from the Earth (a float each, -inf when unbounded), read alone by the screening;
// the key hashes, sorted, with the record of each; the designations and names, each
// record's as "designation\0name\0".
constexpr char kMagic[8] = {'Z', 'C', 'M', 'M', 'P', 'T', 'B', '2'};
constexpr double kEarthAphelion = 1.0167;
constexpr size_t kHeader = 48, kRecord = 72, kKey = 12;

uint64_t Hash(const std::string& key) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : key) h = (h ^ c) * 1099511628211ull;
    return h;
}

// The keys of a minor planet, as SmallBodyCatalog indexes them.
std::vector<std::string> KeysOf(const SmallBody& b) {
    std::vector<std::string> keys;
    const auto add = [&](const std::string& k) {
        if (k.empty()) return;
        std::string key = SmallBodyCatalog::Key(k);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    };
    add(SmallBodyCatalog::PathName(b));
    add(b.designation);
    add(b.id);
    if (b.number > 0) {
        add("(" + std::to_string(b.number) + ")");
        add("(" + std::to_string(b.number) + ")" + (b.name.empty() ? b.designation : b.name));
    }
    add(b.name);
    return keys;
}

// The geocentric J2000 direction of a body at a TT Julian Day, light time included, and
// its magnitude; false when the elements give no place.
bool ExactPlace(const SmallBody& b, double jdTt, const Vec& earth, Vec* dir, double* mag) {
    Vec h{}, geo{};
    if (!SmallBodyAt(b, jdTt, &h)) return false;
    geo = h - earth;
    for (int i = 0; i < 2; ++i) {
        if (!SmallBodyAt(b, jdTt - Norm(geo) * kLightDaysPerAu, &h)) return false;
        geo = h - earth;
    }
    const double r = Norm(h), delta = Norm(geo), R = Norm(earth);
    const double cosPhase =
        std::clamp((r * r + delta * delta - R * R) / (2 * r * delta), -1.0, 1.0);
    *mag = SmallBodyMagnitude(b, r, delta, std::acos(cosPhase) * 180.0 / M_PI);
    *dir = geo * (1.0 / delta);
    return true;
}

Vec Direction(double raDeg, double decDeg) {
    const double ra = raDeg * M_PI / 180.0, dec = decDeg * M_PI / 180.0;
    return Vec{std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
}

}  // namespace

bool WriteMinorPlanetTable(const std::string& elements, const std::string& table,
                           std::string* error) {
    std::ifstream in(elements, std::ios::binary);
    if (!in) {
        if (error) *error = elements + ": " + std::strerror(errno);
        return false;
    }
    std::string records, bright, text, line;
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    uint32_t count = 0;
    const auto add = [&](const std::string& l) {
        SmallBody b;
        if (!ParseElementsLine(l, &b, nullptr) || b.comet) return;
        for (double v : {b.q, b.e, b.i, b.w, b.node, b.perihelion, b.epoch}) Put(records, v);
        Put(records, static_cast<float>(b.H));
        Put(records, static_cast<float>(b.G));
        Put(records, static_cast<uint32_t>(b.number));
        Put(records, static_cast<uint32_t>(text.size()));
        // At perihelion, as near the Earth as it can be, at no phase.
        Put(bright, std::isfinite(b.H) && b.q > kEarthAphelion
                        ? static_cast<float>(b.H + 5.0 * std::log10(b.q * (b.q - kEarthAphelion)))
                        : -INFINITY);
        text += b.designation + '\0' + b.name + '\0';
        for (const std::string& k : KeysOf(b)) keys.emplace_back(Hash(k), count);
        ++count;
    };
    // MPCORB.DAT's preamble runs to a row of dashes within its first lines: those are held
    // back until it is clear whether such a row comes.
    std::vector<std::string> head;
    for (size_t n = 0; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n >= 100) {
            for (const std::string& l : head) add(l);
            head.clear();
            add(line);
        } else if (line.size() >= 20 && line.find_first_not_of('-') == std::string::npos) {
            head.clear();
            n = 100;  // the preamble is over
        } else {
            head.push_back(line);
        }
    }
    for (const std::string& l : head) add(l);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string header(kMagic, sizeof kMagic), index;
    Put(header, static_cast<uint64_t>(count));
    Put(header, static_cast<uint64_t>(keys.size()));
    Put(header, static_cast<uint64_t>(text.size()));
    header.resize(kHeader, '\0');
    index.reserve(keys.size() * kKey);
    for (const auto& [h, r] : keys) {
        Put(index, h);
        Put(index, r);
    }
    const std::string temp = table + ".new";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        for (const std::string* part : {&header, &records, &bright, &index, &text})
            file.write(part->data(), static_cast<std::streamsize>(part->size()));
        if (!file.flush()) {
            if (error) *error = temp + ": " + std::strerror(errno);
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), table.c_str()) != 0) {
        if (error) *error = table + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

MinorPlanetTable::~MinorPlanetTable() {
    if (m_base) munmap(const_cast<unsigned char*>(m_base), m_size);
}

std::shared_ptr<const MinorPlanetTable> MinorPlanetTable::Open(const std::string& path,
                                                               std::string* error) {
    const auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return nullptr;
    };
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < static_cast<off_t>(kHeader)) {
        close(fd);
        return fail("not a minor-planet table");
    }
    const size_t size = static_cast<size_t>(st.st_size);
    void* map = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    if (map == MAP_FAILED) return fail(std::strerror(errno));
    std::shared_ptr<MinorPlanetTable> t(new MinorPlanetTable);
    t->m_base = static_cast<const unsigned char*>(map);
    t->m_size = size;
    t->m_path = path;
    const uint64_t count = Get<uint64_t>(t->m_base + 8), keys = Get<uint64_t>(t->m_base + 16),
                   text = Get<uint64_t>(t->m_base + 24);
    if (std::memcmp(t->m_base, kMagic, sizeof kMagic) != 0 || count > (size >> 6) ||
        keys > (size >> 3) || kHeader + count * (kRecord + 4) + keys * kKey + text != size)
        return fail("not a minor-planet table of this version");
    t->m_count = count;
    t->m_keys = keys;
    t->m_records = t->m_base + kHeader;
    t->m_bright = t->m_records + count * kRecord;
    t->m_index = t->m_bright + count * 4;
    t->m_text = t->m_index + keys * kKey;
    return t;
}

std::shared_ptr<const MinorPlanetTable> MinorPlanetTable::Updated() {
    static std::mutex mutex;
    static std::shared_ptr<const MinorPlanetTable> current;
    static std::string path;
    static struct stat seen {};
    std::lock_guard<std::mutex> lock(mutex);
    const std::string now = UpdatedPath(kMinorPlanetTableName);
    struct stat st {};
    if (now.empty() || stat(now.c_str(), &st) != 0) {
        current.reset();
        path.clear();
        return current;
    }
    if (now != path || st.st_ino != seen.st_ino || st.st_mtime != seen.st_mtime) {
        current = Open(now, nullptr);
        path = now;
        seen = st;
    }
    return current;
}

SmallBody MinorPlanetTable::At(size_t k) const {
    const unsigned char* r = m_records + k * kRecord;
    SmallBody b;
    double* fields[] = {&b.q, &b.e, &b.i, &b.w, &b.node, &b.perihelion, &b.epoch};
    for (int f = 0; f < 7; ++f) *fields[f] = Get<double>(r + 8 * f);
    b.H = Get<float>(r + 56);
    b.G = Get<float>(r + 60);
    b.number = Get<uint32_t>(r + 64);
    const uint32_t at = Get<uint32_t>(r + 68);
    const size_t textSize = m_size - static_cast<size_t>(m_text - m_base);
    if (at < textSize) {
        const char* s = reinterpret_cast<const char*>(m_text + at);
        b.designation.assign(s, strnlen(s, textSize - at));
        const size_t next = at + b.designation.size() + 1;
        if (next < textSize) {
            s = reinterpret_cast<const char*>(m_text + next);
            b.name.assign(s, strnlen(s, textSize - next));
        }
    }
    b.id = b.number > 0 ? std::to_string(b.number) : b.designation;
    b.file = m_path;
    return b;
}

long MinorPlanetTable::Find(const std::string& text) const {
    const std::string key = SmallBodyCatalog::Key(text);
    if (key.empty()) return -1;
    const uint64_t h = Hash(key);
    size_t lo = 0, hi = m_keys;
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (Get<uint64_t>(m_index + mid * kKey) < h)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (; lo < m_keys && Get<uint64_t>(m_index + lo * kKey) == h; ++lo) {
        const uint32_t record = Get<uint32_t>(m_index + lo * kKey + 8);
        if (record >= m_count) continue;
        const std::vector<std::string> keys = KeysOf(At(record));
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) return record;
    }
    return -1;
}

std::vector<uint32_t> MinorPlanetTable::Screen(double jdTt, double raDeg, double decDeg,
                                               double radiusDeg, double maxMag) const {
    std::vector<uint32_t> out;
    const Vec earth = EarthAt(jdTt), toward = Direction(raDeg, decDeg);
    // The light time's motion, aberration and the rough solution of Kepler's equation stay
    // well inside these margins.
    const double cosLimit = std::cos(std::min(180.0, radiusDeg + 0.1) * M_PI / 180.0);
    const double magLimit = maxMag + 0.05;
    constexpr double kGauss = 0.01720209895, kObliquity = 23.4392911 * M_PI / 180.0;
    const double ce = std::cos(kObliquity), se = std::sin(kObliquity);
    for (size_t k = 0; k < m_count; ++k) {
        if (Get<float>(m_bright + 4 * k) > magLimit) continue;
        const unsigned char* r = m_records + k * kRecord;
        const double q = Get<double>(r), e = Get<double>(r + 8), H = Get<float>(r + 56);
        Vec h{};
        if (e < 0.98) {
            // The ellipse by its eccentric anomaly: a few Newton steps from a good start.
            const double a = q / (1.0 - e), n = kGauss / (a * std::sqrt(a));
            const double M = std::remainder(n * (jdTt - Get<double>(r + 40)), 2.0 * M_PI);
            double E = M + e * std::sin(M);
            for (int it = 0; it < 6; ++it) {
                const double d = (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
                E -= d;
                if (std::fabs(d) < 1e-9) break;
            }
            const double x = a * (std::cos(E) - e), y = a * std::sqrt(1.0 - e * e) * std::sin(E);
            const double i = Get<double>(r + 16) * M_PI / 180.0,
                         w = Get<double>(r + 24) * M_PI / 180.0,
                         node = Get<double>(r + 32) * M_PI / 180.0;
            const double cw = std::cos(w), sw = std::sin(w), cn = std::cos(node),
                         sn = std::sin(node), ci = std::cos(i), si = std::sin(i);
            const double xo = x * cw - y * sw, yo = x * sw + y * cw;
            // Ecliptic J2000, then equatorial.
            const double ex = xo * cn - yo * ci * sn, ey = xo * sn + yo * ci * cn, ez = yo * si;
            h = Vec{ex, ey * ce - ez * se, ey * se + ez * ce};
        } else {
            SmallBody b;
            double* fields[] = {&b.q, &b.e, &b.i, &b.w, &b.node, &b.perihelion, &b.epoch};
            for (int f = 0; f < 7; ++f) *fields[f] = Get<double>(r + 8 * f);
            if (!SmallBodyAt(b, jdTt, &h)) continue;
        }
        const Vec geo = h - earth;
        const double delta = Norm(geo);
        if (std::isfinite(H) && H + 5.0 * std::log10(Norm(h) * delta) > magLimit) continue;
        if (Dot(geo, toward) < cosLimit * delta) continue;
        out.push_back(static_cast<uint32_t>(k));
    }
    return out;
}

std::vector<uint32_t> MinorPlanetsWithin(const MinorPlanetTable& table, double jdTt, double raDeg,
                                         double decDeg, double radiusDeg, double maxMag,
                                         bool screen) {
    std::vector<uint32_t> candidates;
    if (screen) {
        candidates = table.Screen(jdTt, raDeg, decDeg, radiusDeg, maxMag);
    } else {
        candidates.resize(table.Size());
        for (size_t k = 0; k < candidates.size(); ++k) candidates[k] = static_cast<uint32_t>(k);
    }
    const Vec earth = EarthAt(jdTt), toward = Direction(raDeg, decDeg);
    const double cosLimit = std::cos(radiusDeg * M_PI / 180.0);
    std::vector<uint32_t> found;
    for (uint32_t k : candidates) {
        Vec dir{};
        double mag = NAN;
        if (ExactPlace(table.At(k), jdTt, earth, &dir, &mag) && Dot(dir, toward) >= cosLimit &&
            mag <= maxMag)
            found.push_back(k);
    }
    return found;
}

}  // namespace sky
