// SPDX-License-Identifier: LGPL-3.0-or-later
// The catalogue table reader on any bytes: open, then every lookup over what it accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sky/catalogs/CatalogFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sky::CatalogFile table;
    std::string error;
    if (!table.OpenBytes(data, size, "input", &error)) {
        if (error.find("input") == std::string::npos) __builtin_trap();
        return 0;
    }
    const int text = table.Column("name"), number = table.Column("mag"),
              whole = table.Column("hip");
    table.Find("omicet");
    table.Find(std::string(reinterpret_cast<const char*>(data), size < 8 ? size : 8));
    table.FindNumber("hip", 10826);
    for (double dec : {-90.0, -30.0, 0.0, 45.0, 90.0})
        table.Near(359.5, dec, 3.0, [&](uint32_t row) {
            if (row >= table.Rows()) __builtin_trap();
            table.Text(text, row);
            table.Number(number, row);
            table.Integer(whole, row);
        });
    return 0;
}
