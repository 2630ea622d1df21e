// SPDX-License-Identifier: LGPL-3.0-or-later
// Any bytes as a hive file: opening keys, reading, writing and deleting values must fail
// cleanly or work, never crash.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzFile.h"
#include "FuzzText.h"
#include "dirode/Registry.h"
#include "platform/Registry.h"

namespace {

std::string g_file;  // in FuzzFolder(), which goes with the process

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (g_file.empty()) {
        g_file = FuzzFolder() + "registry.sqlite";
        setenv("ZCMCOM_REGISTRY_USER", g_file.c_str(), 1);
        setenv("ZCMCOM_REGISTRY_MACHINE", (g_file + ".machine").c_str(), 1);
    }
    const std::string& file = g_file;
    // Written beside and renamed, so the store sees a new file every time.
    const std::string tmp = file + ".new";
    FILE* out = fopen(tmp.c_str(), "wb");
    if (!out) return 0;
    if (size) fwrite(data, 1, size, out);
    fclose(out);
    rename(tmp.c_str(), file.c_str());
    // Each input stands alone: no journal or log of the previous one pairs with it.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) remove((file + suffix).c_str());

    int v = 0;
    CRegistry::Read(L"ClickData", L"AltSpan", 3, &v, 1);
    CString text;
    CRegistry::Read(L"General", L"Name", CString(L"x"), &text);
    CRegistry::Write(L"ClickData", L"AltSpan", 4, 1);
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\ClickData", 0,
                      KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        DWORD type = 0, bytes = 0;
        RegQueryValueExW(h, L"AltSpan", nullptr, &type, nullptr, &bytes);
        RegDeleteValueW(h, L"AltSpan");
        RegCloseKey(h);
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\ClickData");
    return 0;
}
