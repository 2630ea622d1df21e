// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Numbers in the library's mapped tables: written and read in the machine's own order,
/// byte-copied so no alignment is assumed (internal).
#include <cstring>
#include <string>

namespace sky {

/// Appends the bytes of a number to a table being written.
template <typename T>
void Put(std::string& out, T value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

/// The number whose bytes start at at.
template <typename T>
T Get(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace sky
