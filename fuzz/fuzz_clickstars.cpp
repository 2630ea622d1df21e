// SPDX-License-Identifier: LGPL-3.0-or-later
// A host file of any bytes answering the star, variable-star, double-star, exoplanet and
// deep-sky texts (one per input) with every switch on, their CDF designations and database
// keys: nothing may crash, whatever the answers are.
#include "FuzzClickData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzClickData fuzz(data, size);
    static const wchar_t* const kPaths[] = {
        L"Star.HIP.1",        L"Star.XNO.1",
        L"Star.Supernova.x",  L"Star.GCVS.x",
        L"Star.WDS.x.y.A",    L"Star.WDS",
        L"Star.x.Planet.b",   L"DeepSkyObject.PGC1",
        L"DeepSkyObject.M.1", L"MagellanicCloud.Large",
        L"DeepSkyImage.1",    L"Solar.Planet.Earth.Satellite.Moon",
        L"Meteor.x",          L"Adf.x.No1"};
    const wchar_t* path = FuzzPickPath(kPaths, data, size);
    fuzz.GetTexts({path});
    fuzz.clickData.GetDBSearchString(&fuzz.host);
    fuzz.clickData.StkToCdf(&fuzz.host, path);
    return 0;
}
