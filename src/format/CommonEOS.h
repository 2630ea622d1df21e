// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Camera model names: the Japanese-market name of an EOS camera from the international
/// name the camera reports.
#include "platform/String.h"

/// Maps international EOS model names to the Japanese-market ones.
class ZCMCOM_API CCommonEOS {
public:
    /// name with the first matching international model name replaced by the Japanese
    /// one; name unchanged when none matches. A model whose name contains another's
    /// ("EOS 200D II", "EOS 200D") is tried before it.
    static const CString ModelEtoJ(const CString& name);

    /// Builds the search table; the library does it once when it is loaded (later calls
    /// change nothing).
    static void BuildTable();
};
