// SPDX-License-Identifier: LGPL-3.0-or-later
// Catalogue stars by Hipparcos number: "Star.HIP.<n>", with proper motion, parallax,
// spectral type, names, designations and identifiers in other catalogues.
#include "sky/catalogs/Tables.h"

namespace sky {
namespace {

class StarSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        CString element, property;
        if (!SplitPath(q, L"star.hip.", &element, &property)) return false;
        const CatalogFile* stars = Table("stars.zct");
        const int hip = WholeNumber(element);
        if (!stars || hip <= 0) return false;
        const int64_t row = stars->FindNumber("hip", hip);
        if (row < 0) return false;
        if (!StarAnswer(*stars, static_cast<uint32_t>(row), property, at, answer)) answer->Empty();
        return true;
    }

    void List(std::vector<Entry>& out) override {
        const CatalogFile* s = Table("stars.zct");
        if (!s) return;
        const int hip = s->Column("hip"), mag = s->Column("mag"), en = s->Column("en"),
                  ja = s->Column("ja");
        const int bayer = s->Column("bayer"), flam = s->Column("flam"), con = s->Column("con");
        for (uint32_t r = 0; r < s->Rows(); ++r) {
            Entry e;
            e.path.Format(L"Star.HIP.%d", s->Integer(hip, r));
            for (int c : {en, ja})
                if (*s->Text(c, r)) e.names.push_back(TextOf(*s, c, r));
            for (int c : {bayer, flam})
                if (*s->Text(c, r)) e.names.push_back(TextOf(*s, c, r) + L" " + TextOf(*s, con, r));
            e.kind = L"star";
            e.magnitude = s->Number(mag, r);
            out.push_back(std::move(e));
        }
    }
};

const SourceRegistration kStars([] { return std::make_unique<StarSource>(); });

}  // namespace
}  // namespace sky
