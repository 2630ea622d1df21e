#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "draw/MemoryDIBTz.h"
#include "support/TestUtil.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

DWORD U32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (DWORD(b[at + 3]) << 24);
}

// Writes dib to name in tmp and returns the file's bytes.
Bytes WriteAndRead(CMemoryDIBTz& dib, const TempDir& tmp, const std::string& name) {
    EXPECT_EQ(dib.Write(CString(tmp.File(name).c_str())), 1) << name;
    return ReadAll(tmp.File(name));
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
        "print(im.format, im.mode, im.size[0], im.size[1], pal, [rgb.getpixel(p) for p in ((0, 0), (8, 1))])\" '" +
            path + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
    return out.erase(out.find_last_not_of('\n') + 1);
}

}  // namespace

TEST(CMemoryDIBTz, CreateChecksSizeAndDepth) {
    CMemoryDIBTz dib;
    ASSERT_EQ(dib.Create(nullptr, 720, 360, 24u), 1);
    EXPECT_EQ(dib.GetWidth(), 720);
    EXPECT_EQ(dib.GetHeight(), 360);
    EXPECT_EQ(dib.GetDC()->GetPixel(0, 0), RGB(0, 0, 0));  // a new DIB is black
    ASSERT_EQ(dib.Create(nullptr, 5, 2), 1);                // the display's 32 bits
    EXPECT_EQ(dib.GetDC()->GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_EQ(dib.Create(nullptr, 0, 5, 24u), 0);
    EXPECT_EQ(dib.GetWidth(), 0);
    EXPECT_EQ(dib.Create(nullptr, 5, -1, 24u), 0);
    EXPECT_EQ(dib.Create(nullptr, 5, 5, 7u), 0);
    EXPECT_EQ(dib.Create(nullptr, 100000, 100000, 32u), 0);  // refused, not gigabytes
    EXPECT_EQ(dib.GetDC()->m_hDC, nullptr);
}

// What SetPixel stores, GetPixel returns, and the DC sees it: at the same place for 24
// and 32 bits ((0, 0) is the first pixel of the last memory row, the top left), in the
// mirrored row for the other depths; 16 bits in 5-5-5, 8 bits through the grey default
// table.
TEST(CMemoryDIBTz, PixelsRoundTripAtEveryDepth) {
    struct { unsigned bits; int w, h, x, y; COLORREF set, got; int dcY; COLORREF dc; } const kCases[] = {
        {24, 4, 3, 3, 2, RGB(200, 150, 100), RGB(200, 150, 100), 2, RGB(200, 150, 100)},
        {32, 2, 2, 1, 0, RGB(1, 2, 3), RGB(1, 2, 3), 0, RGB(1, 2, 3)},
        {16, 3, 2, 2, 1, RGB(255, 128, 8), RGB(248, 128, 8), 0, RGB(248, 128, 8)},
        {8, 3, 2, 1, 0, 0x7F, PALETTEINDEX(0x7F), 1, RGB(0x7F, 0x7F, 0x7F)},
        {1, 9, 1, 8, 0, 1, PALETTEINDEX(1), 0, RGB(255, 255, 255)},
    };
    for (const auto& c : kCases) {
        CMemoryDIBTz dib;
        ASSERT_EQ(dib.Create(nullptr, c.w, c.h, c.bits), 1);
        dib.SetPixel(c.x, c.y, c.set);
        EXPECT_EQ(dib.GetPixel(c.x, c.y), c.got) << c.bits;
        EXPECT_EQ(dib.GetDC()->GetPixel(c.x, c.dcY), c.dc) << c.bits;
        EXPECT_EQ(dib.GetPixel(c.x - 1, c.y), c.bits < 16 ? PALETTEINDEX(0) : RGB(0, 0, 0)) << c.bits;
    }
    CMemoryDIBTz d24, d8;
    ASSERT_EQ(d24.Create(nullptr, 4, 3, 24u), 1);
    EXPECT_EQ(d24.SetPixel(0, 0, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(d24.GetDC()->GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(d24.SetPixel(4, 0, RGB(1, 1, 1)), CLR_INVALID);
    EXPECT_EQ(d24.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(d24.GetPixel(0, 3), CLR_INVALID);
    ASSERT_EQ(d8.Create(nullptr, 3, 2, 8u), 1);
    EXPECT_EQ(d8.SetPixel(1, 0, 0x7F), COLORREF(0x7F));
}

TEST(CMemoryDIBTz, BitBltAndPaletteSelection) {
    CMemoryDIBTz dib, target;
    ASSERT_EQ(dib.Create(nullptr, 2, 2, 24u), 1);
    dib.SetPixel(1, 1, RGB(9, 8, 7));
    ASSERT_EQ(target.Create(nullptr, 4, 4, 24u), 1);
    EXPECT_EQ(dib.BitBlt(target.GetDC(), 2, 2), 1);
    EXPECT_EQ(target.GetPixel(3, 3), RGB(9, 8, 7));
    EXPECT_EQ(dib.BitBlt(nullptr, 0, 0), 0);

    BYTE buf[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY)] = {};
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf);
    lp->palVersion = 0x300;
    lp->palNumEntries = 2;
    lp->palPalEntry[1] = PALETTEENTRY{50, 60, 70, 0};
    ASSERT_TRUE(dib.m_palette.CreatePalette(lp));
    CPalette* old = dib.SelectPalette(&dib.m_palette, FALSE);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(dib.GetDC()->SetPixel(0, 0, PALETTEINDEX(1)), RGB(50, 60, 70));
    dib.SelectPalette(old, FALSE);
}

TEST(CMemoryDIBTz, WriteLaysOutTheBitmapFile) {
    TempDir tmp;
    CMemoryDIBTz dib, d32, d8;
    ASSERT_EQ(dib.Create(nullptr, 720, 360, 24u), 1);
    dib.SetPixel(0, 0, RGB(1, 2, 3));
    Bytes f = WriteAndRead(dib, tmp, "map.bmp");
    ASSERT_EQ(f.size(), 54u + 777600u);
    EXPECT_EQ(f[0] | f[1] << 8, 'B' | 'M' << 8);
    // file size, reserved, pixel offset, header size, image size
    const std::pair<size_t, DWORD> kFields[] = {{2, 54 + 777600}, {6, 0}, {10, 54}, {14, 40}, {34, 777600}};
    for (const auto& field : kFields) EXPECT_EQ(U32(f, field.first), field.second) << "at " << field.first;
    EXPECT_EQ(Bytes(f.begin() + 54 + 359 * 2160, f.begin() + 57 + 359 * 2160), (Bytes{3, 2, 1}));  // top left: last row

    // 32 bits go out as 24: rows of 9 bytes and 3 zero bytes, and the size of that.
    ASSERT_EQ(d32.Create(nullptr, 3, 2, 32u), 1);
    d32.SetPixel(2, 1, RGB(0xAA, 0xBB, 0xCC));
    f = WriteAndRead(d32, tmp, "d32.bmp");
    ASSERT_EQ(f.size(), 54u + 24u);
    EXPECT_EQ(f[28] | f[29] << 8, 24);  // bits per pixel
    EXPECT_EQ(U32(f, 34), 24u);
    EXPECT_EQ(Bytes(f.begin() + 54, f.begin() + 66), (Bytes{0, 0, 0, 0, 0, 0, 0xCC, 0xBB, 0xAA, 0, 0, 0}));

    // 8 bits with a palette: 256 table entries, pixels at 1078.
    std::vector<PALETTEENTRY> pal(256);
    for (int i = 0; i < 256; ++i) pal[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), 7, 0};
    ZcmSetDisplayBitsPerPixel(8);
    const int made = d8.Create(nullptr, 5, 3, pal.data());
    ZcmSetDisplayBitsPerPixel(32);
    ASSERT_EQ(made, 1);
    d8.SetPixel(4, 2, 9);
    f = WriteAndRead(d8, tmp, "d8.bmp");
    ASSERT_EQ(f.size(), 1078u + 8u * 3u);
    EXPECT_EQ(U32(f, 10), 1078u);
    EXPECT_EQ(U32(f, 46), 256u);
    EXPECT_EQ(Bytes(f.begin() + 54 + 4 * 9, f.begin() + 58 + 4 * 9), (Bytes{7, 246, 9, 0}));
    EXPECT_EQ(f[1078 + 2 * 8 + 4], 9);
}

TEST(CMemoryDIBTz, WriteFailuresReturnZero) {
    CMemoryDIBTz dib;
    EXPECT_EQ(dib.Write(L"/tmp/never-written.bmp"), 0);  // nothing to write
    ASSERT_EQ(dib.Create(nullptr, 64, 64, 24u), 1);
    TempDir tmp;
    EXPECT_EQ(dib.Write(CString((tmp.path() + "/no/such/folder/x.bmp").c_str())), 0);
    EXPECT_EQ(dib.Write(L"/dev/full"), 0);  // the disk is full
}

TEST(CMemoryDIBTz, FilesOpenInAnIndependentReader) {
    TempDir tmp;
    // The lower right pixel: memory row 0 for the indexed depths, y = 1 from the top for
    // 24 and 32 bits. A grey 8-bit table reads as L.
    struct { unsigned bits; COLORREF colour; const char* expected; } const kCases[] = {
        {1, 1, "BMP 1 9 2 [] [(0, 0, 0), (255, 255, 255)]"},
        {4, 11, "BMP P 9 2 [0, 0, 0, 128, 0, 0, 0, 128, 0, 128, 128, 0] [(0, 0, 0), (255, 255, 0)]"},
        {8, 200, "BMP L 9 2 [] [(0, 0, 0), (200, 200, 200)]"},
        {24, RGB(12, 34, 56), "BMP RGB 9 2 [] [(0, 0, 0), (12, 34, 56)]"},
        {32, RGB(12, 34, 56), "BMP RGB 9 2 [] [(0, 0, 0), (12, 34, 56)]"},
    };
    for (const auto& c : kCases) {
        CMemoryDIBTz dib;
        ASSERT_EQ(dib.Create(nullptr, 9, 2, c.bits), 1);
        dib.SetPixel(8, c.bits >= 24 ? 1 : 0, c.colour);
        const std::string name = "d" + std::to_string(c.bits) + ".bmp";
        WriteAndRead(dib, tmp, name);
        EXPECT_EQ(Pillow(tmp.File(name)), c.expected) << c.bits << " bits";
    }
}
