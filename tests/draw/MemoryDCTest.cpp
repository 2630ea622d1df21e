// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "draw/MemoryDC.h"
#include "platform/Exception.h"

namespace {

CWnd* const kNoWindow = nullptr;

// True when dc is empty: no memory DC and no size.
bool IsEmpty(const CMemoryDC& dc) { return dc.m_hDC == nullptr && dc.GetWidth() == 0; }

}  // namespace

TEST(CMemoryDC, CreatesAndCopiesSurfacesCompatibleWithWindowsDcsOrAFormat) {
    CMemoryDC a, b, c;
    ASSERT_EQ(a.Create(kNoWindow, 8, 4), 1);
    EXPECT_EQ(a.GetDeviceCaps(BITSPIXEL), 32);
    a.SetPixel(7, 3, RGB(1, 2, 3));
    EXPECT_EQ(a.GetPixel(7, 3), RGB(1, 2, 3));
    EXPECT_EQ(a.GetPixel(8, 3), CLR_INVALID);
    ASSERT_EQ(b.Create(&a, 9, 9), 1);
    // Blts and the copying constructor copy the image; nothing from or to nothing.
    EXPECT_EQ((std::tuple{a.FullBlt(&b, 1, 5), b.GetPixel(8, 8), a.FullBlt(nullptr),
                          CMemoryDC(&a).GetPixel(7, 3), CMemoryDC(&c).m_hDC,
                          b.Create(static_cast<CDC*>(nullptr), 3, 3), bool(IsEmpty(b))}),
              (std::tuple{1, RGB(1, 2, 3), 0, RGB(1, 2, 3), nullptr, 0, true}));
    // The format overload makes its own memory DC; planes other than 1 and unknown depths fail.
    ASSERT_EQ(c.Create(4, 3, 24, 1), 1);
    c.SetPixel(3, 2, RGB(200, 100, 50));
    EXPECT_EQ((std::tuple{c.GetPixel(3, 2), c.Create(4, 3, 24, 2), c.Create(4, 3, 13, 1),
                          bool(IsEmpty(c))}),
              (std::tuple{RGB(200, 100, 50), 0, 0, true}));
}

// A zero area holds nothing and succeeds; a huge or negative one fails; either way what
// was there is released, and releasing twice is harmless.
TEST(CMemoryDC, ZeroAreaSucceedsFailuresLeaveItEmpty) {
    CMemoryDC dc;
    const int kSizes[][3] = {{0, 5, 1}, {100000, 100000, 0}, {-4, 4, 0}};  // width, height, result
    for (const auto& s : kSizes) {
        ASSERT_EQ(dc.Create(kNoWindow, 4, 4), 1);
        EXPECT_EQ(dc.Create(kNoWindow, s[0], s[1]), s[2]) << s[0];
        EXPECT_TRUE(IsEmpty(dc)) << s[0];
    }
    EXPECT_EQ(dc.Create(7, 0, 24, 1), 1);
    EXPECT_EQ(dc.m_hDC, nullptr);
    dc.Empty();
    dc.Empty();
}
