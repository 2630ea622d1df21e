// SPDX-License-Identifier: LGPL-3.0-or-later
// A host file of any bytes, read by CTableHost, answering the texts of the solar system,
// artificial satellites, meteor showers and field frames (one per input) with every switch
// on: nothing may crash, whatever the answers are (numbers that are no numbers, huge Julian
// Days, odd lists of epochs).
#include "FuzzClickData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzClickData fuzz(data, size);
    // The paths of the example hosts, so the corpus reaches every line.
    static const wchar_t* const kPaths[] = {L"Solar.Sun",
                                            L"Solar.Planet.Earth.Satellite.Moon",
                                            L"Solar.Planet.Mars",
                                            L"Solar.Planet.Jupiter",
                                            L"Solar.Planet.Earth",
                                            L"Solar.Planet.Earth.Umbra",
                                            L"Solar.Planet.Jupiter.Satellite.Io",
                                            L"Solar.Planet.Jupiter.LagrangianPoint.L4",
                                            L"Solar.Comet.C2025A6",
                                            L"Solar.MinorPlanet.4",
                                            L"Solar.Meteorite.Nogata",
                                            L"Solar.Spacecraft.Hayabusa2",
                                            L"Solar.Planet.Earth.Satellite.Moon.Place.Tycho",
                                            L"ArtificialSatellite.25544",
                                            L"Meteor.Geminids",
                                            L"AngleOfView.Main",
                                            L"MosaicOfField.2",
                                            L"MosaicOfField",
                                            L"FieldOfViewCircle.Finder"};
    fuzz.GetTexts({FuzzPickPath(kPaths, data, size)});
    return 0;
}
