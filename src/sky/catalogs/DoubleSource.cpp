// SPDX-License-Identifier: LGPL-3.0-or-later
// Double stars of the double-star catalogue: the system "Star.WDS.<id>" and its components
// "Star.WDS.<id>.<component>". The catalogue gives the last measurement only; what it lacks
// (first measurement, count, discoverer, component list) answers empty or "*".
#include <cwctype>

#include "sky/Answer.h"
#include "sky/catalogs/Tables.h"

namespace sky {
namespace {

// "a", "b", "ab": a component's letters before the property.
bool SplitComponent(const CString& property, CString* component, CString* rest) {
    const int dot = property.Find(L'.');
    const CString head = dot < 0 ? property : property.Left(dot);
    if (head.IsEmpty() || head.GetLength() > 3 || head == L"pi" || head == L"bd") return false;
    for (int i = 0; i < head.GetLength(); ++i)
        if (head[i] < L'a' || head[i] > L'z') return false;
    *component = head;
    *rest = dot < 0 ? CString() : property.Mid(dot + 1);
    return true;
}

class DoubleSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        const CatalogFile* w = nullptr;
        uint32_t row = 0;
        CString p;
        if (!RowOf(q, L"star.wds.", "doubles.zct", &w, &row, &p)) return false;
        CString component, rest;
        const bool isComponent = SplitComponent(p, &component, &rest);
        if (isComponent) p = rest;
        const CString id = TextOf(*w, w->Column("wds"), row);
        const auto number = [&](const char* column, const wchar_t* format) {
            return sky::Answer(w->Number(w->Column(column), row), format);
        };
        const CatalogFile* stars = Table("stars.zct");
        const int64_t star = StarRowOf(*w, row);
        if (p == L"name" || p.IsEmpty()) {
            *answer = id;
            if (isComponent) *answer += L" " + component.MakeUpper();
        } else if (p == L"componentname") {
            *answer = isComponent ? component.MakeUpper() : CString();
        } else if (p == L"components" || p == L"discoverer" || p == L"bd") {
            answer->Empty();
        } else if (p == L"obscount" || HasPrefix(p, L"firstobs.")) {
            *answer = L"*";
        } else if (p == L"lastobs.epoch") {
            *answer = number("year", L"%.0f");
        } else if (p == L"lastobs.theta") {
            *answer = number("theta", L"%.0f");
        } else if (p == L"lastobs.rho") {
            *answer = number("rho", L"%.1f");
        } else if (p == L"propermotion.ra" || p == L"propermotion.dec") {
            // Arc seconds a year here, as the double-star text expects.
            const char* column = p == L"propermotion.ra" ? "pmra" : "pmdec";
            *answer = star >= 0 ? sky::Answer(stars->Number(stars->Column(column),
                                                            static_cast<uint32_t>(star)) /
                                                  1000.0,
                                              L"%.5f")
                                : CString(L"*");
        } else {
            StarAnswerOrEmpty(star, p, at, answer);
        }
        return true;
    }

    void List(std::vector<Entry>& out) override {
        const CatalogFile* w = Table("doubles.zct");
        const CatalogFile* stars = Table("stars.zct");
        if (!w) return;
        const int wds = w->Column("wds"), hip = w->Column("hip");
        for (uint32_t r = 0; r < w->Rows(); ++r) {
            Entry e;
            const CString id = TextOf(*w, wds, r);
            e.path = L"Star.WDS." + id;
            e.names.push_back(L"WDS " + id);
            e.kind = L"double";
            const int64_t star = stars ? stars->FindNumber("hip", w->Integer(hip, r)) : -1;
            if (star >= 0)
                e.magnitude = stars->Number(stars->Column("mag"), static_cast<uint32_t>(star));
            out.push_back(std::move(e));
        }
    }
};

const SourceRegistration kDoubles([] { return std::make_unique<DoubleSource>(); }, {L"star.wds."});

}  // namespace
}  // namespace sky
