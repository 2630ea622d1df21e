// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CZVDateObs: the application's copy of the planetarium's date, time, time zone, observing
/// site and star magnitude limit. It reads the planetarium's state, tells the calling
/// thread's main window what changed (message 0x725, and 0x727 for date fields), answers
/// time questions in several zones, and writes the user's edits back as script statements.
#include "draw/TimeZone.h"
#include "host/CorZnt.h"
#include "zvacl/zvacl.h"

/// Window message to the calling thread's main window: the planetarium's state changed;
/// lParam is the change mask (1 date, 2 site, 4 magnitude).
#define ZVDATEOBS_MSG_UPDATED 0x725
/// Window message to the calling thread's main window: redraw the date fields; wParam is
/// (~mask) & 0xF.
#define ZVDATEOBS_MSG_DATE_DISP 0x727

/// String resource of the application: the question asked before a time lock of a kind is
/// released.
#define IDS_ZVDATEOBS_TURN_OFF_LOCK_KIND 23001
/// String resource of the application: the question asked before a time lock is released.
#define IDS_ZVDATEOBS_TURN_OFF_LOCK 23002

/// The planetarium's date, time, zone, site and magnitude limit, mirrored for the
/// application. The date is kept in UT.
class ZCMCOM_API CZVDateObs {
public:
    /// Location object codes: the body on whose surface the observer stands.
    enum { LOCATION_COUNT = 15, LOCATION_EARTH = 4, LOCATION_MOON = 1 };
    /// Bits of the change mask and of m_nForceUpdate.
    enum { UPDATE_DATE = 1, UPDATE_SITE = 2, UPDATE_MAG = 4, UPDATE_ALL = 7 };
    /// UpdateObsByUI: this height keeps the stored one.
    static constexpr double KEEP_HEIGHT = -10000000.0;

    CZVDateObs();
    virtual ~CZVDateObs();
    CZVDateObs(const CZVDateObs&) = delete;
    CZVDateObs& operator=(const CZVDateObs&) = delete;

    /// Attaches the planetarium and reads its whole state. The host is not owned.
    void SetpCorZnt(CCorZnt* pHost);
    /// Re-reads the planetarium and reports the parts that changed; nothing without a host.
    void UpdateByCorZnt();

    /// The date and time, in UT (time zone 0).
    tagADATE GetADate() const { return m_Date; }
    /// The Moon's age in days, as the planetarium gave it.
    double GetMoonAge() const { return m_dMoonAge; }
    /// The planetarium's time zone, hours east of Greenwich.
    double GetTz() const { return m_dTz; }
    /// The zone the user last viewed the time in, hours east.
    double GetUserTz() const { return m_dUserTz; }
    /// Sets the user's zone, hours east.
    void SetUserTz(double tz) { m_dUserTz = tz; }
    /// The faint magnitude limit of the stars.
    double GetMag() const { return m_dMag; }
    /// The time system shown: 0 on the Earth, 1 on other bodies (universal time).
    int GetTimeSys() const { return m_nTimeSys; }
    /// Sets the time system shown.
    void SetTimeSys(int timeSys) { m_nTimeSys = timeSys; }
    /// The code of the body the observer stands on.
    int GetLocationObject() const { return m_nLocationObject; }
    /// 1 while the planetarium's time is locked to a rise or set.
    int IsTimeLocked() const { return m_bTimeLocked; }
    /// Sets the time lock flag (the planetarium is not told).
    void SetTimeLocked(int locked) { m_bTimeLocked = locked; }

    /// Latitude in degrees of the site on the current body.
    double GetLatitude() const { return GetLatitude(m_nLocationObject); }
    /// Latitude in degrees of the site on body code (0 for a code outside 0 to 14).
    double GetLatitude(int code) const;
    /// Height in metres of the site on the current body.
    double GetHeight() const { return GetHeight(m_nLocationObject); }
    /// Height in metres of the site on body code (0 for a code outside 0 to 14).
    double GetHeight(int code) const;

    /// 1 for the Moon, Mercury to Mars and the dwarf planets; 0 otherwise.
    int IsSmallObject(int code) const;
    /// The planetarium's path of the body; empty for a code outside 0 to 14.
    CString ObjNumToName(int code) const;

    /// @name Time queries
    /// The times are m_Date converted to a zone and rounded to the nearest second; several
    /// of them record that zone in m_dUserTz. Null output pointers are skipped.
    /// @{

    /// Date and time in the planetarium's zone (local standard time).
    void GetLST(int* y, int* mo, int* d, int* h, int* mi, int* s);
    /// Date and time in the user's zone.
    void GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s);
    /// Date and time in zone tz (hours east), which becomes the user's zone.
    void GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s, double tz);
    /// Date and time in UT; with bSetUser, UT becomes the user's zone.
    void GetUT(int* y, int* mo, int* d, int* h, int* mi, int* s, int bSetUser);
    /// Date and time in local mean time of the site's longitude, which becomes the user's
    /// zone.
    void GetLMT(int* y, int* mo, int* d, int* h, int* mi, int* s);
    /// The same with the seconds unrounded, fraction kept.
    void GetLMT(int* y, int* mo, int* d, int* h, int* mi, double* s);
    /// The UT date, the day with its fraction; UT becomes the user's zone.
    void GetUTDate(int* y, int* mo, double* day);
    /// The planetarium's sidereal time as hours, minutes and seconds (rounded); 0 when the
    /// answer is no number.
    void GetST(int* h, int* m, int* s);
    /// The Julian Day (UT).
    void GetJD(double* jd);
    /// The Modified Julian Day (JD - 2400000.5).
    void GetMJD(double* mjd);
    /// @}

    /// Longitude in degrees of the site on the current body: east longitudes up to 180
    /// then negative on the Earth and the Moon; [0, 360) elsewhere.
    double GetLongitude() const { return GetLongitude(m_nLocationObject); }
    /// The same for body code (0 for a code outside 0 to 14).
    double GetLongitude(int code) const;
    /// The local mean time zone of the site, hours east (longitude / 15).
    double GetLMTTz() const { return GetLMTTz(GetLongitude()); }
    /// The local mean time zone of a longitude in degrees, hours east.
    double GetLMTTz(double lon) const { return lon / 15.0; }
    /// The zone of the world time-zone map at a point; 0 where the map knows none.
    double GetTimezone(double lon, double lat);

    /// Edits from the user interface: each is checked, stored, sent to the planetarium and
    /// marked so that the next UpdateByCorZnt reports it.
    /// Moves the date by span, counted in the user's zone (mode as for ChangeDate).
    void UpdateDateByUI(tagSPAN* span, int mode);
    /// Sets the date and time, given in the record's own zone.
    void UpdateDateByUI(tagADATE* date);
    /// The same, then locks the time: lockKind 0 none, 1 rise and 2 set offset by minutes,
    /// 3 rise and 4 set offset by degrees; offset in those units.
    void UpdateDateByUI(tagADATE* date, int lockKind, int offset);
    /// Switches the year between the eras (year y becomes 1 - y), in the user's zone.
    void SwapADBCByUI();
    /// Asks the main window to redraw the date fields of mask.
    void UpdateDateDisp(DWORD mask);
    /// Offers to release a time lock before the time of day changes; 0 when declined.
    int TurnOffSpecialTime(int kind, tagADATE* date);
    /// Sets the site (degrees, east longitude; height in metres, or KEEP_HEIGHT) with the
    /// zone of the time-zone map there; ignored when a value is not finite.
    void UpdateObsByUI(double lon, double lat, double height);
    /// The same with the zone tz (hours east) given.
    void UpdateObsByUI(double lon, double lat, double height, double tz);
    /// Moves the observer to body code at its stored site; bRedraw also redraws the sky.
    /// Ignored for a code outside 0 to 14.
    void UpdateLocationObjectByUI(int code, int bRedraw);
    /// Sets the faint magnitude limit of the stars.
    void UpdateMagByUI(double mag);
    /// The planetarium's star catalogue code (1 Hipparcos, 2 GSC-ACT, 3 Tycho, 4 Tycho-2,
    /// 5 USNO-A2.0, -1 unknown), whether it switches to a second catalogue, that catalogue,
    /// and the magnitude limit in force. Null pointers are skipped.
    void GetStarCatalogInfo(int* pCatalog, int* pSwitch, int* pSwitchCatalog, double* pMagLimit);
    /// 1 when the magnitude limit follows the field automatically, else 0; the catalogue's
    /// limit and the fixed limit (-2 when automatic) in the pointers given.
    int GetCurrentMagLimit(double* pCatalogLimit, double* pFixedLimit);
    /// Clears the time lock flags.
    void InitFlg();

protected:
    /// Reads "? Location"; 1 when the body changed.
    int GetCurrentLocation();
    /// 1 when the date lies within the range the planetarium accepts.
    int IsDateInRange(tagADATE* date);
    /// Pulls a day past the month's end back into the month; 0 for a month outside 1 to 12
    /// or a negative day.
    int CheckInvalidMonthDate(tagADATE* date);
    /// The catalogue code of a catalogue name (see GetStarCatalogInfo), -1 when unknown.
    int GetStarCatalog(const CString& name);
    /// 1 when the magnitudes agree to the first decimal.
    int IsEqualMag(double a, double b);

    /// An observing site on one body.
    struct SITE {
        double latitude;   ///< degrees
        double longitude;  ///< degrees east
        double height;     ///< metres
    };

    tagADATE m_Date;                   ///< the date and time, UT
    double m_dMoonAge;                 ///< days
    int m_nLocationObject;             ///< the body the observer stands on
    SITE m_aLocation[LOCATION_COUNT];  ///< the site on each body
    double m_dTz;                      ///< the planetarium's zone, hours east
    int m_nTimeSys;                    ///< see GetTimeSys
    double m_dUserTz;                  ///< the user's zone, hours east
    double m_dMag;                     ///< the faint magnitude limit
    CCorZnt* m_pCorZnt;                ///< the planetarium, not owned
    int m_nForceUpdate;                ///< UPDATE_ bits the next UpdateByCorZnt reports
    int m_nSpecialTime;                ///< 1 while the release of a time lock is asked
    int m_bTimeLocked;                 ///< 1 while the time is locked

private:
    /// Planetarium traffic; both do nothing (and answer empty) without a host.
    CString Ask(const wchar_t* query);
    void Send(const CString& statement);
    double AskNumber(const wchar_t* query);
    /// Reads "? UT(time)" into *date; fields the answer does not reach keep their values.
    void ReadHostTime(const wchar_t* query, tagADATE* date);
    void Notify(UINT message, WPARAM wParam, LPARAM lParam);
    SITE* Site(int code);
    const SITE* Site(int code) const;
    /// The zone of the Earth map for the site, longitude taken into 0 to 360.
    double MapZoneOfSite(double lon, double lat);
    /// m_Date in zone tz, plus half a second (nearest-second form).
    tagADATE RoundedIn(double tz) const;
    /// The special-time check and the commit of a new UT date.
    bool ConfirmTimeChange(tagADATE* date);
    /// A date and time from the user, in its own zone: corrected, taken to UT, checked and
    /// confirmed. False when the edit is to be dropped.
    bool PrepareUserDate(tagADATE* date);
    void CommitDate(const tagADATE& date, const CString& statement);
    void UpdateObs(double lon, double lat, double height, double tz);
    static bool IsValidCode(int code) { return code >= 0 && code < LOCATION_COUNT; }
};
