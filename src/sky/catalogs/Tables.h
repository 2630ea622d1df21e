// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// What the catalogue sources share: the tables opened once per process on first use, the
/// place of a catalogue star at an instant, and the answers every catalogue star gives
/// (internal).
#include <cstdint>
#include <string>

#include "platform/String.h"
#include "sky/Source.h"
#include "sky/catalogs/CatalogFile.h"

namespace sky {

/// The table data/NAME ("stars.zct"), opened on first use; null when it is missing or
/// damaged (said once on standard error with the file and the offset), so the rest of the
/// sky keeps working. A table lives as long as the process, refused or not.
const CatalogFile* Table(const char* name);

/// Text of a column as an answer.
CString TextOf(const CatalogFile& table, int column, uint32_t row);

/// Astrometric J2000 direction of a catalogue star at jdTt: the catalogue place (epoch
/// J2000) moved by its proper motion (mas a year, the one in RA times cos dec) and seen
/// from the Earth (earth: heliocentric, J2000, au) across its parallax (mas; NaN: none).
/// ra and dec in degrees; the direction as a vector, nearly of unit length.
Vec StarVector(double ra, double dec, double pmRa, double pmDec, double parallax, double jdTt,
               const Vec& earth);

/// The "position.*" and "jd.*" answers of a star row of stars.zct at the instant; empty
/// for other properties.
CString StarPlaceAnswer(const CatalogFile& stars, uint32_t row, const CString& property,
                        const Context& at);

/// Every answer of a row of stars.zct: names, designations, magnitudes, proper motion,
/// parallax, spectral type, identifiers, planets and the place. False for a property no
/// star has.
bool StarAnswer(const CatalogFile& stars, uint32_t row, const CString& property, const Context& at,
                CString* answer);

/// Splits "<prefix><element>.<property>" of a canonical query; false when q does not start
/// with prefix or has no element.
bool SplitPath(const CString& q, const wchar_t* prefix, CString* element, CString* property);

/// UTF-8 of a canonical query element, the form of the tables' keys.
std::string KeyOf(const CString& element);

/// The row of stars.zct of the star a row of another table names in its "hip" column; -1
/// when that table has none or stars.zct lacks it.
int64_t StarRowOf(const CatalogFile& table, uint32_t row);
/// The answer of that star (StarRowOf) to a property the other table does not answer
/// itself: empty without a star or for a property no star has.
void StarAnswerOrEmpty(int64_t star, const CString& property, const Context& at, CString* answer);

/// The row of table data/NAME that "PREFIX KEY.PROPERTY" (no blanks) names by its key: false
/// when q is not of that form, the table is missing or no row has the key.
bool RowOf(const CString& q, const wchar_t* prefix, const char* name, const CatalogFile** table,
           uint32_t* row, CString* property);

}  // namespace sky
