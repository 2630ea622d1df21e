// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/bodies/EphemerisFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

#include "sky/DataFolders.h"

namespace sky {

namespace {

// The coefficients of a body at a TDB Julian Day and the Chebyshev argument there, -1..1;
// nullptr outside the records.
const double* Block(const EphemerisData& data, int body, double jdTdb, double* x) {
    const EphemerisHeader& h = *data.header;
    const double u = (jdTdb - h.firstJd) / h.days;
    if (!(u >= 0.0 && u <= h.records)) return nullptr;
    size_t record = static_cast<size_t>(u);
    if (record == h.records) --record;  // the last record's end
    const EphemerisHeader::Entry& e = h.body[body];
    // The sub-interval and the Chebyshev argument in it.
    const double s = (u - static_cast<double>(record)) * e.nsub;
    size_t sub = static_cast<size_t>(s);
    if (sub >= e.nsub) sub = e.nsub - 1;
    *x = 2.0 * (s - static_cast<double>(sub)) - 1.0;
    return data.records + record * h.recordDoubles + e.offset + sub * 3 * e.ncoef;
}

}  // namespace

void PrefetchEphemeris(const EphemerisData& data, int body, double jdTdb) {
    double x = 0.0;
    const char* c = reinterpret_cast<const char*>(Block(data, body, jdTdb, &x));
    if (!c) return;
    const size_t bytes = 3 * data.header->body[body].ncoef * sizeof(double);
    for (size_t b = 0; b < bytes; b += 64) __builtin_prefetch(c + b);
}

bool EvaluateEphemeris(const EphemerisData& data, int body, double jdTdb, double pos[3],
                       double vel[3]) {
    const EphemerisHeader& h = *data.header;
    const EphemerisHeader::Entry& e = h.body[body];
    double x = 0.0;
    const double* c = Block(data, body, jdTdb, &x);
    if (!c) return false;
    // T_k(x) and their derivatives by the recurrences, shared by the three coordinates,
    // which are summed side by side (each in the order of k).
    const uint32_t n = e.ncoef;
    const double *cx = c, *cy = c + n, *cz = c + 2 * n;
    double T[16], dT[16];
    T[0] = 1.0, T[1] = x;
    for (uint32_t k = 2; k < n; ++k) T[k] = 2.0 * x * T[k - 1] - T[k - 2];
    // The three series summed side by side over the basis b from its term `from`, scaled.
    const auto sums = [&](const double* b, uint32_t from, double scale, double out[3]) {
        double sx = 0.0, sy = 0.0, sz = 0.0;
        for (uint32_t k = from; k < n; ++k) {
            sx += cx[k] * b[k];
            sy += cy[k] * b[k];
            sz += cz[k] * b[k];
        }
        out[0] = sx * scale, out[1] = sy * scale, out[2] = sz * scale;
    };
    const double toAu = 1.0 / h.auKm;
    sums(T, 0, toAu, pos);
    if (!vel) return true;
    dT[0] = 0.0, dT[1] = 1.0;
    for (uint32_t k = 2; k < n; ++k) dT[k] = 2.0 * T[k - 1] + 2.0 * x * dT[k - 1] - dT[k - 2];
    sums(dT, 1, 2.0 * e.nsub / h.days * toAu, vel);  // dx/dt, and km to au
    return true;
}

const EphemerisData* MapEphemeris(const char* path, const char** error) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot open it";
        return nullptr;
    }
    struct stat st {};
    void* base = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) >= sizeof(EphemerisHeader))
        base = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (base == MAP_FAILED) {
        *error = "not an ephemeris file";
        return nullptr;
    }
    const auto* h = static_cast<const EphemerisHeader*>(base);
    // The numbers are little-endian: on a host of the other order the astronomical unit
    // reads as nonsense and the file is refused.
    bool valid = std::memcmp(h->magic, kEphemerisMagic, sizeof h->magic) == 0 && h->records > 0 &&
                 h->days > 0.0 && h->auKm > 1.49e8 && h->auKm < 1.5e8 &&
                 sizeof(EphemerisHeader) +
                         static_cast<size_t>(h->records) * h->recordDoubles * sizeof(double) ==
                     static_cast<size_t>(st.st_size);
    for (int b = 0; valid && b < kEphemerisBodies; ++b) {
        const EphemerisHeader::Entry& e = h->body[b];
        valid = e.ncoef >= 2 && e.ncoef <= 16 && e.nsub >= 1 &&
                e.offset + 3ull * e.ncoef * e.nsub <= h->recordDoubles;
    }
    if (!valid) {
        ::munmap(base, static_cast<size_t>(st.st_size));
        *error = "not an ephemeris file of this library";
        return nullptr;
    }
    const double* records = reinterpret_cast<const double*>(h + 1);
    // Mapped for good, like the table itself; kept in a list so the descriptions stay reachable.
    static std::mutex mutex;
    static std::deque<EphemerisData> mapped;
    std::lock_guard<std::mutex> lock(mutex);
    return &mapped.emplace_back(EphemerisData{h, records});
}

const EphemerisData* SharedEphemeris() {
    static const EphemerisData* const shared = [] {
        const char* error = "not in the data folders";
        const std::string path = DataPath("de405.zce");
        const EphemerisData* data = path.empty() ? nullptr : MapEphemeris(path.c_str(), &error);
        if (!data)
            std::fprintf(stderr, "zcmcom: the ephemeris de405.zce: %s; the sky uses its theories\n",
                         error);
        return data;
    }();
    return shared;
}

}  // namespace sky
