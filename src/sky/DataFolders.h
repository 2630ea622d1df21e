// SPDX-License-Identifier: LGPL-3.0-or-later
// Where the sky's data files (catalogues, element files, the camera database, the chart's
// page) are found.
#pragma once

#include <string>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// The folders that may hold the data, in the order they are searched:
///  1. $ZCMCOM_DATA_DIR, when set;
///  2. share/zcmcom found from the folder of this library and from the folder of the
///     running program, up to two levels above each (<prefix>/lib/<triplet> and
///     <prefix>/bin both lead to <prefix>/share/zcmcom), so an installation works wherever
///     it is unpacked; a build tree mirrors that layout;
///  3. the data folder configured at build time (<CMAKE_INSTALL_PREFIX>/share/zcmcom).
/// Folders that do not exist are left out; none is listed twice.
ZCMCOM_API std::vector<std::string> DataFolders();

/// The path of a data file ("skycat.txt") in the first of DataFolders() that holds it as a
/// regular file; empty when none does.
ZCMCOM_API std::string DataPath(const std::string& name);

/// The folder where `zcmcom update` keeps current element files: $XDG_DATA_HOME/zcmcom, else
/// ~/.local/share/zcmcom; empty when neither variable is set. It need not exist.
ZCMCOM_API std::string UpdatedFolder();

/// The updated copy of a data file ("satellites.tle") when UpdatedFolder() holds it as a
/// regular file; empty otherwise. The sky reads it after the user's own files and before the
/// bundled one.
ZCMCOM_API std::string UpdatedPath(const std::string& name);

/// Where a data file comes from, for the texts: "satellites.tle (bundled)", "satellites.tle
/// (updated)", or any other file by its name.
ZCMCOM_API std::string DataOrigin(const std::string& file);

}  // namespace sky
