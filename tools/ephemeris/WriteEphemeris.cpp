// SPDX-License-Identifier: LGPL-3.0-or-later
// Derived from: JPL Planetary and Lunar Ephemeris DE405 (E. M. Standish, Jet Propulsion
// Laboratory, 1998), public domain (U.S. Government work), as Debian's
// casacore-data-jpl-de405 ships it.
//
// Writes the sky's ephemeris file (share/zcmcom/de405.zce) from DE405 as a casacore table:
// the Chebyshev coefficients of the Sun, the Moon, Mercury to Pluto and the Earth-Moon
// barycentre, record by record (nutations and librations left out), unchanged.
//
// The table keeps each 32-day record as one array of 1018 little-endian doubles in
// table.f0i: a 12-byte header (1, 1, 1018) before it, 16 bytes from one record's end to the
// next one's start. The layout, the first record's date and the units are checked against
// DE405's own initial conditions and against the continuity of every body from one record
// to the next, so a table laid out otherwise is refused rather than misread.
//
// Usage: zcmcom-ephemeris DE405-TABLE-FOLDER OUTPUT
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sky/bodies/EphemerisFile.h"

namespace {

constexpr int kRecordDoubles = 1018;    // two dates and 1016 coefficients, less the dates
constexpr size_t kFirst = 28;           // bytes before the first record's data
constexpr size_t kStride = 8160;        // from one record's data to the next
constexpr double kFirstJd = 2436912.5;  // the first record's start (MJD 36912)
constexpr double kDays = 32.0;
constexpr double kAuKm = 149597870.691;
constexpr double kEmrat = 81.30056;

// Where each kept body's coefficients start in a record (0-based, the two dates not
// counted), their number per coordinate and the sub-intervals: DE405's layout.
struct Layout {
    int offset, ncoef, nsub;
};
constexpr Layout kLayout[sky::kEphemerisBodies] = {
    {0, 14, 4},  {168, 10, 2}, {228, 13, 2}, {306, 11, 1}, {339, 8, 1}, {363, 7, 1},
    {384, 6, 1}, {402, 6, 1},  {420, 6, 1},  {438, 13, 8}, {750, 11, 2}};

int Fail(const std::string& message) {
    std::fprintf(stderr, "zcmcom-ephemeris: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Fail("usage: zcmcom-ephemeris DE405-TABLE-FOLDER OUTPUT");
    const std::string input = std::string(argv[1]) + "/table.f0i";
    std::ifstream in(input, std::ios::binary);
    if (!in) return Fail("cannot read " + input);
    const std::vector<unsigned char> raw((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    const size_t dataBytes = kRecordDoubles * sizeof(double);
    if (raw.size() < kFirst + dataBytes || (raw.size() - kFirst - dataBytes) % kStride != 0)
        return Fail(input + ": not the layout of DE405's casacore table");
    const size_t records = (raw.size() - kFirst - dataBytes) / kStride + 1;

    // The header of every record, then the kept coefficients.
    sky::EphemerisHeader header{};
    std::memcpy(header.magic, sky::kEphemerisMagic, sizeof header.magic);
    header.records = static_cast<uint32_t>(records);
    header.firstJd = kFirstJd;
    header.days = kDays;
    header.auKm = kAuKm;
    header.emrat = kEmrat;
    uint32_t kept = 0;
    for (int b = 0; b < sky::kEphemerisBodies; ++b) {
        header.body[b] = {kept, static_cast<uint32_t>(kLayout[b].ncoef),
                          static_cast<uint32_t>(kLayout[b].nsub), 0};
        kept += 3 * kLayout[b].ncoef * kLayout[b].nsub;
    }
    header.recordDoubles = kept;
    std::vector<double> out(records * kept);
    for (size_t r = 0; r < records; ++r) {
        const unsigned char* p = raw.data() + kFirst + r * kStride;
        int32_t shape[3];
        std::memcpy(shape, p - 12, sizeof shape);
        if (shape[0] != 1 || shape[1] != 1 || shape[2] != kRecordDoubles)
            return Fail(input + ": record " + std::to_string(r) + " is not 1018 numbers");
        std::vector<double> rec(kRecordDoubles);
        std::memcpy(rec.data(), p, dataBytes);
        double* o = out.data() + r * kept;
        for (int b = 0; b < sky::kEphemerisBodies; ++b) {
            const int n = 3 * kLayout[b].ncoef * kLayout[b].nsub;
            std::memcpy(o + header.body[b].offset, rec.data() + kLayout[b].offset,
                        n * sizeof(double));
        }
    }

    // Read back through the evaluator: DE405's initial conditions at JD 2440400.5 (Mercury
    // barycentric, the Moon geocentric, au), and every body continuous across the records.
    const sky::EphemerisData data{&header, out.data()};
    const double jd0 = 2440400.5;
    const struct {
        int body;
        double x, y, z;
    } checks[] = {{0, 0.3617627146035093, -0.09078196772958605, -0.08571498318176335},
                  {9, -0.0008081773279114842, -0.0019946300016203994, -0.0010872626608381018}};
    for (const auto& c : checks) {
        double pos[3];
        sky::EvaluateEphemeris(data, c.body, jd0, pos, nullptr);
        if (std::fabs(pos[0] - c.x) + std::fabs(pos[1] - c.y) + std::fabs(pos[2] - c.z) > 1e-12)
            return Fail(input + ": DE405's initial conditions do not come out");
    }
    for (size_t r = 1; r < records; ++r) {
        const double t = kFirstJd + r * kDays;
        for (int b = 0; b < sky::kEphemerisBodies; ++b) {
            double before[3], after[3];
            sky::EvaluateEphemeris(data, b, t - 1e-9, before, nullptr);
            sky::EvaluateEphemeris(data, b, t, after, nullptr);
            for (int i = 0; i < 3; ++i)
                if (std::fabs(before[i] - after[i]) * kAuKm > 0.01)  // km
                    return Fail(input + ": body " + std::to_string(b) + " jumps at record " +
                                std::to_string(r));
        }
    }

    std::ofstream o(argv[2], std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(&header), sizeof header);
    o.write(reinterpret_cast<const char*>(out.data()),
            static_cast<std::streamsize>(out.size() * sizeof(double)));
    if (!o.flush()) return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
