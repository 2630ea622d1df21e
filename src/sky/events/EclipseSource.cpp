// SPDX-License-Identifier: LGPL-3.0-or-later
// The solar eclipse in progress at the site as a source of the sky:
// "Solar.Earth.BesselElement.Apply" (whether there is one) and
// "Solar.Earth.SolarEclipse.ContactTime.1st" ... "4th" and "Max" (UT Julian Days).
#include <cmath>
#include <memory>

#include "sky/Answer.h"
#include "sky/Source.h"

namespace sky {
namespace {

class EclipseSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        static const CString kContact = L"solar.earth.solareclipse.contacttime.";
        const bool contact = HasPrefix(q, kContact.GetString());
        if (!contact && q != L"solar.earth.besselelement.apply") return false;
        // The click text asks it six times at one instant.
        if (!m_kept)
            m_kept = std::make_unique<EclipseContacts>(SolarEclipseContacts(at.jdUt, at.site));
        const EclipseContacts& c = *m_kept;
        if (!contact) {
            *answer = std::isfinite(c.first) ? L"TRUE" : L"FALSE";
            return true;
        }
        const CString which = q.Mid(kContact.GetLength());
        const double jd = which == L"1st"   ? c.first
                          : which == L"2nd" ? c.second
                          : which == L"max" ? c.maximum
                          : which == L"3rd" ? c.third
                          : which == L"4th" ? c.fourth
                                            : 0.0;
        if (jd == 0.0) return false;
        *answer = sky::Answer(jd, L"%.8f");
        return true;
    }

    void List(std::vector<Entry>& out) override { (void)out; }  // no object of its own
    void Changed() override { m_kept.reset(); }

private:
    std::unique_ptr<EclipseContacts> m_kept;
};

const SourceRegistration kEclipse([] { return std::make_unique<EclipseSource>(); },
                                  {L"solar.earth."}, SourceRank::First);

}  // namespace
}  // namespace sky
