// SPDX-License-Identifier: LGPL-3.0-or-later
// CZVDateObs time queries: the stored UT instant expressed in other zones and scales.
#include <cmath>

#include "dateobs/DateObs.h"
#include "dateobs/DateObsUtil.h"

namespace {

// Added before seconds are cut, so that the whole seconds shown are the nearest ones.
const tagSPAN kHalfSecond = {0, 0, 0, 0, 0, 0.5};

// Outputs are written only where the caller gave a place for them.
template <class T>
void Put(T* out, T value) {
    if (out) *out = value;
}

void Split(const tagADATE& t, int* y, int* mo, int* d, int* h, int* mi) {
    Put(y, t.year);
    Put(mo, t.month);
    Put(d, t.day);
    Put(h, t.hour);
    Put(mi, t.minute);
}

void SplitRounded(const tagADATE& t, int* y, int* mo, int* d, int* h, int* mi, int* s) {
    Split(t, y, mo, d, h, mi);
    Put(s, zvdateobs::CutToInt(std::floor(t.second)));
}

}  // namespace

tagADATE CZVDateObs::RoundedIn(double tz) const {
    tagADATE t = m_Date;
    ChangeTimezone(&t, tz);
    ChangeDate(&t, &kHalfSecond, 0);
    return t;
}

void CZVDateObs::GetLST(int* y, int* mo, int* d, int* h, int* mi, int* s) {
    SplitRounded(RoundedIn(m_dTz), y, mo, d, h, mi, s);
}

void CZVDateObs::GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s) {
    SplitRounded(RoundedIn(m_dUserTz), y, mo, d, h, mi, s);
}

void CZVDateObs::GetLT(int* y, int* mo, int* d, int* h, int* mi, int* s, double tz) {
    m_dUserTz = tz;
    SplitRounded(RoundedIn(tz), y, mo, d, h, mi, s);
}

void CZVDateObs::GetUT(int* y, int* mo, int* d, int* h, int* mi, int* s, int bSetUser) {
    if (bSetUser) m_dUserTz = 0.0;
    tagADATE t = m_Date;
    ChangeDate(&t, &kHalfSecond, 0);
    SplitRounded(t, y, mo, d, h, mi, s);
}

void CZVDateObs::GetLMT(int* y, int* mo, int* d, int* h, int* mi, int* s) {
    m_dUserTz = GetLMTTz();
    SplitRounded(RoundedIn(m_dUserTz), y, mo, d, h, mi, s);
}

void CZVDateObs::GetLMT(int* y, int* mo, int* d, int* h, int* mi, double* s) {
    m_dUserTz = GetLMTTz();
    tagADATE t = m_Date;
    ChangeTimezone(&t, m_dUserTz);
    Split(t, y, mo, d, h, mi);
    Put(s, t.second);
}

void CZVDateObs::GetUTDate(int* y, int* mo, double* day) {
    m_dUserTz = 0.0;
    Put(y, m_Date.year);
    Put(mo, m_Date.month);
    Put(day, m_Date.day + m_Date.hour / 24.0 + m_Date.minute / 1440.0 + m_Date.second / 86400.0);
}

void CZVDateObs::GetST(int* h, int* m, int* s) {
    m_dUserTz = 0.0;
    double v = AskNumber(L"? Time.SiderealTime");
    // An answer that is no usable number of hours reads as 0 rather than overflowing.
    if (!std::isfinite(v) || std::fabs(v) > 1e6) v = 0.0;
    int hh = static_cast<int>(v);
    const double minutes = (v - hh) * 60.0;
    int mm = static_cast<int>(minutes);
    int ss = static_cast<int>(std::floor((minutes - mm) * 60.0 + 0.5));
    if (ss > 59) {
        ss = 0;
        if (++mm > 59) {
            mm = 0;
            if (++hh > 23) hh = 0;
        }
    }
    Put(h, hh);
    Put(m, mm);
    Put(s, ss);
}

void CZVDateObs::GetJD(double* jd) {
    m_dUserTz = 0.0;
    Put(jd, GetJd(&m_Date));
}

void CZVDateObs::GetMJD(double* mjd) {
    m_dUserTz = 0.0;
    Put(mjd, GetJd(&m_Date) - 2400000.5);
}

double CZVDateObs::GetLongitude(int code) const {
    if (!IsValidCode(code)) return 0.0;
    const double lon = m_aLocation[code].longitude;
    if (code == LOCATION_EARTH || code == LOCATION_MOON) return lon > 180.0 ? lon - 360.0 : lon;
    return degmal(lon);
}
