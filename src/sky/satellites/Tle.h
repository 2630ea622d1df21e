// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Two-line element sets: the standard two-line and three-line (name line first) forms,
/// column by column, with the line checksums verified. Reading never fails as a whole:
/// a set that cannot be used is reported with its file and line and skipped.
#include <map>
#include <string>
#include <vector>

#include "platform/Export.h"
#include "sky/satellites/Sgp4.h"

namespace sky {

/// The largest element file read (the whole public catalogue is a few megabytes).
constexpr size_t kMaxTleFileBytes = size_t(50) << 20;

/// Reads one set from its two lines (the name line, if any, is set by the caller). With
/// strict set, the checksums must hold and the elements must describe a possible orbit
/// (mean motion above 0 and at most 20 revolutions a day, angles in range); without it
/// only the layout is checked, as for test sets that exercise the model's own errors.
/// Returns false with a short reason in error.
ZCMCOM_API bool ParseTle(const std::string& line1, const std::string& line2, Elements* out,
                         std::string* error, bool strict = true);

/// A set that was skipped: where it was and why.
struct TleProblem {
    std::string file;    ///< the file as named
    int line = 0;        ///< 1-based line number of the offending line
    std::string reason;  ///< why, in English
};

/// Element sets by catalogue number; when a number comes more than once (in one file or
/// across files), the newest epoch wins in sets, and every one is kept in all.
struct ZCMCOM_API TleCatalog {
    std::map<int, Elements> sets;              ///< the newest set of each catalogue number
    std::map<int, std::vector<Elements>> all;  ///< every set read, in the order met
    std::vector<TleProblem> problems;          ///< the sets skipped, in the order met
    /// Adds the sets of a text (the contents of file, named in problems). Returns how many
    /// sets were read. With only at 0 or more, the sets of other catalogue numbers are
    /// passed over unread (and are no problems): the sets of one satellite, cheaply.
    int AddText(const std::string& text, const std::string& file, int only = -1);
    /// Reads a file of at most kMaxTleFileBytes; false (with a problem at line 0 that says
    /// why) when it cannot be read.
    bool AddFile(const std::string& path, int only = -1);
};

/// The checksum of a line: the sum of its digits, a minus sign counting 1, over the first
/// 68 columns, modulo 10.
ZCMCOM_API int TleChecksum(const std::string& line);
/// The UTC Julian Day of a TLE epoch: a two-digit year (57 to 99: 1900s) and a day of the
/// year with its fraction (1.0 is January 1, 0h).
ZCMCOM_API double TleEpochJd(int year2, double dayOfYear);

}  // namespace sky
