// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "platform/Dc.h"
#include "platform/Exception.h"

namespace {

// A memory DC with a fresh bitmap selected, and no pen.
struct MemoryDc {
    MemoryDc(int size, int bits) {
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(bmp.CreateBitmap(size, size, 1, bits, nullptr));
        old = dc.SelectObject(&bmp);
        dc.SelectStockObject(NULL_PEN);
    }
    void Fill(int size) {
        const POINT box[] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
        EXPECT_TRUE(dc.Polygon(box, 4));
    }
    CDC dc;
    CBitmap bmp;
    CBitmap* old;
};

}  // namespace

TEST(CDC, WrapsHandlesKeepsSelectedObjectsAliveAndReportsTheDisplayDepth) {
    MemoryDc m(4, 24);
    ASSERT_NE(m.old, nullptr);
    EXPECT_NE(m.old->m_hObject, m.bmp.m_hObject);
    CBrush red(RGB(255, 0, 0));
    CBrush* previous = m.dc.SelectObject(&red);
    EXPECT_EQ(previous->m_hObject, GetStockObject(WHITE_BRUSH));
    m.Fill(2);
    // Filled up to its right and bottom edges; the selected brush is kept.
    EXPECT_EQ((std::tuple{m.dc.GetPixel(1, 1), m.dc.GetPixel(2, 2), bool(red.DeleteObject())}),
              (std::tuple{RGB(255, 0, 0), RGB(0, 0, 0), false}));
    m.dc.SelectObject(previous);
    EXPECT_TRUE(red.DeleteObject());

    HGDIOBJ handle;
    {
        CBrush green(RGB(0, 255, 0));
        handle = green.m_hObject;
        m.dc.SelectObject(&green);
    }  // the wrapper goes; the brush stays while the DC uses it
    m.Fill(3);
    EXPECT_EQ((std::tuple{m.dc.GetPixel(2, 2), GetObjectType(handle)}),
              (std::tuple{RGB(0, 255, 0), DWORD(OBJ_BRUSH)}));
    m.dc.SelectStockObject(WHITE_BRUSH);  // now it is deleted (the sanitizers see no leak)
    m.dc.SelectObject(m.old);
    const int before = ZcmSetDisplayBitsPerPixel(8);
    {
        CPaintDC paint(nullptr);
        EXPECT_EQ(
            std::pair(paint.GetDeviceCaps(BITSPIXEL), paint.GetDeviceCaps(RASTERCAPS) & RC_PALETTE),
            std::pair(8, int(RC_PALETTE)));
    }
    ZcmSetDisplayBitsPerPixel(before);
    EXPECT_EQ(CClientDC(nullptr).GetDeviceCaps(BITSPIXEL), before);
}
