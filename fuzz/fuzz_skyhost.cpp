// SPDX-License-Identifier: LGPL-3.0-or-later
// CSkyHost on any input: the lines are read as a catalogue file and then sent one by one
// as commands (queries and statements), with a few object queries after them. One host
// serves the process and is reset for each input.
#include "FuzzFile.h"
#include "FuzzText.h"
#include "sky/SkyHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    static CSkyHost host(2461381.0);
    host.Reset(2461381.0);
    host.LoadCatalog(FuzzWriteFile("skycat.txt", data, size).c_str());
    const CString text = FuzzText(data, size);
    int start = 0, commands = 0;
    while (start < text.GetLength() && commands < 32) {
        int end = text.Find(L'\n', start);
        if (end < 0) end = text.GetLength();
        host.Execute(text.Mid(start, end - start));
        ++commands;
        start = end + 1;
    }
    for (const wchar_t* q :
         {L"? Solar.Planet.Mars.Jd.Rise", L"? Solar.Planet.Earth.Satellite.Moon.Age", L"? UT(time)",
          L"? Equatorial.position.Altitude", L"? Solar.Sun.EclipsMagnitude"})
        host.Execute(q);
    return 0;
}
