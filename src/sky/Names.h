// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The name index of the built-in sky: every object the host and its registered sources
/// know, by every name a user may type for it ("Sirius", "シリウス", "HIP 32349", "M42",
/// "NGC 1976", "Moon", "Orion"). Names compare folded: without regard to case, full-width
/// or half-width forms, hiragana or katakana, blanks and punctuation. A new source's names
/// come from its Entry list with no change here.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"
#include "sky/Source.h"

class CSkyHost;

namespace sky {

class NameTableWriter;  // (NameFile.h, internal)

/// The form names are compared in: ASCII letters in lower case, full-width ASCII and
/// half-width katakana in their usual widths, hiragana as katakana, without blanks and
/// punctuation (". - _ ' , ・ ( )").
ZCMCOM_API std::wstring FoldName(const CString& text);

/// The edit (Levenshtein) distance of two folded names, for the closest names (internal).
size_t EditDistance(const std::wstring& a, const std::wstring& b);

/// The longest name text accepted, in bytes of UTF-8.
constexpr size_t kMaxNameBytes = 256;
/// Why a text typed as a name cannot be searched for (empty, longer than kMaxNameBytes,
/// not UTF-8), in English; empty when it can.
ZCMCOM_API std::string NameTextError(const std::string& utf8);

/// Objects by name. The bundled data's names come from the index file written when the
/// catalogues are built (share/zcmcom/names.idx, mapped, so opening it costs next to
/// nothing); only the names of the user's element files are read at run time. Without that
/// file, or when the data changed since it was written or another library version wrote it,
/// the index is built from the host as it stands (seconds), with a warning. Searches compare
/// FoldName forms.
///
/// An object several catalogues know is one object: a star's names (common, Bayer and
/// Flamsteed, HIP) lead to its variable-star entry when it is a variable, else to its HIP
/// entry; a double-star entry keeps only its own designations.
class ZCMCOM_API NameIndex {
public:
    /// One object found: its entry and the name that matched.
    struct Match {
        const Entry* entry;  ///< the object (points into the index)
        CString name;        ///< the name that matched, as written
        int rank;            ///< 0 the whole name, 1 the name's beginning, 2 inside the name
    };

    /// An empty index, for Add.
    NameIndex() = default;
    /// Every object of the host (its KnownObjects, with the names it answers for them) and
    /// of every registered source, from the index file when it is current.
    explicit NameIndex(CSkyHost& host);
    /// The same for the built-in sky at an instant (UT Julian Day): a host is made only
    /// when the index file cannot serve.
    static NameIndex ForSky(double jdUt) { return ForSky(nullptr, jdUt); }
    /// The same, always built from the host (what the index file holds).
    static NameIndex Built(CSkyHost& host);
    /// From an index file (share/zcmcom/names.idx) alone; empty with *error when it cannot
    /// be read.
    static NameIndex FromFile(const std::string& path, std::string* error);
    /// Writes the index file of the host's objects; false with *error when it cannot.
    static bool WriteFile(CSkyHost& host, const std::string& path, std::string* error);
    /// Adds an object with its names; an object already in the index gets the new names.
    void Add(Entry entry);

    /// Every object a name of which holds the text, best first (whole names, then
    /// beginnings, then the rest), each object once.
    std::vector<Match> Find(const CString& text) const;
    /// The path of the object the text names in full (the first such); empty for none.
    CString Resolve(const CString& text) const;
    /// Up to n names closest to the text by edit distance, best first. For a text with a
    /// dot (a mistyped path), the paths of the same kind instead ("Solar.Planet.Vulcan":
    /// the planets), else of the kind above it, when there are any.
    std::vector<CString> Closest(const CString& text, size_t n) const;
    /// The objects named text in full, in the order added (Resolve gives the first).
    std::vector<Match> Named(const CString& text) const;
    /// Every object of the index, in the order added (read from the file on first use).
    const std::vector<Entry>& Entries() const;

private:
    struct Table;
    static NameIndex ForSky(CSkyHost* host, double jdUt);
    const Entry* TableEntry(uint32_t e) const;
    void Collect(CSkyHost& host);
    void OneObjectEach();
    void Fill(NameTableWriter& writer) const;
    void Freeze();
    void Shadow(const CString& path);
    const Entry* UpdatedMinorPlanet(const CString& text) const;

    std::shared_ptr<Table> m_table;           ///< the file's objects (shared, read lazily)
    std::unordered_set<uint32_t> m_shadowed;  ///< the file's objects that Add gave names to
    mutable std::vector<Entry> m_all;         ///< Entries(), when asked for
    mutable std::deque<Entry> m_minor;        ///< the updated minor planets' table's, when named
    std::vector<Entry> m_entries;             ///< objects added to the file's
    std::vector<std::vector<std::wstring>> m_folded;    ///< by entry, by name
    std::unordered_map<std::wstring, size_t> m_byPath;  ///< an object listed twice is one entry
};

}  // namespace sky
