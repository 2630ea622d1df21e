// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The satellites the built-in sky knows: the bundled element sets (data/satellites.tle,
/// standard magnitudes in data/satellites-mag.txt) and the user's own files, from
/// SetTleFiles and from $ZCMCOM_SKY_TLE (several paths separated by ':'), and the copy
/// `zcmcom update` keeps (UpdatedPath). For one satellite, the user's files win over the
/// updated copy, which wins over the bundled sets; among the sets of the winning files, the
/// one whose epoch is nearest the instant asked. Read once per process and shared; reading
/// again happens only when the list of user files changes.
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Export.h"
#include "sky/satellites/Tle.h"

namespace sky {

/// The element sets and standard magnitudes of the known satellites.
struct ZCMCOM_API SatelliteCatalog {
    /// Sets by catalogue number (each the newest of the winning files), and what was skipped.
    TleCatalog tle;
    /// Every set of each satellite in the files that win for it.
    std::map<int, std::vector<Elements>> choices;
    std::map<int, double> magnitudes;  ///< standard magnitudes by catalogue number
    /// The standard magnitude (at 1000 km, half lit) of a satellite; NaN when unknown.
    double StdMagnitude(int number) const {
        const auto it = magnitudes.find(number);
        return it == magnitudes.end() ? NAN : it->second;
    }
    /// A satellite by catalogue number ("25544"), by its name ("ISS (ZARYA)") or by the
    /// name before its parenthesis ("ISS"), without regard to case; among several with the
    /// same short name, the lowest number. nullptr when none.
    const Elements* Find(const std::string& name) const;
    /// The set of a satellite whose epoch is nearest a UTC Julian Day; nullptr when unknown.
    const Elements* At(int number, double jdUt) const;
};

/// User element files read in addition to the bundled ones and $ZCMCOM_SKY_TLE.
ZCMCOM_API void SetTleFiles(const std::vector<std::string>& paths);
/// The user's element files: those of $ZCMCOM_SKY_TLE, then those of SetTleFiles.
ZCMCOM_API std::vector<std::string> UserTleFiles();
/// The catalogue as it stands now (read on first use).
ZCMCOM_API std::shared_ptr<const SatelliteCatalog> Satellites();
/// The catalogue as Satellites() has it for one satellite only: its sets (in tle.sets and
/// choices) and all magnitudes, read without parsing the others' sets; Satellites() itself
/// when that is read already. For a question about one satellite.
ZCMCOM_API std::shared_ptr<const SatelliteCatalog> SatelliteNumbered(int number);
/// The short name of a satellite: its name up to " (" ("ISS (ZARYA)" gives "ISS"); empty
/// when the name has no such part.
ZCMCOM_API std::string ShortSatelliteName(const std::string& name);

}  // namespace sky
