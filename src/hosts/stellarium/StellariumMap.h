// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// What CStellariumHost computes without Stellarium: the mapping between the library's
/// object paths and Stellarium's object names, and the answers to one object's
/// properties from Stellarium's /api/objects/info JSON (internal; exported for the tests).
#include <string>
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"

namespace stellarium {

/// Splits a canonical query (lower case, no blanks: "solar.planet.mars.position.ra") into
/// the object path ("solar.planet.mars") and its property ("position.ra", empty for the
/// bare path). False when the query names no object Stellarium can know.
ZCMCOM_API bool SplitObjectQuery(const CString& query, CString* path, CString* property);
/// The name Stellarium finds the object of a canonical path by ("Mars", "HIP 32349",
/// "NGC 7000", "M42", "Geminids"); empty when it has none.
ZCMCOM_API CString NameOfPath(const CString& path);
/// The library's path of the object an /api/objects/info JSON text describes
/// ("Solar.Planet.Mars", "Star.HIP.32349", "DeepSkyObject.NGC.1976", "Meteor.GEM");
/// empty for an object the library has no path for, or for text that is no such JSON.
ZCMCOM_API CString PathOfInfo(const std::string& infoJson);

/// Where and when the answers are for.
struct InfoContext {
    double jdUt = 0.0;       ///< the instant, Julian Day (UT)
    double zone = 0.0;       ///< Stellarium's own zone (hours), in which its rise and set hours are
    double longitude = 0.0;  ///< the site, degrees east
    double latitude = 0.0;   ///< degrees north
    double height = 0.0;     ///< metres
    double sunDistance = NAN;  ///< the Earth's from the Sun (au); NaN: computed from the instant
};

/// The answer to one property of the object at a canonical path, from its
/// /api/objects/info JSON: numbers as decimal text, "*" for a property known but without
/// a value now, empty for one Stellarium does not have. Any text is taken; text that is
/// not such JSON answers empty.
ZCMCOM_API CString AnswerFromInfo(const std::string& infoJson, const CString& path,
                                  const CString& property, const InfoContext& at);

/// Whether the text begins with the prefix.
inline bool StartsWith(const CString& s, const wchar_t* prefix) {
    const CString p(prefix);
    return s.Left(p.GetLength()) == p;
}
/// Stellarium's "designations" text of an object ("M 42 - NGC 1976 - LBN 974") split into
/// its designations, each trimmed.
ZCMCOM_API std::vector<CString> SplitDesignations(const std::string& text);

/// Precesses a mean place (degrees) between two epochs given as TT Julian Days (IAU 1976).
ZCMCOM_API void Precess(double jdFrom, double jdTo, double* ra, double* dec);
/// Julian Day (UT) of a local clock hour on the local date of jdUt in the given zone.
ZCMCOM_API double JdOfLocalHour(double jdUt, double zone, double hour);

}  // namespace stellarium
