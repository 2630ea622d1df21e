// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/Dc.h"

namespace {

template <typename H>
HGDIOBJ Obj(H handle) {
    return reinterpret_cast<HGDIOBJ>(handle);
}

const COLORREF kRed = RGB(255, 0, 0), kBlack = RGB(0, 0, 0);
const LONG kFar = 2000000000;

// A memory DC over a fresh top-down DIB section of the given depth, released at the end.
struct Surface {
    Surface(int w, int h, int bits = 24, const RGBQUAD* table = nullptr, int colours = 0)
        : width(w), height(h) {
        std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 4 * 256, 0);
        *reinterpret_cast<BITMAPINFOHEADER*>(info.data()) = BITMAPINFOHEADER{
            sizeof(BITMAPINFOHEADER), w, -h, 1, WORD(bits), BI_RGB, 0, 0, 0, DWORD(colours), 0};
        if (table) memcpy(info.data() + sizeof(BITMAPINFOHEADER), table, 4 * colours);
        dc = CreateCompatibleDC(nullptr);
        void* bits_ = nullptr;
        bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                  &bits_, nullptr, 0);
        old = SelectObject(dc, Obj(bitmap));
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(Obj(bitmap));
        DeleteDC(dc);
    }
    // The pixels as rows joined by '/': '#' where the pixel has colour c.
    std::string Picture(COLORREF c) const {
        std::string s;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) s += GetPixel(dc, x, y) == c ? '#' : '.';
            s += y + 1 < height ? "/" : "";
        }
        return s;
    }
    // Selects a null pen and a new solid brush of colour c (the previous brush is freed).
    void UseBrush(COLORREF c) {
        SelectObject(dc, GetStockObject(NULL_PEN));
        HGDIOBJ prev = SelectObject(dc, Obj(CreateSolidBrush(c)));
        if (prev != GetStockObject(WHITE_BRUSH)) DeleteObject(prev);
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

}  // namespace

TEST(GdiFill, EdgesFollowTheWindowsRuleAndFillModesDifferOnOverlaps) {
    // Right and bottom edges are left out; centres on a slanted edge lie on its right side.
    const std::vector<POINT> square = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
    const std::vector<POINT> triangle = {{0, 0}, {4, 0}, {0, 4}};
    const std::vector<POINT> huge = {{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}};
    const struct {
        const std::vector<POINT>& points;
        int w, h;
        const char* picture;
    } cases[] = {{square, 6, 5, "....../.###../.###../....../......"},
                 {triangle, 5, 5, "###../##.../#..../...../....."},
                 {huge, 4, 4, "####/####/####/####"}};  // clipped quickly
    for (const auto& c : cases) {
        Surface s(c.w, c.h);
        s.UseBrush(kRed);
        ASSERT_TRUE(Polygon(s.dc, c.points.data(), int(c.points.size())));
        EXPECT_EQ(s.Picture(kRed), c.picture);
    }
    // Two overlapping squares drawn the same way round: the overlap is a hole only
    // under the alternate rule.
    const POINT pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
    const INT counts[] = {4, 4};
    Surface alt(7, 7), wind(7, 7);
    alt.UseBrush(kRed);
    wind.UseBrush(kRed);
    SetPolyFillMode(wind.dc, WINDING);
    ASSERT_TRUE(PolyPolygon(alt.dc, pts, counts, 2));
    ASSERT_TRUE(PolyPolygon(wind.dc, pts, counts, 2));
    EXPECT_EQ(alt.Picture(kRed), "####.../####.../##..##./##..##./..####./..####./.......");
    EXPECT_EQ(wind.Picture(kRed), "####.../####.../######./######./..####./..####./.......");
}

TEST(GdiPen, LinesLeaveOutTheirLastPointAndNullPenDrawsNothing) {
    Surface s(6, 3);
    HGDIOBJ pen = Obj(CreatePen(PS_SOLID, 1, kRed));
    SelectObject(s.dc, pen);
    const POINT pts[] = {{0, 1}, {4, 1}}, far[] = {{-kFar, 2}, {kFar, 2}};
    Polyline(s.dc, pts, 2);
    EXPECT_TRUE(Polyline(s.dc, far, 2));  // absurd coordinates are clipped
    EXPECT_EQ(s.Picture(kRed), "....../####../######");
    SelectObject(s.dc, GetStockObject(NULL_PEN));
    const POINT down[] = {{5, 0}, {5, 3}};
    Polyline(s.dc, down, 2);
    EXPECT_EQ((std::tuple{GetPixel(s.dc, 5, 1), bool(DeleteObject(pen))}),
              (std::tuple{kBlack, true}));
}

TEST(GdiMapping, AnisotropicScalesAndMovesTheWindowAndRestoreDcBringsStateBack) {
    Surface s(8, 5);
    s.UseBrush(kRed);
    const int saved = SaveDC(s.dc);
    SetMapMode(s.dc, MM_ANISOTROPIC);
    SetWindowOrgEx(s.dc, 100, 100, nullptr);
    SetWindowExtEx(s.dc, 10, 10, nullptr);
    SetViewportOrgEx(s.dc, 2, 2, nullptr);
    SetViewportExtEx(s.dc, 20, 10, nullptr);
    POINT p{105, 105};
    LPtoDP(s.dc, &p, 1);
    EXPECT_EQ(std::pair(p.x, p.y), std::pair(12, 7));
    const POINT box[] = {{100, 100}, {102, 100}, {102, 102}, {100, 102}};
    Polygon(s.dc, box, 4);
    // Pixel queries go through the mapping too; outside the bitmap there is no colour. An
    // empty extent and the metric modes are refused.
    EXPECT_EQ((std::tuple{GetPixel(s.dc, 100, 100), GetPixel(s.dc, 0, 0),
                          bool(SetWindowExtEx(s.dc, 0, 5, nullptr)), SetMapMode(s.dc, 3)}),
              (std::tuple{kRed, CLR_INVALID, false, 0}));
    ASSERT_TRUE(RestoreDC(s.dc, saved));
    EXPECT_FALSE(RestoreDC(s.dc, saved));  // that level is used up
    EXPECT_EQ(s.Picture(kRed), "......../......../..####../..####../........");
    // RestoreDC brings back the mapping, the objects and the fill mode.
    Surface t(4, 4);
    HGDIOBJ brush = Obj(CreateSolidBrush(kRed));
    ASSERT_EQ(SaveDC(t.dc), 1);
    SelectObject(t.dc, brush);
    SetMapMode(t.dc, MM_ANISOTROPIC);
    SetViewportOrgEx(t.dc, 3, 3, nullptr);
    SetPolyFillMode(t.dc, WINDING);
    EXPECT_FALSE(DeleteObject(brush));  // still selected
    ASSERT_TRUE(RestoreDC(t.dc, -1));
    // Mapping, fill mode and brush as before, the origin back at (0, 0); nothing saved any more.
    EXPECT_EQ(
        (std::tuple{GetMapMode(t.dc), GetPolyFillMode(t.dc), GetCurrentObject(t.dc, OBJ_BRUSH),
                    GetPixel(t.dc, 0, 0), bool(DeleteObject(brush)), bool(RestoreDC(t.dc, -1)),
                    bool(RestoreDC(t.dc, 5))}),
        (std::tuple{MM_TEXT, ALTERNATE, GetStockObject(WHITE_BRUSH), kBlack, true, false, false}));
}

TEST(GdiHandles, StaleAndForeignHandlesFailSafely) {
    HDC dc = CreateCompatibleDC(nullptr);
    // (nothing is allocated between the deletion and the use, so the address stays stale)
    HGDIOBJ brush = Obj(CreateSolidBrush(kRed));
    ASSERT_TRUE(DeleteObject(brush));
    // A deleted brush and a DC are no objects to select; stock objects stay.
    EXPECT_EQ((std::tuple{SelectObject(dc, brush), bool(DeleteObject(brush)),
                          SelectObject(dc, Obj(dc)), bool(DeleteObject(GetStockObject(BLACK_PEN))),
                          GetObjectType(GetStockObject(BLACK_PEN))}),
              (std::tuple{HGDIOBJ(nullptr), false, HGDIOBJ(nullptr), true, DWORD(OBJ_PEN)}));
    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_EQ((std::tuple{bool(DeleteDC(dc)), GetPixel(dc, 0, 0)}),
              (std::tuple{false, CLR_INVALID}));
}

TEST(GdiBitmaps, SizesBeyondTheBudgetAreRefusedAndCompatibleOnesFollowTheDc) {
    const int bad[][4] = {{0, 10, 1, 24},   {-5, 10, 1, 24},
                          {70000, 1, 1, 8}, {30000, 30000, 1, 32} /* 3.6 GB */,
                          {10, 10, 1, 7},   {10, 10, 2, 8}};
    for (const auto& b : bad) EXPECT_EQ(CreateBitmap(b[0], b[1], b[2], b[3], nullptr), nullptr);
    BITMAPINFOHEADER h{sizeof h, 40000, 40000, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits,
                               nullptr, 0),
              nullptr);
    EXPECT_EQ(bits, nullptr);
    ZcmSetDisplayBitsPerPixel(16);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
    // A new memory DC holds a 1 x 1 monochrome bitmap, so its compatible bitmaps are
    // monochrome, as on Windows.
    HDC mem = CreateCompatibleDC(screen);
    for (auto [ref, bits] : {std::pair<HDC, int>{screen, 16}, {mem, 1}}) {
        HBITMAP b = CreateCompatibleBitmap(ref, 3, 3);
        BITMAP bm{};
        ASSERT_EQ(GetObject(Obj(b), sizeof bm, &bm), int(sizeof bm));
        EXPECT_EQ(bm.bmBitsPixel, bits);
        DeleteObject(Obj(b));
    }
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);  // a window DC has no pixels here
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ZcmSetDisplayBitsPerPixel(32);
}

TEST(GdiPixels, FormatsRoundTripThroughBitBltAndPaletteIndexesUseThePalette) {
    Surface src(4, 2, 32), d16(4, 2, 16), d(4, 2, 32);
    const RGBQUAD table[3] = {{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
    Surface d8(4, 2, 8, table, 3);
    SetPixel(src.dc, 0, 0, RGB(250, 10, 10));
    SetPixel(src.dc, 1, 0, RGB(200, 200, 200));
    ASSERT_TRUE(BitBlt(d16.dc, 0, 0, 4, 2, src.dc, 0, 0, SRCCOPY));
    ASSERT_TRUE(BitBlt(d8.dc, 0, 0, 4, 2, src.dc, 0, 0, SRCCOPY));
    // 5 bits a channel; the nearest table colour.
    EXPECT_EQ((std::tuple{GetPixel(d16.dc, 0, 0), GetPixel(d8.dc, 0, 0), GetPixel(d8.dc, 1, 0)}),
              (std::tuple{RGB(248, 8, 8), kRed, RGB(255, 255, 255)}));
    EXPECT_FALSE(BitBlt(d16.dc, 0, 0, 4, 2, src.dc, 0, 0, 0x00EE0086));  // only SRCCOPY
    // A block partly off both bitmaps copies what overlaps.
    ASSERT_TRUE(BitBlt(d.dc, 2, -1, 4, 4, src.dc, -1, -1, SRCCOPY));
    EXPECT_EQ(GetPixel(d.dc, 3, 0), RGB(250, 10, 10));
    Surface s(2, 1);
    BYTE buf[sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY)] = {};
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf);
    *lp = LOGPALETTE{0x200, 3, {PALETTEENTRY{1, 2, 3, 0}}};
    lp->palPalEntry[1] = PALETTEENTRY{40, 50, 60, 0};
    lp->palPalEntry[2] = PALETTEENTRY{9, 8, 7, 0};
    CPalette pal;
    EXPECT_FALSE(pal.CreatePalette(lp));  // only version 0x300
    lp->palVersion = 0x300;
    ASSERT_TRUE(pal.CreatePalette(lp));
    PALETTEENTRY e[3];
    EXPECT_EQ((std::tuple{pal.GetPaletteEntries(1, 5, e), e[1].peRed}), (std::tuple{2u, BYTE(9)}));
    HPALETTE old = SelectPalette(s.dc, pal, FALSE);
    EXPECT_EQ(old, reinterpret_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    // An index past the end is entry 0.
    EXPECT_EQ(
        (std::tuple{SetPixel(s.dc, 0, 0, PALETTEINDEX(1)), SetPixel(s.dc, 1, 0, PALETTEINDEX(9))}),
        (std::tuple{RGB(40, 50, 60), RGB(1, 2, 3)}));
    SelectPalette(s.dc, old, FALSE);
    EXPECT_TRUE(pal.DeleteObject());
}
