#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "draw/MemoryDIBTz.h"
#include "support/TestUtil.h"

namespace {

std::vector<BYTE> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

DWORD U32(const std::vector<BYTE>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (DWORD(b[at + 3]) << 24);
}
WORD U16(const std::vector<BYTE>& b, size_t at) { return WORD(b[at] | (b[at + 1] << 8)); }

// Opens a .bmp with Pillow (Debian's python3-pil) and prints mode, size, palette entries
// 0..3 and the colours of the given pixels (x, y from the top).
std::string Pillow(const std::string& path, const std::string& pixels) {
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "im = Image.open(sys.argv[1]); im.load()\n"
        "pal = im.getpalette()[:12] if im.mode == 'P' else []\n"
        "rgb = im.convert('RGB')\n"
        "pts = [tuple(map(int, p.split(','))) for p in sys.argv[2].split()]\n"
        "print(im.format, im.mode, im.size[0], im.size[1], pal,\n"
        "      [rgb.getpixel(p) for p in pts])\n";
    int status = 0;
    const std::string out = RunCommand("/usr/bin/python3 -c \"" + script + "\" '" + path + "' '" +
                                           pixels + "' 2>&1",
                                       &status);
    EXPECT_EQ(status, 0) << out;
    return out;
}

}  // namespace

TEST(CMemoryDIBTz, HeaderStrideAndColourTableFollowTheDepth) {
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

TEST(CMemoryDIBTz, TwentyFourBitPixelsRoundTripTopDown) {
    CMemoryDIBTz dib;
    ASSERT_EQ(dib.Create(nullptr, 4, 3, 24u), 1);
    EXPECT_EQ(dib.SetPixel(0, 0, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(dib.GetPixel(0, 0), RGB(10, 20, 30));
    dib.SetPixel(3, 2, RGB(200, 150, 100));
    EXPECT_EQ(dib.GetPixel(3, 2), RGB(200, 150, 100));
    // (0, 0) is the first pixel of the last memory row: the top left as the DC sees it.
    EXPECT_EQ(dib.GetDC()->GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(dib.GetDC()->GetPixel(3, 2), RGB(200, 150, 100));
    EXPECT_EQ(dib.SetPixel(4, 0, RGB(1, 1, 1)), CLR_INVALID);
    EXPECT_EQ(dib.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(dib.GetPixel(0, 3), CLR_INVALID);
}

TEST(CMemoryDIBTz, OtherDepthsStoreWhatTheyReturn) {
    CMemoryDIBTz d16, d8, d32, d1;
    ASSERT_EQ(d16.Create(nullptr, 3, 2, 16u), 1);
    d16.SetPixel(2, 1, RGB(255, 128, 8));
    EXPECT_EQ(d16.GetPixel(2, 1), RGB(248, 128, 8));  // 5-5-5, as the DC reads it
    EXPECT_EQ(d16.GetDC()->GetPixel(2, 0), RGB(248, 128, 8));  // memory row 1 from the bottom
    ASSERT_EQ(d8.Create(nullptr, 3, 2, 8u), 1);
    EXPECT_EQ(d8.SetPixel(1, 0, 0x7F), COLORREF(0x7F));
    EXPECT_EQ(d8.GetPixel(1, 0), PALETTEINDEX(0x7F));
    EXPECT_EQ(d8.GetDC()->GetPixel(1, 1), RGB(0x7F, 0x7F, 0x7F));  // the grey default table
    ASSERT_EQ(d32.Create(nullptr, 2, 2, 32u), 1);
    d32.SetPixel(1, 0, RGB(1, 2, 3));
    EXPECT_EQ(d32.GetPixel(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(d32.GetDC()->GetPixel(1, 0), RGB(1, 2, 3));
    ASSERT_EQ(d1.Create(nullptr, 9, 1, 1u), 1);
    d1.SetPixel(8, 0, 1);
    EXPECT_EQ(d1.GetPixel(8, 0), PALETTEINDEX(1));
    EXPECT_EQ(d1.GetPixel(7, 0), PALETTEINDEX(0));
}

TEST(CMemoryDIBTz, BitBltAndPaletteSelection) {
    CMemoryDIBTz dib;
    ASSERT_EQ(dib.Create(nullptr, 2, 2, 24u), 1);
    dib.SetPixel(1, 1, RGB(9, 8, 7));
    CMemoryDIBTz target;
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
    CMemoryDIBTz dib;
    ASSERT_EQ(dib.Create(nullptr, 720, 360, 24u), 1);
    dib.SetPixel(0, 0, RGB(1, 2, 3));
    ASSERT_EQ(dib.Write(CString(tmp.File("map.bmp").c_str())), 1);
    std::vector<BYTE> f = ReadAll(tmp.File("map.bmp"));
    ASSERT_EQ(f.size(), 54u + 777600u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), 54u + 777600u);
    EXPECT_EQ(U32(f, 6), 0u);
    EXPECT_EQ(U32(f, 10), 54u);
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(U32(f, 34), 777600u);
    // the top-left pixel is the first of the last row in the file
    const size_t top = 54 + 359 * 2160;
    EXPECT_EQ(f[top], 3);
    EXPECT_EQ(f[top + 2], 1);

    // 32 bits go out as 24: rows of 9 bytes and 3 zero bytes, and the size of that
    CMemoryDIBTz d32;
    ASSERT_EQ(d32.Create(nullptr, 3, 2, 32u), 1);
    d32.SetPixel(2, 1, RGB(0xAA, 0xBB, 0xCC));
    ASSERT_EQ(d32.Write(CString(tmp.File("d32.bmp").c_str())), 1);
    f = ReadAll(tmp.File("d32.bmp"));
    ASSERT_EQ(f.size(), 54u + 24u);
    EXPECT_EQ(U16(f, 28), 24);
    EXPECT_EQ(U32(f, 34), 24u);
    EXPECT_EQ(std::vector<BYTE>(f.begin() + 54, f.begin() + 66),
              (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 0xCC, 0xBB, 0xAA, 0, 0, 0}));

    // 8 bits with a palette: 256 table entries, pixels at 1078
    std::vector<PALETTEENTRY> pal(256);
    for (int i = 0; i < 256; ++i) pal[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), 7, 0};
    ZcmSetDisplayBitsPerPixel(8);
    CMemoryDIBTz d8;
    const int made = d8.Create(nullptr, 5, 3, pal.data());
    ZcmSetDisplayBitsPerPixel(32);
    ASSERT_EQ(made, 1);
    d8.SetPixel(4, 2, 9);
    ASSERT_EQ(d8.Write(CString(tmp.File("d8.bmp").c_str())), 1);
    f = ReadAll(tmp.File("d8.bmp"));
    ASSERT_EQ(f.size(), 1078u + 8u * 3u);
    EXPECT_EQ(U32(f, 10), 1078u);
    EXPECT_EQ(U32(f, 46), 256u);
    EXPECT_EQ(std::vector<BYTE>(f.begin() + 54 + 4 * 9, f.begin() + 58 + 4 * 9),
              (std::vector<BYTE>{7, 246, 9, 0}));
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
    struct Case {
        unsigned bits;
        const char* expected;
    } const kCases[] = {
        {1, "BMP 1 9 2 [] [(0, 0, 0), (255, 255, 255)]"},
        {4, "BMP P 9 2 [0, 0, 0, 128, 0, 0, 0, 128, 0, 128, 128, 0] [(0, 0, 0), (255, 255, 0)]"},
        {8, "BMP L 9 2 [] [(0, 0, 0), (200, 200, 200)]"},  // a grey table reads as L
        {24, "BMP RGB 9 2 [] [(0, 0, 0), (12, 34, 56)]"},
        {32, "BMP RGB 9 2 [] [(0, 0, 0), (12, 34, 56)]"},
    };
    for (const Case& c : kCases) {
        CMemoryDIBTz dib;
        ASSERT_EQ(dib.Create(nullptr, 9, 2, c.bits), 1);
        // the lower right pixel: memory row 0 for the indexed depths, y = 1 from the top
        // for 24 and 32 bits
        const COLORREF colour = c.bits == 1 ? 1 : c.bits == 4 ? 11 : c.bits == 8 ? 200 : RGB(12, 34, 56);
        dib.SetPixel(8, c.bits >= 24 ? 1 : 0, colour);
        const std::string path = tmp.File("d" + std::to_string(c.bits) + ".bmp");
        ASSERT_EQ(dib.Write(CString(path.c_str())), 1);
        std::string out = Pillow(path, "0,0 8,1");
        out.erase(out.find_last_not_of('\n') + 1);
        EXPECT_EQ(out, c.expected) << c.bits << " bits";
    }
}
