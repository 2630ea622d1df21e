// SPDX-License-Identifier: LGPL-3.0-or-later
#include "draw/TimeZone.h"

#include <cmath>
#include <mutex>

#include "platform/MetaFile.h"
#include "res/LibraryResources.h"

namespace {

struct ZoneColour {
    double offset;
    BYTE red, green, blue;
};

// Searched in this order; the row with offset -999 ends the table.
const ZoneColour kZones[] = {
    {-1, 0, 255, 255},    {0, 0, 0, 255},       {1, 255, 0, 255},      {2, 255, 0, 0},
    {3, 255, 255, 0},     {3.5, 127, 191, 127}, {4, 0, 255, 0},        {4.5, 191, 191, 127},
    {5, 0, 127, 255},     {5.5, 191, 127, 127}, {5.75, 127, 127, 191}, {6, 127, 0, 255},
    {6.5, 127, 191, 191}, {7, 255, 0, 127},     {8, 255, 127, 0},      {9, 127, 255, 0},
    {9.5, 63, 63, 63},    {10, 0, 255, 127},    {11, 0, 127, 127},     {12, 0, 0, 127},
    {13, 127, 127, 127},  {-12, 127, 255, 255}, {-11, 127, 127, 255},  {-10, 255, 127, 255},
    {-9, 255, 127, 127},  {-8, 255, 255, 127},  {-7, 127, 255, 127},   {-6, 127, 191, 255},
    {-5, 191, 127, 255},  {-4, 255, 127, 191},  {-3.5, 191, 191, 191}, {-3, 191, 255, 127},
    {-2, 127, 255, 191},  {-999.0, 0, 0, 0},
};

constexpr WORD kEscape = META_ESCAPE;

// Plays every record but the drawing program's notes.
int PlayExceptEscapes(HDC dc, HANDLETABLE* table, METARECORD* record, int objects, LPARAM) {
    if (record->rdFunction != kEscape)
        PlayMetaFileRecord(dc, table, record, static_cast<UINT>(objects));
    return 1;
}

}  // namespace

CTimeZone::CTimeZone() = default;

CTimeZone::~CTimeZone() = default;

void CTimeZone::Create(CWnd* window) {
    m_rect = RECT{0, 0, 720, 360};
    if (!m_map.Create(window, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, 24u)) return;

    HMODULE module = GetModuleHandleW(ZCMCOM_MODULE_NAME);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCE(IDR_TIMEZONE_MAP), L"METAFILE");
    if (!found) return;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, found);
    if (!ZcmReadPlaceableHeader(bytes, size, nullptr)) return;
    HMETAFILE metafile =
        SetMetaFileBitsEx(size - sizeof(PLACEABLEMETAHEADER), bytes + sizeof(PLACEABLEMETAHEADER));
    if (!metafile) return;

    CDC* dc = m_map.GetDC();
    const int saved = dc->SaveDC();
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetViewportOrg(m_rect.left - 1, m_rect.top - 1);
    dc->SetViewportExt(m_rect.right + 1, m_rect.bottom + 1);
    EnumMetaFile(dc->m_hDC, metafile, PlayExceptEscapes, 0);
    DeleteMetaFile(metafile);
    dc->RestoreDC(saved);
}

double CTimeZone::GetTimeZone(double longitude, double latitude) {
    if (!std::isfinite(longitude) || !std::isfinite(latitude)) return 0.0;
    double l = longitude;
    if (l < -22.5) l += 360;
    if (l > 337.5) l -= 360;
    const double fx = (m_rect.right - m_rect.left) * (l + 22.5) / 360;
    const double fy = (m_rect.bottom - m_rect.top) * (90 - latitude) / 180;
    // Far outside the map: no pixel (and no overflowing conversion).
    if (std::fabs(fx) > 1e6 || std::fabs(fy) > 1e6) return 0.0;
    const COLORREF c = m_map.GetDC()->GetPixel(static_cast<int>(fx), static_cast<int>(fy));
    for (const ZoneColour* z = kZones; z->offset != -999.0; ++z)
        if (c == RGB(z->red, z->green, z->blue)) return z->offset;
    return 0.0;
}

std::vector<std::pair<double, unsigned>> CTimeZone::Legend() {
    std::vector<std::pair<double, unsigned>> out;
    for (const ZoneColour* z = kZones; z->offset != -999.0; ++z)
        out.emplace_back(z->offset, static_cast<unsigned>(z->red) << 16 | z->green << 8 | z->blue);
    return out;
}

double CTimeZone::GetSharedTimeZone(double longitude, double latitude) {
    // Rendering takes milliseconds; lookups read pixels through the one DC, one at a time.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    static CTimeZone map;
    static bool drawn = false;
    if (!drawn) {
        map.Create(nullptr);
        drawn = true;
    }
    return map.GetTimeZone(longitude, latitude);
}
