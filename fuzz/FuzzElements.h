// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Shared by the two element-format targets: every line of the input through the line
// reader, each body found placed at a few instants, and the whole input as a file.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "sky/bodies/SmallBody.h"

inline void FuzzElements(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        sky::SmallBody b;
        std::string why;
        if (sky::ParseElementsLine(text.substr(start, end - start), &b, &why)) {
            sky::Vec v{};
            for (double t : {b.perihelion, b.epoch, 2451545.0, 2461381.0, 1e7})
                sky::SmallBodyAt(b, t, &v);
            sky::SmallBodyMagnitude(b, 1.5, 0.7, 40.0);
        }
        start = end + 1;
    }
    char path[] = "/tmp/fuzz_elements_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return;
    const bool written = write(fd, data, size) == static_cast<ssize_t>(size);
    close(fd);
    if (written) {
        sky::SmallBodyCatalog catalog;
        catalog.Load(path);
        catalog.Find(true, "1p");
    }
    unlink(path);
}
