// SPDX-License-Identifier: LGPL-3.0-or-later
#include "draw/MemoryDC.h"

#include "platform/Exception.h"

CMemoryDC::CMemoryDC() = default;

CMemoryDC::CMemoryDC(CMemoryDC* source) {
    if (!source || source->m_width == 0 || source->m_height == 0) return;
    if (!Create(static_cast<CDC*>(source), source->m_width, source->m_height) ||
        !BitBlt(0, 0, m_width, m_height, source, 0, 0, SRCCOPY)) {
        Empty();
        AfxThrowMemoryException();
    }
}

CMemoryDC::~CMemoryDC() { Empty(); }

int CMemoryDC::Create(CWnd* window, int width, int height) {
    Empty();
    if (static_cast<long long>(width) * height == 0) return 1;
    CClientDC paint(window);
    return Finish(&paint, ::CreateCompatibleBitmap(paint.m_hDC, width, height), width, height);
}

int CMemoryDC::Create(CDC* dc, int width, int height) {
    Empty();
    if (static_cast<long long>(width) * height == 0) return 1;
    if (!dc || !dc->m_hDC) return 0;
    return Finish(dc, ::CreateCompatibleBitmap(dc->m_hDC, width, height), width, height);
}

int CMemoryDC::Create(int width, int height, unsigned bitCount, unsigned planes) {
    Empty();
    if (static_cast<long long>(width) * height == 0) return 1;
    return Finish(nullptr, ::CreateBitmap(width, height, planes, bitCount, nullptr), width, height);
}

int CMemoryDC::Finish(CDC* reference, HBITMAP bitmap, int width, int height) {
    if (!bitmap) return 0;
    m_bitmap.Attach(reinterpret_cast<HGDIOBJ>(bitmap));
    if (!CreateCompatibleDC(reference) || !SelectObject(&m_bitmap)) {
        Empty();
        return 0;
    }
    m_width = width;
    m_height = height;
    return 1;
}

void CMemoryDC::Empty() {
    DeleteDC();
    m_bitmap.DeleteObject();
    m_width = m_height = 0;
}

int CMemoryDC::FullBlt(CDC* target) { return FullBlt(target, 0, 0); }

int CMemoryDC::FullBlt(CDC* target, int x, int y) {
    if (!target) return 0;
    return target->BitBlt(x, y, m_width, m_height, this, 0, 0, SRCCOPY) ? 1 : 0;
}
