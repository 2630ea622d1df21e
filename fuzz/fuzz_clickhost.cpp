// A host file of any bytes, read by CTableHost, answering every click-data text of the
// spine with every switch on: nothing may crash, whatever the answers are.
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
    status.RaInDegrees = static_cast<int>(size % 2);
    CZntClickData clickData;
    clickData.SetStatus(&status);
    clickData.SetOriginNorth(static_cast<int>(size % 5 == 0));
    for (const wchar_t* path : {L"Constellation.Ori", L"Equatorial", L"Adf.A.1", L"X.Y"}) {
        clickData.GetText(&host, path, 0);
        clickData.GetText(&host, path, 1);
    }
    return 0;
}
