// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Internal: what the library sets up when it is loaded and takes down when it is unloaded
/// (the locale, its resources, the one CSigSys, the camera model table).
#include "platform/Resource.h"

class CSigSys;

namespace zcmlib {

/// The instance made at load; null before load and after unload.
const CSigSys* SigSysInstance();
/// The library's registered resource module; null when not registered.
HMODULE ResourceModule();

/// The library's resource tables (src/res/).
const ZcmStringResource* LibraryStrings(size_t* count);
const ZcmBinaryResource* LibraryBinaries(size_t* count);

}  // namespace zcmlib
