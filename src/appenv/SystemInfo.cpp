// SPDX-License-Identifier: LGPL-3.0-or-later
#include "appenv/SystemInfo.h"

#include "appenv/LibraryState.h"
#include "dirode/Registry.h"
#include "platform/SysInfo.h"

CSigSys::CSigSys() : m_flags(0) {
    int value = -1;
    if (CRegistry::Read(L"General", L"SIMD", -1, &value, CRegistry::kindInt) && value != -1) {
        m_flags = static_cast<unsigned>(value);
        return;
    }
    const struct {
        DWORD feature;
        unsigned bit;
    } features[] = {
        {PF_MMX_INSTRUCTIONS_AVAILABLE, SIMD_MMX},
        {PF_XMMI_INSTRUCTIONS_AVAILABLE, SIMD_SSE},
        {PF_XMMI64_INSTRUCTIONS_AVAILABLE, SIMD_SSE2},
        {PF_SSE3_INSTRUCTIONS_AVAILABLE, SIMD_SSE3},
    };
    for (const auto& f : features)
        if (IsProcessorFeaturePresent(f.feature)) m_flags |= f.bit;
}

CSigSys::~CSigSys() = default;

unsigned CSigSys::SIMD() {
    if (const CSigSys* instance = zcmlib::SigSysInstance()) return instance->m_flags;
    return CSigSys().m_flags;  // only before load or after unload
}

int CSigInfo::IsWindows8Later() {
    OSVERSIONINFOEXW wanted{};
    wanted.dwOSVersionInfoSize = sizeof wanted;
    wanted.dwMajorVersion = 6;
    wanted.dwMinorVersion = 2;
    wanted.wServicePackMajor = 0;
    ULONGLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                              mask)
               ? 1
               : 0;
}
