#pragma once
/// @file
/// CMemoryDC: an off-screen memory DC with a device-dependent bitmap, for drawing off
/// screen and copying the result in one block.
#include "platform/Dc.h"
#include "platform/Wnd.h"

class ZCMCOM_API CMemoryDC : public CDC {
public:
    CMemoryDC();
    /// A copy of source's image; throws CMemoryException when it cannot be made.
    explicit CMemoryDC(CMemoryDC* source);
    ~CMemoryDC() override;

    /// A bitmap and memory DC compatible with the window's paint DC (or dc). A zero area
    /// holds nothing and succeeds. 1 on success, 0 on failure (the object is then empty).
    int Create(CWnd* window, int width, int height);
    int Create(CDC* dc, int width, int height);
    /// A bitmap of that format in a memory DC compatible with the display.
    int Create(int width, int height, unsigned bitCount, unsigned planes);
    void Empty();

    int FullBlt(CDC* target);
    int FullBlt(CDC* target, int x, int y);
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

protected:
    CBitmap m_bitmap;
    int m_width = 0;
    int m_height = 0;

private:
    /// Attaches a memory DC compatible with reference (null: the display) and selects bitmap.
    int Finish(CDC* reference, HBITMAP bitmap, int width, int height);
};
