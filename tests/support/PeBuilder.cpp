// SPDX-License-Identifier: LGPL-3.0-or-later
#include "support/PeBuilder.h"

#include <cstdio>

#include "platform/String.h"

namespace {

void U16(std::string& b, unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
void U32(std::string& b, unsigned v) {
    U16(b, v & 0xFFFF);
    U16(b, v >> 16);
}
void Pad4(std::string& b) {
    while (b.size() % 4) b += '\0';
}
std::string Utf16z(const std::string& utf8) {
    std::string out;
    const std::wstring w = ZcmUtf8ToWide(utf8.data(), utf8.size());
    for (wchar_t c : w) {
        unsigned u = static_cast<unsigned>(c);
        if (u >= 0x10000) {
            u -= 0x10000;
            U16(out, 0xD800 + (u >> 10));
            U16(out, 0xDC00 + (u & 0x3FF));
        } else {
            U16(out, u);
        }
    }
    U16(out, 0);
    return out;
}

// One version node: header, key, value, children, each part 4-aligned.
std::string Node(const std::string& key, const std::string& value, unsigned valueLength,
                 unsigned type, const std::vector<std::string>& children) {
    std::string b;
    U16(b, 0);
    U16(b, valueLength);
    U16(b, type);
    b += Utf16z(key);
    Pad4(b);
    b += value;
    for (const auto& c : children) {
        Pad4(b);
        b += c;
    }
    b[0] = static_cast<char>(b.size() & 0xFF);
    b[1] = static_cast<char>(b.size() >> 8);
    return b;
}

}  // namespace

std::string BuildVersionInfo(const std::vector<PeLanguage>& languages) {
    std::vector<std::string> tables;
    std::string translation;
    for (const auto& l : languages) {
        std::vector<std::string> strings;
        for (const auto& kv : l.strings) {
            const std::string v = Utf16z(kv.second);
            strings.push_back(Node(kv.first, v, static_cast<unsigned>(v.size() / 2), 1, {}));
        }
        char key[16];
        snprintf(key, sizeof key, "%04X%04X", l.language,
                 l.codePage);  // upper case, as tools write it
        tables.push_back(Node(key, "", 0, 1, strings));
        U16(translation, l.language);
        U16(translation, l.codePage);
    }
    std::string fixed;
    U32(fixed, 0xFEEF04BD);
    U32(fixed, 0x00010000);
    for (int i = 0; i < 11; ++i) U32(fixed, i == 0 ? 0x00010002 : 0);
    const std::string var =
        Node("Translation", translation, static_cast<unsigned>(translation.size()), 0, {});
    return Node("VS_VERSION_INFO", fixed, 52, 0,
                {Node("StringFileInfo", "", 0, 1, tables), Node("VarFileInfo", "", 0, 1, {var})});
}

std::string BuildPe(const std::string& versionInfo, unsigned short resourceLanguage) {
    std::string f(0x200, '\0');
    f[0] = 'M';
    f[1] = 'Z';
    PutU32(f, 0x3C, 0x40);
    f.replace(0x40, 4, std::string("PE\0\0", 4));
    // File header at 0x44.
    std::string fh;
    U16(fh, 0x8664);
    U16(fh, 1);
    U32(fh, 0);
    U32(fh, 0);
    U32(fh, 0);
    U16(fh, 240);
    U16(fh, 0x2022);
    f.replace(0x44, fh.size(), fh);
    const size_t opt = 0x58;
    f[opt] = 0x0B;
    f[opt + 1] = 0x02;
    PutU32(f, opt + 108, 16);
    const unsigned rsrcSize = static_cast<unsigned>(0x58 + versionInfo.size());
    PutU32(f, opt + 112 + 16, 0x1000);
    PutU32(f, opt + 112 + 20, rsrcSize);
    // Section table.
    const size_t sec = opt + 240;
    f.replace(sec, 6, ".rsrc\0", 6);
    PutU32(f, sec + 8, rsrcSize);
    PutU32(f, sec + 12, 0x1000);
    PutU32(f, sec + 16, (rsrcSize + 0x1FF) & ~0x1FFu);
    PutU32(f, sec + 20, 0x200);
    // Resource tree: type 16 -> id 1 -> language -> data entry.
    std::string r(0x58, '\0');
    auto dir = [&](size_t at, unsigned name, unsigned offset) {
        r[at + 14] = 1;  // one id entry
        PutU32(r, at + 16, name);
        PutU32(r, at + 20, offset);
    };
    dir(0x00, 16, 0x80000018);
    dir(0x18, 1, 0x80000030);
    dir(0x30, resourceLanguage, 0x48);
    PutU32(r, 0x48, 0x1000 + 0x58);
    PutU32(r, 0x4C, static_cast<unsigned>(versionInfo.size()));
    r += versionInfo;
    r.resize((r.size() + 0x1FF) & ~static_cast<size_t>(0x1FF), '\0');
    return f + r;
}

void PutU32(std::string& b, size_t offset, unsigned v) {
    if (b.size() < offset + 4) b.resize(offset + 4, '\0');
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
