// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky's artificial satellites: "ArtificialSatellite.<catalogue number>" with
// their names, distances, sub-satellite point, element epoch and place in the sky.
#include <algorithm>
#include <map>

#include "platform/String.h"
#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/SkyMath.h"
#include "sky/satellites/SatelliteCatalog.h"
#include "sky/satellites/SatelliteView.h"

namespace sky {
namespace {

const CString kPrefix = L"artificialsatellite.";

CString Wide(const std::string& s) { return CString(ZcmUtf8ToWide(s.data(), s.size()).c_str()); }

// The entries of a catalogue's satellites, for the name index.
void ListOf(const TleCatalog& tle, const SatelliteCatalog& magnitudes, std::vector<Entry>& out) {
    for (const auto& [number, e] : tle.sets) {
        Entry entry;
        entry.path.Format(L"ArtificialSatellite.%d", number);
        if (!e.name.empty()) entry.names.push_back(Wide(e.name));
        const std::string shortName = ShortSatelliteName(e.name);
        if (!shortName.empty()) entry.names.push_back(Wide(shortName));
        entry.names.push_back(CString(std::to_wstring(number).c_str()));
        entry.kind = L"satellite";
        entry.magnitude = magnitudes.StdMagnitude(number);
        out.push_back(entry);
    }
}

class SatelliteSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        if (!HasPrefix(q, kPrefix.GetString())) return false;
        *answer = CString();
        CString element, property;
        if (!NextElement(q, kPrefix.GetLength(), &element, &property)) return true;
        const int number = WholeNumber(element);
        if (number < 0) return true;
        // A few satellites are read alone; the name index, asking every one, reads them all.
        if (!m_catalog && m_alone.size() >= 4) m_catalog = Satellites();
        std::shared_ptr<const SatelliteCatalog>& catalog = m_catalog ? m_catalog : m_alone[number];
        if (!catalog) catalog = SatelliteNumbered(number);
        const Elements* set = catalog->At(number, at.jdUt);
        if (!set) return true;
        const Elements& el = *set;
        if (property == L"name" || property == L"tlename") {
            *answer = Wide(el.name);
        } else if (property == L"number") {
            answer->Format(L"%d", el.number);
        } else if (property == L"element.julianepoch") {
            *answer = sky::Answer(el.epochJd, L"%.8f");
        } else if (property == L"provenance") {
            *answer = ElementsProvenance(DataOrigin(el.file), el.epochJd);
        } else if (property == L"provenance.warning") {
            *answer = ElementsAgeWarning(el.epochJd, at.jdUt, kSatelliteUsefulDays);
        } else if (FromOrbit(property)) {
            const Seen* seen = Look(el, *catalog, at);
            if (seen) *answer = FromLook(*seen, property);
        }
        return true;
    }

    void List(std::vector<Entry>& out) override {
        if (!m_catalog) m_catalog = Satellites();
        ListOf(m_catalog->tle, *m_catalog, out);
    }

    // The user's files and the updated copy: the name index holds the bundled sets only.
    void ListUserFiles(std::vector<Entry>& out) override {
        TleCatalog user;
        for (const std::string& f : UserTleFiles()) user.AddFile(f);
        if (const std::string updated = UpdatedPath("satellites.tle"); !updated.empty())
            user.AddFile(updated);
        ListOf(user, SatelliteCatalog(), out);
    }

    // A new instant or site also picks up element files handed over since (SetTleFiles).
    void Changed() override {
        m_seen.clear();
        m_catalog.reset();
        m_alone.clear();
    }

private:
    struct Seen {
        SatelliteLook look;
        BodyPlace place;
    };

    // The satellite at the context's instant and site, worked out once; nullptr when the
    // model cannot follow it there.
    const Seen* Look(const Elements& el, const SatelliteCatalog& catalog, const Context& at) {
        auto it = m_seen.find(el.number);
        if (it != m_seen.end() && it->second.jd == at.jdUt && it->second.epoch == el.epochJd &&
            it->second.site.longitude == at.site.longitude &&
            it->second.site.latitude == at.site.latitude &&
            it->second.site.height == at.site.height)
            return it->second.ok ? &it->second.seen : nullptr;
        Cached& c = m_seen[el.number];
        c.jd = at.jdUt;
        c.epoch = el.epochJd;
        c.site = at.site;
        const Sgp4 model(el);
        const Observer observer(at.site);
        c.seen.look = sky::Look(model, at.jdUt, observer, catalog.StdMagnitude(el.number));
        c.ok = c.seen.look.error == 0 && model.InitError() != kSgp4BadElements;
        if (!c.ok) return nullptr;
        // The place in the sky is the one seen from the site: the topocentric vector, in
        // the J2000 frame, through the sky's shared reductions; the horizon from the
        // Earth-fixed frame directly.
        const double gmst = Gmst1982(at.jdUt), cs = std::cos(gmst), sn = std::sin(gmst);
        const double site[3] = {cs * observer.ecef[0] - sn * observer.ecef[1],
                                sn * observer.ecef[0] + cs * observer.ecef[1], observer.ecef[2]};
        const double topo[3] = {c.seen.look.teme[0] - site[0], c.seen.look.teme[1] - site[1],
                                c.seen.look.teme[2] - site[2]};
        const Vec j2000 = TemeToJ2000(topo, at.jdUt) * (1.0 / kKmPerAu);
        FillPlace(&c.seen.place, j2000, j2000, at.jdUt, TtOf(at.jdUt), Site{});
        c.seen.place.altitude = c.seen.look.altitude;
        c.seen.place.azimuth = Norm360(c.seen.look.azimuth - 180.0);
        c.seen.place.geocentricDistance = c.seen.look.geocentricKm;
        c.seen.place.topocentricDistance = c.seen.look.topocentricKm;
        c.seen.place.magnitude = c.seen.look.magnitude;
        return &c.seen;
    }

    // Whether a property comes from the satellite's place: only those propagate the orbit
    // (the name index asks every satellite for names it does not have).
    static bool FromOrbit(const CString& property) {
        static const wchar_t* const kOwn[] = {
            L"geocentricdistance", L"topocentricdistance", L"lla.longitude", L"lla.latitude",
            L"lla.altitude",       L"magnitude",           L"sunlit"};
        if (HasPrefix(property, L"position.") || HasPrefix(property, L"jd.")) return true;
        return std::any_of(std::begin(kOwn), std::end(kOwn),
                           [&](const wchar_t* p) { return property == p; });
    }

    static CString FromLook(const Seen& s, const CString& property) {
        const SatelliteLook& l = s.look;
        if (property == L"geocentricdistance") return sky::Answer(l.geocentricKm, L"%.3f");
        if (property == L"topocentricdistance") return sky::Answer(l.topocentricKm, L"%.3f");
        if (property == L"lla.longitude") return sky::Answer(l.longitude, L"%.8f");
        if (property == L"lla.latitude") return sky::Answer(l.latitude, L"%.8f");
        if (property == L"lla.altitude") return sky::Answer(l.height * 1000.0, L"%.1f");
        if (property == L"magnitude") return sky::Answer(l.magnitude, L"%.1f");
        if (property == L"sunlit") return l.sunlit ? L"TRUE" : L"FALSE";
        return PlaceAnswer(s.place, property);
    }

    struct Cached {
        double jd = NAN, epoch = NAN;
        Site site;
        bool ok = false;
        Seen seen;
    };
    std::shared_ptr<const SatelliteCatalog> m_catalog;               ///< all satellites
    std::map<int, std::shared_ptr<const SatelliteCatalog>> m_alone;  ///< or a few alone
    std::map<int, Cached> m_seen;
};

const SourceRegistration kSatellites([] { return std::make_unique<SatelliteSource>(); },
                                     {L"artificialsatellite."});

}  // namespace
}  // namespace sky
