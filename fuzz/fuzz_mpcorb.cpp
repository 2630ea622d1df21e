// SPDX-License-Identifier: LGPL-3.0-or-later
// The MPCORB one-line minor-planet records on any input.
#include "FuzzElements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192) return 0;
    FuzzElements(data, size);
    return 0;
}
