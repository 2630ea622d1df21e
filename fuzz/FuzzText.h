// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Turns fuzz bytes into wide text: UTF-8 decoding, so every code point can appear.
#include <cstddef>
#include <cstdint>

#include "platform/String.h"

inline CString FuzzText(const uint8_t* data, size_t size) {
    return CString(ZcmUtf8ToWide(reinterpret_cast<const char*>(data), size));
}
