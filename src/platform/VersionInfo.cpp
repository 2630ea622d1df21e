// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/VersionInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/String.h"

namespace {

const DWORD kMaxResource = 16u << 20;  // a version resource is a few kilobytes
const DWORD kMagic = 0x31495A5A;       // "ZZI1": the block layout below

// The block: magic, raw size, raw bytes (padded to 4), then one wchar_t per UTF-16 unit.
size_t ShadowOffset(DWORD rawSize) { return 8 + ((rawSize + 3u) & ~3u); }
size_t BlockSize(DWORD rawSize) {
    return ShadowOffset(rawSize) + (rawSize / 2 + 1) * sizeof(wchar_t);
}

class Reader {
public:
    explicit Reader(int fd) : m_fd(fd) {
        struct stat st;
        m_size = fstat(fd, &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
    }
    bool At(unsigned long long off, void* out, size_t n) const {
        if (off > m_size || n > m_size - off) return false;
        return pread(m_fd, out, n, static_cast<off_t>(off)) == static_cast<ssize_t>(n);
    }
    template <class T>
    bool Get(unsigned long long off, T& v) const {
        return At(off, &v, sizeof v);
    }

private:
    int m_fd;
    unsigned long long m_size;
};

struct Image {
    std::vector<IMAGE_SECTION_HEADER> sections;
    DWORD rsrcRva = 0, rsrcSize = 0;
};

// File offset of an RVA range that lies inside one section's raw data.
bool RvaToOffset(const Image& img, DWORD rva, DWORD size, unsigned long long& off) {
    for (const auto& s : img.sections) {
        const unsigned long long start = s.VirtualAddress;
        const unsigned long long extent = std::max(s.VirtualSize, s.SizeOfRawData);
        if (rva < start || rva >= start + extent) continue;
        const unsigned long long delta = rva - start;
        if (delta + size > s.SizeOfRawData) return false;
        off = s.PointerToRawData + delta;
        return true;
    }
    return false;
}

bool ReadHeaders(const Reader& r, Image& img) {
    WORD mz = 0;
    DWORD peOff = 0, sig = 0;
    if (!r.Get(0, mz) || mz != 0x5A4D || !r.Get(0x3C, peOff) || !r.Get(peOff, sig) ||
        sig != 0x00004550)
        return false;
    IMAGE_FILE_HEADER fh;
    if (!r.Get(peOff + 4ull, fh)) return false;
    const unsigned long long opt = peOff + 24ull;
    WORD magic = 0;
    if (!r.Get(opt, magic)) return false;
    unsigned dirOff, countOff;
    if (magic == 0x10B)
        dirOff = 96, countOff = 92;
    else if (magic == 0x20B)
        dirOff = 112, countOff = 108;
    else
        return false;
    DWORD count = 0;
    if (!r.Get(opt + countOff, count) || count < 3 || dirOff + 3 * 8 > fh.SizeOfOptionalHeader)
        return false;
    if (!r.Get(opt + dirOff + 16, img.rsrcRva) || !r.Get(opt + dirOff + 20, img.rsrcSize))
        return false;
    if (fh.NumberOfSections > 96) return false;
    img.sections.resize(fh.NumberOfSections);
    for (WORD i = 0; i < fh.NumberOfSections; ++i)
        if (!r.Get(opt + fh.SizeOfOptionalHeader + 40ull * i, img.sections[i])) return false;
    return img.rsrcRva != 0;
}

// Offset (inside the resource directory) of the entry's target, following three levels:
// the RT_VERSION type, then the first name, then the first language.
bool FindVersionData(const Reader& r, const Image& img, IMAGE_RESOURCE_DATA_ENTRY& data) {
    unsigned long long base;
    // The resource directory may be larger than the data directory claims; bound it by
    // its section instead.
    DWORD limit = 0;
    for (const auto& s : img.sections)
        if (img.rsrcRva >= s.VirtualAddress && img.rsrcRva - s.VirtualAddress < s.SizeOfRawData)
            limit = s.SizeOfRawData - (img.rsrcRva - s.VirtualAddress);
    if (limit == 0 || !RvaToOffset(img, img.rsrcRva, 1, base)) return false;
    DWORD dir = 0;
    for (int level = 0; level < 3; ++level) {
        IMAGE_RESOURCE_DIRECTORY d;
        if (dir > limit - sizeof d || !r.Get(base + dir, d)) return false;
        const unsigned n = d.NumberOfNamedEntries + d.NumberOfIdEntries;
        bool found = false;
        for (unsigned i = 0; i < n && !found; ++i) {
            IMAGE_RESOURCE_DIRECTORY_ENTRY e;
            const unsigned long long at = dir + sizeof d + 8ull * i;
            if (at > limit - 8ull || !r.Get(base + at, e)) return false;
            if (level == 0 && ((e.Name & 0x80000000u) || e.Name != RT_VERSION_ID)) continue;
            const bool sub = (e.OffsetToData & 0x80000000u) != 0;
            if (sub != (level < 2)) continue;
            dir = e.OffsetToData & 0x7FFFFFFFu;
            found = true;
        }
        if (!found) return false;
    }
    if (dir > limit - sizeof data) return false;
    return r.Get(base + dir, data);
}

bool LoadVersion(LPCWSTR path, std::vector<unsigned char>& raw) {
    if (!path || !*path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    const std::string p = ZcmWideToUtf8(path, wcslen(path));
    const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ZcmErrnoToWin32(errno));
        return false;
    }
    Reader r(fd);
    Image img;
    IMAGE_RESOURCE_DATA_ENTRY data;
    unsigned long long off;
    bool ok = false;
    if (!ReadHeaders(r, img)) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
    } else if (!FindVersionData(r, img, data) || data.Size < 6 || data.Size > kMaxResource ||
               !RvaToOffset(img, data.OffsetToData, data.Size, off)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    } else {
        raw.resize(data.Size);
        ok = r.At(off, raw.data(), raw.size());
        if (!ok) SetLastError(ERROR_BAD_EXE_FORMAT);
    }
    close(fd);
    return ok;
}

WORD U16(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
size_t Align4(size_t v) { return (v + 3) & ~static_cast<size_t>(3); }

struct Node {
    size_t start, end;  // the node's bytes
    size_t valueOff, valueBytes;
    size_t childrenOff;
    WORD valueLength, type;
    std::u16string key;
};

bool ParseNode(const unsigned char* raw, size_t rawSize, size_t start, size_t limit, Node& n) {
    if (start + 6 > limit || limit > rawSize) return false;
    const WORD length = U16(raw + start);
    if (length < 6 || start + length > limit) return false;
    n.start = start;
    n.end = start + length;
    n.valueLength = U16(raw + start + 2);
    n.type = U16(raw + start + 4);
    n.key.clear();
    size_t p = start + 6;
    while (p + 2 <= n.end && U16(raw + p) != 0) {
        n.key += static_cast<char16_t>(U16(raw + p));
        p += 2;
    }
    p += 2;
    n.valueOff = Align4(p);
    n.valueBytes = n.type == 1 ? n.valueLength * 2u : n.valueLength;
    if (n.valueOff > n.end) n.valueOff = n.end;
    if (n.valueBytes > n.end - n.valueOff) n.valueBytes = n.end - n.valueOff;
    n.childrenOff = Align4(n.valueOff + n.valueBytes);
    return true;
}

bool KeyEquals(const std::u16string& key, const std::wstring& part) {
    if (key.size() != part.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        wchar_t a = static_cast<wchar_t>(key[i]), b = part[i];
        if (a >= L'A' && a <= L'Z') a += 32;
        if (b >= L'A' && b <= L'Z') b += 32;
        if (a != b) return false;
    }
    return true;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle) {
    if (handle) *handle = 0;
    std::vector<unsigned char> raw;
    if (!LoadVersion(path, raw)) return 0;
    return static_cast<DWORD>(BlockSize(static_cast<DWORD>(raw.size())));
}

BOOL GetFileVersionInfoW(LPCWSTR path, DWORD, DWORD size, LPVOID data) {
    std::vector<unsigned char> raw;
    if (!data || !LoadVersion(path, raw)) return FALSE;
    const DWORD rawSize = static_cast<DWORD>(raw.size());
    if (size < BlockSize(rawSize)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* block = static_cast<unsigned char*>(data);
    memset(block, 0, BlockSize(rawSize));
    memcpy(block, &kMagic, 4);
    memcpy(block + 4, &rawSize, 4);
    memcpy(block + 8, raw.data(), rawSize);
    auto* shadow = reinterpret_cast<wchar_t*>(block + ShadowOffset(rawSize));
    for (DWORD i = 0; i + 1 < rawSize; i += 2)
        shadow[i / 2] = static_cast<wchar_t>(U16(raw.data() + i));
    return TRUE;
}

BOOL VerQueryValueW(LPCVOID blockPtr, LPCWSTR subBlock, LPVOID* value, UINT* length) {
    if (value) *value = nullptr;
    if (length) *length = 0;
    const auto* block = static_cast<const unsigned char*>(blockPtr);
    DWORD magic = 0, rawSize = 0;
    if (!block || !subBlock || !value || !length) return FALSE;
    memcpy(&magic, block, 4);
    memcpy(&rawSize, block + 4, 4);
    if (magic != kMagic || rawSize > kMaxResource) return FALSE;
    const unsigned char* raw = block + 8;
    Node node;
    if (!ParseNode(raw, rawSize, 0, rawSize, node)) return FALSE;
    // Walk the path one key at a time.
    const std::wstring path(subBlock);
    size_t pos = 0;
    for (;;) {
        while (pos < path.size() && path[pos] == L'\\') ++pos;
        if (pos >= path.size()) break;
        size_t next = path.find(L'\\', pos);
        if (next == std::wstring::npos) next = path.size();
        const std::wstring part = path.substr(pos, next - pos);
        pos = next;
        bool found = false;
        Node child;
        for (size_t c = node.childrenOff; c + 6 <= node.end;) {
            if (!ParseNode(raw, rawSize, c, node.end, child)) break;
            if (KeyEquals(child.key, part)) {
                found = true;
                break;
            }
            c = Align4(child.end);
        }
        if (!found) return FALSE;
        node = child;
    }
    if (node.valueBytes == 0) return FALSE;
    if (node.type == 1) {
        auto* shadow = reinterpret_cast<const wchar_t*>(block + ShadowOffset(rawSize));
        *value = const_cast<wchar_t*>(shadow + node.valueOff / 2);
        *length = static_cast<UINT>(node.valueBytes / 2);
    } else {
        *value = const_cast<unsigned char*>(raw + node.valueOff);
        *length = static_cast<UINT>(node.valueBytes);
    }
    return TRUE;
}
