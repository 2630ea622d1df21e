// A host file of any bytes answering the star, variable-star, double-star, exoplanet and
// deep-sky texts with every switch on, their CDF designations and database keys: nothing
// may crash, whatever the answers are.
#include <string>

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTableHost host;
    host.SetRecording(false);
    host.LoadTable(std::string(reinterpret_cast<const char*>(data), size));
    CCdStatus status;
    status.Init();
    status.Precision = static_cast<int>(size % 3);
    CZntClickData clickData;
    clickData.SetStatus(&status);
    for (const wchar_t* path :
         {L"Star.HIP.1", L"Star.XNO.1", L"Star.Supernova.x", L"Star.GCVS.x", L"Star.WDS.x.y.A", L"Star.WDS",
          L"Star.x.Planet.b", L"DeepSkyObject.PGC1", L"DeepSkyObject.M.1", L"MagellanicCloud.Large",
          L"DeepSkyImage.1", L"Solar.Planet.Earth.Satellite.Moon", L"Meteor.x", L"Adf.x.No1"}) {
        clickData.GetText(&host, path, 0);
        clickData.GetText(&host, path, 1);
        clickData.GetDBSearchString(&host);
        clickData.StkToCdf(&host, path);
    }
    return 0;
}
