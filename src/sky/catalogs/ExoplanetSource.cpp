// SPDX-License-Identifier: LGPL-3.0-or-later
// Planets of other stars: "Star.ExtraSolarPlanet.<star><letter>" (as the planet text asks
// for "Star.<star>.Planet.<letter>"), and their host stars "Star.<star>", which report their
// planet count and, when the host is a catalogue star, every answer of that star.
#include "sky/Answer.h"
#include "sky/catalogs/Tables.h"

namespace sky {
namespace {

class ExoplanetSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        CString element, p;
        // "Star.HIP.<number>" is the star catalogue's, never a host's name.
        if (HasPrefix(q, L"star.hip.")) return false;
        const CatalogFile* x = Table("exoplanets.zct");
        if (SplitPath(q, L"star.extrasolarplanet.", &element, &p)) {
            if (!x) return false;
            const std::vector<uint32_t> rows = x->Find(KeyOf(element));
            if (rows.empty()) return false;
            Planet(*x, rows.front(), p, at, answer);
            return true;
        }
        if (!SplitPath(q, L"star.", &element, &p) || !x) return false;
        const std::vector<uint32_t> hosts = x->Find("host:" + KeyOf(element));
        if (hosts.empty()) return false;
        // "Star.<star>.Planet.<letter>.<property>": the planet itself.
        CString letter, rest;
        if (SplitPath(p, L"planet.", &letter, &rest)) {
            const std::vector<uint32_t> rows = x->Find(KeyOf(element + letter));
            if (rows.empty()) return false;
            Planet(*x, rows.front(), rest, at, answer);
            return true;
        }
        Host(*x, hosts.front(), p, at, answer);
        return true;
    }

    void List(std::vector<Entry>& out) override {
        const CatalogFile* x = Table("exoplanets.zct");
        if (!x) return;
        const int host = x->Column("host"), letter = x->Column("letter"),
                  proper = x->Column("proper");
        for (uint32_t r = 0; r < x->Rows(); ++r) {
            Entry e;
            const CString name = TextOf(*x, host, r) + L" " + TextOf(*x, letter, r);
            e.path = L"Star.ExtraSolarPlanet." + TextOf(*x, host, r) + TextOf(*x, letter, r);
            e.names.push_back(name);
            if (*x->Text(proper, r)) e.names.push_back(TextOf(*x, proper, r));
            e.kind = L"exoplanet";
            e.magnitude = x->Number(x->Column("vmag"), r);
            out.push_back(std::move(e));
        }
    }

private:
    // The catalogue star that hosts the planets of a row, or -1.
    static int64_t HostStar(const CatalogFile& x, uint32_t row) {
        const CatalogFile* stars = Table("stars.zct");
        const int32_t hip = x.Integer(x.Column("hip"), row);
        return stars && hip > 0 ? stars->FindNumber("hip", hip) : -1;
    }

    static CString Place(const CatalogFile& x, uint32_t row, const CString& p, const Context& at) {
        const int64_t star = HostStar(x, row);
        if (const CatalogFile* stars = Table("stars.zct"); star >= 0 && stars)
            return StarPlaceAnswer(*stars, static_cast<uint32_t>(star), p, at);
        if (!HasPrefix(p, L"position.") && !HasPrefix(p, L"jd.")) return CString();
        const BodyPlace place =
            FixedPlace(x.Number(x.Column("ra"), row), x.Number(x.Column("dec"), row), at.jdUt,
                       at.site, HasPrefix(p, L"jd."));
        return PlaceAnswer(place, p);
    }

    static void Planet(const CatalogFile& x, uint32_t row, const CString& p, const Context& at,
                       CString* answer) {
        const auto number = [&](const char* column, const wchar_t* format) {
            return sky::Answer(x.Number(x.Column(column), row), format);
        };
        if (p == L"name" || p.IsEmpty())
            *answer = TextOf(x, x.Column("host"), row) + L" " + TextOf(x, x.Column("letter"), row);
        else if (p == L"propername")
            *answer = TextOf(x, x.Column("proper"), row);
        else if (p == L"orbitalperiod")
            *answer = number("period", L"%.5f");
        else if (p == L"semimajoraxis")
            *answer = number("axis", L"%.5f");
        else if (p == L"eccentricity")
            *answer = number("ecc", L"%.5f");
        else if (p == L"mass")
            *answer = number("mass", L"%.4f");
        else if (p == L"radius")
            *answer = number("radius", L"%.4f");
        else if (p == L"discoveryyear")
            *answer = number("year", L"%.0f");
        else if (p == L"discoverymethod")
            *answer = TextOf(x, x.Column("method"), row);
        else if (p == L"hoststar")
            *answer = TextOf(x, x.Column("host"), row);
        else
            *answer = Place(x, row, p, at);
    }

    static void Host(const CatalogFile& x, uint32_t row, const CString& p, const Context& at,
                     CString* answer) {
        const int64_t star = HostStar(x, row);
        if (p == L"numberofplanets") {
            *answer = sky::Answer(x.Integer(x.Column("count"), row), L"%.0f");
        } else if (p == L"magnitude.vt") {
            *answer = sky::Answer(x.Number(x.Column("vmag"), row), L"%.2f");
        } else if (const CatalogFile* stars = Table("stars.zct");
                   star >= 0 && stars &&
                   StarAnswer(*stars, static_cast<uint32_t>(star), p, at, answer)) {
        } else if (p == L"englishname") {
            *answer = TextOf(x, x.Column("hostproper"), row);
            if (answer->IsEmpty()) *answer = TextOf(x, x.Column("host"), row);
        } else if (p == L"magnitude") {
            *answer = sky::Answer(x.Number(x.Column("vmag"), row), L"%.2f");
        } else if (p == L"spectraltype") {
            *answer = TextOf(x, x.Column("sp"), row);
        } else {
            *answer = Place(x, row, p, at);
        }
    }
};

const SourceRegistration kExoplanets([] { return std::make_unique<ExoplanetSource>(); },
                                     {L"star."});

}  // namespace
}  // namespace sky
