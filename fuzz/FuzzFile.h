// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Fuzz bytes as a file on disk, for readers that take a path. One file per process,
// rewritten for each input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// The folder goes when the process ends. In memory where the system has such a folder:
// rewriting a file on a disk's file system costs more than most targets' work.
struct FuzzTempFolder {
    std::string path;
    FuzzTempFolder() {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string tmpl = std::string(base) + "/zcmfuzz.XXXXXX";
            if (mkdtemp(tmpl.data())) {
                path = tmpl + "/";
                break;
            }
        }
    }
    ~FuzzTempFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

inline const std::string& FuzzFolder() {
    static const FuzzTempFolder folder;
    return folder.path;
}

// Writes the bytes to FuzzFolder() + name and returns that path.
inline std::string FuzzWriteFile(const char* name, const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() + name;
    if (FILE* f = fopen(path.c_str(), "wb")) {
        if (size) fwrite(data, 1, size, f);
        fclose(f);
    }
    return path;
}
