// SPDX-License-Identifier: LGPL-3.0-or-later
// Any bytes as a placeable or plain metafile, played onto a small bitmap the way the
// time-zone map is (anisotropic mapping, escapes skipped).
#include <cstdint>

#include "platform/Dc.h"

namespace {
int PlaySkippingEscapes(HDC dc, HANDLETABLE* table, METARECORD* record, int objects, LPARAM) {
    if (record->rdFunction != META_ESCAPE)
        PlayMetaFileRecord(dc, table, record, static_cast<UINT>(objects));
    return 1;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ZcmReadPlaceableHeader(data, size, nullptr)) {
        data += sizeof(PLACEABLEMETAHEADER);
        size -= sizeof(PLACEABLEMETAHEADER);
    }
    HMETAFILE mf = SetMetaFileBitsEx(static_cast<UINT>(size), data);
    if (!mf) return 0;
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(72, 36, 1, 24, nullptr);
    dc.SelectObject(&bitmap);
    dc.SaveDC();
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportOrg(-1, -1);
    dc.SetViewportExt(73, 37);
    EnumMetaFile(dc.m_hDC, mf, PlaySkippingEscapes, 0);
    PlayMetaFile(dc.m_hDC, mf);
    dc.RestoreDC(-1);
    DeleteMetaFile(mf);
    return 0;
}
