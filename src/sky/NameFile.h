// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The name index of the built-in sky as one file (share/zcmcom/names.idx), written when the
/// catalogues are built and memory-mapped by NameIndex: the objects, their names as written
/// and folded, the folded names sorted for bisection, and the names by trigram of their
/// folded form for searches inside names and the closest names. Opening checks the sizes of
/// the sections only, so it costs the same for ten names and for ten million; each record
/// is checked when it is read. The file records the size, time and content hash of each data
/// file its names come from, so a stale index is noticed (internal).
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// A data file an index was built from, as it was then.
struct NameStamp {
    std::string file;   ///< the name in the data folder ("stars.zct")
    uint64_t size = 0;  ///< its size in bytes; UINT64_MAX: it was missing
    int64_t mtime = 0;  ///< its modification time, seconds
    uint64_t hash = 0;  ///< a hash of its content
};

/// The library's version as an index file records it: a file another version wrote is stale,
/// as what the library lists and how it folds names may have changed.
ZCMCOM_API uint32_t NameLibraryStamp();
/// The data files the built-in sky's names come from, as they are now in the data folders.
/// Without withHash the hashes are 0.
ZCMCOM_API std::vector<NameStamp> CurrentNameStamps(bool withHash);
/// Whether the files of the stamps are unchanged (the hash is read only when the size is
/// the same and the time is not); else false with the first changed file in *changed.
ZCMCOM_API bool NameStampsHold(const std::vector<NameStamp>& stamps, std::string* changed);

/// Collects entries and names (their strings and records only), then lays out the file and
/// hands it on as it is made.
class ZCMCOM_API NameTableWriter {
public:
    /// A new object; its names follow with AddName.
    void AddEntry(const std::string& path, const std::string& kind, float magnitude);
    /// A name of the last object: as written (UTF-8; empty: the path) and folded (FoldName).
    /// alias: the folded form is another spelling of the name written before (not listed).
    void AddName(const std::string& text, const std::wstring& folded, bool alias = false);
    /// A data file the names come from.
    void AddStamp(const NameStamp& stamp) { m_stamps.push_back(stamp); }
    /// The file's bytes.
    std::string Bytes() const;
    /// Writes the file (through a temporary beside it); false with *error when it cannot.
    bool Write(const std::string& path, std::string* error) const;

private:
    struct Name {
        uint32_t entry, text, folded, foldedLength;
    };
    uint32_t Store(const std::string& s);
    /// Hands the file's bytes to put in order, a piece at a time; false when put fails.
    bool Emit(const std::function<bool(const char*, size_t)>& put) const;
    std::string m_strings = std::string(1, '\0');
    std::vector<uint32_t> m_entries;  ///< by entry: path, kind, first name, count, magnitude
    std::vector<Name> m_names;
    std::vector<NameStamp> m_stamps;
    std::map<std::string, uint32_t> m_kinds;
    uint32_t m_lastText = 0;
};

/// A name index file, mapped or held in memory; reads are const and thread-safe.
class ZCMCOM_API NameTable {
public:
    /// A name record.
    struct Name {
        uint32_t entry;           ///< the object
        const char* text;         ///< as written, UTF-8; nullptr: the object's path
        std::string_view folded;  ///< FoldName form, UTF-8
        bool alias;               ///< another spelling of the name before it
    };

    NameTable() = default;
    ~NameTable();
    NameTable(const NameTable&) = delete;
    NameTable& operator=(const NameTable&) = delete;

    /// Maps and checks a file; false with *error when it is missing or damaged.
    bool Open(const std::string& path, std::string* error);
    /// Takes the bytes of a file made in memory.
    bool OpenBytes(std::string bytes, std::string* error);

    /// How many objects and names the file holds.
    /// @{
    uint32_t EntryCount() const { return m_entryCount; }
    uint32_t NameCount() const { return m_nameCount; }
    /// @}
    /// An object's path, kind (UTF-8) and magnitude (NaN: unknown); its names are
    /// [FirstName, FirstName + NameCountOf), each read by NameAt.
    /// @{
    const char* Path(uint32_t entry) const;
    const char* Kind(uint32_t entry) const;
    float Magnitude(uint32_t entry) const;
    uint32_t FirstName(uint32_t entry) const;
    uint32_t NameCountOf(uint32_t entry) const;
    Name NameAt(uint32_t name) const;
    /// @}
    /// The names whose folded form is exactly folded (UTF-8), in the order of their objects.
    std::vector<uint32_t> Equal(std::string_view folded) const;
    /// Each name whose folded form may hold the folded text (every name when the text is
    /// shorter than three letters); the caller checks.
    void Candidates(const std::wstring& folded, const std::function<void(uint32_t)>& visit) const;
    /// The names sharing the most trigrams with the folded text, up to n, most first.
    std::vector<uint32_t> Similar(const std::wstring& folded, size_t n) const;
    /// The data files it was built from, and the library version that wrote it.
    /// @{
    std::vector<NameStamp> Stamps() const;
    uint32_t LibraryStamp() const { return m_library; }
    /// @}

private:
    bool Check(size_t size, std::string* error);
    const char* String(uint32_t offset) const;
    std::vector<uint32_t> Bucket(uint32_t hash) const;
    uint32_t BucketOf(uint32_t hash) const { return hash & ((1u << m_bits) - 1); }

    std::string m_bytes;
    void* m_map = nullptr;
    size_t m_mapSize = 0;
    const unsigned char* m_base = nullptr;
    uint32_t m_stampCount = 0, m_entryCount = 0, m_nameCount = 0, m_bits = 0, m_library = 0;
    uint64_t m_postingCount = 0, m_stringsSize = 0;
    const uint32_t *m_stamps = nullptr, *m_entries = nullptr, *m_names = nullptr,
                   *m_sorted = nullptr, *m_buckets = nullptr, *m_postings = nullptr;
    const char* m_strings = nullptr;
};

/// The hashed trigrams of a folded name, each once.
ZCMCOM_API std::vector<uint32_t> NameTrigrams(const std::wstring& folded);
/// UTF-8 of a folded name.
ZCMCOM_API std::string FoldedUtf8(const std::wstring& folded);

}  // namespace sky
