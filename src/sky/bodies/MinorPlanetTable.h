// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The whole MPC orbit file (about 1.4 million minor planets) as one memory-mapped table,
/// written by `zcmcom update minor-planets`: fixed-size orbit records, their designations
/// and names, and a hash index of every key SmallBodyCatalog knows ("433", "(433)", "eros",
/// "(433)eros", "2022ou15"). Opening maps the file and reads nothing else, so a click by
/// name costs one binary search; the search of a region screens every orbit with cheap
/// bounds first and places only the few that pass exactly.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Export.h"
#include "sky/bodies/SmallBody.h"

namespace sky {

/// The table's file name in the user's data folder (UpdatedFolder).
constexpr const char* kMinorPlanetTableName = "mpcorb.tab";

/// Writes the table of the minor planets of an MPC element file (comets and bad lines are
/// left out), through a temporary file renamed into place. False with a reason on failure.
ZCMCOM_API bool WriteMinorPlanetTable(const std::string& elements, const std::string& table,
                                      std::string* error);

/// The minor planets of an MPC element file as a mapped table (WriteMinorPlanetTable):
/// orbits by number, designation and name, and the brightest each can be.
class ZCMCOM_API MinorPlanetTable {
public:
    ~MinorPlanetTable();
    MinorPlanetTable(const MinorPlanetTable&) = delete;
    MinorPlanetTable& operator=(const MinorPlanetTable&) = delete;

    /// Maps a table; null with a reason when it is missing, damaged or of another version.
    static std::shared_ptr<const MinorPlanetTable> Open(const std::string& path,
                                                        std::string* error);
    /// The table in the user's data folder, opened once per process while the file stays
    /// the same; null when there is none.
    static std::shared_ptr<const MinorPlanetTable> Updated();

    /// The number of minor planets.
    size_t Size() const { return m_count; }
    /// The body of record k (k < Size()), with its file set to the table's.
    SmallBody At(size_t k) const;
    /// The record of a key (any case, blanks ignored: SmallBodyCatalog::Key); -1 when none.
    long Find(const std::string& key) const;

    /// The records that may be brighter than maxMag within radiusDeg of a J2000 direction
    /// (right ascension and declination in degrees) seen from the Earth's centre at a TT
    /// Julian Day: a superset of those that are, from bounds on each orbit's brightness and
    /// a two-body place without light time or aberration.
    std::vector<uint32_t> Screen(double jdTt, double raDeg, double decDeg, double radiusDeg,
                                 double maxMag) const;

private:
    MinorPlanetTable() = default;
    const unsigned char* m_base = nullptr;
    size_t m_size = 0, m_count = 0, m_keys = 0;
    const unsigned char *m_records = nullptr, *m_bright = nullptr, *m_index = nullptr,
                        *m_text = nullptr;
    std::string m_path;
};

/// The records brighter than maxMag within radiusDeg of a J2000 direction at a TT Julian
/// Day, by their geocentric astrometric places with light time and their magnitudes; with
/// screen false, every record is placed exactly (the brute-force answer).
ZCMCOM_API std::vector<uint32_t> MinorPlanetsWithin(const MinorPlanetTable& table, double jdTt,
                                                    double raDeg, double decDeg, double radiusDeg,
                                                    double maxMag, bool screen = true);

}  // namespace sky
