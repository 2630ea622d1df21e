// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CStellariumHost: a real planetarium behind the library. It talks to a running
/// Stellarium through its remote-control HTTP interface and answers the library's
/// queries and statements as the built-in sky (CSkyHost) does, so the click texts and
/// CZVDateObs work unchanged against it.
///
/// Objects are read with one /api/objects/info call per object and instant, cached until
/// the instant or the site changes; what Stellarium does not give (B1950 places, rise,
/// transit and set as Julian Days, azimuth from the south, ...) is derived from what it
/// gives. Statements (time, zone, site, magnitude limits) drive Stellarium and return
/// only once its sky shows the new state, so the next query never sees the old one.
///
/// A Stellarium that cannot be reached, answers an HTTP error, does not give its whole
/// answer within the time-out or gives more than 4 MB, and any other failure inside the
/// adapter (a URL other than http://, an answer that is no JSON) raise
/// COleDispatchException naming the URL, as a failed automation call does; the next call
/// tries again. A JSON field of another type than Stellarium's is a missing answer.
#include <memory>

#include "host/CorZnt.h"

/// A running Stellarium as the planetarium host, through its remote-control HTTP interface.
class ZCMCOM_API CStellariumHost : public CCorZnt {
public:
    /// Talks to the remote control at url ("http://host:port"); each request, from
    /// connecting to the last byte of the answer, may take up to timeoutSeconds. Nothing is
    /// sent before the first command.
    explicit CStellariumHost(const CString& url = _T("http://127.0.0.1:8090"),
                             double timeoutSeconds = 2.0);
    ~CStellariumHost() override;
    CStellariumHost(const CStellariumHost&) = delete;
    CStellariumHost& operator=(const CStellariumHost&) = delete;

    /// Queries ("? Solar.Planet.Mars.position.RA") and statements ("Time = UT(...)")
    /// as CSkyHost takes them.
    CString Execute(LPCTSTR command) override;

    /// The library's object path of Stellarium's current selection ("Solar.Planet.Mars",
    /// "Star.HIP.32349", "DeepSkyObject.NGC.1976", ...); empty when nothing is selected.
    CString SelectedPath();
    /// Selects an object in Stellarium by a library path or by a name Stellarium knows
    /// ("Sirius", "M42"); returns the object's library path, empty when Stellarium does
    /// not know it.
    CString Select(const CString& nameOrPath);

    /// The base URL, as given.
    CString GetUrl() const;
    /// Stellarium's current instant (Julian Day, UT).
    double GetJd();
    /// The zone the clock answers use (hours east of UT): the one a statement set, else
    /// Stellarium's own.
    double GetTimezone();
    /// Forgets every cached answer; the next query reads Stellarium again.
    void Invalidate();
    /// How long the host trusts Stellarium's clock between reads while nobody changes it
    /// through this object (seconds; 0: read it for every query). Default 0.5.
    void SetClockPeriod(double seconds);

private:
    CString Query(const CString& canonical);
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
