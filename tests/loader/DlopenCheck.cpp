// SPDX-License-Identifier: LGPL-3.0-or-later
// Loads libzcmcom with dlopen twice in this fresh process, as a plug-in host would: the
// library's strings must be registered while it is loaded and gone after it is unloaded,
// and each load makes a new SIMD object from the registry of that moment.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>

#include "platform/Registry.h"
#include "platform/Resource.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "dlopen check failed: %s\n", what);
        ++g_failures;
    }
}

template <typename F>
F Symbol(void* module, const char* name) {
    void* p = module ? dlsym(module, name) : nullptr;
    if (!p) {
        fprintf(stderr, "missing symbol %s\n", name);
        exit(2);
    }
    return reinterpret_cast<F>(p);
}

unsigned ProcessorFlags() {
    unsigned f = 0;
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("mmx")) f |= 1;
    if (__builtin_cpu_supports("sse")) f |= 2;
    if (__builtin_cpu_supports("sse2")) f |= 4;
    if (__builtin_cpu_supports("sse3")) f |= 8;
#endif
    return f;
}

}  // namespace

int main() {
    char dir[] = "/tmp/zcmdlopen.XXXXXX";
    if (!mkdtemp(dir)) return 2;
    setenv("ZCMCOM_REGISTRY_USER", (std::string(dir) + "/user.sqlite").c_str(), 1);
    setenv("ZCMCOM_REGISTRY_MACHINE", (std::string(dir) + "/machine.sqlite").c_str(), 1);

    // The platform layer stays loaded throughout, so its resource table can be inspected
    // after the library has gone.
    void* platform = dlopen(ZCMCOM_PLATFORM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!platform) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    auto findString =
        Symbol<decltype(&AfxFindStringResource)>(platform, "_Z21AfxFindStringResourcej");
    auto createKey = Symbol<decltype(&RegCreateKeyExW)>(
        platform, "_Z15RegCreateKeyExWP6HKEY__PKwjPwjjP19SECURITY_ATTRIBUTESPS0_Pj");
    auto setValue =
        Symbol<decltype(&RegSetValueExW)>(platform, "_Z14RegSetValueExWP6HKEY__PKwjjPKhj");
    auto closeKey = Symbol<decltype(&RegCloseKey)>(platform, "_Z11RegCloseKeyP6HKEY__");
    Check(findString(23108) == nullptr, "no library strings before the load");

    for (int round = 0; round < 2; ++round) {
        void* lib = dlopen(ZCMCOM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            fprintf(stderr, "%s\n", dlerror());
            return 2;
        }
        const wchar_t* key = findString(23108);
        Check(key && wcscmp(key, L"ClickData") == 0, "string 23108 while loaded");
        Check(findString(23102) != nullptr, "string 23102 while loaded");
        auto module = Symbol<HMODULE (*)()>(lib, "_Z16ZcmLibraryModulev");
        Check(module() != nullptr, "resource module registered");
        auto simd = Symbol<unsigned (*)()>(lib, "_ZN7CSigSys4SIMDEv");
        if (round == 0) {
            Check(simd() == ProcessorFlags(), "SIMD from the processor");
            // The next load must read this override.
            HKEY h = nullptr;
            Check(createKey(HKEY_CURRENT_USER, L"SOFTWARE\\Orvana\\Zentacam\\3.0\\General", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) == ERROR_SUCCESS,
                  "registry key");
            const DWORD five = 5;
            Check(setValue(h, L"SIMD", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&five),
                           sizeof five) == ERROR_SUCCESS,
                  "registry value");
            closeKey(h);
            Check(simd() == ProcessorFlags(), "SIMD fixed for the life of a load");
        } else {
            Check(simd() == 5, "SIMD override read by the second load");
        }
        Check(dlclose(lib) == 0, "dlclose");
        Check(dlopen(ZCMCOM_LIBRARY, RTLD_NOW | RTLD_NOLOAD) == nullptr, "library unloaded");
        Check(findString(23108) == nullptr, "strings withdrawn at unload");
    }
    std::filesystem::remove_all(dir);
    if (g_failures == 0) printf("dlopen check passed\n");
    return g_failures ? 1 : 0;
}
