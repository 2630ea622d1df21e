#include <gtest/gtest.h>

#include "platform/Dc.h"
#include "platform/Exception.h"

TEST(CDC, WrapsHandlesAndReturnsPreviousObjects) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(4, 4, 1, 24, nullptr));
    CBitmap* old = dc.SelectObject(&bmp);
    ASSERT_NE(old, nullptr);
    EXPECT_NE(old->m_hObject, bmp.m_hObject);
    CBrush red(RGB(255, 0, 0));
    CPen none(PS_NULL, 0, 0);
    dc.SelectObject(&none);
    CBrush* previous = dc.SelectObject(&red);
    EXPECT_EQ(previous->m_hObject, GetStockObject(WHITE_BRUSH));
    const POINT box[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    dc.Polygon(box, 4);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(2, 2), RGB(0, 0, 0));
    EXPECT_FALSE(red.DeleteObject());  // selected: kept
    dc.SelectObject(previous);
    EXPECT_TRUE(red.DeleteObject());
    dc.SelectObject(old);
    BITMAP bm{};
    ASSERT_TRUE(bmp.GetBitmap(&bm));
    EXPECT_EQ(bm.bmWidth, 4);
}

TEST(CDC, PaintDcReportsTheDisplayDepth) {
    const int before = ZcmSetDisplayBitsPerPixel(8);
    {
        CPaintDC paint(nullptr);
        EXPECT_EQ(paint.GetDeviceCaps(BITSPIXEL), 8);
        EXPECT_EQ(paint.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, RC_PALETTE);
    }
    ZcmSetDisplayBitsPerPixel(before);
    CClientDC client(nullptr);
    EXPECT_EQ(client.GetDeviceCaps(BITSPIXEL), before);
}

TEST(CDC, PaletteRoundTrip) {
    BYTE buf[sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY)] = {};
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf);
    lp->palVersion = 0x300;
    lp->palNumEntries = 3;
    lp->palPalEntry[2] = PALETTEENTRY{9, 8, 7, 0};
    CPalette pal;
    ASSERT_TRUE(pal.CreatePalette(lp));
    EXPECT_EQ(pal.GetEntryCount(), 3);
    PALETTEENTRY e[3];
    EXPECT_EQ(pal.GetPaletteEntries(1, 5, e), 2u);
    EXPECT_EQ(e[1].peRed, 9);
    lp->palVersion = 0x200;
    CPalette bad;
    EXPECT_FALSE(bad.CreatePalette(lp));
}
