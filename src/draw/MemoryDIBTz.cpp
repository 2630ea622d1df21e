// SPDX-License-Identifier: LGPL-3.0-or-later
#include "draw/MemoryDIBTz.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

int DepthOfWindow(CWnd* window) {
    CClientDC paint(window);
    return paint.GetDeviceCaps(BITSPIXEL);
}

int ColourCount(int bitsPerPixel) {
    return bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : bitsPerPixel == 8 ? 256 : 0;
}

}  // namespace

CMemoryDIBTz::CMemoryDIBTz() = default;

CMemoryDIBTz::~CMemoryDIBTz() { Empty(); }

int CMemoryDIBTz::Create(CWnd* window, int width, int height) {
    const int bpp = DepthOfWindow(window);
    return CreateDIB(window, width, height, bpp, bpp >= 16 ? 0 : 1, nullptr);
}

int CMemoryDIBTz::Create(CWnd* window, int width, int height, PALETTEENTRY* palette) {
    return CreateDIB(window, width, height, DepthOfWindow(window), 0, palette);
}

int CMemoryDIBTz::Create(CWnd* window, int width, int height, unsigned bitsPerPixel) {
    const int bpp = bitsPerPixel > 32 ? 0 : static_cast<int>(bitsPerPixel);
    return CreateDIB(window, width, height, bpp, bpp == 16 || bpp == 24 || bpp == 32 ? 0 : 1,
                     nullptr);
}

int CMemoryDIBTz::CreateDIB(CWnd* window, int width, int height, int bpp, int usage,
                            const PALETTEENTRY* palette) {
    Empty();
    if (width <= 0 || height <= 0) return 0;
    const int colours = ColourCount(bpp);
    // Rows of a DIB are whole 32-bit words, at every depth.
    const long long stride = (static_cast<long long>(width) * bpp + 31) / 32 * 4;
    const size_t infoSize = sizeof(BITMAPINFOHEADER) + 4 * static_cast<size_t>(colours);
    std::unique_ptr<BYTE[]> info(new (std::nothrow) BYTE[infoSize]());
    if (!info || stride * height > 0x7FFFFFFF) return 0;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(stride * height);
    h.biClrUsed = static_cast<DWORD>(colours);
    memcpy(info.get(), &h, sizeof h);
    auto* table = reinterpret_cast<RGBQUAD*>(info.get() + sizeof h);
    if (palette) {
        for (int i = 0; i < colours; ++i)
            table[i] = RGBQUAD{palette[i].peBlue, palette[i].peGreen, palette[i].peRed, 0};
    } else {
        // Palette-index usage names no colours of its own: the default colours stand in,
        // so that the table written to a file is the one the pixels were drawn with.
        ZcmDefaultColorTable(bpp, table, colours);
    }
    CClientDC paint(window);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(paint.m_hDC, reinterpret_cast<BITMAPINFO*>(info.get()),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return 0;
    if (!m_dc.CreateCompatibleDC(&paint) || !m_dc.SelectObject(reinterpret_cast<HGDIOBJ>(dib))) {
        m_dc.DeleteDC();
        ::DeleteObject(reinterpret_cast<HGDIOBJ>(dib));
        return 0;
    }
    m_hDIB = dib;
    m_bitmapInfo = std::move(info);
    m_bits = static_cast<BYTE*>(bits);
    m_bitsPerPixel = bpp;
    m_colorUsage = usage;
    m_colors = colours;
    m_stride = static_cast<int>(stride);
    m_width = width;
    m_height = height;
    return 1;
}

void CMemoryDIBTz::Empty() {
    m_dc.DeleteDC();
    m_bitmapInfo.reset();
    if (m_hDIB) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_hDIB));
    m_hDIB = nullptr;
    m_bits = nullptr;
    m_bitsPerPixel = m_colorUsage = m_colors = m_stride = m_width = m_height = 0;
}

CPalette* CMemoryDIBTz::SelectPalette(CPalette* palette, int forceBackground) {
    CPalette* old = m_dc.SelectPalette(palette, forceBackground);
    m_dc.RealizePalette();
    return old;
}

int CMemoryDIBTz::BitBlt(CDC* target, int x, int y) {
    if (!target) return 0;
    return target->BitBlt(x, y, m_width, m_height, &m_dc, 0, 0, SRCCOPY) ? 1 : 0;
}

BYTE* CMemoryDIBTz::At(int x, int row) const {
    if (!m_bits || x < 0 || row < 0 || x >= m_width || row >= m_height) return nullptr;
    return m_bits + static_cast<size_t>(row) * m_stride +
           static_cast<size_t>(x) * m_bitsPerPixel / 8;
}

COLORREF CMemoryDIBTz::SetPixel(int x, int y, COLORREF colour) {
    const bool topDown = m_bitsPerPixel >= 24;
    BYTE* p = At(x, topDown ? m_height - 1 - y : y);
    if (!p || (topDown && (y < 0 || y >= m_height))) return CLR_INVALID;
    const BYTE r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    switch (m_bitsPerPixel) {
        case 1:
        case 4: {
            const int shift = m_bitsPerPixel == 1 ? 7 - (x & 7) : (x & 1 ? 0 : 4);
            const BYTE mask = BYTE(((1 << m_bitsPerPixel) - 1) << shift);
            *p = BYTE((*p & ~mask) | ((colour << shift) & mask));
            break;
        }
        case 8:
            *p = BYTE(colour);
            break;
        case 16: {
            const WORD v = WORD(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            p[0] = BYTE(v);
            p[1] = BYTE(v >> 8);
            break;
        }
        default:  // 24 and 32: blue, green, red
            p[0] = b;
            p[1] = g;
            p[2] = r;
            break;
    }
    return colour;
}

COLORREF CMemoryDIBTz::GetPixel(int x, int y) {
    const bool topDown = m_bitsPerPixel >= 24;
    const BYTE* p = At(x, topDown ? m_height - 1 - y : y);
    if (!p || (topDown && (y < 0 || y >= m_height))) return CLR_INVALID;
    switch (m_bitsPerPixel) {
        case 1:
            return PALETTEINDEX((*p >> (7 - (x & 7))) & 1);
        case 4:
            return PALETTEINDEX(x & 1 ? *p & 0x0F : *p >> 4);
        case 8:
            return PALETTEINDEX(*p);
        case 16: {
            const WORD v = WORD(p[0] | (p[1] << 8));
            return RGB(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
        }
        default:
            return RGB(p[2], p[1], p[0]);
    }
}
