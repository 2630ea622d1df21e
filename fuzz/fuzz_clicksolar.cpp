// A host file of any bytes, read by CTableHost, answering the texts of the solar system,
// artificial satellites, meteor showers and field frames with every switch on: nothing may
// crash, whatever the answers are (numbers that are no numbers, huge Julian Days, odd
// lists of epochs).
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
    // The paths of the example hosts, so the corpus reaches every line.
    for (const wchar_t* path :
         {L"Solar.Sun", L"Solar.Planet.Earth.Satellite.Moon", L"Solar.Planet.Mars", L"Solar.Planet.Jupiter",
          L"Solar.Planet.Earth", L"Solar.Planet.Earth.Umbra", L"Solar.Planet.Jupiter.Satellite.Io",
          L"Solar.Planet.Jupiter.LagrangianPoint.L4", L"Solar.Comet.C2025A6", L"Solar.MinorPlanet.4",
          L"Solar.Meteorite.Nogata", L"Solar.Spacecraft.Hayabusa2",
          L"Solar.Planet.Earth.Satellite.Moon.Place.Tycho", L"ArtificialSatellite.25544", L"Meteor.Geminids",
          L"AngleOfView.Main", L"MosaicOfField.2", L"MosaicOfField", L"FieldOfViewCircle.Finder"}) {
        clickData.GetText(&host, path, 0);
        clickData.GetText(&host, path, 1);
    }
    return 0;
}
