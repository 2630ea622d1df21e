// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CTimeZone: the standard time offset at a longitude and latitude, read from a colour-coded
/// world map of the time zones that the library carries as a metafile resource.
#include <utility>
#include <vector>

#include "draw/MemoryDIBTz.h"

/// Looks up the standard time offset of a place on the built-in time-zone map.
class ZCMCOM_API CTimeZone {
public:
    CTimeZone();
    virtual ~CTimeZone();
    CTimeZone(const CTimeZone&) = delete;
    CTimeZone& operator=(const CTimeZone&) = delete;

    /// Renders the map (720 x 360 pixels, half a degree each) once; window is the reference
    /// for the bitmap's DC and may be null. Without the resource the map stays black.
    void Create(CWnd* window);
    /// Offset from UTC in hours; 0.0 when unknown (no map, no zone colour, off the map).
    double GetTimeZone(double longitude, double latitude);
    /// The same on one map rendered on first use and shared by the whole process, for
    /// callers that only look up; safe from any thread.
    static double GetSharedTimeZone(double longitude, double latitude);

    /// The map's colours: each zone's offset (hours) and its colour (0xRRGGBB).
    static std::vector<std::pair<double, unsigned>> Legend();
    /// The longitudes of the map's left and right edges (degrees east; the map runs from
    /// 90 N at the top to 90 S at the bottom).
    /// @{
    static constexpr double kWest = -22.5, kEast = 337.5;
    /// @}

    /// The rendered map, for writing it out or looking at it.
    CMemoryDIBTz* GetMap() { return &m_map; }

protected:
    CMemoryDIBTz m_map;       ///< the rendered map
    RECT m_rect{0, 0, 0, 0};  ///< the map's area in pixels
};
