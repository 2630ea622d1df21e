// SPDX-License-Identifier: LGPL-3.0-or-later
// CSkyHost on any input: the lines are read as a catalogue file and then sent one by one
// as commands (queries and statements), with a few object queries after each statement.
#include <cstdio>
#include <string>
#include <unistd.h>

#include "FuzzText.h"
#include "sky/SkyHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    char path[] = "/tmp/fuzz_skyhost_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return 0;
    if (write(fd, data, size) != static_cast<ssize_t>(size)) size = 0;
    close(fd);
    CSkyHost host(2461381.0);
    host.LoadCatalog(path);
    unlink(path);
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
