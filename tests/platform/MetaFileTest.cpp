// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/Dc.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

// Builds a metafile record by record.
class Wmf {
public:
    Wmf& Record(WORD function, std::vector<int> words) {
        Put32(static_cast<DWORD>(3 + words.size()), m_body);
        Put16(function, m_body);
        for (int w : words) Put16(static_cast<WORD>(w), m_body);
        return *this;
    }
    Wmf& Brush(COLORREF c) {
        return Record(META_CREATEBRUSHINDIRECT, {BS_SOLID, int(c & 0xFFFF), int(c >> 16), 0});
    }
    Wmf& Pen(COLORREF c, WORD style = PS_SOLID) {
        return Record(META_CREATEPENINDIRECT, {style, 1, 0, int(c & 0xFFFF), int(c >> 16)});
    }
    Wmf& Polygon(std::vector<int> xy) {
        xy.insert(xy.begin(), int(xy.size() / 2));
        return Record(META_POLYGON, xy);
    }
    // The metafile: header (4 object slots), records, end record.
    std::vector<BYTE> Bytes(bool withEnd = true) const {
        std::vector<BYTE> body = m_body, out;
        if (withEnd) {
            Put32(3, body);
            Put16(META_EOF, body);
        }
        const DWORD words = static_cast<DWORD>((18 + body.size()) / 2);
        for (WORD w : {1, 9, 0x300, int(words & 0xFFFF), int(words >> 16), 4, 100, 0, 0})
            Put16(w, out);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }

private:
    static void Put16(WORD v, std::vector<BYTE>& b) { b.insert(b.end(), {BYTE(v), BYTE(v >> 8)}); }
    static void Put32(DWORD v, std::vector<BYTE>& b) {
        for (int shift : {0, 8, 16, 24}) b.push_back(BYTE(v >> shift));
    }
    std::vector<BYTE> m_body;
};

// A 10 x 10 24-bit memory surface that plays metafiles.
struct Canvas {
    Canvas() {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(10, 10, 1, 24, nullptr);
        dc.SelectObject(&bitmap);
    }
    BOOL Play(const std::vector<BYTE>& bytes) {
        HMETAFILE mf = SetMetaFileBitsEx(static_cast<UINT>(bytes.size()), bytes.data());
        if (!mf) return -1;
        const BOOL ok = dc.PlayMetaFile(mf);
        DeleteMetaFile(mf);
        return ok;
    }
    CDC dc;
    CBitmap bitmap;
};

// A null pen and a brush of colour c selected, then (when draw) a square 2..6.
Wmf Square(COLORREF c, bool draw = true) {
    Wmf w;
    w.Pen(0, PS_NULL).Record(META_SELECTOBJECT, {0}).Brush(c).Record(META_SELECTOBJECT, {1});
    if (draw) w.Polygon({2, 2, 6, 2, 6, 6, 2, 6});
    return w;
}

}  // namespace

TEST(MetaFile, PlaysMappingBrushesAndPolygons) {
    Wmf w;
    w.Record(META_SETMAPMODE, {MM_ANISOTROPIC})
        .Record(META_SETWINDOWORG, {0, 0})      // y, x
        .Record(META_SETWINDOWEXT, {100, 200})  // y = 100, x = 200
        .Record(META_SETVIEWPORTEXT, {10, 10})
        .Record(META_ESCAPE, {15, 4, 0x6968, 0x2121})  // a comment: no effect
        .Record(0x0999, {1, 2, 3})                     // unknown: ignored
        .Brush(kBlue)
        .Record(META_SELECTOBJECT, {0})
        .Pen(0, PS_NULL)
        .Record(META_SELECTOBJECT, {1})
        .Polygon({0, 0, 100, 0, 100, 50, 0, 50});
    Canvas c;
    EXPECT_EQ(c.Play(w.Bytes()), TRUE);
    // window 200 x 100 onto 10 x 10: the polygon covers 5 x 5 pixels (mapping is still on)
    EXPECT_EQ(c.dc.GetMapMode(), MM_ANISOTROPIC);
    c.dc.SetMapMode(MM_TEXT);
    EXPECT_EQ((std::tuple{c.dc.GetPixel(0, 0), c.dc.GetPixel(4, 4), c.dc.GetPixel(5, 4),
                          c.dc.GetPixel(4, 5)}),
              (std::tuple{kBlue, kBlue, kBlack, kBlack}));
}

TEST(MetaFile, PolyPolygonsPolylinesAndDeletingASelectedBrush) {
    Wmf w = Square(kBlue, false);
    w.Record(META_SETPOLYFILLMODE, {ALTERNATE});
    // an outer 0..8 square with a 3..5 hole, then a red line along row 9
    w.Record(META_POLYPOLYGON, {2, 4, 4, 0, 0, 8, 0, 8, 8, 0, 8, 3, 3, 5, 3, 5, 5, 3, 5});
    w.Pen(RGB(255, 0, 0)).Record(META_SELECTOBJECT, {2});
    w.Record(META_POLYLINE, {2, 0, 9, 10, 9});
    Canvas c;
    EXPECT_EQ((std::tuple{bool(c.Play(w.Bytes())), c.dc.GetPixel(1, 1), c.dc.GetPixel(4, 4),
                          c.dc.GetPixel(7, 9)}),
              (std::tuple{true, kBlue, kBlack, RGB(255, 0, 0)}));
    Wmf d = Square(kBlue);
    // A deleted brush stays in use until replaced.
    d.Record(META_DELETEOBJECT, {1}).Polygon({6, 6, 9, 6, 9, 9, 6, 9});
    // the freed slot takes the next object
    d.Brush(RGB(0, 255, 0)).Record(META_SELECTOBJECT, {1}).Polygon({0, 8, 2, 8, 2, 10, 0, 10});
    Canvas e;
    EXPECT_EQ((std::tuple{bool(e.Play(d.Bytes())), e.dc.GetPixel(7, 7), e.dc.GetPixel(1, 9)}),
              (std::tuple{true, kBlue, RGB(0, 255, 0)}));
}

TEST(MetaFile, BadRecordsNeverReadPastTheData) {
    // a record size past the end: what came before is drawn, the call fails
    Canvas past, zero, skip, cut;
    std::vector<BYTE> bytes = Square(kBlue).Record(META_POLYGON, {3, 0, 0, 9, 0}).Bytes(false);
    bytes[bytes.size() - 16] = 0xFF;  // size of the last record
    EXPECT_EQ(past.Play(bytes), FALSE);
    EXPECT_EQ(past.dc.GetPixel(3, 3), kBlue);
    // a record size of 0 stops instead of looping
    bytes = Square(kBlue).Bytes(false);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0x24, 0x03});
    EXPECT_EQ(zero.Play(bytes), FALSE);
    // point counts beyond the record, negative counts, selections of empty or foreign
    // slots, empty extents: each record is skipped
    Wmf w = Square(kBlue);
    w.Record(META_POLYGON, {1000, 0, 0, 9, 9})
        .Record(META_POLYGON, {-3, 0, 0, 9, 0, 9, 9})
        .Record(META_POLYPOLYGON, {3, 4})
        .Record(META_SELECTOBJECT, {3})
        .Record(META_SELECTOBJECT, {60000})
        .Record(META_SETWINDOWEXT, {0, 0})
        .Record(META_SETWINDOWEXT, {});
    EXPECT_EQ(skip.Play(w.Bytes()), TRUE);
    EXPECT_EQ(skip.dc.GetPixel(8, 1), kBlack);
    // truncated in the middle of a record header
    bytes = Square(kBlue).Bytes();
    bytes.resize(bytes.size() - 4);
    EXPECT_EQ(cut.Play(bytes), FALSE);
}

TEST(MetaFile, HeadersAreCheckedBitsComeBackAndEnumerationCanStop) {
    const std::vector<BYTE> good = Square(kBlue).Bytes();
    EXPECT_EQ(SetMetaFileBitsEx(10, good.data()), nullptr);
    for (auto [at, value] : {std::pair<int, BYTE>{2, 8} /* header size */, {5, 2} /* 0x200 */}) {
        std::vector<BYTE> bad = good;
        bad[at] = value;
        EXPECT_EQ(SetMetaFileBitsEx(static_cast<UINT>(bad.size()), bad.data()), nullptr) << at;
    }
    HMETAFILE mf = SetMetaFileBitsEx(static_cast<UINT>(good.size()), good.data());
    ASSERT_NE(mf, nullptr);
    EXPECT_EQ(GetMetaFileBitsEx(mf, 0, nullptr), good.size());
    std::vector<BYTE> copy(good.size());
    EXPECT_EQ(GetMetaFileBitsEx(mf, static_cast<UINT>(copy.size()), copy.data()), good.size());
    EXPECT_EQ(copy, good);
    EXPECT_TRUE(DeleteMetaFile(mf));
    EXPECT_FALSE(DeleteMetaFile(mf));

    BYTE placeable[22] = {0xD7, 0xCD, 0xC6, 0x9A};
    PLACEABLEMETAHEADER h{};
    EXPECT_TRUE(ZcmReadPlaceableHeader(placeable, sizeof placeable, &h));
    EXPECT_FALSE(ZcmReadPlaceableHeader(placeable, 21, &h));
    placeable[0] = 0;
    EXPECT_FALSE(ZcmReadPlaceableHeader(placeable, sizeof placeable, &h));
    // Enumeration can skip records and stop.
    mf = SetMetaFileBitsEx(static_cast<UINT>(good.size()), good.data());
    std::vector<WORD> seen;
    auto proc = [](HDC, HANDLETABLE*, METARECORD* r, int objects, LPARAM data) -> int {
        auto* s = reinterpret_cast<std::vector<WORD>*>(data);
        s->push_back(r->rdFunction);
        EXPECT_EQ(objects, 4);
        return s->size() < 3;
    };
    Canvas c;
    EXPECT_FALSE(EnumMetaFile(c.dc.m_hDC, mf, proc, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen, (std::vector<WORD>{META_CREATEPENINDIRECT, META_SELECTOBJECT,
                                       META_CREATEBRUSHINDIRECT}));
    DeleteMetaFile(mf);
}
