// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky's name index: folding, lookup, and the closest names for a miss.
#include "sky/Names.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <map>
#include <mutex>
#include <utility>

#include "sky/NameFile.h"
#include "sky/SkyHost.h"
#include "sky/bodies/MinorPlanetTable.h"
#include "sky/satellites/SatelliteCatalog.h"

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

}  // namespace

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

// The file's objects, shared by the indexes that use it, read as they are asked for.
struct NameIndex::Table {
    NameTable file;
    std::mutex mutex;
    std::map<uint32_t, Entry> read;

    Entry Read(uint32_t e) const {
        Entry entry;
        entry.path = CString(file.Path(e));
        entry.kind = CString(file.Kind(e));
        entry.magnitude = file.Magnitude(e);
        for (uint32_t n = file.FirstName(e); n < file.FirstName(e) + file.NameCountOf(e); ++n) {
            const NameTable::Name name = file.NameAt(n);
            if (name.text && !name.alias) entry.names.emplace_back(name.text);
        }
        return entry;
    }

    // The index file of the data folders, opened once per process; nullptr with *why when
    // there is none or it does not match the data.
    static std::shared_ptr<Table> Current(std::string* why) {
        static std::mutex mutex;
        static std::shared_ptr<Table> current;
        static std::string problem;
        std::lock_guard<std::mutex> lock(mutex);
        if (!current && problem.empty()) {
            auto table = std::make_shared<Table>();
            const std::string path = DataPath("names.idx");
            std::string changed;
            if (path.empty())
                problem = "no name index (names.idx) in the data folders";
            else if (!table->file.Open(path, &problem))
                ;
            else if (table->file.LibraryStamp() != NameLibraryStamp())
                problem = path + " was written by another version of the library";
            else if (!NameStampsHold(table->file.Stamps(), &changed))
                problem = path + " is older than " + changed;
            else
                current = table;
        }
        *why = problem;
        return current;
    }
};

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

void NameIndex::Collect(CSkyHost& host) {
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
    for (const RegisteredSource& r : RegisteredSources()) r.make()->List(listed);
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
                const CString answer = host.Execute(L"? " + e.path + L"." + property);
                // A list property (".Strings") answers its items joined by commas.
                const bool list = wcsstr(property, L".Strings") != nullptr;
                for (int at = 0; at <= answer.GetLength();) {
                    int comma = list ? answer.Find(L',', at) : -1;
                    if (comma < 0) comma = answer.GetLength();
                    CString name = answer.Mid(at, comma - at);
                    at = comma + 1;
                    name.Trim(L" ");
                    if (name.IsEmpty() || name == L"*") continue;
                    e.names.push_back(wcscmp(property, L"HipparcosNumber") == 0 ? L"HIP " + name
                                                                                : name);
                }
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
    // Everyday names the catalogues lack, and asterisms ("=" and their stars' paths).
    std::ifstream extra(DataPath("names.txt"));
    for (std::string line; std::getline(extra, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<CString> fields;
        for (size_t at = 0; at <= line.size();) {
            const size_t tab = std::min(line.find('\t', at), line.size());
            fields.emplace_back(line.substr(at, tab - at).c_str());
            at = tab + 1;
        }
        Entry e;
        e.path = fields[0];
        for (size_t i = 1; i < fields.size(); ++i) {
            if (fields[i].Left(1) == L"=")
                e.kind = L"asterism " + fields[i].Mid(1);
            else
                e.names.push_back(fields[i]);
        }
        Add(std::move(e));
    }
}

void NameIndex::Add(Entry entry) {
    Shadow(entry.path);
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
    if (m_table) {
        const NameTable& file = m_table->file;
        const std::string key = FoldedUtf8(q);
        std::map<uint32_t, std::pair<int, uint32_t>> best;  // by object: rank, name
        file.Candidates(q, [&](uint32_t n) {
            const NameTable::Name name = file.NameAt(n);
            const size_t at = name.folded.find(key);
            if (at == std::string_view::npos || m_shadowed.count(name.entry)) return;
            const int rank = name.folded.size() == key.size() ? 0 : at == 0 ? 1 : 2;
            const auto [it, added] = best.emplace(name.entry, std::pair{rank, n});
            if (!added && rank < it->second.first) it->second = {rank, n};
        });
        for (const auto& [entry, rankName] : best) {
            const NameTable::Name name = file.NameAt(rankName.second);
            found.push_back({TableEntry(entry), CString(name.text ? name.text : file.Path(entry)),
                             rankName.first});
        }
    }
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

std::vector<NameIndex::Match> NameIndex::Named(const CString& text) const {
    const std::wstring q = FoldName(text);
    std::vector<Match> found;
    if (q.empty()) return found;
    if (m_table) {
        for (uint32_t n : m_table->file.Equal(FoldedUtf8(q))) {
            const NameTable::Name name = m_table->file.NameAt(n);
            if (m_shadowed.count(name.entry)) continue;
            const Entry* e = TableEntry(name.entry);
            if (!found.empty() && found.back().entry == e) continue;
            found.push_back({e, name.text ? CString(name.text) : e->path, 0});
        }
    }
    for (size_t e = 0; e < m_entries.size(); ++e)
        for (size_t n = 0; n < m_folded[e].size(); ++n)
            if (m_folded[e][n] == q) {
                found.push_back(
                    {&m_entries[e],
                     n < m_entries[e].names.size() ? m_entries[e].names[n] : m_entries[e].path, 0});
                break;
            }
    if (found.empty())
        if (const Entry* minor = UpdatedMinorPlanet(text))
            found.push_back({minor, minor->names[0], 0});
    return found;
}

CString NameIndex::Resolve(const CString& text) const {
    // Named's first, without reading the objects' names.
    const std::wstring q = FoldName(text);
    if (q.empty()) return CString();
    if (m_table)
        for (uint32_t n : m_table->file.Equal(FoldedUtf8(q))) {
            const uint32_t e = m_table->file.NameAt(n).entry;
            if (!m_shadowed.count(e)) return CString(m_table->file.Path(e));
        }
    for (size_t e = 0; e < m_entries.size(); ++e)
        if (std::find(m_folded[e].begin(), m_folded[e].end(), q) != m_folded[e].end())
            return m_entries[e].path;
    const Entry* minor = UpdatedMinorPlanet(text);
    return minor ? minor->path : CString();
}

// Any of the updated minor planets, by the keys of their table (named in full only: the
// table has no index of parts of names).
const Entry* NameIndex::UpdatedMinorPlanet(const CString& text) const {
    const auto table = MinorPlanetTable::Updated();
    const long k = table ? table->Find(text.ToUtf8()) : -1;
    if (k < 0) return nullptr;
    const SmallBody b = table->At(k);
    Entry e;
    e.path = CString(("Solar.MinorPlanet." + SmallBodyCatalog::PathName(b)).c_str());
    for (const std::string& name : {b.number > 0 ? "(" + std::to_string(b.number) + ") " +
                                                       (b.name.empty() ? b.designation : b.name)
                                                 : b.designation,
                                    b.name, b.designation})
        if (!name.empty()) e.names.push_back(CString(name.c_str()));
    e.kind = L"minor planet";
    m_minor.push_back(std::move(e));
    return &m_minor.back();
}

std::vector<CString> NameIndex::Closest(const CString& text, size_t n) const {
    // A mistyped path ("Solar.Planet.Vulcan"): the paths of its kind (Solar.Planet.*), else
    // of the kind above it (Solar.*), nearest in spelling first.
    if (text.GetLength() <= static_cast<int>(kMaxNameBytes)) {
        for (int cut = text.ReverseFind(L'.'); cut > 0; cut = text.Left(cut).ReverseFind(L'.')) {
            const CString kind = text.Left(cut + 1);
            const std::wstring rest = FoldName(text.Mid(cut + 1));
            std::vector<std::pair<size_t, CString>> scored;
            for (const Match& m : Find(text.Left(cut))) {
                const CString& path = m.entry->path;
                if (path.GetLength() <= kind.GetLength() ||
                    path.Left(kind.GetLength()).CompareNoCase(kind) != 0)
                    continue;
                // Near by the last part of its path or by a name (Solar.Comet.Haley), an
                // object of the kind itself before those inside one (Solar.Planet.Venus, then
                // Solar.Planet.Saturn.Satellite.Titan; Solar.Moon finds the Moon).
                const CString own = path.Mid(kind.GetLength());
                size_t d = EditDistance(rest, FoldName(own.Mid(own.ReverseFind(L'.') + 1)));
                for (const CString& name : m.entry->names)
                    d = std::min(d, EditDistance(rest, FoldName(name)));
                scored.emplace_back(d + (own.Find(L'.') < 0 ? 0 : 2), path);
            }
            if (scored.empty()) continue;
            std::stable_sort(scored.begin(), scored.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            std::vector<CString> out;
            for (size_t i = 0; i < scored.size() && i < n; ++i) out.push_back(scored[i].second);
            return out;
        }
    }
    std::wstring q = FoldName(text);
    q.resize(std::min(q.size(), kMaxNameBytes));  // the distance costs its length times each name's
    std::vector<std::pair<size_t, CString>> scored;
    if (m_table) {
        // The names sharing most trigrams with the text; every name for a short text.
        const NameTable& file = m_table->file;
        std::vector<uint32_t> candidates = file.Similar(q, std::max<size_t>(64, n));
        if (q.size() < 3) {
            candidates.clear();
            for (uint32_t k = 0; k < file.NameCount(); ++k) candidates.push_back(k);
        }
        for (uint32_t k = 0; candidates.size() < n && k < file.NameCount(); ++k)
            if (std::find(candidates.begin(), candidates.end(), k) == candidates.end())
                candidates.push_back(k);
        std::sort(candidates.begin(), candidates.end());
        for (uint32_t k : candidates) {
            const NameTable::Name name = file.NameAt(k);
            if (!name.text || name.alias || m_shadowed.count(name.entry)) continue;
            const CString folded(std::string(name.folded).c_str());
            scored.emplace_back(EditDistance(q, folded.str()), CString(name.text));
        }
    }
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

const Entry* NameIndex::TableEntry(uint32_t e) const {
    std::lock_guard<std::mutex> lock(m_table->mutex);
    auto it = m_table->read.find(e);
    if (it == m_table->read.end()) it = m_table->read.emplace(e, m_table->Read(e)).first;
    return &it->second;
}

const std::vector<Entry>& NameIndex::Entries() const {
    m_all.clear();
    for (uint32_t e = 0; m_table && e < m_table->file.EntryCount(); ++e)
        if (!m_shadowed.count(e)) m_all.push_back(m_table->Read(e));
    m_all.insert(m_all.end(), m_entries.begin(), m_entries.end());
    return m_all;
}

void NameIndex::Shadow(const CString& path) {
    // An object of the file that gets names from Add moves to the added ones.
    if (!m_table || m_byPath.count(path.str())) return;
    for (uint32_t n : m_table->file.Equal(FoldedUtf8(FoldName(path)))) {
        const NameTable::Name name = m_table->file.NameAt(n);
        if (name.text || m_shadowed.count(name.entry) ||
            CString(m_table->file.Path(name.entry)) != path)
            continue;
        m_shadowed.insert(name.entry);
        Add(m_table->Read(name.entry));
        return;
    }
}

void NameIndex::OneObjectEach() {
    // Entries of one star (the same HIP number) in several catalogues.
    std::map<std::wstring, std::vector<size_t>> byHip;
    for (size_t e = 0; e < m_entries.size(); ++e) {
        if (!HasPrefix(m_entries[e].path, L"Star.")) continue;
        for (size_t k = 0; k < m_entries[e].names.size(); ++k) {
            const std::wstring& f = m_folded[e][k];
            if (f.size() > 3 && f.compare(0, 3, L"hip") == 0 &&
                f.find_first_not_of(L"0123456789", 3) == std::wstring::npos) {
                byHip[f].push_back(e);
                break;
            }
        }
    }
    auto isOf = [&](size_t e, const wchar_t* prefix) {
        return m_entries[e].path.Left(static_cast<int>(wcslen(prefix))) == prefix;
    };
    for (const auto& [hip, group] : byHip) {
        if (group.size() < 2) continue;
        size_t rep = group.size();
        for (const wchar_t* prefix : {L"Star.GCVS.", L"Star.HIP."})
            for (size_t i = 0; i < group.size() && rep == group.size(); ++i)
                if (isOf(group[i], prefix)) rep = i;
        if (rep == group.size()) continue;
        Entry& to = m_entries[group[rep]];
        std::vector<std::wstring>& toFolded = m_folded[group[rep]];
        for (size_t i = 0; i < group.size(); ++i) {
            if (i == rep) continue;
            Entry& from = m_entries[group[i]];
            std::vector<std::wstring>& fromFolded = m_folded[group[i]];
            const bool keepsOwn = isOf(group[i], L"Star.WDS.");
            std::vector<CString> kept;
            std::vector<std::wstring> keptFolded;
            for (size_t k = 0; k < from.names.size(); ++k) {
                const std::wstring& f = fromFolded[k];
                bool shared = false;
                for (size_t j = 0; j < group.size() && !shared; ++j)
                    shared = j != i &&
                             std::find(m_folded[group[j]].begin(), m_folded[group[j]].end(), f) !=
                                 m_folded[group[j]].end();
                if (keepsOwn && !shared) {
                    kept.push_back(from.names[k]);
                    keptFolded.push_back(f);
                } else if (std::find(toFolded.begin(), toFolded.end(), f) == toFolded.end()) {
                    toFolded.insert(toFolded.begin() + static_cast<long>(to.names.size()), f);
                    to.names.push_back(from.names[k]);
                }
            }
            keptFolded.push_back(fromFolded.back());  // the path
            from.names = std::move(kept);
            fromFolded = std::move(keptFolded);
        }
    }
    // A dwarf planet that is also a numbered minor planet (Solar.MinorPlanet.1 is Ceres): one
    // object, the dwarf planet, with the names of both.
    for (size_t d = 0; d < m_entries.size(); ++d) {
        if (!isOf(d, L"Solar.DwarfPlanet.")) continue;
        const std::wstring own = FoldName(m_entries[d].path.Mid(18));
        for (size_t m = 0; m < m_entries.size(); ++m) {
            std::vector<std::wstring>& folded = m_folded[m];
            if (!isOf(m, L"Solar.MinorPlanet.") ||
                std::find(folded.begin(), folded.end() - 1, own) == folded.end() - 1)
                continue;
            for (size_t k = 0; k < m_entries[m].names.size(); ++k) {
                if (std::find(m_folded[d].begin(), m_folded[d].end(), folded[k]) !=
                    m_folded[d].end())
                    continue;
                m_folded[d].insert(
                    m_folded[d].begin() + static_cast<long>(m_entries[d].names.size()), folded[k]);
                m_entries[d].names.push_back(m_entries[m].names[k]);
            }
            m_entries[m].names.clear();
            folded.erase(folded.begin(), folded.end() - 1);  // the path stays
        }
    }
}

void NameIndex::Fill(NameTableWriter& writer) const {
    // Greek letters of Bayer designations also as written in Latin letters ("α Lyr": "alf
    // Lyr", "alpha Lyr").
    static const wchar_t* const kGreek[][3] = {
        {L"alf", L"alpha", L"alp"},  {L"bet", L"beta", nullptr},    {L"gam", L"gamma", nullptr},
        {L"del", L"delta", nullptr}, {L"eps", L"epsilon", nullptr}, {L"zet", L"zeta", nullptr},
        {L"eta", nullptr, nullptr},  {L"the", L"theta", L"tet"},    {L"iot", L"iota", nullptr},
        {L"kap", L"kappa", nullptr}, {L"lam", L"lambda", nullptr},  {L"mu", nullptr, nullptr},
        {L"nu", nullptr, nullptr},   {L"xi", nullptr, nullptr},     {L"omi", L"omicron", nullptr},
        {L"pi", nullptr, nullptr},   {L"rho", nullptr, nullptr},    {nullptr, nullptr, nullptr},
        {L"sig", L"sigma", nullptr}, {L"tau", nullptr, nullptr},    {L"ups", L"upsilon", nullptr},
        {L"phi", nullptr, nullptr},  {L"chi", nullptr, nullptr},    {L"psi", nullptr, nullptr},
        {L"ome", L"omega", nullptr}};
    for (size_t e = 0; e < m_entries.size(); ++e) {
        const Entry& entry = m_entries[e];
        writer.AddEntry(entry.path.ToUtf8(), entry.kind.ToUtf8(),
                        static_cast<float>(entry.magnitude));
        for (size_t k = 0; k < entry.names.size(); ++k) {
            const std::wstring& f = m_folded[e][k];
            writer.AddName(entry.names[k].ToUtf8(), f);
            if (f.size() > 1 && f[0] >= 0x3B1 && f[0] <= 0x3C9)
                for (const wchar_t* latin : kGreek[f[0] - 0x3B1])
                    if (latin) writer.AddName(std::string(), latin + f.substr(1), true);
        }
        writer.AddName(std::string(), m_folded[e].back());
    }
}

void NameIndex::Freeze() {
    OneObjectEach();
    NameTableWriter writer;
    Fill(writer);
    auto table = std::make_shared<Table>();
    std::string error;
    if (!table->file.OpenBytes(writer.Bytes(), &error)) return;  // (made here: never fails)
    m_table = table;
    m_entries.clear();
    m_folded.clear();
    m_byPath.clear();
}

NameIndex::NameIndex(CSkyHost& host) : NameIndex(ForSky(&host, 0.0)) {}

NameIndex NameIndex::ForSky(CSkyHost* host, double jdUt) {
    NameIndex index;
    std::string why;
    index.m_table = Table::Current(&why);
    if (!index.m_table) {
        static std::once_flag warned;
        std::call_once(warned, [&] {
            std::fprintf(stderr, "zcmcom: warning: %s; the names are read from the catalogues\n",
                         why.c_str());
        });
        std::unique_ptr<CSkyHost> own;
        if (!host) host = (own = std::make_unique<CSkyHost>(jdUt)).get();
        index.Collect(*host);
        index.Freeze();
        return index;
    }
    // The names of the user's own element files only.
    const char* elements = std::getenv("ZCMCOM_SKY_ELEMENTS");
    const bool updated = !UpdatedPath("satellites.tle").empty() ||
                         !UpdatedPath("cometels.txt").empty() || !UpdatedPath("mpcorb.txt").empty();
    if ((!elements || !*elements) && UserTleFiles().empty() && !updated) return index;
    std::vector<Entry> user;
    for (const RegisteredSource& r : RegisteredSources()) r.make()->ListUserFiles(user);
    for (Entry& e : user) index.Add(std::move(e));
    return index;
}

NameIndex NameIndex::Built(CSkyHost& host) {
    NameIndex index;
    index.Collect(host);
    index.Freeze();
    return index;
}

NameIndex NameIndex::FromFile(const std::string& path, std::string* error) {
    NameIndex index;
    auto table = std::make_shared<Table>();
    if (table->file.Open(path, error)) index.m_table = table;
    return index;
}

bool NameIndex::WriteFile(CSkyHost& host, const std::string& path, std::string* error) {
    NameIndex index;
    index.Collect(host);
    index.OneObjectEach();
    NameTableWriter writer;
    for (const NameStamp& s : CurrentNameStamps(true)) writer.AddStamp(s);
    index.Fill(writer);
    return writer.Write(path, error);
}

}  // namespace sky
