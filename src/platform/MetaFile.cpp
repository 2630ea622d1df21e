// SPDX-License-Identifier: LGPL-3.0-or-later
// Windows metafiles in memory: checked record walking and playback of the drawing records.
#include "platform/MetaFile.h"

#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/GdiObjects.h"

namespace {

struct MetaFile {
    std::vector<BYTE> bytes;
};

std::mutex& Lock() {
    static auto* m = new std::mutex;
    return *m;
}
std::unordered_set<const MetaFile*>& Live() {
    static auto* s = new std::unordered_set<const MetaFile*>;
    return *s;
}
MetaFile* ToMetaFile(HMETAFILE h) {
    std::lock_guard<std::mutex> lock(Lock());
    auto* m = reinterpret_cast<MetaFile*>(h);
    return Live().count(m) ? m : nullptr;
}

WORD Word(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD Dword(const BYTE* p) { return Word(p) | (DWORD(Word(p + 2)) << 16); }

// The parameters of a record as signed or unsigned words, each checked against the count.
class Params {
public:
    explicit Params(const METARECORD* r)
        : m_words(r->rdSize >= 3 ? r->rdSize - 3 : 0),
          m_p(reinterpret_cast<const BYTE*>(r) + offsetof(METARECORD, rdParm)) {}
    size_t Count() const { return m_words; }
    bool Has(size_t n) const { return n <= m_words; }
    WORD U(size_t i) const { return Word(m_p + 2 * i); }
    int S(size_t i) const { return static_cast<int16_t>(U(i)); }
    COLORREF Colour(size_t i) const { return U(i) | (DWORD(U(i + 1)) << 16); }
    // n points (x, y pairs) starting at word i
    std::vector<POINT> Points(size_t i, size_t n) const {
        std::vector<POINT> pts(n);
        for (size_t k = 0; k < n; ++k) pts[k] = POINT{S(i + 2 * k), S(i + 2 * k + 1)};
        return pts;
    }

private:
    size_t m_words;
    const BYTE* m_p;
};

// Puts a new object into the first free slot of the table; deletes it when none is free.
BOOL AddObject(HANDLETABLE* table, UINT objects, HGDIOBJ object) {
    if (!object) return FALSE;
    for (UINT i = 0; i < objects; ++i) {
        if (!table->objectHandle[i]) {
            table->objectHandle[i] = object;
            return TRUE;
        }
    }
    DeleteObject(object);
    return FALSE;
}

BOOL Draw(HDC dc, WORD function, const Params& p) {
    if (!p.Has(1)) return FALSE;
    const size_t n = p.U(0);
    if (function == META_POLYPOLYGON) {
        if (n == 0 || !p.Has(1 + n)) return FALSE;
        std::vector<INT> counts(n);
        size_t total = 0;
        for (size_t i = 0; i < n; ++i) total += counts[i] = p.U(1 + i);
        if (!p.Has(1 + n + 2 * total)) return FALSE;
        const std::vector<POINT> pts = p.Points(1 + n, total);
        return PolyPolygon(dc, pts.data(), counts.data(), static_cast<int>(n));
    }
    if (static_cast<int16_t>(n) <= 0 || !p.Has(1 + 2 * n)) return FALSE;
    const std::vector<POINT> pts = p.Points(1, n);
    return function == META_POLYGON ? Polygon(dc, pts.data(), static_cast<int>(n))
                                    : Polyline(dc, pts.data(), static_cast<int>(n));
}

}  // namespace

bool ZcmReadPlaceableHeader(const BYTE* data, size_t size, PLACEABLEMETAHEADER* header) {
    if (!data || size < sizeof(PLACEABLEMETAHEADER) || Dword(data) != PLACEABLE_KEY) return false;
    if (header) memcpy(header, data, sizeof *header);
    return true;
}

HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* data) {
    if (!data || size < sizeof(METAHEADER)) return nullptr;
    const WORD type = Word(data), headerWords = Word(data + 2), version = Word(data + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return nullptr;
    auto* m = new MetaFile;
    m->bytes.assign(data, data + size);
    std::lock_guard<std::mutex> lock(Lock());
    Live().insert(m);
    return reinterpret_cast<HMETAFILE>(m);
}

BOOL DeleteMetaFile(HMETAFILE metafile) {
    MetaFile* m = ToMetaFile(metafile);
    if (!m) return FALSE;
    {
        std::lock_guard<std::mutex> lock(Lock());
        Live().erase(m);
    }
    delete m;
    return TRUE;
}

UINT GetMetaFileBitsEx(HMETAFILE metafile, UINT size, LPVOID data) {
    MetaFile* m = ToMetaFile(metafile);
    if (!m) return 0;
    const UINT n = static_cast<UINT>(m->bytes.size());
    if (!data) return n;
    if (size < n) return 0;
    memcpy(data, m->bytes.data(), n);
    return n;
}

BOOL EnumMetaFile(HDC dc, HMETAFILE metafile, MFENUMPROC proc, LPARAM data) {
    MetaFile* m = ToMetaFile(metafile);
    if (!m || !proc) return FALSE;
    const std::vector<BYTE>& b = m->bytes;
    const UINT objects = Word(b.data() + 10);
    std::vector<HGDIOBJ> table(objects + 1u, nullptr);
    auto* handles = reinterpret_cast<HANDLETABLE*>(table.data());
    std::vector<DWORD> record;
    BOOL ok = TRUE;
    size_t pos = sizeof(METAHEADER);
    while (pos < b.size()) {
        if (b.size() - pos < 6) {
            ok = FALSE;
            break;
        }
        const size_t words = Dword(b.data() + pos);
        if (words < 3 || words > (b.size() - pos) / 2) {
            ok = FALSE;
            break;
        }
        if (Word(b.data() + pos + 4) == META_EOF) break;
        record.assign((words * 2 + 3) / 4 + 1, 0);
        memcpy(record.data(), b.data() + pos, words * 2);
        if (!proc(dc, handles, reinterpret_cast<METARECORD*>(record.data()),
                  static_cast<int>(objects), data)) {
            ok = FALSE;
            break;
        }
        pos += words * 2;
    }
    // What the records left behind goes now (or when the DC lets go of it).
    for (UINT i = 0; i < objects; ++i)
        if (gdi::Object* o = gdi::ToObject(table[i])) gdi::DeleteWhenFree(o);
    return ok;
}

BOOL PlayMetaFileRecord(HDC dc, HANDLETABLE* table, const METARECORD* record, UINT objects) {
    if (!record || record->rdSize < 3) return FALSE;
    const Params p(record);
    const WORD f = record->rdFunction;
    switch (f) {
        case META_SETWINDOWORG:
        case META_SETWINDOWEXT:
        case META_SETVIEWPORTORG:
        case META_SETVIEWPORTEXT: {
            if (!p.Has(2)) return FALSE;
            const int y = p.S(0), x = p.S(1);
            if (f == META_SETWINDOWORG) return SetWindowOrgEx(dc, x, y, nullptr);
            if (f == META_SETWINDOWEXT) return SetWindowExtEx(dc, x, y, nullptr);
            if (f == META_SETVIEWPORTORG) return SetViewportOrgEx(dc, x, y, nullptr);
            return SetViewportExtEx(dc, x, y, nullptr);
        }
        case META_SETMAPMODE:
            return p.Has(1) && SetMapMode(dc, p.S(0)) != 0;
        case META_SETPOLYFILLMODE:
            return p.Has(1) && SetPolyFillMode(dc, p.S(0)) != 0;
        case META_SAVEDC:
            return SaveDC(dc) != 0;
        case META_RESTOREDC:
            return p.Has(1) && RestoreDC(dc, p.S(0));
        case META_CREATEBRUSHINDIRECT: {
            if (!p.Has(3) || !table) return FALSE;
            LOGBRUSH lb{p.U(0), p.Colour(1), p.Has(4) ? p.U(3) : 0u};
            return AddObject(table, objects, reinterpret_cast<HGDIOBJ>(CreateBrushIndirect(&lb)));
        }
        case META_CREATEPENINDIRECT: {
            if (!p.Has(5) || !table) return FALSE;
            LOGPEN lp{p.U(0), POINT{p.S(1), p.S(2)}, p.Colour(3)};
            return AddObject(table, objects, reinterpret_cast<HGDIOBJ>(CreatePenIndirect(&lp)));
        }
        case META_SELECTOBJECT:
        case META_DELETEOBJECT: {
            if (!p.Has(1) || !table || p.U(0) >= objects) return FALSE;
            HGDIOBJ& slot = table->objectHandle[p.U(0)];
            if (!slot) return FALSE;
            if (f == META_SELECTOBJECT) return SelectObject(dc, slot) != nullptr;
            if (gdi::Object* o = gdi::ToObject(slot)) gdi::DeleteWhenFree(o);
            slot = nullptr;
            return TRUE;
        }
        case META_POLYGON:
        case META_POLYLINE:
        case META_POLYPOLYGON:
            return Draw(dc, f, p);
        case META_MOVETO:
        case META_LINETO:
            if (!p.Has(2)) return FALSE;
            return f == META_MOVETO ? MoveToEx(dc, p.S(1), p.S(0), nullptr)
                                    : LineTo(dc, p.S(1), p.S(0));
        case META_SETPIXEL:
            return p.Has(4) && SetPixel(dc, p.S(3), p.S(2), p.Colour(0)) != CLR_INVALID;
        default:
            return TRUE;  // escapes and records without an effect here
    }
}

namespace {
int PlayAll(HDC dc, HANDLETABLE* table, METARECORD* record, int objects, LPARAM) {
    PlayMetaFileRecord(dc, table, record, static_cast<UINT>(objects));
    return 1;
}
}  // namespace

BOOL PlayMetaFile(HDC dc, HMETAFILE metafile) { return EnumMetaFile(dc, metafile, PlayAll, 0); }
