// SPDX-License-Identifier: LGPL-3.0-or-later
// Listing the objects of one kind over every registered source.
#include "sky/catalogs/Listing.h"

#include <cmath>

namespace sky {

std::vector<Entry> ListKind(const std::string& kind, double maxMagnitude) {
    const CString wanted(ZcmUtf8ToWide(kind.data(), kind.size()).c_str());
    std::vector<Entry> out;
    for (const RegisteredSource& r : RegisteredSources()) {
        std::vector<Entry> entries;
        r.make()->List(entries);
        for (Entry& e : entries) {
            if (e.kind != wanted) continue;
            if (!std::isnan(maxMagnitude) && !(e.magnitude <= maxMagnitude)) continue;
            out.push_back(std::move(e));
        }
    }
    return out;
}

}  // namespace sky
