// SPDX-License-Identifier: LGPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "draw/MemoryDIBTz.h"
#include "support/TestUtil.h"

namespace {

DWORD U32(const std::string& b, size_t at) {
    return BYTE(b[at]) | (BYTE(b[at + 1]) << 8) | (BYTE(b[at + 2]) << 16) |
           (DWORD(BYTE(b[at + 3])) << 24);
}

// Opens a .bmp with Pillow (Debian's python3-pil) and prints mode, size, palette entries
// 0..3 and the colours of the pixels (0, 0) and (8, 1), from the top.
std::string Pillow(const std::string& path) {
    int status = 0;
    std::string out = RunCommand(
        "/usr/bin/python3 -c \"import sys\nfrom PIL import Image\n"
        "im = Image.open(sys.argv[1]); im.load()\n"
        "pal = im.getpalette()[:12] if im.mode == 'P' else []\n"
        "rgb = im.convert('RGB')\n"
        "print(im.format, im.mode, im.size[0], im.size[1], pal, [rgb.getpixel(p) for p in ((0, 0), "
        "(8, 1))])\" '" +
            path + "' 2>&1",
        &status);
    EXPECT_EQ(status, 0) << out;
    return out.erase(out.find_last_not_of('\n') + 1);
}

}  // namespace

TEST(CMemoryDIBTz, CreateChecksSizeAndDepth) {
    CMemoryDIBTz dib;
    ASSERT_EQ(dib.Create(nullptr, 720, 360, 24u), 1);
    EXPECT_EQ(dib.GetDC()->GetPixel(0, 0), RGB(0, 0, 0));  // a new DIB is black
    ASSERT_EQ(dib.Create(nullptr, 5, 2), 1);               // the display's 32 bits
    EXPECT_EQ(dib.GetDC()->GetDeviceCaps(BITSPIXEL), 32);
    for (const auto& [w, h, bits] : {std::tuple<int, int, unsigned>{0, 5, 24u},
                                     {5, -1, 24u},
                                     {5, 5, 7u},
                                     {100000, 100000, 32u}})  // the last refused, not gigabytes
        EXPECT_EQ(dib.Create(nullptr, w, h, bits), 0) << w << "x" << h << "x" << bits;
    EXPECT_EQ(std::pair(dib.GetWidth(), dib.GetDC()->m_hDC), std::pair(0, HDC(nullptr)));
}

// What SetPixel stores, GetPixel returns, and the DC sees it: at the same place for 24
// and 32 bits ((0, 0) is the first pixel of the last memory row, the top left), in the
// mirrored row for the other depths; 16 bits in 5-5-5, 8 bits through the grey default
// table.
TEST(CMemoryDIBTz, PixelsRoundTripAtEveryDepth) {
    struct {
        unsigned bits;
        int w, h, x, y;
        COLORREF set, got;
        int dcY;
        COLORREF dc;
    } const kCases[] = {
        {24, 4, 3, 3, 2, RGB(200, 150, 100), RGB(200, 150, 100), 2, RGB(200, 150, 100)},
        {32, 2, 2, 1, 0, RGB(1, 2, 3), RGB(1, 2, 3), 0, RGB(1, 2, 3)},
        {16, 3, 2, 2, 1, RGB(255, 128, 8), RGB(248, 128, 8), 0, RGB(248, 128, 8)},
        {8, 3, 2, 1, 0, 0x7F, PALETTEINDEX(0x7F), 1, RGB(0x7F, 0x7F, 0x7F)},
        {1, 9, 1, 8, 0, 1, PALETTEINDEX(1), 0, RGB(255, 255, 255)},
    };
    for (const auto& c : kCases) {
        CMemoryDIBTz dib;
        ASSERT_EQ(dib.Create(nullptr, c.w, c.h, c.bits), 1);
        const COLORREF set = dib.SetPixel(c.x, c.y, c.set);
        EXPECT_TRUE((c.bits != 8 && c.bits < 24) || set == c.set) << c.bits;
        EXPECT_EQ(dib.GetPixel(c.x, c.y), c.got) << c.bits;
        EXPECT_EQ(dib.GetDC()->GetPixel(c.x, c.dcY), c.dc) << c.bits;
        EXPECT_EQ(dib.GetPixel(c.x - 1, c.y), c.bits < 16 ? PALETTEINDEX(0) : RGB(0, 0, 0))
            << c.bits;
        EXPECT_EQ(dib.SetPixel(c.w, 0, 1), CLR_INVALID) << c.bits;
        EXPECT_EQ(dib.GetPixel(0, c.h), CLR_INVALID) << c.bits;
        EXPECT_EQ(dib.GetPixel(-1, 0), CLR_INVALID) << c.bits;
    }
}

TEST(CMemoryDIBTz, BitBltAndWriteFailures) {
    CMemoryDIBTz dib, target;
    EXPECT_EQ(dib.Write(L"/tmp/never-written.bmp"), 0);  // nothing to write
    ASSERT_EQ(dib.Create(nullptr, 2, 2, 24u), 1);
    dib.SetPixel(1, 1, RGB(9, 8, 7));
    ASSERT_EQ(target.Create(nullptr, 4, 4, 24u), 1);
    // Nothing is drawn on no DC; no folder, and a full disk, fail the write.
    EXPECT_EQ((std::tuple{dib.BitBlt(target.GetDC(), 2, 2), target.GetPixel(3, 3),
                          dib.BitBlt(nullptr, 0, 0), dib.Write(L"/no/such/folder/x.bmp"),
                          dib.Write(L"/dev/full")}),
              (std::tuple{1, RGB(9, 8, 7), 0, 0, 0}));
}

// Each depth opens in an independent reader; the lower right pixel is memory row 0 for
// the indexed depths, y = 1 from the top for 24 and 32 bits. A grey 8-bit table reads as
// L; a table of one's own (bits 0) is written as given.
TEST(CMemoryDIBTz, FilesOpenInAnIndependentReader) {
    TempDir tmp;
    std::vector<PALETTEENTRY> pal(256);
    for (int i = 0; i < 256; ++i) pal[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), 7, 0};
    const std::pair<unsigned, COLORREF> kCases[] = {
        {1, 1}, {4, 11}, {8, 200}, {0, 9}, {24, RGB(12, 34, 56)}, {32, RGB(12, 34, 56)}};
    std::string read;  // what the reader makes of each (tests/golden/draw/dib_files.txt)
    for (const auto& [bits, colour] : kCases) {
        CMemoryDIBTz dib;
        ZcmSetDisplayBitsPerPixel(8);
        const int made =
            bits ? dib.Create(nullptr, 9, 2, bits) : dib.Create(nullptr, 9, 2, pal.data());
        ZcmSetDisplayBitsPerPixel(32);
        ASSERT_EQ(made, 1);
        dib.SetPixel(8, bits >= 24 ? 1 : 0, colour);
        const std::string name = tmp.File("d" + std::to_string(bits) + ".bmp");
        ASSERT_EQ(dib.Write(CString(name.c_str())), 1);
        read += std::to_string(bits) + " bits: " + Pillow(name) + "\n";
        const std::string f = ReadFileBytes(name);
        EXPECT_EQ(U32(f, 2), f.size()) << bits;  // the size in the header is the file's
    }
    ExpectGolden(read, "draw/dib_files.txt");
    // 32 bits go out as 24: rows of 9 bytes and 3 zero bytes, and the size of that.
    CMemoryDIBTz d32;
    ASSERT_EQ(d32.Create(nullptr, 3, 2, 32u), 1);
    d32.SetPixel(2, 1, RGB(0xAA, 0xBB, 0xCC));
    ASSERT_EQ(d32.Write(CString(tmp.File("d.bmp").c_str())), 1);
    const std::string f = ReadFileBytes(tmp.File("d.bmp"));
    ASSERT_EQ(f.size(), 54u + 24u);
    // Bits per pixel, the size of the pixels, the first row.
    EXPECT_EQ((std::tuple{f[28] | f[29] << 8, U32(f, 34), f.substr(54, 12)}),
              (std::tuple{24, DWORD(24), std::string("\0\0\0\0\0\0\xCC\xBB\xAA\0\0\0", 12)}));
}
