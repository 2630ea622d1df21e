// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// What the page draws of the fixed sky, read once per process: the catalogue's stars to
// magnitude 8, the deep-sky objects, the constellation figures and names; and its JSON.
#include <string>
#include <unordered_map>
#include <vector>

namespace serve {

struct CatalogueStar {
    double ra, dec, mag, pmRa, pmDec;  // J2000 degrees at epoch J2000; mas a year
    std::string path, label;
};

struct Catalogue {
    std::vector<CatalogueStar> stars;
    std::unordered_map<std::string, size_t> starByPath;
    // The JSON answer and its ETag, without and with the page's Milky Way file.
    std::string json[2], etag[2];
};

const Catalogue& ChartCatalogue();

}  // namespace serve
