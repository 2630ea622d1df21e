// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Version and processor-feature queries.
///
/// Differences from Windows:
/// - The version stand-in reports Windows 10.0, build 19045, no service pack, whatever
///   Linux kernel runs: callers use the version to choose between the old and the modern
///   behaviour of the system, and what this platform layer offers (a touch keyboard, wide
///   text everywhere) is the modern one. VerifyVersionInfoW compares against that.
/// - IsProcessorFeaturePresent answers from the processor itself (CPUID on x86); on other
///   processors every x86 feature is absent.
#include "platform/WinTypes.h"

struct OSVERSIONINFOEXW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};
typedef OSVERSIONINFOEXW* LPOSVERSIONINFOEXW;

#define VER_MINORVERSION 0x0000001
#define VER_MAJORVERSION 0x0000002
#define VER_BUILDNUMBER 0x0000004
#define VER_PLATFORMID 0x0000008
#define VER_SERVICEPACKMINOR 0x0000010
#define VER_SERVICEPACKMAJOR 0x0000020

#define VER_EQUAL 1
#define VER_GREATER 2
#define VER_GREATER_EQUAL 3
#define VER_LESS 4
#define VER_LESS_EQUAL 5

#define VER_PLATFORM_WIN32_NT 2

#define PF_MMX_INSTRUCTIONS_AVAILABLE 3
#define PF_XMMI_INSTRUCTIONS_AVAILABLE 6
#define PF_XMMI64_INSTRUCTIONS_AVAILABLE 10
#define PF_SSE3_INSTRUCTIONS_AVAILABLE 13

/// Fills the reported version (see above).
ZCMCOM_API BOOL GetVersionExW(OSVERSIONINFOEXW* info);
/// Adds a comparison for one field to a condition mask.
ZCMCOM_API ULONGLONG VerSetConditionMask(ULONGLONG mask, DWORD typeMask, BYTE condition);
/// TRUE when the reported version satisfies every field named in typeMask, compared as
/// conditionMask says; the major, minor and service-pack fields compare as one version
/// number, as on Windows.
ZCMCOM_API BOOL VerifyVersionInfoW(OSVERSIONINFOEXW* info, DWORD typeMask,
                                   ULONGLONG conditionMask);
ZCMCOM_API BOOL IsProcessorFeaturePresent(DWORD feature);
