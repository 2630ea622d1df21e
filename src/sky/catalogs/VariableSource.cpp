// SPDX-License-Identifier: LGPL-3.0-or-later
// Variable stars of the variable-star catalogue: "Star.GCVS.<designation>" (a Hipparcos
// star's variable designation is also answered under its "Star.HIP.<n>" path).
#include <cmath>

#include "sky/Answer.h"
#include "sky/catalogs/Tables.h"
#include "sky/catalogs/Variability.h"

namespace sky {

void NextExtrema(const std::string& type, double epoch, double period, double rise, double jd,
                 double* nextMaximum, double* nextMinimum) {
    *nextMaximum = *nextMinimum = NAN;
    if (!std::isfinite(epoch) || !std::isfinite(period) || !(period > 0.0) || !std::isfinite(jd))
        return;
    const auto next = [&](double event) {
        return event + std::ceil((jd - event) / period) * period;
    };
    if (!type.empty() && type[0] == 'E') {
        *nextMinimum = next(epoch);
        return;
    }
    *nextMaximum = next(epoch);
    if (std::isfinite(rise) && rise > 0.0 && rise < 100.0)
        *nextMinimum = next(epoch - rise / 100.0 * period);
}

namespace {

class VariableSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        const CatalogFile* v = nullptr;
        uint32_t row = 0;
        CString p;
        if (!RowOf(q, L"star.gcvs.", "variables.zct", &v, &row, &p)) return false;
        const auto number = [&](const char* column, const wchar_t* format) {
            return sky::Answer(v->Number(v->Column(column), row), format);
        };
        const int64_t star = StarRowOf(*v, row);
        if (p == L"name" || p.IsEmpty())
            *answer = TextOf(*v, v->Column("name"), row);
        else if (p == L"magnitude.maximum" || p == L"magnitude")
            *answer = number("max", L"%.2f");
        else if (p == L"magnitude.minimum")
            *answer = number("min", L"%.2f");
        else if (p == L"magnitude.minimum2")
            *answer = number("min2", L"%.2f");
        else if (p == L"magnitude.band")
            *answer = TextOf(*v, v->Column("band"), row);
        else if (p == L"variabletype")
            *answer = TextOf(*v, v->Column("type"), row);
        else if (p == L"spectraltype")
            *answer = TextOf(*v, v->Column("sp"), row);
        else if (p == L"epoch")
            *answer = number("epoch", L"%.5f");
        else if (p == L"period")
            *answer = number("period", L"%.7f");
        else if (p == L"m_md")
            *answer = number("mmd", L"%g");
        else if (p == L"year")
            *answer = L"*";  // novae only; none in this catalogue
        else if (p == L"otherdesign")
            *answer = TextOf(*v, v->Column("other"), row);
        else if (p == L"nextmaximum" || p == L"nextminimum") {
            double maximum = NAN, minimum = NAN;
            NextExtrema(v->Text(v->Column("type"), row), v->Number(v->Column("epoch"), row),
                        v->Number(v->Column("period"), row), v->Number(v->Column("mmd"), row),
                        at.jdUt, &maximum, &minimum);
            *answer = sky::Answer(p == L"nextmaximum" ? maximum : minimum, L"%.5f");
        } else {
            StarAnswerOrEmpty(star, p, at, answer);
        }
        return true;
    }

    void List(std::vector<Entry>& out) override {
        const CatalogFile* v = Table("variables.zct");
        if (!v) return;
        const int name = v->Column("name"), max = v->Column("max"), other = v->Column("other");
        for (uint32_t r = 0; r < v->Rows(); ++r) {
            Entry e;
            const CString designation = TextOf(*v, name, r);
            e.path = L"Star.GCVS." + designation;
            e.names.push_back(designation);
            if (*v->Text(other, r)) e.names.push_back(TextOf(*v, other, r));
            e.kind = L"variable";
            e.magnitude = v->Number(max, r);
            out.push_back(std::move(e));
        }
    }
};

const SourceRegistration kVariables([] { return std::make_unique<VariableSource>(); },
                                    {L"star.gcvs."});

}  // namespace
}  // namespace sky
