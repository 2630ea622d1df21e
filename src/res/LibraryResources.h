// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The library's own resources: its string table and its binary resources, registered
/// under the module name "zcmcom.dll" while the library is loaded.
#include "platform/Resource.h"

/// METAFILE resource: the world time-zone map.
#define IDR_TIMEZONE_MAP 23101
/// String: address of the update check (test server).
#define IDS_URL_UPDATE_CHECK_TEST 23102
/// String: address of the update check.
#define IDS_URL_UPDATE_CHECK 23103
/// String: address of the update description file (test server).
#define IDS_URL_UPDATE_INI_TEST 23104
/// String: address of the update description file.
#define IDS_URL_UPDATE_INI 23105
/// String: label of the field-of-view frame of the imaging area.
#define IDS_FIELD_FRAME_AREA 23106
/// String: label of the field-of-view frame of the guider.
#define IDS_FIELD_FRAME_GUIDER 23107
/// String: the settings key of the click data.
#define IDS_CLICKDATA_KEY 23108

/// The module name the library's resources are registered under.
#define ZCMCOM_MODULE_NAME L"zcmcom.dll"

/// The handle of the library's resource module (null when not registered).
ZCMCOM_API HMODULE ZcmLibraryModule();
