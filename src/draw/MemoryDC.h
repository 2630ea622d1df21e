// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CMemoryDC: an off-screen memory DC with a device-dependent bitmap, for drawing off
/// screen and copying the result in one block.
#include "platform/Dc.h"
#include "platform/Wnd.h"

/// An off-screen drawing surface with its own bitmap.
class ZCMCOM_API CMemoryDC : public CDC {
public:
    CMemoryDC();
    /// A copy of source's image; throws CMemoryException when it cannot be made.
    explicit CMemoryDC(CMemoryDC* source);
    ~CMemoryDC() override;

    /// A bitmap and memory DC compatible with the window's paint DC (or dc). A zero area
    /// holds nothing and succeeds. 1 on success, 0 on failure (the object is then empty).
    int Create(CWnd* window, int width, int height);
    /// The same, compatible with dc.
    int Create(CDC* dc, int width, int height);
    /// A bitmap of that format in a memory DC compatible with the display.
    int Create(int width, int height, unsigned bitCount, unsigned planes);
    /// Releases the DC and the bitmap; the size becomes 0 x 0.
    void Empty();

    /// Copies the whole image to target's origin; 1 on success, 0 on failure or a null
    /// target.
    int FullBlt(CDC* target);
    /// Copies the whole image to (x, y) of target, in target's logical units.
    int FullBlt(CDC* target, int x, int y);
    /// Width in pixels.
    int GetWidth() const { return m_width; }
    /// Height in pixels.
    int GetHeight() const { return m_height; }

protected:
    CBitmap m_bitmap;  ///< the bitmap selected into the DC
    int m_width = 0;   ///< in pixels
    int m_height = 0;  ///< in pixels

private:
    /// Attaches a memory DC compatible with reference (null: the display) and selects bitmap.
    int Finish(CDC* reference, HBITMAP bitmap, int width, int height);
};
