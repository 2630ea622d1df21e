// SPDX-License-Identifier: LGPL-3.0-or-later
// A host file of any bytes, read by CTableHost, answering every click-data text of the
// spine (one per input) with every switch on: nothing may crash, whatever the answers are.
#include "FuzzClickData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzClickData fuzz(data, size);
    fuzz.status.RaInDegrees = static_cast<int>(size % 2);
    fuzz.clickData.SetOriginNorth(static_cast<int>(size % 5 == 0));
    static const wchar_t* const kPaths[] = {L"Constellation.Ori", L"Equatorial", L"Adf.A.1",
                                            L"X.Y"};
    fuzz.GetTexts({FuzzPickPath(kPaths, data, size)});
    return 0;
}
