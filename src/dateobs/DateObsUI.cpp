// SPDX-License-Identifier: LGPL-3.0-or-later
// CZVDateObs edits from the user interface: date and time (with time locks), site, body,
// magnitude limit, and the star catalogue questions.
#include <cmath>

#include "dateobs/DateObs.h"
#include "dateobs/DateObsUtil.h"
#include "platform/MessageBox.h"

namespace {

// The Julian Days the planetarium can show.
const double kFirstJd = -34803211.5;
const double kLastJd = 38245309.5;

const wchar_t kSetTime[] = L"Time = UT(%d, %d, %d, %d, %d, %d); Show Sky";

CString TimeStatement(const wchar_t* format, const tagADATE& t, int second) {
    CString s;
    s.Format(format, t.year, t.month, t.day, t.hour, t.minute, second);
    return s;
}

int CutSeconds(const tagADATE& t) { return zvdateobs::CutToInt(t.second); }
int NearestSeconds(const tagADATE& t) { return zvdateobs::CutToInt(std::floor(t.second + 0.5)); }

bool IsLeapYear(int year) {
    // Julian calendar up to 1582, Gregorian from 1583; year % 4 also holds below zero.
    if (year <= 1582) return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// A span whose length in days is beyond anything the planetarium can show, or not a number:
// it is dropped before the date arithmetic sees it.
bool IsAbsurdSpan(const tagSPAN& span) {
    const double days = span.years * 365.25 + span.months * 30.6 + span.days + span.hours / 24.0 +
                        span.minutes / 1440.0 + span.seconds / 86400.0;
    return !std::isfinite(days) || std::fabs(days) > 2.0 * (kLastJd - kFirstJd);
}

// A record the calendar arithmetic can take: finite seconds and zone, a year well inside the
// int range (the era swap and the arithmetic add to it).
bool IsWorkable(const tagADATE& t) {
    return std::isfinite(t.second) && std::isfinite(t.timezone) && t.year > -100000000 &&
           t.year < 100000000;
}

// The stored date as a starting point for calendar arithmetic: workable, with a real month
// and day (an answer the host's time pattern did not fit may leave them at 0).
bool IsWorkableCalendarDate(const tagADATE& t) {
    return IsWorkable(t) && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31;
}

// Limiting magnitudes of the star catalogues by code; row 0 is the unknown catalogue (-1).
struct CATALOG_LIMIT {
    double plain;
    double withSwitch;
};
const CATALOG_LIMIT kCatalogLimits[] = {
    {-9.9, -9.9}, {14.1, -9.9}, {17.3, 17.3}, {15.2, 15.2}, {15.4, 15.4}, {25.0, 25.0},
};

double CatalogLimit(int code, bool withSwitch) {
    const CATALOG_LIMIT& row = kCatalogLimits[code >= 1 && code <= 5 ? code : 0];
    return withSwitch ? row.withSwitch : row.plain;
}

}  // namespace

int CZVDateObs::IsDateInRange(tagADATE* date) {
    if (!date || !IsWorkable(*date)) return 0;
    const double jd = GetJd(date);
    return jd >= kFirstJd && jd <= kLastJd ? 1 : 0;
}

int CZVDateObs::CheckInvalidMonthDate(tagADATE* date) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!date || date->month < 1 || date->month > 12 || date->day < 0) return 0;
    int last = kDays[date->month - 1];
    if (date->month == 2 && IsLeapYear(date->year)) last = 29;
    if (date->day > last) date->day = last;
    // The days the calendar reform dropped: 4 October 1582 was followed by the 15th.
    if (date->year == 1582 && date->month == 10) {
        if (date->day >= 5 && date->day <= 9)
            date->day = 4;
        else if (date->day >= 10 && date->day <= 14)
            date->day = 15;
    }
    return 1;
}

int CZVDateObs::TurnOffSpecialTime(int kind, tagADATE* date) {
    // Only the calendar date changes: the lock can stay. Without a record, ask.
    if (!m_bTimeLocked || (date && date->hour == m_Date.hour && date->minute == m_Date.minute &&
                           date->second == m_Date.second))
        return 1;
    m_nSpecialTime = 1;
    int result = 0;
    const UINT text = kind ? IDS_ZVDATEOBS_TURN_OFF_LOCK_KIND : IDS_ZVDATEOBS_TURN_OFF_LOCK;
    if (AfxMessageBox(text, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        Send(L"Time.Lock = FALSE; Show Zentar");
        m_bTimeLocked = 0;
        result = 1;
    }
    m_nSpecialTime = 0;
    return result;
}

bool CZVDateObs::ConfirmTimeChange(tagADATE* date) {
    return m_nSpecialTime == 1 || TurnOffSpecialTime(0, date) != 0;
}

void CZVDateObs::CommitDate(const tagADATE& date, const CString& statement) {
    m_Date = date;
    Send(statement);
    m_nForceUpdate |= UPDATE_DATE | UPDATE_MAG;
}

void CZVDateObs::UpdateDateByUI(tagSPAN* span, int mode) {
    if (!span || IsAbsurdSpan(*span) || !IsWorkableCalendarDate(m_Date)) return;
    tagADATE t = m_Date;
    ChangeTimezone(&t, m_dUserTz);
    ChangeDate(&t, span, mode);
    ChangeTimezone(&t, 0.0);
    if (!IsDateInRange(&t) || !ConfirmTimeChange(&t)) return;
    CommitDate(t, TimeStatement(kSetTime, t, CutSeconds(t)));
}

bool CZVDateObs::PrepareUserDate(tagADATE* t) {
    if (t->month == 0) t->month = 1;
    if (t->day == 0) t->day = 1;
    if (!IsWorkable(*t) || !CheckInvalidMonthDate(t)) return false;
    ChangeTimezone(t, 0.0);
    return IsDateInRange(t) && ConfirmTimeChange(t);
}

void CZVDateObs::UpdateDateByUI(tagADATE* date) {
    if (!date) return;
    tagADATE t = *date;
    if (!PrepareUserDate(&t)) return;
    CommitDate(t, TimeStatement(kSetTime, t, NearestSeconds(t)));
}

void CZVDateObs::UpdateDateByUI(tagADATE* date, int lockKind, int offset) {
    static const wchar_t* const kLockStatements[] = {
        L"Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; "
        L"Time.Lock.Offset = %d; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; "
        L"Time.Lock.Offset = %d; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; "
        L"Time.Lock.Offset = %d; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; "
        L"Time.Lock.Offset = %d; Show Sky",
    };
    if (!date) return;
    tagADATE t = *date;
    if (!PrepareUserDate(&t)) return;
    m_Date = t;
    Send(TimeStatement(L"Time.Lock = FALSE; Time = UT(%d, %d, %d, %d, %d, %d)", t, CutSeconds(t)));
    CString lock;
    if (lockKind >= 0 && lockKind <= 4) lock.Format(kLockStatements[lockKind], offset);
    Send(lock);
    m_nForceUpdate |= UPDATE_DATE | UPDATE_MAG;
}

void CZVDateObs::SwapADBCByUI() {
    if (!IsWorkableCalendarDate(m_Date)) return;
    tagADATE t = m_Date;
    ChangeTimezone(&t, m_dUserTz);
    t.year = 1 - t.year;
    ChangeTimezone(&t, 0.0);
    if (!IsDateInRange(&t) || !ConfirmTimeChange(&t)) return;
    CommitDate(t, TimeStatement(kSetTime, t, CutSeconds(t)));
}

void CZVDateObs::UpdateDateDisp(DWORD mask) {
    Notify(ZVDATEOBS_MSG_DATE_DISP, static_cast<WPARAM>(~mask & 0xFu), 0);
}

void CZVDateObs::UpdateObs(double lon, double lat, double height, double tz) {
    CString s;
    s.Format(L"Location.Longitude = %.8f; Location.Latitude = %.8f; Location.Altitude = %.1f", lon,
             lat, height);
    Send(s);
    m_dTz = tz;
    m_dUserTz = tz;
    s.Format(L"Time.Timezone = %f ; Show Zentar", m_dTz);
    Send(s);
    m_aLocation[m_nLocationObject] = SITE{lat, lon, height};
    m_nForceUpdate |= UPDATE_ALL;
}

void CZVDateObs::UpdateObsByUI(double lon, double lat, double height) {
    if (height == KEEP_HEIGHT) height = m_aLocation[m_nLocationObject].height;
    if (!std::isfinite(lon) || !std::isfinite(lat) || !std::isfinite(height)) return;
    UpdateObs(lon, lat, height, MapZoneOfSite(lon, lat));
}

void CZVDateObs::UpdateObsByUI(double lon, double lat, double height, double tz) {
    if (!std::isfinite(lon) || !std::isfinite(lat) || !std::isfinite(height) || !std::isfinite(tz))
        return;
    UpdateObs(lon, lat, height, tz);
}

void CZVDateObs::UpdateLocationObjectByUI(int code, int bRedraw) {
    if (!IsValidCode(code)) return;
    m_nLocationObject = code;
    const CString name = ObjNumToName(code);
    const SITE& site = m_aLocation[code];
    const bool earth = code == LOCATION_EARTH;
    CString s;
    s.Format(
        earth ? L"Location = %s; Location = Location(%f, %f, %f)" : L"Location = %s(%f, %f, %f)",
        name, site.longitude, site.latitude, site.height);
    Send(s);
    m_dTz = earth ? MapZoneOfSite(site.longitude, site.latitude) : 0.0;
    m_nTimeSys = earth ? 0 : 1;
    m_dUserTz = m_dTz;
    s.Format(bRedraw ? L"Time.Timezone = %f ; Show Zentar" : L"Time.Timezone = %f", m_dTz);
    Send(s);
    m_nForceUpdate |= UPDATE_ALL;
}

void CZVDateObs::UpdateMagByUI(double mag) {
    m_dMag = mag;
    CString s;
    s.Format(Ask(L"? Star.AutoMagnitudeLimit") == L"TRUE"
                 ? L"Star.AutoMagnitudeLimit.Minimum = %f"
                 : L"Star.FixedMagnitudeLimit.Minimum = %f",
             m_dMag);
    s += L" ; Show Zentar";
    Send(s);
    m_nForceUpdate |= UPDATE_MAG;
}

int CZVDateObs::GetStarCatalog(const CString& name) {
    static const struct {
        const wchar_t* name;
        int code;
    } kCatalogs[] = {{L"Hipparcos", 1}, {L"GSC-ACT", 2}, {L"GSCACT", 2}, {L"Tycho", 3},
                     {L"Tycho2", 4},    {L"Tycho-2", 4}, {L"USNOA20", 5}};
    for (const auto& c : kCatalogs)
        if (name.CompareNoCase(c.name) == 0) return c.code;
    return -1;
}

void CZVDateObs::GetStarCatalogInfo(int* pCatalog, int* pSwitch, int* pSwitchCatalog,
                                    double* pMagLimit) {
    const int catalog = GetStarCatalog(Ask(L"? Star.Catalog"));
    const int switchOn = Ask(L"? Star.Catalog.Switch") == L"TRUE" ? 1 : 0;
    const int switchCatalog = GetStarCatalog(Ask(L"? Star.Catalog.Switch.Catalog"));
    if (pCatalog) *pCatalog = catalog;
    if (pSwitch) *pSwitch = switchOn;
    if (pSwitchCatalog) *pSwitchCatalog = switchCatalog;
    if (pMagLimit)
        *pMagLimit = switchOn ? CatalogLimit(switchCatalog, true) : CatalogLimit(catalog, false);
}

int CZVDateObs::GetCurrentMagLimit(double* pCatalogLimit, double* pFixedLimit) {
    const int automatic = Ask(L"? Star.AutoMagnitudeLimit") == L"TRUE" ? 1 : 0;
    double catalogLimit = 0.0;
    GetStarCatalogInfo(nullptr, nullptr, nullptr, &catalogLimit);
    const double fixed = automatic ? -2.0 : AskNumber(L"? Star.FixedMagnitudeLimit.Maximum");
    if (pCatalogLimit) *pCatalogLimit = catalogLimit;
    if (pFixedLimit) *pFixedLimit = fixed;
    return automatic;
}

void CZVDateObs::InitFlg() {
    m_nSpecialTime = 0;
    m_bTimeLocked = 0;
}
