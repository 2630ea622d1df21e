// SPDX-License-Identifier: LGPL-3.0-or-later
// The planets' moons as a source of the sky: "Solar.Planet.Jupiter.Satellite.Io" and the
// like, with the place, the distances, the distance from the planet and the magnitude.
#include <cmath>
#include <cwchar>
#include <map>
#include <memory>

#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/Moons.h"
#include "sky/bodies/SkyMath.h"

namespace {

constexpr wchar_t kPrefix[] = L"solar.planet.";

class MoonSource : public sky::Source {
public:
    bool Answer(const CString& q, const sky::Context& at, CString* answer) override {
        const int prefix = static_cast<int>(std::wcslen(kPrefix));
        if (!sky::HasPrefix(q, kPrefix)) return false;
        const int dot = q.Find(L'.', prefix);
        if (dot < 0) return false;
        const CString planet = q.Mid(prefix, dot - prefix);
        const CString satellite = L"satellite.";
        if (q.Mid(dot + 1, satellite.GetLength()) != satellite) return false;
        CString name, property;
        if (!sky::NextElement(q, dot + 1 + satellite.GetLength(), &name, &property)) return false;
        const sky::MoonInfo* moon = sky::FindMoon(planet, name);
        if (!moon) return false;
        *answer = Property(*moon, property, at);
        return true;
    }

    void List(std::vector<sky::Entry>& out) override {
        int count = 0;
        const sky::MoonInfo* moons = sky::Moons(&count);
        for (int i = 0; i < count; ++i) {
            const sky::MoonInfo& m = moons[i];
            const CString planet = m.planet == sky::Body::Mars      ? L"Mars"
                                   : m.planet == sky::Body::Jupiter ? L"Jupiter"
                                   : m.planet == sky::Body::Saturn  ? L"Saturn"
                                                                    : L"Uranus";
            out.push_back(sky::Entry{L"Solar.Planet." + planet + L".Satellite." + m.english,
                                     {m.english, m.japanese},
                                     L"satellite",
                                     NAN});
        }
    }

    void Changed() override { m_places.clear(); }

private:
    struct Kept {
        double jd = NAN;
        sky::Site site;
        sky::BodyPlace place;
    };

    const sky::BodyPlace& PlaceOf(const sky::MoonInfo& moon, const sky::Context& at, bool events) {
        Kept& k = m_places[std::make_pair(&moon, events)];
        if (!(k.jd == at.jdUt) || k.site.longitude != at.site.longitude ||
            k.site.latitude != at.site.latitude || k.site.height != at.site.height) {
            const auto helio = [&moon](double jdTt) {
                return sky::HeliocentricOf(moon.planet, jdTt) + sky::MoonOffset(moon, jdTt);
            };
            k = Kept{at.jdUt, at.site, sky::PlaceOfHeliocentric(helio, at.jdUt, at.site, events)};
        }
        return k.place;
    }

    CString Property(const sky::MoonInfo& moon, const CString& property, const sky::Context& at) {
        if (property.IsEmpty() || property == L"englishname") return moon.english;
        if (property == L"japanesename") return moon.japanese;
        if (property == L"number") return moon.number;
        if (property == L"radius") return sky::Answer(moon.radiusKm, L"%.1f");
        const bool events = sky::HasPrefix(property, L"jd.");
        const sky::BodyPlace& p = PlaceOf(moon, at, events);
        if (events || sky::HasPrefix(property, L"position.")) return sky::PlaceAnswer(p, property);
        if (property == L"geocentricdistance") return sky::Answer(p.geocentricDistance, L"%.8f");
        if (property == L"topocentricdistance") return sky::Answer(p.topocentricDistance, L"%.8f");
        if (property == L"heliocentricdistance")
            return sky::Answer(p.heliocentricDistance, L"%.8f");
        if (property == L"magnitude") {
            // Full phase is near enough: the outer planets' moons are never seen far from it.
            const double m = moon.absoluteMagnitude +
                             5.0 * std::log10(p.heliocentricDistance * p.geocentricDistance);
            return sky::Answer(m, L"%.2f");
        }
        if (property == L"dm") {
            return sky::Answer(
                2.0 * moon.radiusKm / (p.geocentricDistance * sky::kKmPerAu) / sky::kRad * 3600.0,
                L"%.4f");
        }
        // Distance from the planet: in space (km), and as seen, with its position angle.
        const double jdTt = sky::TtOf(at.jdUt);
        const double tau = p.geocentricDistance * sky::kLightDaysPerAu;
        if (property == L"planetocentricdistance")
            return sky::Answer(sky::Norm(sky::MoonOffset(moon, jdTt - tau)) * sky::kKmPerAu,
                               L"%.1f");
        if (property == L"separation" || property == L"positionangle") {
            const sky::BodyPlace planet = sky::PlaceOf(moon.planet, at.jdUt, at.site, false);
            const double dra = sky::Norm180(p.apparent.lon - planet.apparent.lon) *
                               std::cos(planet.apparent.lat * sky::kRad);
            const double ddec = p.apparent.lat - planet.apparent.lat;
            if (property == L"separation")
                return sky::Answer(std::hypot(dra, ddec) * 3600.0, L"%.3f");
            return sky::Answer(sky::Norm360(std::atan2(dra, ddec) / sky::kRad), L"%.3f");
        }
        return CString();
    }

    std::map<std::pair<const sky::MoonInfo*, bool>, Kept> m_places;
};

const sky::SourceRegistration kMoons([] { return std::make_unique<MoonSource>(); },
                                     {L"solar.planet."});

}  // namespace
