// SPDX-License-Identifier: LGPL-3.0-or-later
// The TLE reader on any bytes, and each set it accepts through the orbit model, the look
// from a site and a day of passes: no crash, and no number that is not finite where the
// model says the orbit is fine.
#include <cmath>
#include <cstdlib>
#include <string>

#include "sky/satellites/Passes.h"
#include "sky/satellites/Tle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192) return 0;
    sky::TleCatalog catalog;
    catalog.AddText(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    const sky::Observer site(sky::Site{139.745, 35.654, 40.0});
    int checked = 0;
    for (const auto& [number, elements] : catalog.sets) {
        if (++checked > 4) break;
        const sky::Sgp4 model(elements);
        for (double days : {-3.0, 0.0, 0.37, 10.0}) {
            const sky::SatelliteLook look = sky::Look(model, elements.epochJd + days, site, 2.0);
            if (look.error == 0 && !(std::isfinite(look.altitude) && std::isfinite(look.latitude)))
                std::abort();
        }
        if (checked == 1) sky::FindPasses(model, site, elements.epochJd, elements.epochJd + 0.5);
    }
    return 0;
}
