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
        // The last star found, as a text asks one star many questions in turn.
        thread_local const CatalogFile* lastTable = nullptr;
        thread_local int lastHip = 0;
        thread_local int64_t lastRow = -1;
        if (stars != lastTable || hip != lastHip) {
            lastRow = stars->FindNumber("hip", hip);
            lastTable = stars, lastHip = hip;
        }
        const int64_t row = lastRow;
        if (row >= 0 && !StarAnswer(*stars, static_cast<uint32_t>(row), property, at, answer))
            answer->Empty();
        // Read from a table cut short meanwhile (zeros): no answer, and the table is refused.
        if (stars->Faulted()) {
            answer->Empty();
            lastTable = nullptr;
            Table("stars.zct");
        }
        return row >= 0;
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

const SourceRegistration kStars([] { return std::make_unique<StarSource>(); }, {L"star.hip."});

}  // namespace
}  // namespace sky
