// SPDX-License-Identifier: LGPL-3.0-or-later
// Points of the sky as sources: the clicked point ("Equatorial", "ClickData.Mark") and the
// constellations of the host's catalogue ("Constellation.Ori": its names, and the place of
// its label, which a click marks).
#include <memory>

#include "sky/Source.h"
#include "sky/catalogs/Catalog.h"

namespace sky {
namespace {

// The answers of a point's place; empty answers are left to the later sources.
class PointSource : public Source {
public:
    void List(std::vector<Entry>& out) override { (void)out; }  // the host lists them
    void Changed() override { m_places.Clear(); }

protected:
    bool PointAnswer(const CString& property, double ra, double dec, const Context& at,
                     CString* answer) {
        *answer = PlaceAnswer(m_places.At(ra, dec, HasPrefix(property, L"jd."), at), property);
        return !answer->IsEmpty();
    }

private:
    FixedPlaces m_places;
};

class MarkSource : public PointSource {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        if (!at.mark) return false;
        const int n = HasPrefix(q, L"equatorial.") ? 11 : HasPrefix(q, L"clickdata.mark.") ? 15 : 0;
        return n > 0 && PointAnswer(q.Mid(n), at.mark[0], at.mark[1], at, answer);
    }
};

class ConstellationSource : public PointSource {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        CString element, property;
        if (!at.catalog || !HasPrefix(q, L"constellation.") ||
            !NextElement(q, 14, &element, &property))
            return false;
        const Constellation* c = at.catalog->FindConstellation(element);
        if (!c) return false;
        const CString* name = property == L"name"           ? &c->japanese
                              : property == L"abbreviation" ? &c->abbreviation
                              : property == L"englishname"  ? &c->english
                              : property == L"latinname"    ? &c->latin
                                                            : nullptr;
        if (name) {
            *answer = *name;
            return !answer->IsEmpty();
        }
        // The constellation's place is where its name stands; a click marks that point.
        if (at.mark) at.mark[0] = c->ra / 15.0, at.mark[1] = c->dec;
        return PointAnswer(property, c->ra / 15.0, c->dec, at, answer);
    }
};

const SourceRegistration kMark([] { return std::make_unique<MarkSource>(); },
                               {L"equatorial.", L"clickdata.mark."}, SourceRank::First);
const SourceRegistration kConstellations([] { return std::make_unique<ConstellationSource>(); },
                                         {L"constellation."}, SourceRank::First);

}  // namespace
}  // namespace sky
