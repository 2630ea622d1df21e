// SPDX-License-Identifier: LGPL-3.0-or-later
// The tz database reader and the name folding on arbitrary bytes: a TZif file, a POSIX TZ
// rule, a name typed by a user.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sky/Names.h"
#include "sky/TzDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    sky::TzZone zone;
    if (zone.Parse(bytes))
        for (const int64_t t : {INT64_C(-9000000000), INT64_C(0), INT64_C(1712599200),
                                INT64_C(4102444800), INT64_C(30000000000)})
            (void)zone.StandardOffsetAt(t), (void)zone.OffsetAt(t);
    sky::TzRule rule;
    if (rule.Parse(bytes)) (void)rule.OffsetAt(1712599200);
    if (sky::NameTextError(bytes).empty()) sky::FoldName(CString(bytes.c_str()));
    return 0;
}
