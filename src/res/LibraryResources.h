#pragma once
/// @file
/// The library's own resources: its string table and its binary resources, registered
/// under the module name "zcmcom.dll" while the library is loaded.
#include "platform/Resource.h"

#define IDR_TIMEZONE_MAP 23101  // METAFILE: the world time-zone map
#define IDS_URL_UPDATE_CHECK_TEST 23102
#define IDS_URL_UPDATE_CHECK 23103
#define IDS_URL_UPDATE_INI_TEST 23104
#define IDS_URL_UPDATE_INI 23105
#define IDS_FIELD_FRAME_AREA 23106
#define IDS_FIELD_FRAME_GUIDER 23107
#define IDS_CLICKDATA_KEY 23108

#define ZCMCOM_MODULE_NAME L"zcmcom.dll"

/// The handle of the library's resource module (null when not registered).
ZCMCOM_API HMODULE ZcmLibraryModule();
