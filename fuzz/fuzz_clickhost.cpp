// SPDX-License-Identifier: LGPL-3.0-or-later
// A host file of any bytes, read by CTableHost, answering every click-data text of the
// spine with every switch on: nothing may crash, whatever the answers are.
#include "FuzzClickData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzClickData fuzz(data, size);
    fuzz.status.RaInDegrees = static_cast<int>(size % 2);
    fuzz.clickData.SetOriginNorth(static_cast<int>(size % 5 == 0));
    fuzz.GetTexts({L"Constellation.Ori", L"Equatorial", L"Adf.A.1", L"X.Y"});
    return 0;
}
