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

/// A system version, as GetVersionExW fills it and VerifyVersionInfoW compares it.
struct OSVERSIONINFOEXW {
    DWORD dwOSVersionInfoSize;  ///< the caller sets it to sizeof(OSVERSIONINFOEXW)
    DWORD dwMajorVersion;       ///< 10
    DWORD dwMinorVersion;       ///< 0
    DWORD dwBuildNumber;        ///< 19045
    DWORD dwPlatformId;         ///< VER_PLATFORM_WIN32_NT
    WCHAR szCSDVersion[128];    ///< the service pack's name: empty
    WORD wServicePackMajor;     ///< 0
    WORD wServicePackMinor;     ///< 0
    WORD wSuiteMask;            ///< 0
    BYTE wProductType;          ///< 1, a workstation
    BYTE wReserved;             ///< 0
};
/// A pointer to OSVERSIONINFOEXW.
typedef OSVERSIONINFOEXW* LPOSVERSIONINFOEXW;

/// @name Version fields
/// @{

/// The fields VerifyVersionInfoW compares (typeMask bits).
#define VER_MINORVERSION 0x0000001
#define VER_MAJORVERSION 0x0000002
#define VER_BUILDNUMBER 0x0000004
#define VER_PLATFORMID 0x0000008
#define VER_SERVICEPACKMINOR 0x0000010
#define VER_SERVICEPACKMAJOR 0x0000020
/// @}

/// @name Comparisons
/// @{

/// How a field compares, for VerSetConditionMask.
#define VER_EQUAL 1
#define VER_GREATER 2
#define VER_GREATER_EQUAL 3
#define VER_LESS 4
#define VER_LESS_EQUAL 5
/// @}

#define VER_PLATFORM_WIN32_NT 2  ///< the platform id reported

/// @name Processor features
/// @{

/// Processor features for IsProcessorFeaturePresent: MMX, SSE, SSE2 and SSE3.
#define PF_MMX_INSTRUCTIONS_AVAILABLE 3
#define PF_XMMI_INSTRUCTIONS_AVAILABLE 6
#define PF_XMMI64_INSTRUCTIONS_AVAILABLE 10
#define PF_SSE3_INSTRUCTIONS_AVAILABLE 13
/// @}

/// Fills the reported version (see above).
ZCMCOM_API BOOL GetVersionExW(OSVERSIONINFOEXW* info);
/// Adds a comparison for one field to a condition mask.
ZCMCOM_API ULONGLONG VerSetConditionMask(ULONGLONG mask, DWORD typeMask, BYTE condition);
/// TRUE when the reported version satisfies every field named in typeMask, compared as
/// conditionMask says; the major, minor and service-pack fields compare as one version
/// number, as on Windows.
ZCMCOM_API BOOL VerifyVersionInfoW(OSVERSIONINFOEXW* info, DWORD typeMask, ULONGLONG conditionMask);
/// TRUE when the processor has the feature (a PF_ value); FALSE for unknown values.
ZCMCOM_API BOOL IsProcessorFeaturePresent(DWORD feature);
