// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// A click-data reader over a table host loaded from fuzz bytes, every line switched on and
// the precision switch taken from the input size. Callers set further switches before
// asking for texts.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "clickdata/ZntClickData.h"
#include "host/TableHost.h"

struct FuzzClickData {
    CTableHost host;
    CCdStatus status;
    CZntClickData clickData;

    FuzzClickData(const uint8_t* data, size_t size) {
        host.SetRecording(false);
        host.LoadTable(std::string(reinterpret_cast<const char*>(data), size));
        status.InitAll();  // every line, the later ones too
        status.Precision = static_cast<int>(size % 3);
        clickData.SetStatus(&status);
    }
    FuzzClickData(const FuzzClickData&) = delete;
    FuzzClickData& operator=(const FuzzClickData&) = delete;

    // Both text forms of every path.
    void GetTexts(std::initializer_list<const wchar_t*> paths) {
        for (const wchar_t* path : paths) {
            clickData.GetText(&host, path, 0);
            clickData.GetText(&host, path, 1);
        }
    }
};

// One of the paths, chosen by the input's last byte: a text takes milliseconds under the
// sanitizers, so each input builds one and the fuzzer steers which.
template <size_t N>
const wchar_t* FuzzPickPath(const wchar_t* const (&paths)[N], const uint8_t* data, size_t size) {
    return paths[size ? data[size - 1] % N : 0];
}
