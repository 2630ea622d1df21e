// SPDX-License-Identifier: LGPL-3.0-or-later
// Galaxies, nebulae and clusters: "DeepSkyObject.<catalogue>.<number>" for NGC, IC, M, PGC
// and the other designations an object has (one object under each of them), and the
// Magellanic Clouds "MagellanicCloud.Large" and "MagellanicCloud.Small".
#include <cwctype>

#include "sky/Answer.h"
#include "sky/catalogs/Tables.h"

namespace sky {
namespace {

// "M 31" of the path's catalogue and number as the table writes designations.
CString Designation(const CString& catalogue, const CString& number) {
    CString upper = catalogue;
    upper.MakeUpper();
    return upper + L" " + number;
}

// The designations of a list ("NGC 224, M 31, PGC 2557") other than the one given.
CString OtherDesignations(const CString& all, const CString& except) {
    CString out;
    int start = 0;
    while (start < all.GetLength()) {
        int comma = all.Find(L',', start);
        if (comma < 0) comma = all.GetLength();
        CString one = all.Mid(start, comma - start);
        one.Trim();
        if (!one.IsEmpty() && one.CompareNoCase(except) != 0)
            out += (out.IsEmpty() ? L"" : L", ") + one;
        start = comma + 1;
    }
    return out;
}

class DeepSkySource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        CString catalogue, rest;
        if (SplitPath(q, L"magellaniccloud.", &catalogue, &rest)) {
            const CatalogFile* d = Table("deepsky.zct");
            if (!d || (catalogue != L"large" && catalogue != L"small")) return false;
            const std::vector<uint32_t> rows = d->Find(catalogue == L"large" ? "lmc" : "smc");
            if (rows.empty()) return false;
            if (rest == L"name" || rest.IsEmpty())
                *answer = catalogue == L"large" ? L"大マゼラン雲" : L"小マゼラン雲";
            else
                *answer = PlaceOf(*d, rows.front(), rest, at);
            return true;
        }
        if (!SplitPath(q, L"deepskyobject.", &catalogue, &rest)) return false;
        const CatalogFile* d = Table("deepsky.zct");
        if (!d) return false;
        // "PGC.2557" or "PGC2557": the number is its own element or follows the catalogue.
        CString number, p;
        int digits = catalogue.GetLength();
        while (digits > 0 && std::iswdigit(static_cast<wint_t>(catalogue[digits - 1]))) --digits;
        if (digits > 0 && digits < catalogue.GetLength()) {
            number = catalogue.Mid(digits);
            catalogue = catalogue.Left(digits);
            p = rest;
        } else if (!NextElement(rest, 0, &number, &p)) {
            return false;
        }
        const std::vector<uint32_t> rows = d->Find(KeyOf(catalogue + number));
        if (rows.empty()) return false;
        const uint32_t row = rows.front();
        const auto number_ = [&](const char* column, const wchar_t* format) {
            return sky::Answer(d->Number(d->Column(column), row), format);
        };
        const CString id = TextOf(*d, d->Column("id"), row);
        const CString others = TextOf(*d, d->Column("others"), row);
        const CString designation = Designation(catalogue, number);
        if (p == L"catalognumber" || p == L"number")
            *answer = designation;
        else if (p == L"subcatalognumber.strings")
            *answer = OtherDesignations(id + L", " + others, designation);
        else if (p == L"name" || p == L"aliasname" || p.IsEmpty())
            *answer = TextOf(*d, d->Column("name"), row);
        else if (p == L"japanesename")
            *answer = TextOf(*d, d->Column("ja"), row);
        else if (p == L"type.name")
            *answer = TextOf(*d, d->Column("type"), row);
        else if (p == L"type")
            *answer = TextOf(*d, d->Column("morph"), row);
        else if (p == L"magnitude")
            *answer = number_("mag", L"%.1f");
        else if (p == L"bt")
            *answer = number_("mag", L"%.2f");
        else if (p == L"logd25")
            *answer = number_("major", L"%.2f");  // arc minutes, as the text shows them
        else if (p == L"logr25")
            *answer = number_("minor", L"%.2f");
        else if (p == L"pa")
            *answer = number_("pa", L"%.0f");
        else if (p == L"vhelio")
            *answer = L"*";  // not in the source
        else if (p == L"size")
            *answer = Size(*d, row);
        else
            *answer = PlaceOf(*d, row, p, at);
        return true;
    }

    void List(std::vector<Entry>& out) override {
        const CatalogFile* d = Table("deepsky.zct");
        if (!d) return;
        const int id = d->Column("id"), name = d->Column("name"), mag = d->Column("mag"),
                  others = d->Column("others");
        const int ja = d->Column("ja");
        for (uint32_t r = 0; r < d->Rows(); ++r) {
            Entry e;
            const CString designation = TextOf(*d, id, r);
            // Listed under its Messier number when it has one, as the host lists it.
            const CString messier = TextOf(*d, others, r).Left(2) == L"M "
                                        ? TextOf(*d, others, r).SpanExcluding(L",")
                                        : CString();
            const CString listed = messier.IsEmpty() ? designation : messier;
            const int blank = listed.Find(L' ');
            e.path = designation == L"LMC" ? CString(L"MagellanicCloud.Large")
                     : blank < 0
                         ? L"DeepSkyObject." + listed
                         : L"DeepSkyObject." + listed.Left(blank) + L"." + listed.Mid(blank + 1);
            e.names.push_back(designation);
            // The other designations, one name each ("M 31, PGC 2557, UGC 454").
            const CString other = TextOf(*d, others, r);
            for (int at = 0; at < other.GetLength();) {
                int comma = other.Find(L',', at);
                if (comma < 0) comma = other.GetLength();
                CString one = other.Mid(at, comma - at);
                if (!one.Trim(L" ").IsEmpty()) e.names.push_back(one);
                at = comma + 1;
            }
            if (*d->Text(name, r)) e.names.push_back(TextOf(*d, name, r));
            if (*d->Text(ja, r)) e.names.push_back(TextOf(*d, ja, r));
            e.kind = L"deepsky";
            e.magnitude = d->Number(mag, r);
            out.push_back(std::move(e));
        }
    }

private:
    static CString Size(const CatalogFile& d, uint32_t row) {
        const double major = d.Number(d.Column("major"), row),
                     minor = d.Number(d.Column("minor"), row);
        if (!std::isfinite(major)) return L"*";
        // Arc minutes to a tenth, without a trailing ".0".
        const auto minutes = [](double v) {
            CString t;
            t.Format(L"%.1f", v);
            if (t.Right(2) == L".0") t = t.Left(t.GetLength() - 2);
            return t + L"'";
        };
        if (std::isfinite(minor) && minor != major) return minutes(major) + L"x" + minutes(minor);
        return minutes(major);
    }

    static CString PlaceOf(const CatalogFile& d, uint32_t row, const CString& p,
                           const Context& at) {
        if (!HasPrefix(p, L"position.") && !HasPrefix(p, L"jd.")) return CString();
        const BodyPlace place =
            FixedPlace(d.Number(d.Column("ra"), row), d.Number(d.Column("dec"), row), at.jdUt,
                       at.site, HasPrefix(p, L"jd."));
        return PlaceAnswer(place, p);
    }
};

const SourceRegistration kDeepSky([] { return std::make_unique<DeepSkySource>(); },
                                  {L"deepskyobject.", L"magellaniccloud."});

}  // namespace
}  // namespace sky
