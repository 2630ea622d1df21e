// SPDX-License-Identifier: LGPL-3.0-or-later
// CZVDateObs: attaching to the planetarium, refreshing from it, notifying the main window,
// and the table of bodies an observer can stand on.
#include "dateobs/DateObs.h"

#include <climits>
#include <cmath>
#include <cwctype>

#include "platform/Thread.h"

namespace {

// The planetarium's paths of the bodies, by location object code.
const wchar_t* const kBodyPaths[CZVDateObs::LOCATION_COUNT] = {
    L"Solar.Sun",
    L"Solar.Planet.Earth.Satellite.Moon",
    L"Solar.Planet.Mercury",
    L"Solar.Planet.Venus",
    L"Solar.Planet.Earth",
    L"Solar.Planet.Mars",
    L"Solar.Planet.Jupiter",
    L"Solar.Planet.Saturn",
    L"Solar.Planet.Uranus",
    L"Solar.Planet.Neptune",
    L"Solar.DwarfPlanet.Ceres",
    L"Solar.DwarfPlanet.Pluto",
    L"Solar.DwarfPlanet.Haumea",
    L"Solar.DwarfPlanet.MakeMake",
    L"Solar.DwarfPlanet.Eris",
};

// The order in which a "? Location" answer is matched: the usual sites first.
const int kMatchOrder[CZVDateObs::LOCATION_COUNT] = {4, 1, 0,  2,  3,  5,  6, 7,
                                                     8, 9, 10, 11, 12, 13, 14};

// Reads the planetarium's time answer as "%3s %2s%d/%d/%d %d:%d:%d" would: a token of up to
// three characters, white space, a two-character era marker followed at once by
// year/month/day, then hour:minute:second. Scanning stops at the first mismatch; the
// fields after it keep their values. Numbers too large for an int saturate.
class TimeScanner {
public:
    explicit TimeScanner(const wchar_t* text) : m_p(text) {}

    bool Token(int width, CString* out) {
        SkipSpace();
        CString t;
        while (*m_p && !std::iswspace(static_cast<wint_t>(*m_p)) && t.GetLength() < width)
            t += *m_p++;
        if (t.IsEmpty()) return false;
        if (out) *out = t;
        return true;
    }
    bool Int(int* out) {
        SkipSpace();
        const wchar_t* p = m_p;
        bool negative = false;
        if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
        if (*p < L'0' || *p > L'9') return false;
        long long v = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p)
            if (v <= INT_MAX) v = v * 10 + (*p - L'0');
        if (negative) v = -v;
        *out = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
        m_p = p;
        return true;
    }
    bool Literal(wchar_t ch) {
        if (*m_p != ch) return false;
        ++m_p;
        return true;
    }

private:
    void SkipSpace() {
        while (*m_p && std::iswspace(static_cast<wint_t>(*m_p))) ++m_p;
    }

    const wchar_t* m_p;
};

// Two readings differ by at least `limit`; a value turning into or out of NaN differs too.
bool Differs(double a, double b, double limit) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) != std::isnan(b);
    return std::fabs(a - b) >= limit;
}

}  // namespace

CZVDateObs::CZVDateObs()
    : m_Date{0, 0, 0, 0, 0, 0.0, 0.0},
      m_dMoonAge(0.0),
      m_nLocationObject(LOCATION_EARTH),
      m_aLocation{},
      m_dTz(0.0),
      m_nTimeSys(0),
      m_dUserTz(9.0),
      m_dMag(0.0),
      m_pCorZnt(nullptr),
      m_nForceUpdate(UPDATE_ALL),
      m_nSpecialTime(0),
      m_bTimeLocked(0) {}

CZVDateObs::~CZVDateObs() = default;

CString CZVDateObs::Ask(const wchar_t* query) {
    return m_pCorZnt ? m_pCorZnt->Execute(query) : CString();
}

void CZVDateObs::Send(const CString& statement) {
    if (m_pCorZnt) m_pCorZnt->Execute(statement);
}

double CZVDateObs::AskNumber(const wchar_t* query) { return _wtof(Ask(query)); }

void CZVDateObs::ReadHostTime(const wchar_t* query, tagADATE* date) {
    const CString answer = Ask(query);
    TimeScanner scan(answer);
    CString era;
    int f[6] = {date->year, date->month, date->day, date->hour, date->minute, 0};
    // Fields in pattern order; like scanf, stop at the first mismatch and count what was read.
    int n = 0;
    if (scan.Token(3, nullptr) && scan.Token(2, &era)) {
        const wchar_t separators[6] = {0, L'/', L'/', 0, L':', L':'};
        while (n < 6 && (!separators[n] || scan.Literal(separators[n])) && scan.Int(&f[n])) ++n;
    }
    // Year n before the era is the astronomical year 1 - n (year 0 is 1 BC).
    if (n >= 1 && era == L"BC") f[0] = f[0] == INT_MIN ? INT_MAX : 1 - f[0];
    date->year = f[0];
    date->month = f[1];
    date->day = f[2];
    date->hour = f[3];
    date->minute = f[4];
    if (n == 6) date->second = f[5];
    date->timezone = 0.0;
}

void CZVDateObs::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* wnd = AfxGetThread()->m_pMainWnd) wnd->SendMessage(message, wParam, lParam);
}

CZVDateObs::SITE* CZVDateObs::Site(int code) {
    return IsValidCode(code) ? &m_aLocation[code] : nullptr;
}

const CZVDateObs::SITE* CZVDateObs::Site(int code) const {
    return IsValidCode(code) ? &m_aLocation[code] : nullptr;
}

double CZVDateObs::GetLatitude(int code) const {
    const SITE* site = Site(code);
    return site ? site->latitude : 0.0;
}

double CZVDateObs::GetHeight(int code) const {
    const SITE* site = Site(code);
    return site ? site->height : 0.0;
}

int CZVDateObs::IsSmallObject(int code) const {
    return (code >= 1 && code <= 5) || (code >= 10 && code <= 14) ? 1 : 0;
}

CString CZVDateObs::ObjNumToName(int code) const {
    if (!IsValidCode(code)) return CString();
    CString name = kBodyPaths[code];
    // The planetarium accepts either spelling; statements use this one.
    if (code >= 10) name.Replace(L"DwarfPlanet", L"Dwarfplanet");
    return name;
}

int CZVDateObs::GetCurrentLocation() {
    const CString answer = Ask(L"? Location");
    int code = -1;
    if (answer.Left(9).CompareNoCase(L"Location(") == 0) {
        code = LOCATION_EARTH;  // a named site on the Earth, in call form
    } else {
        for (int candidate : kMatchOrder) {
            if (answer.CompareNoCase(kBodyPaths[candidate]) == 0) {
                code = candidate;
                break;
            }
        }
    }
    if (code < 0 || code == m_nLocationObject) return 0;
    m_nLocationObject = code;
    return 1;
}

void CZVDateObs::SetpCorZnt(CCorZnt* pHost) {
    m_pCorZnt = pHost;
    if (!pHost) return;
    ReadHostTime(L"? UT(time)", &m_Date);
    m_dTz = AskNumber(L"? Time.Timezone");
    m_dMoonAge = AskNumber(L"? Solar.Moon.Age");
    GetCurrentLocation();
    SITE& site = m_aLocation[m_nLocationObject];
    site.longitude = AskNumber(L"? Location.Longitude");
    site.latitude = AskNumber(L"? Location.Latitude");
    site.height = AskNumber(L"? Location.Altitude");
    m_dMag = AskNumber(L"? Star.AutoMagnitudeLimit.Minimum");
    Notify(ZVDATEOBS_MSG_UPDATED, 0, 0);
}

void CZVDateObs::UpdateByCorZnt() {
    if (!m_pCorZnt) return;
    int mask = 0;

    tagADATE date = m_Date;
    ReadHostTime(L"? UT(Time)", &date);
    if ((m_nForceUpdate & UPDATE_DATE) || Differs(GetJd(&date), GetJd(&m_Date), 1e-6)) {
        m_nForceUpdate &= ~UPDATE_DATE;
        m_Date = date;
        Send(L"Calc Sky");
        m_dMoonAge = AskNumber(L"? Solar.Moon.Age");
        mask |= UPDATE_DATE;
    }

    const SITE kept = m_aLocation[m_nLocationObject];
    const int moved = GetCurrentLocation();
    const double lon = AskNumber(L"? Location.Longitude");
    const double lat = AskNumber(L"? Location.Latitude");
    const double height = AskNumber(L"? Location.Altitude");
    if ((m_nForceUpdate & UPDATE_SITE) || moved || Differs(lon, kept.longitude, 1e-5) ||
        Differs(lat, kept.latitude, 1e-5) || Differs(height, kept.height, 1.0)) {
        m_nForceUpdate &= ~UPDATE_SITE;
        m_aLocation[m_nLocationObject] = SITE{lat, lon, height};
        // Only the Earth has civil time zones; elsewhere times are kept in UT.
        m_dTz = m_nLocationObject == LOCATION_EARTH ? MapZoneOfSite(lon, lat) : 0.0;
        mask |= UPDATE_SITE;
    }

    const double mag = AskNumber(L"? Star.AutoMagnitudeLimit.Minimum");
    if ((m_nForceUpdate & UPDATE_MAG) || !IsEqualMag(mag, m_dMag)) {
        m_nForceUpdate &= ~UPDATE_MAG;
        m_dMag = mag;
        mask |= UPDATE_MAG;
    }

    if (mask) Notify(ZVDATEOBS_MSG_UPDATED, 0, mask);
}

int CZVDateObs::IsEqualMag(double a, double b) {
    // Equal in the first decimal. NaN equals only NaN; the comparison stays in doubles so
    // that huge values cannot overflow an int.
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::floor(10.0 * a + 0.5) == std::floor(10.0 * b + 0.5) ? 1 : 0;
}

double CZVDateObs::MapZoneOfSite(double lon, double lat) {
    return GetTimezone(lon < 0.0 ? lon + 360.0 : lon, lat);
}

double CZVDateObs::GetTimezone(double lon, double lat) {
    // The map reads a pixel under the point; a point that is no number has none.
    if (!std::isfinite(lon) || !std::isfinite(lat)) return 0.0;
    return CTimeZone::GetSharedTimeZone(lon, lat);
}
