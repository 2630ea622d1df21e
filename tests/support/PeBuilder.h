// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Builds the bytes of a small 64-bit PE image whose only section holds a version resource.
#include <map>
#include <string>
#include <vector>

#include "support/TestUtil.h"

struct PeLanguage {
    unsigned short language;
    unsigned short codePage;
    std::vector<std::pair<std::string, std::string>> strings;  // key, UTF-8 value
};

// The VS_VERSIONINFO block (UTF-16LE) with the given languages.
std::string BuildVersionInfo(const std::vector<PeLanguage>& languages);
// A PE file with that block as resource RT_VERSION / 1 / first language.
std::string BuildPe(const std::string& versionInfo, unsigned short resourceLanguage = 0x0411);

// Offsets inside BuildPe's output, for tests that damage it.
enum PeOffsets : size_t {
    kPeLfanew = 0x3C,
    kPeResourceStart = 0x200,
    kPeLevel1Entry = 0x200 + 0x10,  // type entry: name, offset
    kPeLevel2Entry = 0x200 + 0x28,
    kPeLevel3Entry = 0x200 + 0x40,
    kPeDataEntry = 0x200 + 0x48,
};

void PutU32(std::string& bytes, size_t offset, unsigned value);
