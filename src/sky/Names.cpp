// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky's name index: folding, lookup, and the closest names for a miss.
#include "sky/Names.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>

#include "sky/SkyHost.h"

namespace sky {
namespace {

// Half-width katakana U+FF66 to U+FF9D in their full-width forms.
const wchar_t kHalfKana[] =
    L"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
    L"ヤユヨラリルレロワン";

// The katakana a voiced (dakuten) or semi-voiced (handakuten) mark turns c into; 0: none.
wchar_t Voiced(wchar_t c, bool semi) {
    if (c == L'ウ' && !semi) return L'ヴ';
    if (c >= L'ハ' && c <= L'ホ' && (c - L'ハ') % 3 == 0)
        return static_cast<wchar_t>(c + (semi ? 2 : 1));
    if (semi) return 0;
    if ((c >= L'カ' && c <= L'チ' && (c - L'カ') % 2 == 0) || c == L'ツ' || c == L'テ' ||
        c == L'ト')
        return static_cast<wchar_t>(c + 1);
    return 0;
}

bool Dropped(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0x3000 || c == L'.' || c == L'-' || c == L'_' ||
           c == L'\'' || c == L'"' || c == L',' || c == L'(' || c == L')' || c == 0x30FB ||
           c == 0xFF65;
}

size_t EditDistance(const std::wstring& a, const std::wstring& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::wstring FoldName(const CString& text) {
    std::wstring out;
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t c = text[i];
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFEE0);  // full-width ASCII
        if (c >= 0xFF66 && c <= 0xFF9D) c = kHalfKana[c - 0xFF66];
        if (c >= 0x3041 && c <= 0x3096) c = static_cast<wchar_t>(c + 0x60);  // hiragana
        if (c == 0xFF9E || c == 0xFF9F || c == 0x3099 || c == 0x309A || c == 0x309B ||
            c == 0x309C) {
            const bool semi = c == 0xFF9F || c == 0x309A || c == 0x309C;
            if (!out.empty() && Voiced(out.back(), semi)) {
                out.back() = Voiced(out.back(), semi);
                continue;
            }
        }
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<wchar_t>(c + 32);
        if (!Dropped(c)) out += c;
    }
    return out;
}

std::string NameTextError(const std::string& s) {
    if (s.empty()) return "an empty name";
    if (s.size() > kMaxNameBytes)
        return "a name longer than " + std::to_string(kMaxNameBytes) + " bytes";
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80         ? 0
                          : (c >> 5) == 6  ? 1
                          : (c >> 4) == 14 ? 2
                          : (c >> 3) == 30 ? 3
                                           : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size())
            return "a name that is not UTF-8";
        unsigned long code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return "a name that is not UTF-8";
            code = code << 6 | (next & 0x3F);
        }
        static const unsigned long kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0)
            return "a name that is not UTF-8";
        i += static_cast<size_t>(extra) + 1;
    }
    return std::string();
}

NameIndex::NameIndex(CSkyHost& host) {
    // The host's own objects, with the names it answers for each path it lists. Each kind
    // is asked only the properties it answers at once, since any other one makes the host
    // compute the object's place.
    static const struct {
        const wchar_t* prefix;
        std::vector<const wchar_t*> properties;
    } kAsked[] = {
        {L"Star.", {L"JapaneseName", L"EnglishName", L"HipparcosNumber"}},
        {L"Constellation.", {L"Name", L"EnglishName", L"LatinName"}},
        {L"DeepSkyObject.", {L"Name", L"CatalogNumber", L"SubCatalogNumber.Strings"}},
        // A shower's Japanese name is its radiant's constellation: the source's own names
        // ("オリオン座流星群") say which is meant.
        {L"Meteor.", {}},
        {L"", {L"JapaneseName", L"EnglishName"}},
    };
    // The host's list repeats the sources' objects: one entry per path, the host's names first.
    std::vector<Entry> listed;
    for (const SourceFactory& make : RegisteredSources()) make()->List(listed);
    std::map<std::wstring, size_t> ofSources;
    for (size_t i = 0; i < listed.size(); ++i)
        ofSources.emplace(static_cast<const wchar_t*>(listed[i].path), i);
    for (const CString& line : host.KnownObjects()) {
        const int tab = line.Find(L'\t');
        Entry e;
        e.path = tab < 0 ? line : line.Left(tab);
        e.kind = e.path.Left(e.path.Find(L'.') < 0 ? e.path.GetLength() : e.path.Find(L'.'));
        const CString last = e.path.Mid(e.path.ReverseFind(L'.') + 1);
        if (WholeNumber(last) < 0) e.names.push_back(last);
        for (const auto& kind : kAsked) {
            if (e.path.Left(static_cast<int>(wcslen(kind.prefix))) != kind.prefix) continue;
            for (const wchar_t* property : kind.properties) {
                const CString name = host.Execute(L"? " + e.path + L"." + property);
                if (name.IsEmpty() || name == L"*") continue;
                e.names.push_back(wcscmp(property, L"HipparcosNumber") == 0 ? L"HIP " + name
                                                                            : name);
            }
            break;
        }
        const auto same = ofSources.find(static_cast<const wchar_t*>(e.path));
        if (same != ofSources.end()) {
            Entry& own = listed[same->second];
            e.names.insert(e.names.end(), own.names.begin(), own.names.end());
            if (!own.kind.IsEmpty()) e.kind = own.kind;
            own.path.Empty();  // taken here
        }
        Add(std::move(e));
    }
    for (Entry& e : listed)
        if (!e.path.IsEmpty()) Add(std::move(e));
}

void NameIndex::Add(Entry entry) {
    std::vector<std::wstring> folded;
    std::vector<CString> names;
    for (const CString& name : entry.names) {
        // A Japanese constellation name answers without its "座" too ("オリオン").
        std::vector<std::wstring> forms{FoldName(name)};
        if (forms[0].size() > 1 && forms[0].back() == L'座')
            forms.push_back(forms[0].substr(0, forms[0].size() - 1));
        for (const std::wstring& f : forms) {
            if (f.empty() || std::find(folded.begin(), folded.end(), f) != folded.end()) continue;
            folded.push_back(f);
            names.push_back(f == forms[0] ? name : name.Left(name.GetLength() - 1));
        }
    }
    // The host and a source may both list an object: its names join the first entry.
    const auto listed = m_byPath.find(entry.path.str());
    if (listed != m_byPath.end()) {
        Entry& first = m_entries[listed->second];
        std::vector<std::wstring>& firstFolded = m_folded[listed->second];
        for (size_t i = 0; i < names.size(); ++i) {
            if (std::find(firstFolded.begin(), firstFolded.end(), folded[i]) != firstFolded.end())
                continue;
            firstFolded.insert(firstFolded.begin() + static_cast<long>(first.names.size()),
                               folded[i]);
            first.names.push_back(names[i]);
        }
        return;
    }
    entry.names = names;
    folded.push_back(FoldName(entry.path));  // the path itself is searched too, listed by name
    m_byPath.emplace(entry.path.str(), m_entries.size());
    m_entries.push_back(std::move(entry));
    m_folded.push_back(std::move(folded));
}

std::vector<NameIndex::Match> NameIndex::Find(const CString& text) const {
    const std::wstring q = FoldName(text);
    std::vector<Match> found;
    if (q.empty()) return found;
    for (size_t e = 0; e < m_entries.size(); ++e) {
        int best = 3;
        CString bestName;
        for (size_t n = 0; n < m_folded[e].size(); ++n) {
            const std::wstring& f = m_folded[e][n];
            const size_t at = f.find(q);
            const int rank = at == std::wstring::npos ? 3
                             : f.size() == q.size()   ? 0
                             : at == 0                ? 1
                                                      : 2;
            if (rank < best) {
                best = rank;
                bestName =
                    n < m_entries[e].names.size() ? m_entries[e].names[n] : m_entries[e].path;
            }
        }
        if (best < 3) found.push_back({&m_entries[e], bestName, best});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Match& a, const Match& b) { return a.rank < b.rank; });
    return found;
}

CString NameIndex::Resolve(const CString& text) const {
    const std::vector<Match> found = Find(text);
    return !found.empty() && found[0].rank == 0 ? found[0].entry->path : CString();
}

std::vector<CString> NameIndex::Closest(const CString& text, size_t n) const {
    std::wstring q = FoldName(text);
    q.resize(std::min(q.size(), kMaxNameBytes));  // the distance costs its length times each name's
    std::vector<std::pair<size_t, CString>> scored;
    for (size_t e = 0; e < m_entries.size(); ++e)
        for (size_t k = 0; k < m_entries[e].names.size(); ++k)
            scored.emplace_back(EditDistance(q, m_folded[e][k]), m_entries[e].names[k]);
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CString> out;
    for (const auto& [distance, name] : scored) {
        if (out.size() >= n) break;
        if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
    }
    return out;
}

}  // namespace sky
