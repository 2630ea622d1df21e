// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CSkyHost: a planetarium host that computes its answers itself, so the click texts and
/// the date-and-observer object work with no planetarium installed. It keeps an instant,
/// a time zone, an observing site and the magnitude limits, answers the queries of the
/// click-data builders and of CZVDateObs (names matched without regard to case), and
/// accepts their statements ("Time = UT(...)", "Location.Longitude = ...", time locks).
///
/// It knows the Sun, the Moon, the planets and Pluto (DE405 over 1960-2060, libnova's
/// theories within their spans elsewhere, reduced to the apparent and topocentric place),
/// the stars, constellations and Messier objects of the bundled catalogue (see
/// LoadCatalog), and any point of the sky ("Equatorial" and "ClickData.Mark" name the
/// point set with SetMark). A property it does not know answers
/// empty, as the planetarium does; a known property without a value now answers "*".
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/CorZnt.h"

namespace sky {
class Catalog;
class Source;
struct Context;
}  // namespace sky

/// The built-in sky as a planetarium host; see the notes above. Execute takes a query
/// ("? Solar.Planet.Mars.position.RA") or a statement; the setters below change the same
/// state directly. One host serves one thread.
class ZCMCOM_API CSkyHost : public CCorZnt {
public:
    /// Starts at the given instant (UT Julian Day), at the default site: the one stored in
    /// the registry (SaveSite), else Tokyo (139.745 E, 35.654 N, 40 m, zone +9).
    explicit CSkyHost(double jdUt);
    /// Starts at the current time of the system clock.
    CSkyHost();
    ~CSkyHost() override;
    /// Back to the state of a host newly made with CSkyHost(jdUt): its site and zone,
    /// settings, time lock and mark, no statements, and only the bundled catalogue (what
    /// LoadCatalog read is dropped; the host keeps its copy of the bundled one). For callers
    /// that run many independent sessions, such as the fuzzers, without a new host each.
    void Reset(double jdUt);

    CString Execute(LPCTSTR command) override;

    /// The instant, a UT Julian Day. Setting it drops the places computed for the old one.
    /// @{
    void SetJd(double jdUt);
    double GetJd() const { return m_jd; }
    /// @}
    /// The observing site on the Earth: east longitude, latitude (degrees), height (m).
    void SetSite(double longitude, double latitude, double height);
    /// Fixes the zone's offset from UTC (hours, east positive) and stops following an IANA
    /// zone.
    void SetTimezone(double hours);
    /// The default site, kept like the planetarium's other settings under the registry key
    /// "Default" as the text values "Location.Longitude", "Location.Latitude" and
    /// "Location.Altitude" (degrees east, degrees north, metres). LoadSite moves the host
    /// to the stored site, with the zone the world time-zone map gives there, and returns
    /// false (changing nothing) when no valid site is stored; a missing height counts as 0.
    /// SaveSite stores the current site on the Earth; false when the registry refuses it.
    /// @{
    bool LoadSite();
    bool SaveSite() const;
    /// @}
    /// The standard zone of a site on the Earth by the world time-zone map (hours).
    static double ZoneAt(double longitude, double latitude);
    /// The site's IANA zone ("America/Chicago"): the nearest town of data/tztowns.txt whose
    /// standard offset agrees with the map; empty when none is near.
    static CString ZoneNameAt(double longitude, double latitude);
    /// Follow an IANA zone of the system's tz database: the zone's offset at the instant,
    /// daylight saving included, becomes the host's and changes with the instant. False
    /// (nothing changed) for a zone the database lacks; empty: keep the offset fixed.
    /// SetTimezone and LoadSite's map zone fix the offset again; LoadSite then follows the
    /// stored site's zone.
    bool SetZoneName(const CString& name);
    /// The IANA zone followed (empty: the offset is fixed), and the offset in hours now in
    /// force.
    /// @{
    CString GetZoneName() const { return m_zoneName; }
    double GetTimezone() const { return m_tz; }
    /// @}
    /// The clicked point answered under "Equatorial" and "ClickData.Mark" (J2000, RA in
    /// hours, Dec in degrees).
    void SetMark(double raHours, double decDeg);

    /// Reads a star, constellation and deep-sky catalogue (the compact text that
    /// tools/skydata makes) in addition to what is loaded. Returns the number of records
    /// read; 0 when the file cannot be read. The constructors load the bundled one
    /// (DefaultCatalogPath) when it is found; without any, only the solar system and bare
    /// points are known.
    int LoadCatalog(const char* path);
    /// The catalogue's file as installed or in the source tree: $ZCMCOM_SKY_DATA, else the
    /// installed data folder, else the source tree's data/ folder.
    static std::string DefaultCatalogPath();

    /// The statements received so far, in order (each part of a "; " chain on its own).
    const std::vector<CString>& Statements() const { return m_statements; }
    /// The time lock the statements set: locked, to a rising (1) or setting (2), offset in
    /// minutes (bByDegree 0) or degrees (1).
    struct TimeLock {
        int locked = 0;    ///< 1 while the time is locked
        int event = 0;     ///< 1 a rising, 2 a setting
        int byDegree = 0;  ///< 0: offset in minutes, 1: in degrees
        int offset = 0;    ///< the offset from the event
    };
    /// The time lock the statements set.
    const TimeLock& GetTimeLock() const { return m_lock; }
    /// The names the host answers for: one line per object path, for listing.
    std::vector<CString> KnownObjects();

private:
    CString Query(const CString& expression);
    /// The answer to a query already in canonical form (host::CanonicalQuery).
    CString AnswerCanonical(const CString& q);
    CString QueryTime(const CString& q);
    CString QueryLocation(const CString& q);
    CString QuerySettings(const CString& q);
    /// The registered sources' answer: the Sun, the Moon and the planets, the clicked
    /// point, constellations, stars, comets, ... (sky/Source.h).
    CString QuerySources(const CString& q);
    /// What the sources are asked at: the instant, the site, the observer's body, the
    /// catalogue and the mark.
    sky::Context At();
    /// Properties derived from the other answers of the same object, for every kind
    /// (SkyDerived.cpp): constellation name, magnitude after extinction, parallactic angle,
    /// next rise/transit/set, tonight's observing window, provenance. Empty for any other.
    CString QueryDerived(const CString& q);
    /// The answers to the queries with the host moved to jdUt for the moment.
    std::vector<CString> QueryAt(double jdUt, const std::vector<CString>& queries);
    /// The next rise, transit and set of the object last asked, and where and when for
    /// (and with which mark, for the clicked point).
    struct NextEvents {
        CString path;
        double jd = 0.0, lon = 0.0, lat = 0.0, height = 0.0, markRa = 0.0, markDec = 0.0;
        double events[3] = {};
    };
    NextEvents m_next;
    void Statement(const CString& statement);
    void Changed();
    void FollowZone();  ///< the zone's offset at the instant, when a zone is followed

    double m_jd = 0.0;
    double m_tz = 9.0;
    CString m_zoneName;  ///< the IANA zone followed; empty: m_tz is fixed
    double m_lon = 139.745, m_lat = 35.654, m_height = 40.0;
    CString m_locationBody;         ///< empty: a site on the Earth
    bool m_onSurface = false;       ///< on m_locationBody's surface at the site, else at its centre
    double m_mark[2] = {0.0, 0.0};  ///< the clicked point: J2000 RA hours, Dec degrees
    double m_autoMag = 6.5, m_fixedMagMin = -2.0, m_fixedMagMax = 6.5;
    int m_autoMagLimit = 1;
    TimeLock m_lock;
    std::vector<CString> m_statements;
    /// The catalogue: the bundled one is read once per process and shared; the first
    /// LoadCatalog gives the host its own copy.
    std::shared_ptr<sky::Catalog> m_catalog;
    const sky::Catalog& Cat();
    /// The registered sources, asked after the host's own answers; made on first use. They
    /// keep the places they computed until the instant, the site or the observer changes.
    std::vector<std::unique_ptr<sky::Source>> m_sources;
    std::vector<std::unique_ptr<sky::Source>>& Sources();
};
