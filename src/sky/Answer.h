// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Shared by the built-in sky's answer files: how a number is written in an answer.
#include <cmath>

#include "platform/String.h"

namespace sky {

/// The number in the given format; "*" (a known property without a value now) when it is
/// not finite.
inline CString Answer(double v, const wchar_t* format) {
    if (!std::isfinite(v)) return L"*";
    CString s;
    s.Format(format, v);
    return s;
}

}  // namespace sky
