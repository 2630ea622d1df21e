// SPDX-License-Identifier: LGPL-3.0-or-later
// CZVDateObs on any planetarium answers: the lines of the input answer the state queries in
// turn; then the refresh, the time queries and the edits that start from the stored state.
#include <vector>

#include "FuzzText.h"
#include "dateobs/DateObs.h"

namespace {

const wchar_t* const kQueries[] = {
    L"? UT(TIME)",
    L"? TIME.TIMEZONE",
    L"? SOLAR.MOON.AGE",
    L"? LOCATION",
    L"? LOCATION.LONGITUDE",
    L"? LOCATION.LATITUDE",
    L"? LOCATION.ALTITUDE",
    L"? STAR.AUTOMAGNITUDELIMIT.MINIMUM",
    L"? TIME.SIDEREALTIME",
    L"? STAR.CATALOG",
    L"? STAR.CATALOG.SWITCH",
    L"? STAR.AUTOMAGNITUDELIMIT",
};

class LineHost : public CCorZnt {
public:
    explicit LineHost(const CString& text) {
        int start = 0;
        for (size_t i = 0; i < sizeof kQueries / sizeof kQueries[0]; ++i) {
            const int end = text.Find(L'\n', start);
            m_answers.push_back(end < 0 ? text.Mid(start) : text.Mid(start, end - start));
            start = end < 0 ? text.GetLength() : end + 1;
        }
    }
    CString Execute(LPCTSTR command) override {
        CString key(command);
        key.MakeUpper();
        for (size_t i = 0; i < m_answers.size(); ++i)
            if (key == kQueries[i]) return m_answers[i];
        return CString();
    }

private:
    std::vector<CString> m_answers;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LineHost host(FuzzText(data, size));
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    obs.UpdateByCorZnt();
    obs.UpdateByCorZnt();
    int y, mo, d, h, mi, s;
    double sec, jd;
    obs.GetLST(&y, &mo, &d, &h, &mi, &s);
    obs.GetLT(&y, &mo, &d, &h, &mi, &s, 5.5);
    obs.GetUT(&y, &mo, &d, &h, &mi, &s, 1);
    obs.GetLMT(&y, &mo, &d, &h, &mi, &s);
    obs.GetLMT(&y, &mo, &d, &h, &mi, &sec);
    obs.GetUTDate(&y, &mo, &sec);
    obs.GetST(&h, &mi, &s);
    obs.GetJD(&jd);
    double limit, fixed;
    obs.GetCurrentMagLimit(&limit, &fixed);
    tagSPAN span = {static_cast<int>(size % 7) - 3, 1, -40, 25, 61, 59.5};
    obs.UpdateDateByUI(&span, 0);
    obs.SwapADBCByUI();
    obs.UpdateLocationObjectByUI(static_cast<int>(size % 17) - 1, 1);
    obs.UpdateObsByUI(obs.GetLongitude(), obs.GetLatitude(), CZVDateObs::KEEP_HEIGHT);
    return 0;
}
