#pragma once
/// @file
/// CMemoryDIBTz: a memory DC over a DIB section whose pixel bytes the program reads and
/// writes directly, with a writer of .bmp files.
#include <memory>

#include "platform/Dc.h"
#include "platform/String.h"
#include "platform/Wnd.h"

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
    void Empty();

    CPalette* SelectPalette(CPalette* palette, int forceBackground);
    int BitBlt(CDC* target, int x, int y);
    CDC* GetDC() { return &m_dc; }
    /// Pixels: x from the left; 24 and 32 bits count y from the top, 1 to 16 bits address
    /// memory row y (from the bottom). Outside the image: CLR_INVALID.
    COLORREF SetPixel(int x, int y, COLORREF colour);
    COLORREF GetPixel(int x, int y);
    /// Writes the image as a .bmp file (32 bits as 24); 1 on success, 0 on failure.
    int Write(CString path);
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    /// For the caller's use; destroyed with the object.
    CPalette m_palette;

protected:
    HBITMAP m_hDIB = nullptr;
    CDC m_dc;
    std::unique_ptr<BYTE[]> m_bitmapInfo;  ///< BITMAPINFOHEADER + colour table
    BYTE* m_bits = nullptr;
    int m_bitsPerPixel = 0;
    int m_colorUsage = 0;  ///< 0: RGB colour table, 1: palette indices
    int m_colors = 0;
    int m_stride = 0;
    int m_width = 0;
    int m_height = 0;

private:
    int CreateDIB(CWnd* window, int width, int height, int bitsPerPixel, int usage,
                  const PALETTEENTRY* palette);
    /// Address of pixel (x, memory row) or null outside the image.
    BYTE* At(int x, int row) const;
};
