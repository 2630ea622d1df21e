// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Towns by name, for a site given as a town ("Tokyo", "東京", "London,GB"): the named towns
/// of data/tztowns.txt, with their English and Japanese names.
#include <string>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// A named town: where it is, its IANA zone and country (ISO 3166 code), its first name.
struct ZCMCOM_API Town {
    /// Degrees north and east.
    /// @{
    double lat = 0.0, lon = 0.0;
    /// @}
    /// The IANA zone ("Europe/London"), the ISO 3166 country code ("GB") and the first name.
    /// @{
    std::string zone, country, name;
    /// @}
    /// "London,GB (Europe/London, 51.51 N, 0.13 W)"
    std::string Described() const;
};

/// The towns named text (UTF-8): names compare folded (sky::FoldName: case, width, kana,
/// blanks and punctuation aside); ",CC" after the name keeps the towns of one country.
/// When none is named so, *closest (if given) gets up to n names close to the text
/// ("Tokyo,JP"), or none.
ZCMCOM_API std::vector<Town> TownsNamed(const std::string& text,
                                        std::vector<std::string>* closest = nullptr, size_t n = 5);

/// A town as typed, "name" or "name,CC": the name, folded as TownsNamed compares names, and
/// the country code in upper case (empty without one).
struct ZCMCOM_API TownText {
    /// Read from text (UTF-8).
    explicit TownText(const std::string& text);
    /// The name as typed, folded (UTF-8), and the country code.
    /// @{
    std::string name, folded, country;
    /// @}
};

/// A named town with all its names: as written (UTF-8) and folded as TownsNamed compares
/// them.
struct ZCMCOM_API NamedTown {
    Town town;  ///< named by the first of its names
    /// Its names as written and as folded, in the same order.
    /// @{
    std::vector<std::string> names, folded;
    /// @}
};

/// Every named town of data/tztowns.txt, in the list's order: the towns found by name only
/// last.
ZCMCOM_API std::vector<NamedTown> AllTowns();

/// The great-circle distance in kilometres between two points (degrees north and east) on
/// the Earth's mean sphere.
ZCMCOM_API double GreatCircleKm(double lat1, double lon1, double lat2, double lon2);

}  // namespace sky
