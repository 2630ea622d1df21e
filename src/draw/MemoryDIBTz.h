// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CMemoryDIBTz: a memory DC over a DIB section whose pixel bytes the program reads and
/// writes directly, with a writer of .bmp files.
#include <memory>

#include "platform/Dc.h"
#include "platform/String.h"
#include "platform/Wnd.h"

/// A DIB section in a memory DC, its pixels open to the program.
class ZCMCOM_API CMemoryDIBTz : public CObject {
public:
    CMemoryDIBTz();
    ~CMemoryDIBTz() override;
    CMemoryDIBTz(const CMemoryDIBTz&) = delete;
    CMemoryDIBTz& operator=(const CMemoryDIBTz&) = delete;

    /// A DIB of the window's colour depth (window may be null: the display's depth).
    int Create(CWnd* window, int width, int height);
    /// The same with the colour table taken from palette (RGB colours).
    int Create(CWnd* window, int width, int height, PALETTEENTRY* palette);
    /// A DIB of the given depth: 1, 4, 8, 16, 24 or 32 bits per pixel.
    int Create(CWnd* window, int width, int height, unsigned bitsPerPixel);
    /// Releases the DC and the DIB; the size becomes 0 x 0.
    void Empty();

    /// Selects and realises palette in the DC; returns the one selected before.
    CPalette* SelectPalette(CPalette* palette, int forceBackground);
    /// Copies the whole image to (x, y) of target; 1 on success, 0 on failure or a null
    /// target.
    int BitBlt(CDC* target, int x, int y);
    /// The memory DC, for drawing on the image.
    CDC* GetDC() { return &m_dc; }
    /// Pixels: x from the left; 24 and 32 bits count y from the top, 1 to 16 bits address
    /// memory row y (from the bottom). Outside the image: CLR_INVALID.
    COLORREF SetPixel(int x, int y, COLORREF colour);
    /// The pixel's colour, addressed as for SetPixel.
    COLORREF GetPixel(int x, int y);
    /// Writes the image as a .bmp file (32 bits as 24); 1 on success, 0 on failure.
    int Write(CString path);
    /// Width in pixels.
    int GetWidth() const { return m_width; }
    /// Height in pixels.
    int GetHeight() const { return m_height; }

    /// For the caller's use; destroyed with the object.
    CPalette m_palette;

protected:
    HBITMAP m_hDIB = nullptr;              ///< the DIB section
    CDC m_dc;                              ///< the memory DC the DIB is selected into
    std::unique_ptr<BYTE[]> m_bitmapInfo;  ///< BITMAPINFOHEADER + colour table
    BYTE* m_bits = nullptr;                ///< the first byte of memory row 0
    int m_bitsPerPixel = 0;                ///< 1, 4, 8, 16, 24 or 32
    int m_colorUsage = 0;                  ///< 0: RGB colour table, 1: palette indices
    int m_colors = 0;                      ///< entries of the colour table
    int m_stride = 0;                      ///< bytes per memory row
    int m_width = 0;                       ///< in pixels
    int m_height = 0;                      ///< in pixels

private:
    int CreateDIB(CWnd* window, int width, int height, int bitsPerPixel, int usage,
                  const PALETTEENTRY* palette);
    /// Address of pixel (x, memory row) or null outside the image.
    BYTE* At(int x, int row) const;
};
