#pragma once
/// @file
/// CZVDateObs: the application's copy of the planetarium's date, time, time zone, observing
/// site and star magnitude limit. It reads the planetarium's state, tells the calling
/// thread's main window what changed (message 0x725, and 0x727 for date fields), answers
/// time questions in several zones, and writes the user's edits back as script statements.
#include "draw/TimeZone.h"
#include "host/CorZnt.h"
#include "zvacl/zvacl.h"

// Window messages sent to the calling thread's main window.
#define ZVDATEOBS_MSG_UPDATED 0x725     // lParam: change mask (1 date, 2 site, 4 magnitude)
#define ZVDATEOBS_MSG_DATE_DISP 0x727   // wParam: (~mask) & 0xF

// String resources of the application: the questions asked before a time lock is released.
#define IDS_ZVDATEOBS_TURN_OFF_LOCK_KIND 23001
#define IDS_ZVDATEOBS_TURN_OFF_LOCK 23002

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

    tagADATE GetADate() const { return m_Date; }
    double GetMoonAge() const { return m_dMoonAge; }
    double GetTz() const { return m_dTz; }
    double GetUserTz() const { return m_dUserTz; }
    void SetUserTz(double tz) { m_dUserTz = tz; }
    double GetMag() const { return m_dMag; }
    int GetTimeSys() const { return m_nTimeSys; }
    void SetTimeSys(int timeSys) { m_nTimeSys = timeSys; }
    int GetLocationObject() const { return m_nLocationObject; }
    int IsTimeLocked() const { return m_bTimeLocked; }
    void SetTimeLocked(int locked) { m_bTimeLocked = locked; }

    /// Site of the current body, or of body `code` (0 for a code outside 0 to 14).
    double GetLatitude() const { return GetLatitude(m_nLocationObject); }
    double GetLatitude(int code) const;
    double GetHeight() const { return GetHeight(m_nLocationObject); }
    double GetHeight(int code) const;

    /// 1 for the Moon, Mercury to Mars and the dwarf planets; 0 otherwise.
    int IsSmallObject(int code) const;
    /// The planetarium's path of the body; empty for a code outside 0 to 14.
    CString ObjNumToName(int code) const;

    /// Time queries. The times are m_Date converted to a zone and rounded to the nearest
    /// second; several of them record that zone in m_dUserTz.
    void GetLST(int* y, int* mo, int* d, int* h, int* mi, int* s);
    void GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s);
    void GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s, double tz);
    void GetUT(int* y, int* mo, int* d, int* h, int* mi, int* s, int bSetUser);
    void GetLMT(int* y, int* mo, int* d, int* h, int* mi, int* s);
    void GetLMT(int* y, int* mo, int* d, int* h, int* mi, double* s);
    void GetUTDate(int* y, int* mo, double* day);
    void GetST(int* h, int* m, int* s);
    void GetJD(double* jd);
    void GetMJD(double* mjd);
    /// East longitudes up to 180 then negative on the Earth and the Moon; [0, 360) elsewhere.
    double GetLongitude() const { return GetLongitude(m_nLocationObject); }
    double GetLongitude(int code) const;
    double GetLMTTz() const { return GetLMTTz(GetLongitude()); }
    double GetLMTTz(double lon) const { return lon / 15.0; }
    /// The zone of the world time-zone map at a point; 0 where the map knows none.
    double GetTimezone(double lon, double lat);

    /// Edits from the user interface: each is checked, stored, sent to the planetarium and
    /// marked so that the next UpdateByCorZnt reports it.
    void UpdateDateByUI(tagSPAN* span, int mode);
    void UpdateDateByUI(tagADATE* date);
    void UpdateDateByUI(tagADATE* date, int lockKind, int offset);
    void SwapADBCByUI();
    void UpdateDateDisp(DWORD mask);
    /// Offers to release a time lock before the time of day changes; 0 when declined.
    int TurnOffSpecialTime(int kind, tagADATE* date);
    void UpdateObsByUI(double lon, double lat, double height);
    void UpdateObsByUI(double lon, double lat, double height, double tz);
    void UpdateLocationObjectByUI(int code, int bRedraw);
    void UpdateMagByUI(double mag);
    void GetStarCatalogInfo(int* pCatalog, int* pSwitch, int* pSwitchCatalog, double* pMagLimit);
    int GetCurrentMagLimit(double* pCatalogLimit, double* pFixedLimit);
    void InitFlg();

protected:
    /// Reads "? Location"; 1 when the body changed.
    int GetCurrentLocation();
    int IsDateInRange(tagADATE* date);
    /// Pulls a day past the month's end back into the month; 0 for a month outside 1 to 12
    /// or a negative day.
    int CheckInvalidMonthDate(tagADATE* date);
    int GetStarCatalog(const CString& name);
    int IsEqualMag(double a, double b);

    struct SITE {
        double latitude;
        double longitude;
        double height;
    };

    tagADATE m_Date;
    double m_dMoonAge;
    int m_nLocationObject;
    SITE m_aLocation[LOCATION_COUNT];
    CTimeZone m_TimeZone;
    double m_dTz;
    int m_nTimeSys;
    double m_dUserTz;
    double m_dMag;
    CCorZnt* m_pCorZnt;
    int m_nForceUpdate;
    int m_nSpecialTime;
    int m_bTimeLocked;

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
