// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The processor's SIMD features (CSigSys) and the system version test (CSigInfo).
#include "platform/Object.h"

/// One flag word: bit 0 MMX, bit 1 SSE, bit 2 SSE2, bit 3 SSE3. The integer "SIMD" under
/// the application's "General" settings overrides what the processor reports, unless it is
/// -1 (all bits set). The library makes one instance when it is loaded.
class ZCMCOM_API CSigSys : public CObject {
public:
    enum { SIMD_MMX = 1, SIMD_SSE = 2, SIMD_SSE2 = 4, SIMD_SSE3 = 8 };

    /// Reads the override or the processor's features now.
    CSigSys();
    ~CSigSys() override;

    /// The flag word of the library's instance.
    static unsigned SIMD();

    unsigned m_flags;  ///< this instance's flag word (SIMD_ bits)
};

/// The system version test.
class ZCMCOM_API CSigInfo {
public:
    /// 1 when the system reports Windows 8 (6.2) or later. The platform reports Windows
    /// 10.0 here, so this is 1.
    static int IsWindows8Later();
};
