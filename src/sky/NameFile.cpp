// SPDX-License-Identifier: LGPL-3.0-or-later
// The name index file: layout, writing, mapping and its searches.
//
// Layout (little-endian; every section 4-byte aligned):
//   header   "ZCMNAMES", u32 version, stamps, entries, names, trigram bits, library,
//            u64 postings, string bytes, offsets of the seven sections
//   stamps   u32 file, 0, u64 size, i64 time, u64 hash
//   entries  u32 path, kind, first name, name count, f32 magnitude
//   names    u32 entry (high bit: alias), text (~0: the path), folded, folded length
//   sorted   u32 name number and the first 8 bytes of its folded form (NUL-padded), in the
//            order of the folded forms (then of the names), so bisection stays in one array
//   buckets  u32 start of each trigram bucket's postings, and the end
//   postings u32 name numbers, ascending within each bucket
//   strings  NUL-terminated UTF-8, the first one empty, the last byte NUL
#include "sky/NameFile.h"

#include "sky/Bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sky/DataFolders.h"

namespace sky {
namespace {

constexpr char kMagic[8] = {'Z', 'C', 'M', 'N', 'A', 'M', 'E', 'S'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeader = 104, kStamp = 32, kEntry = 20, kName = 16, kSorted = 12;
constexpr uint32_t kAlias = 0x80000000u, kPathText = 0xFFFFFFFFu;
#ifndef ZCMCOM_SKY_VERSION
#define ZCMCOM_SKY_VERSION "0"
#endif

// The data files whose objects the index lists (the host's own objects are compiled in).
const char* const kSources[] = {"stars.zct",    "variables.zct",  "doubles.zct", "exoplanets.zct",
                                "deepsky.zct",  "skycat.txt",     "showers.txt", "mpcorb.txt",
                                "cometels.txt", "satellites.tle", "names.txt"};

// A hash of a file's content, eight bytes at a time (a few milliseconds for all the data).
uint64_t HashFile(const std::string& path) {
    uint64_t h = 1469598103934665603ull;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    static thread_local uint64_t buffer[8192];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        if (n % 8) std::memset(reinterpret_cast<char*>(buffer) + n, 0, 8 - n % 8);
        for (ssize_t i = 0; i < (n + 7) / 8; ++i) {
            h = (h ^ buffer[i]) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        h ^= static_cast<uint64_t>(n);
    }
    close(fd);
    return h;
}

NameStamp StampOf(const std::string& file, const std::string& path, bool withHash) {
    NameStamp s;
    s.file = file;
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        s.size = UINT64_MAX;
        return s;
    }
    s.size = static_cast<uint64_t>(st.st_size);
    s.mtime = st.st_mtime;
    if (withHash) s.hash = HashFile(path);
    return s;
}

std::string PathIn(const std::vector<std::string>& folders, const std::string& file) {
    struct stat st {};
    for (const std::string& folder : folders)
        if (stat((folder + "/" + file).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return folder + "/" + file;
    return std::string();
}

}  // namespace

uint32_t NameLibraryStamp() {
    uint32_t h = 2166136261u;
    for (const char* c = ZCMCOM_SKY_VERSION; *c; ++c)
        h = (h ^ static_cast<unsigned char>(*c)) * 16777619u;
    return h;
}

std::vector<NameStamp> CurrentNameStamps(bool withHash) {
    const std::vector<std::string> folders = DataFolders();
    std::vector<NameStamp> out;
    for (const char* file : kSources) out.push_back(StampOf(file, PathIn(folders, file), withHash));
    return out;
}

bool NameStampsHold(const std::vector<NameStamp>& stamps, std::string* changed) {
    const std::vector<std::string> folders = DataFolders();
    if (stamps.size() != std::size(kSources)) {
        *changed = "the list of data files";
        return false;
    }
    for (const NameStamp& was : stamps) {
        const std::string path = PathIn(folders, was.file);
        const NameStamp now = StampOf(was.file, path, false);
        const bool same =
            now.size == was.size &&
            (now.size == UINT64_MAX || now.mtime == was.mtime || HashFile(path) == was.hash);
        if (!same) {
            *changed = path.empty() ? was.file : path;
            return false;
        }
    }
    return true;
}

std::string FoldedUtf8(const std::wstring& folded) {
    std::string out;
    for (const wchar_t w : folded) {
        const uint32_t c = static_cast<uint32_t>(w);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<uint32_t> NameTrigrams(const std::wstring& f) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 3 <= f.size(); ++i) {
        const uint64_t key = static_cast<uint64_t>(f[i]) << 42 |
                             static_cast<uint64_t>(f[i + 1]) << 21 |
                             static_cast<uint64_t>(f[i + 2]);
        out.push_back(static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 32));
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// ---- writing

uint32_t NameTableWriter::Store(const std::string& s) {
    if (s.empty()) return 0;
    const uint32_t at = static_cast<uint32_t>(m_strings.size());
    m_strings.append(s).push_back('\0');
    return at;
}

namespace {

// The trigrams of a folded name from its UTF-8 form (as NameTrigrams of the wide form).
std::vector<uint32_t> TrigramsOfUtf8(std::string_view s) {
    std::wstring w;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (size_t k = 1; k <= extra && i + k < s.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        w += static_cast<wchar_t>(code);
        i += extra + 1;
    }
    return NameTrigrams(w);
}

// Bytes handed on in pieces of 64 KiB: a file written so is mapped later in small pages
// (one large write leaves large ones in the page cache, and a lookup then maps megabytes).
class Sink {
public:
    explicit Sink(std::function<bool(const char*, size_t)> put) : m_put(std::move(put)) {
        m_buffer.reserve(kPiece);
    }
    void Append(const void* data, size_t size) {
        const char* p = static_cast<const char*>(data);
        while (size > 0 && m_ok) {
            const size_t n = std::min(size, kPiece - m_buffer.size());
            m_buffer.append(p, n);
            p += n;
            size -= n;
            if (m_buffer.size() == kPiece) Flush();
        }
    }
    template <typename T>
    void Put(T value) {
        Append(&value, sizeof value);
    }
    bool Flush() {
        if (m_ok && !m_buffer.empty()) m_ok = m_put(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
        return m_ok;
    }

private:
    static constexpr size_t kPiece = 64 * 1024;
    std::function<bool(const char*, size_t)> m_put;
    std::string m_buffer;
    bool m_ok = true;
};

}  // namespace

void NameTableWriter::AddEntry(const std::string& path, const std::string& kind, float magnitude) {
    uint32_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    auto known = m_kinds.find(kind);
    if (known == m_kinds.end()) known = m_kinds.emplace(kind, Store(kind)).first;
    m_entries.insert(m_entries.end(),
                     {Store(path), known->second, static_cast<uint32_t>(m_names.size()), 0, bits});
}

void NameTableWriter::AddName(const std::string& text, const std::wstring& folded, bool alias) {
    if (m_entries.empty()) return;
    const std::string f = FoldedUtf8(folded);
    if (!alias) m_lastText = text.empty() ? kPathText : Store(text);
    const uint32_t entry = static_cast<uint32_t>(m_entries.size() / 5 - 1);
    m_names.push_back(
        {entry | (alias ? kAlias : 0), m_lastText, Store(f), static_cast<uint32_t>(f.size())});
    ++m_entries[m_entries.size() - 2];
}

bool NameTableWriter::Emit(const std::function<bool(const char*, size_t)>& put) const {
    // Only the sorted order and one slice of the postings at a time are made here; the
    // trigrams are taken again from the folded names for each slice.
    const uint32_t names = static_cast<uint32_t>(m_names.size());
    auto folded = [&](uint32_t n) {
        return std::string_view(m_strings.data() + m_names[n].folded, m_names[n].foldedLength);
    };
    std::vector<uint32_t> sorted(names);
    for (uint32_t n = 0; n < names; ++n) sorted[n] = n;
    std::sort(sorted.begin(), sorted.end(), [&](uint32_t a, uint32_t b) {
        const int c = folded(a).compare(folded(b));
        return c != 0 ? c < 0 : a < b;
    });
    // About four postings a bucket.
    uint64_t trigrams = 0;
    for (uint32_t n = 0; n < names; ++n) trigrams += TrigramsOfUtf8(folded(n)).size();
    uint32_t bits = 8;
    while (bits < 24 && (uint64_t{1} << bits) * 4 < trigrams) ++bits;
    const uint32_t mask = (1u << bits) - 1;
    std::vector<uint32_t> ofName;
    auto bucketsOf = [&](uint32_t n) {
        ofName = TrigramsOfUtf8(folded(n));
        for (uint32_t& t : ofName) t &= mask;
        std::sort(ofName.begin(), ofName.end());
        ofName.erase(std::unique(ofName.begin(), ofName.end()), ofName.end());
    };
    std::vector<uint32_t> buckets((size_t{1} << bits) + 1, 0);
    for (uint32_t n = 0; n < names; ++n) {
        bucketsOf(n);
        for (uint32_t b : ofName) ++buckets[b + 1];
    }
    for (size_t b = 1; b < buckets.size(); ++b) buckets[b] += buckets[b - 1];

    std::vector<uint32_t> stampFiles;
    uint64_t stringsSize = m_strings.size();
    for (const NameStamp& s : m_stamps) {
        stampFiles.push_back(static_cast<uint32_t>(stringsSize));
        stringsSize += s.file.size() + 1;
    }
    const size_t padding = (4 - stringsSize % 4) % 4;
    stringsSize += padding;

    const uint64_t entries = m_entries.size() / 5;
    uint64_t offsets[7];
    offsets[0] = kHeader;
    offsets[1] = offsets[0] + m_stamps.size() * kStamp;
    offsets[2] = offsets[1] + entries * kEntry;
    offsets[3] = offsets[2] + uint64_t{names} * kName;
    offsets[4] = offsets[3] + uint64_t{names} * kSorted;
    offsets[5] = offsets[4] + buckets.size() * 4;
    offsets[6] = offsets[5] + uint64_t{buckets.back()} * 4;
    Sink out(put);
    out.Append(kMagic, sizeof kMagic);
    for (uint32_t v : {kVersion, static_cast<uint32_t>(m_stamps.size()),
                       static_cast<uint32_t>(entries), names, bits, NameLibraryStamp()})
        out.Put(v);
    out.Put(static_cast<uint64_t>(buckets.back()));
    out.Put(stringsSize);
    for (uint64_t o : offsets) out.Put(o);
    for (size_t i = 0; i < m_stamps.size(); ++i) {
        out.Put(stampFiles[i]);
        out.Put(0u);
        out.Put(m_stamps[i].size);
        out.Put(m_stamps[i].mtime);
        out.Put(m_stamps[i].hash);
    }
    out.Append(m_entries.data(), m_entries.size() * 4);
    out.Append(m_names.data(), m_names.size() * sizeof(Name));
    for (uint32_t n : sorted) {
        char prefix[8] = {};
        std::memcpy(prefix, folded(n).data(), std::min<size_t>(8, folded(n).size()));
        out.Put(n);
        out.Append(prefix, sizeof prefix);
    }
    std::vector<uint32_t>().swap(sorted);
    out.Append(buckets.data(), buckets.size() * 4);
    // The postings a slice of buckets at a time, each slice from one pass over the names.
    constexpr uint64_t kSlice = uint64_t{1} << 24;
    std::vector<uint32_t> postings;
    for (size_t from = 0; from + 1 < buckets.size();) {
        size_t to = from + 1;
        while (to + 1 < buckets.size() && buckets[to + 1] - buckets[from] <= kSlice) ++to;
        postings.assign(buckets[to] - buckets[from], 0);
        std::vector<uint32_t> fill(buckets.begin() + static_cast<long>(from),
                                   buckets.begin() + static_cast<long>(to));
        for (uint32_t n = 0; n < names && !postings.empty(); ++n) {
            bucketsOf(n);
            for (uint32_t b : ofName)
                if (b >= from && b < to) postings[fill[b - from]++ - buckets[from]] = n;
        }
        out.Append(postings.data(), postings.size() * 4);
        from = to;
    }
    out.Append(m_strings.data(), m_strings.size());
    for (const NameStamp& s : m_stamps) out.Append(s.file.c_str(), s.file.size() + 1);
    out.Append("\0\0\0", padding);
    return out.Flush();
}

std::string NameTableWriter::Bytes() const {
    std::string bytes;
    Emit([&](const char* data, size_t size) {
        bytes.append(data, size);
        return true;
    });
    return bytes;
}

bool NameTableWriter::Write(const std::string& path, std::string* error) const {
    const std::string temporary = path + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && Emit([fd](const char* data, size_t size) {
                             while (size > 0) {
                                 const ssize_t n = write(fd, data, size);
                                 if (n < 0 && errno == EINTR) continue;
                                 if (n <= 0) return false;
                                 data += n;
                                 size -= static_cast<size_t>(n);
                             }
                             return true;
                         });
    const int saved = errno;
    if (fd < 0 || close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int why = fd < 0 || !written ? saved : errno;
        std::remove(temporary.c_str());
        *error = path + ": " + std::strerror(why);
        return false;
    }
    return true;
}

// ---- reading

NameTable::~NameTable() {
    if (m_map) munmap(m_map, m_mapSize);
}

bool NameTable::Open(const std::string& path, std::string* error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kHeader)) {
        *error = path + ": " + (fd < 0 ? std::strerror(errno) : "not a name index");
        if (fd >= 0) close(fd);
        return false;
    }
    m_mapSize = static_cast<size_t>(st.st_size);
    void* map = mmap(nullptr, m_mapSize, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    madvise(map, m_mapSize, MADV_RANDOM);  // lookups touch a few pages here and there
    m_map = map;
    m_base = static_cast<const unsigned char*>(map);
    if (Check(m_mapSize, error)) return true;
    *error = path + ": " + *error;
    return false;
}

bool NameTable::OpenBytes(std::string bytes, std::string* error) {
    m_bytes = std::move(bytes);
    m_base = reinterpret_cast<const unsigned char*>(m_bytes.data());
    return Check(m_bytes.size(), error);
}

bool NameTable::Check(size_t size, std::string* error) {
    if (size < kHeader || std::memcmp(m_base, kMagic, sizeof kMagic) != 0 ||
        Get<uint32_t>(m_base + 8) != kVersion) {
        *error = "not a name index of this version";
        return false;
    }
    m_stampCount = Get<uint32_t>(m_base + 12);
    m_entryCount = Get<uint32_t>(m_base + 16);
    m_nameCount = Get<uint32_t>(m_base + 20);
    m_bits = Get<uint32_t>(m_base + 24);
    m_library = Get<uint32_t>(m_base + 28);
    m_postingCount = Get<uint64_t>(m_base + 32);
    m_stringsSize = Get<uint64_t>(m_base + 40);
    uint64_t o[7];
    for (int i = 0; i < 7; ++i) o[i] = Get<uint64_t>(m_base + 48 + 8 * i);
    const uint64_t expected[] = {kHeader,
                                 o[0] + uint64_t{m_stampCount} * kStamp,
                                 o[1] + uint64_t{m_entryCount} * kEntry,
                                 o[2] + uint64_t{m_nameCount} * kName,
                                 o[3] + uint64_t{m_nameCount} * kSorted,
                                 o[4] + ((uint64_t{1} << std::min(m_bits, 31u)) + 1) * 4,
                                 o[5] + m_postingCount * 4};
    bool fits = m_bits >= 1 && m_bits <= 28 && m_stringsSize > 0 && o[6] + m_stringsSize == size &&
                m_entryCount < kAlias;
    for (int i = 0; i < 7 && fits; ++i) fits = o[i] == expected[i];
    if (!fits || m_base[size - 1] != '\0') {
        *error = "damaged name index";
        m_entryCount = m_nameCount = 0;
        return false;
    }
    auto section = [&](int i) { return reinterpret_cast<const uint32_t*>(m_base + o[i]); };
    m_stamps = section(0);
    m_entries = section(1);
    m_names = section(2);
    m_sorted = section(3);
    m_buckets = section(4);
    m_postings = section(5);
    m_strings = reinterpret_cast<const char*>(m_base + o[6]);
    return true;
}

const char* NameTable::String(uint32_t offset) const {
    return offset < m_stringsSize ? m_strings + offset : "";
}

const char* NameTable::Path(uint32_t e) const {
    return e < m_entryCount ? String(m_entries[5 * size_t{e}]) : "";
}
const char* NameTable::Kind(uint32_t e) const {
    return e < m_entryCount ? String(m_entries[5 * size_t{e} + 1]) : "";
}
float NameTable::Magnitude(uint32_t e) const {
    float m = NAN;
    if (e < m_entryCount) std::memcpy(&m, &m_entries[5 * size_t{e} + 4], sizeof m);
    return m;
}
uint32_t NameTable::FirstName(uint32_t e) const {
    return e < m_entryCount ? std::min(m_entries[5 * size_t{e} + 2], m_nameCount) : 0;
}
uint32_t NameTable::NameCountOf(uint32_t e) const {
    return e < m_entryCount ? std::min(m_entries[5 * size_t{e} + 3], m_nameCount - FirstName(e))
                            : 0;
}

NameTable::Name NameTable::NameAt(uint32_t n) const {
    if (n >= m_nameCount) return {kAlias - 1, "", std::string_view(), false};
    const uint32_t* r = m_names + 4 * size_t{n};
    const uint32_t at = r[2] < m_stringsSize ? r[2] : 0;
    const size_t length = std::min<uint64_t>(r[3], m_stringsSize - 1 - at);
    return {r[0] & ~kAlias, r[1] == kPathText ? nullptr : String(r[1]),
            std::string_view(m_strings + at, length), (r[0] & kAlias) != 0};
}

std::vector<uint32_t> NameTable::Equal(std::string_view folded) const {
    char prefix[8] = {};
    std::memcpy(prefix, folded.data(), std::min<size_t>(8, folded.size()));
    const unsigned char* sorted = reinterpret_cast<const unsigned char*>(m_sorted);
    // Bisection on the prefixes; the names themselves only where those are equal.
    auto less = [&](uint32_t i) {
        const int c = std::memcmp(sorted + i * kSorted + 4, prefix, sizeof prefix);
        return c != 0 ? c < 0 : NameAt(Get<uint32_t>(sorted + i * kSorted)).folded < folded;
    };
    uint32_t lo = 0, count = m_nameCount;
    while (count > 0) {
        const uint32_t half = count / 2;
        if (less(lo + half)) {
            lo += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    std::vector<uint32_t> out;
    for (; lo < m_nameCount; ++lo) {
        const uint32_t n = Get<uint32_t>(sorted + size_t{lo} * kSorted);
        if (std::memcmp(sorted + size_t{lo} * kSorted + 4, prefix, sizeof prefix) != 0 ||
            NameAt(n).folded != folded)
            break;
        out.push_back(n);
    }
    return out;
}

std::vector<uint32_t> NameTable::Bucket(uint32_t hash) const {
    const uint32_t b = BucketOf(hash);
    const uint64_t from = std::min<uint64_t>(m_buckets[b], m_postingCount);
    const uint64_t to =
        std::min<uint64_t>(std::max(m_buckets[b + 1], m_buckets[b]), m_postingCount);
    return std::vector<uint32_t>(m_postings + from, m_postings + to);
}

void NameTable::Candidates(const std::wstring& folded,
                           const std::function<void(uint32_t)>& visit) const {
    const std::vector<uint32_t> trigrams = NameTrigrams(folded);
    if (trigrams.empty()) {
        for (uint32_t n = 0; n < m_nameCount; ++n) visit(n);
        return;
    }
    // The names in every bucket of the text's trigrams.
    std::vector<uint32_t> common = Bucket(trigrams[0]);
    for (size_t i = 1; i < trigrams.size() && !common.empty(); ++i) {
        const std::vector<uint32_t> next = Bucket(trigrams[i]);
        std::vector<uint32_t> both;
        std::set_intersection(common.begin(), common.end(), next.begin(), next.end(),
                              std::back_inserter(both));
        common.swap(both);
    }
    for (uint32_t n : common) visit(n);
}

std::vector<uint32_t> NameTable::Similar(const std::wstring& folded, size_t n) const {
    std::vector<uint32_t> all;
    for (uint32_t t : NameTrigrams(folded)) {
        const std::vector<uint32_t> b = Bucket(t);
        all.insert(all.end(), b.begin(), b.end());
    }
    std::sort(all.begin(), all.end());
    std::vector<std::pair<uint32_t, uint32_t>> counted;  // (shared trigrams, name)
    for (size_t i = 0; i < all.size();) {
        size_t j = i;
        while (j < all.size() && all[j] == all[i]) ++j;
        counted.emplace_back(static_cast<uint32_t>(j - i), all[i]);
        i = j;
    }
    const size_t keep = std::min(n, counted.size());
    std::partial_sort(counted.begin(), counted.begin() + static_cast<long>(keep), counted.end(),
                      [](const auto& a, const auto& b) {
                          return a.first != b.first ? a.first > b.first : a.second < b.second;
                      });
    std::vector<uint32_t> out;
    for (size_t i = 0; i < keep; ++i) out.push_back(counted[i].second);
    return out;
}

std::vector<NameStamp> NameTable::Stamps() const {
    std::vector<NameStamp> out;
    for (uint32_t i = 0; i < m_stampCount; ++i) {
        const unsigned char* r = reinterpret_cast<const unsigned char*>(m_stamps) + i * kStamp;
        out.push_back({String(Get<uint32_t>(r)), Get<uint64_t>(r + 8), Get<int64_t>(r + 16),
                       Get<uint64_t>(r + 24)});
    }
    return out;
}

}  // namespace sky
