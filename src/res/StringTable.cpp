#include "res/LibraryResources.h"

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

const ZcmBinaryResource kBinaries[] = {
    {L"METAFILE", IDR_TIMEZONE_MAP, kTimeZoneMap, kTimeZoneMapSize},
};

// Registers the tables when the library is loaded and withdraws them when it is unloaded.
struct ModuleRegistration {
    HMODULE module;
    ModuleRegistration()
        : module(AfxRegisterResourceModule(ZCMCOM_MODULE_NAME, kStrings, std::size(kStrings),
                                           kBinaries, std::size(kBinaries))) {}
    ~ModuleRegistration() { AfxUnregisterResourceModule(module); }
};

ModuleRegistration& Registration() {
    static ModuleRegistration r;
    return r;
}

// Forces the registration at load time, before any caller looks a string up.
[[maybe_unused]] const HMODULE kRegisteredAtLoad = Registration().module;

}  // namespace

HMODULE ZcmLibraryModule() { return Registration().module; }
