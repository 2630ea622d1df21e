// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/SysInfo.h"

#include <cstring>

namespace {

constexpr DWORD kMajor = 10, kMinor = 0, kBuild = 19045;

// The condition of one field: three bits per field, in the order of the field bits.
BYTE ConditionOf(ULONGLONG mask, DWORD field) {
    int index = 0;
    while (field > 1) {
        field >>= 1;
        ++index;
    }
    return static_cast<BYTE>((mask >> (index * 3)) & 7);
}

bool Compare(long long actual, long long wanted, BYTE condition) {
    switch (condition) {
        case VER_EQUAL:
            return actual == wanted;
        case VER_GREATER:
            return actual > wanted;
        case VER_GREATER_EQUAL:
            return actual >= wanted;
        case VER_LESS:
            return actual < wanted;
        case VER_LESS_EQUAL:
            return actual <= wanted;
        default:
            return false;
    }
}

}  // namespace

BOOL GetVersionExW(OSVERSIONINFOEXW* info) {
    if (!info) return FALSE;
    memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = sizeof *info;
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->wProductType = 1;  // a workstation
    return TRUE;
}

ULONGLONG VerSetConditionMask(ULONGLONG mask, DWORD typeMask, BYTE condition) {
    for (int i = 0; i < 6; ++i) {
        if (!(typeMask & (1u << i))) continue;
        mask &= ~(7ULL << (i * 3));
        mask |= static_cast<ULONGLONG>(condition & 7) << (i * 3);
    }
    return mask;
}

BOOL VerifyVersionInfoW(OSVERSIONINFOEXW* info, DWORD typeMask, ULONGLONG conditionMask) {
    if (!info || !typeMask) return FALSE;
    OSVERSIONINFOEXW actual;
    GetVersionExW(&actual);
    // Major, minor and service pack form one version number compared at once, with the
    // condition given for the most significant field named.
    const DWORD versionFields =
        VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR;
    if (typeMask & versionFields) {
        long long have = 0, want = 0;
        BYTE condition = 0;
        const struct {
            DWORD field;
            long long actual, wanted;
        } parts[] = {
            {VER_MAJORVERSION, actual.dwMajorVersion, info->dwMajorVersion},
            {VER_MINORVERSION, actual.dwMinorVersion, info->dwMinorVersion},
            {VER_SERVICEPACKMAJOR, actual.wServicePackMajor, info->wServicePackMajor},
            {VER_SERVICEPACKMINOR, actual.wServicePackMinor, info->wServicePackMinor},
        };
        for (const auto& p : parts) {
            have = have * 65536 + ((typeMask & p.field) ? p.actual : 0);
            want = want * 65536 + ((typeMask & p.field) ? p.wanted : 0);
            if ((typeMask & p.field) && !condition) condition = ConditionOf(conditionMask, p.field);
        }
        if (!Compare(have, want, condition)) return FALSE;
    }
    if ((typeMask & VER_BUILDNUMBER) && !Compare(actual.dwBuildNumber, info->dwBuildNumber,
                                                 ConditionOf(conditionMask, VER_BUILDNUMBER)))
        return FALSE;
    if ((typeMask & VER_PLATFORMID) && !Compare(actual.dwPlatformId, info->dwPlatformId,
                                                ConditionOf(conditionMask, VER_PLATFORMID)))
        return FALSE;
    return TRUE;
}

BOOL IsProcessorFeaturePresent(DWORD feature) {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    switch (feature) {
        case PF_MMX_INSTRUCTIONS_AVAILABLE:
            return __builtin_cpu_supports("mmx") ? TRUE : FALSE;
        case PF_XMMI_INSTRUCTIONS_AVAILABLE:
            return __builtin_cpu_supports("sse") ? TRUE : FALSE;
        case PF_XMMI64_INSTRUCTIONS_AVAILABLE:
            return __builtin_cpu_supports("sse2") ? TRUE : FALSE;
        case PF_SSE3_INSTRUCTIONS_AVAILABLE:
            return __builtin_cpu_supports("sse3") ? TRUE : FALSE;
        default:
            return FALSE;
    }
#else
    (void)feature;
    return FALSE;
#endif
}
