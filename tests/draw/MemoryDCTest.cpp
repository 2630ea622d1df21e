#include <gtest/gtest.h>

#include "draw/MemoryDC.h"
#include "platform/Exception.h"

namespace {

void Paint(CDC& dc, int x, int y, COLORREF c) { dc.SetPixel(x, y, c); }

}  // namespace

TEST(CMemoryDC, CreatesSurfacesCompatibleWithWindowsAndDcs) {
    CMemoryDC a;
    EXPECT_EQ(a.GetWidth(), 0);
    EXPECT_EQ(a.m_hDC, nullptr);
    ASSERT_EQ(a.Create(static_cast<CWnd*>(nullptr), 8, 4), 1);
    EXPECT_EQ(a.GetWidth(), 8);
    EXPECT_EQ(a.GetHeight(), 4);
    EXPECT_EQ(a.GetDeviceCaps(BITSPIXEL), 32);
    Paint(a, 7, 3, RGB(1, 2, 3));
    EXPECT_EQ(a.GetPixel(7, 3), RGB(1, 2, 3));
    EXPECT_EQ(a.GetPixel(8, 3), CLR_INVALID);

    CMemoryDC b;
    ASSERT_EQ(b.Create(&a, 3, 3), 1);
    Paint(b, 0, 0, RGB(9, 9, 9));
    EXPECT_EQ(b.GetPixel(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(b.Create(static_cast<CDC*>(nullptr), 3, 3), 0);
    EXPECT_EQ(b.m_hDC, nullptr);
}

TEST(CMemoryDC, ZeroAreaHoldsNothingAndSucceeds) {
    CMemoryDC dc;
    ASSERT_EQ(dc.Create(static_cast<CWnd*>(nullptr), 5, 5), 1);
    EXPECT_EQ(dc.Create(static_cast<CWnd*>(nullptr), 0, 5), 1);
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetWidth(), 0);
    EXPECT_EQ(dc.Create(7, 0, 24, 1), 1);
    EXPECT_EQ(dc.m_hDC, nullptr);
}

TEST(CMemoryDC, FormatOverloadMakesItsOwnMemoryDc) {
    CMemoryDC dc;
    ASSERT_EQ(dc.Create(4, 3, 24, 1), 1);
    ASSERT_NE(dc.m_hDC, nullptr);
    Paint(dc, 3, 2, RGB(200, 100, 50));
    EXPECT_EQ(dc.GetPixel(3, 2), RGB(200, 100, 50));
    EXPECT_EQ(dc.Create(4, 3, 24, 2), 0);  // planes other than 1
    EXPECT_EQ(dc.Create(4, 3, 13, 1), 0);
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetWidth(), 0);
}

TEST(CMemoryDC, FailuresLeaveItEmpty) {
    CMemoryDC dc;
    ASSERT_EQ(dc.Create(static_cast<CWnd*>(nullptr), 4, 4), 1);
    EXPECT_EQ(dc.Create(static_cast<CWnd*>(nullptr), 100000, 100000), 0);
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetWidth(), 0);
    EXPECT_EQ(dc.Create(static_cast<CWnd*>(nullptr), -4, 4), 0);
    dc.Empty();
    dc.Empty();  // nothing released twice
}

TEST(CMemoryDC, FullBltAndTheCopyingConstructorCopyTheImage) {
    CMemoryDC src;
    ASSERT_EQ(src.Create(static_cast<CWnd*>(nullptr), 3, 2), 1);
    Paint(src, 0, 0, RGB(10, 20, 30));
    Paint(src, 2, 1, RGB(40, 50, 60));

    CMemoryDC copy(&src);
    EXPECT_EQ(copy.GetWidth(), 3);
    EXPECT_EQ(copy.GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(copy.GetPixel(2, 1), RGB(40, 50, 60));

    CMemoryDC target;
    ASSERT_EQ(target.Create(static_cast<CWnd*>(nullptr), 6, 6), 1);
    EXPECT_EQ(src.FullBlt(&target, 3, 4), 1);
    EXPECT_EQ(target.GetPixel(3, 4), RGB(10, 20, 30));
    EXPECT_EQ(target.GetPixel(5, 5), RGB(40, 50, 60));
    EXPECT_EQ(src.FullBlt(&target), 1);
    EXPECT_EQ(target.GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(src.FullBlt(nullptr), 0);

    CMemoryDC empty;
    CMemoryDC fromEmpty(&empty);
    EXPECT_EQ(fromEmpty.m_hDC, nullptr);
}
