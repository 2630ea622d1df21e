// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// What the page draws of the fixed sky, read once per process: the catalogue's stars to
// magnitude 8, the deep-sky objects, the constellation figures and names; and its JSON.
#include <string>

namespace serve {

// The catalogue place of a star of stars.zct by its path ("Star.HIP.27989"): J2000 degrees
// at epoch J2000 and the proper motion in mas a year (NaN: none known); false for another
// path. Reads only the table's index: cheap enough for every chart.
bool CatalogueStarPlace(const std::string& path, double* ra, double* dec, double* pmRa,
                        double* pmDec);

struct Catalogue {
    // The JSON answer and its ETag, without and with the page's Milky Way file.
    std::string json[2], etag[2];
};

const Catalogue& ChartCatalogue();

}  // namespace serve
