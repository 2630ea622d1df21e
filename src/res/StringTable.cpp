// SPDX-License-Identifier: LGPL-3.0-or-later
#include "res/LibraryResources.h"

#include "appenv/LibraryState.h"

#include <iterator>

// The time-zone map, a placeable metafile embedded at build time (res/TimeZoneMap.wmf).
extern const unsigned char kTimeZoneMap[];
extern const unsigned int kTimeZoneMapSize;

namespace {

const ZcmStringResource kStrings[] = {
    {IDS_URL_UPDATE_CHECK_TEST, L"http://test.orvana.example/products/update-checker/zc3"},
    {IDS_URL_UPDATE_CHECK, L"https://www.orvana.example/products/update-checker/zc3"},
    {IDS_URL_UPDATE_INI_TEST, L"http://test.orvana.example/products/zntcam3/data/zc3update.ini"},
    {IDS_URL_UPDATE_INI, L"https://www.orvana.example/products/zntcam3/data/zc3update.ini"},
    {IDS_FIELD_FRAME_AREA,
     L"\u7126\u70B9\u8DDD\u96E2 %.1f mm \u64AE\u50CF\u30A8\u30EA\u30A2 %.1f \u00D7 %.1f mm"},
    {IDS_FIELD_FRAME_GUIDER,
     L"\u30AC\u30A4\u30C9\u30A8\u30EA\u30A2 %.1f \u00D7 %.1f mm \u30C1\u30C3\u30D7\u9593\u9694 "
     L"%.1f mm"},
    {IDS_CLICKDATA_KEY, L"ClickData"},
};

}  // namespace

// Registered by the library's load handler (src/appenv/Library.cpp).
const ZcmStringResource* zcmlib::LibraryStrings(size_t* count) {
    *count = std::size(kStrings);
    return kStrings;
}

const ZcmBinaryResource* zcmlib::LibraryBinaries(size_t* count) {
    // Built on first use: the load handler runs before the library's ordinary static
    // initialisers, and the map's size lives in another translation unit.
    static const ZcmBinaryResource kBinaries[] = {
        {L"METAFILE", IDR_TIMEZONE_MAP, kTimeZoneMap, kTimeZoneMapSize},
    };
    *count = std::size(kBinaries);
    return kBinaries;
}
