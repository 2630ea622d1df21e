// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The name index of the built-in sky: every object the host and its registered sources
/// know, by every name a user may type for it ("Sirius", "シリウス", "HIP 32349", "M42",
/// "NGC 1976", "Moon", "Orion"). Names compare folded: without regard to case, full-width
/// or half-width forms, hiragana or katakana, blanks and punctuation. A new source's names
/// come from its Entry list with no change here.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"
#include "sky/Source.h"

class CSkyHost;

namespace sky {

/// The form names are compared in: ASCII letters in lower case, full-width ASCII and
/// half-width katakana in their usual widths, hiragana as katakana, without blanks and
/// punctuation (". - _ ' , ・ ( )").
ZCMCOM_API std::wstring FoldName(const CString& text);

/// The longest name text accepted, in bytes of UTF-8.
constexpr size_t kMaxNameBytes = 256;
/// Why a text typed as a name cannot be searched for (empty, longer than kMaxNameBytes,
/// not UTF-8), in English; empty when it can.
ZCMCOM_API std::string NameTextError(const std::string& utf8);

/// Objects by name: built once (it asks the host for every object's names), then searched
/// as often as needed. Searches compare FoldName forms.
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
    /// of every registered source.
    explicit NameIndex(CSkyHost& host);
    /// Adds an object with its names; an object already in the index gets the new names.
    void Add(Entry entry);

    /// Every object a name of which holds the text, best first (whole names, then
    /// beginnings, then the rest), each object once.
    std::vector<Match> Find(const CString& text) const;
    /// The path of the object the text names in full (the first such); empty for none.
    CString Resolve(const CString& text) const;
    /// Up to n names closest to the text by edit distance, best first.
    std::vector<CString> Closest(const CString& text, size_t n) const;
    /// Every object of the index, in the order added.
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    std::vector<std::vector<std::wstring>> m_folded;    ///< by entry, by name
    std::unordered_map<std::wstring, size_t> m_byPath;  ///< an object listed twice is one entry
};

}  // namespace sky
