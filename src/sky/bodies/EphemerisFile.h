// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The sky's ephemeris file (share/zcmcom/de405.zce): the Chebyshev coefficients of DE405
/// for the Sun, the Moon, Mercury to Pluto and the Earth-Moon barycentre, one record per 32
/// days, as tools/ephemeris writes them; memory-mapped and evaluated here (internal).
#include <cstddef>
#include <cstdint>

#include "platform/Export.h"

namespace sky {

/// The bodies of the file, in DE405's order: Mercury 0 to Pluto 8 (2 the Earth-Moon
/// barycentre), the Moon 9 (geocentric), the Sun 10; all but the Moon barycentric.
constexpr int kEphemerisBodies = 11;
/// The bodies' numbers in the file.
enum EphemerisBody {
    kEphMercury,
    kEphVenus,
    kEphEmb,
    kEphMars,
    kEphJupiter,
    kEphSaturn,
    kEphUranus,
    kEphNeptune,
    kEphPluto,
    kEphMoon,
    kEphSun
};
/// The first bytes of the file (format 1).
constexpr char kEphemerisMagic[8] = {'Z', 'C', 'M', 'E', 'P', 'H', '1', '\0'};

/// The file's header; the records follow it, each recordDoubles little-endian doubles
/// (kilometres, the bodies' blocks at their offsets: x, y and z coefficients of each
/// sub-interval in turn).
struct EphemerisHeader {
    char magic[8];           ///< kEphemerisMagic
    uint32_t records;        ///< how many records
    uint32_t recordDoubles;  ///< numbers in a record
    double firstJd;          ///< TDB Julian Day the first record starts at
    double days;             ///< the span of one record
    double auKm;             ///< the astronomical unit, km
    double emrat;            ///< the Earth's mass over the Moon's
    /// Where a body's block starts in a record, its coefficients per coordinate and its
    /// sub-intervals.
    struct Entry {
        /// The block's first number in a record, coefficients per coordinate, sub-intervals
        /// and a word kept zero.
        /// @{
        uint32_t offset, ncoef, nsub, unused;
        /// @}
    } body[kEphemerisBodies];  ///< by the bodies' order in the file
};

/// An ephemeris in memory: its header and its records.
struct EphemerisData {
    const EphemerisHeader* header = nullptr;  ///< at the start of the mapped file
    const double* records = nullptr;          ///< the records, right after the header
};

/// The position (au) and, when vel is given, the velocity (au a day) of a body of the file
/// at a TDB Julian Day; false (nothing written) outside the records.
ZCMCOM_API bool EvaluateEphemeris(const EphemerisData& data, int body, double jdTdb, double pos[3],
                                  double vel[3]);

/// Asks the processor to fetch a body's coefficients at a TDB Julian Day ahead of their
/// evaluation (instants far apart find them out of the caches).
void PrefetchEphemeris(const EphemerisData& data, int body, double jdTdb);

/// The ephemeris file of the data folders, mapped on first use; nullptr (one warning on
/// standard error) when there is none or it is not a valid file. The theories answer then.
const EphemerisData* SharedEphemeris();

/// The file at path, mapped for the life of the program; nullptr with a reason in *error
/// when it is missing or not a valid ephemeris file.
ZCMCOM_API const EphemerisData* MapEphemeris(const char* path, const char** error);

}  // namespace sky
