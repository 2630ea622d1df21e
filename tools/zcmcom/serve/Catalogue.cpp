// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/Catalogue.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <mutex>

#include "serve/JsonWriter.h"
#include "sky/Chart.h"
#include "sky/DataFolders.h"
#include "sky/catalogs/CatalogFile.h"

namespace serve {

namespace {

constexpr double kStarLimit = 8.0;
// Deep-sky objects without a Messier number are listed to this magnitude.
constexpr double kDeepSkyLimit = 12.0;

const sky::CatalogFile* Stars() {
    static sky::CatalogFile stars;
    static bool open = false;
    static std::once_flag once;
    std::call_once(once, [] {
        std::string error;
        open = stars.Open(sky::DataPath("stars.zct"), &error);
    });
    return open ? &stars : nullptr;
}

void AddStars(JsonWriter& w) {
    w.out += "\"stars\":[";
    if (const sky::CatalogFile* s = Stars()) {
        const int ra = s->Column("ra"), dec = s->Column("dec"), mag = s->Column("mag"),
                  pmra = s->Column("pmra"), pmdec = s->Column("pmdec"), hip = s->Column("hip"),
                  ja = s->Column("ja");
        bool first = true;
        for (uint32_t r = 0; r < s->Rows(); ++r) {
            const double m = s->Number(mag, r);
            if (!(m <= kStarLimit)) continue;
            w.out += first ? "[" : ",[";
            first = false;
            w.Number(s->Number(ra, r), 6), w.out += ',', w.Number(s->Number(dec, r), 6);
            w.out += ',', w.Number(m, 2), w.out += ',';
            w.String("Star.HIP." + std::to_string(s->Integer(hip, r))), w.out += ',';
            w.String(s->Text(ja, r)), w.out += ',', w.Number(s->Number(pmra, r), 2);
            w.out += ',', w.Number(s->Number(pmdec, r), 2), w.out += ']';
        }
    }
    w.out += ']';
}

// The path the sky answers a deep-sky row under: its Messier number when it has one.
std::string DeepSkyPath(const std::string& id, const std::string& others) {
    const std::string listed =
        others.compare(0, 2, "M ") == 0 ? others.substr(0, others.find(',')) : id;
    if (id == "LMC") return "MagellanicCloud.Large";
    const size_t blank = listed.find(' ');
    return blank == std::string::npos
               ? "DeepSkyObject." + listed
               : "DeepSkyObject." + listed.substr(0, blank) + "." + listed.substr(blank + 1);
}

void AddDeepSky(JsonWriter& w) {
    sky::CatalogFile d;
    std::string error;
    w.out += ",\"dsos\":[";
    bool first = true;
    if (d.Open(sky::DataPath("deepsky.zct"), &error)) {
        const int ra = d.Column("ra"), dec = d.Column("dec"), mag = d.Column("mag"),
                  major = d.Column("major"), id = d.Column("id"), others = d.Column("others"),
                  name = d.Column("name"), ja = d.Column("ja");
        for (uint32_t r = 0; r < d.Rows(); ++r) {
            const std::string o = d.Text(others, r);
            const bool messier = o.compare(0, 2, "M ") == 0;
            const double m = d.Number(mag, r);
            if (!messier && !(m <= kDeepSkyLimit)) continue;
            std::string label = messier ? "M" + o.substr(2, o.find(',') - 2) : d.Text(id, r);
            const std::string own = *d.Text(ja, r) ? d.Text(ja, r) : d.Text(name, r);
            if (!own.empty()) label += " " + own;
            w.out += first ? "[" : ",[";
            first = false;
            w.Number(d.Number(ra, r), 5), w.out += ',', w.Number(d.Number(dec, r), 5);
            w.out += ',', w.Number(m, 2), w.out += ',';
            w.String(DeepSkyPath(d.Text(id, r), o)), w.out += ',', w.String(label);
            w.out += ',', w.Number(d.Number(major, r), 2), w.out += ']';
        }
    }
    w.out += ']';
}

void AddFigures(JsonWriter& w) {
    const sky::ChartCatalogue& fixed = sky::FixedChartObjects();
    w.out += ",\"lines\":[";
    for (size_t i = 0; i < fixed.segments.size(); ++i) {
        const sky::ChartSegment& g = fixed.segments[i];
        w.out += i ? ",[" : "[";
        w.Number(g.ra1, 4), w.out += ',', w.Number(g.dec1, 4), w.out += ',';
        w.Number(g.ra2, 4), w.out += ',', w.Number(g.dec2, 4), w.out += ']';
    }
    w.out += "],\"constellations\":[";
    for (size_t i = 0; i < fixed.labels.size(); ++i) {
        const sky::ChartLabel& l = fixed.labels[i];
        w.out += i ? ",[" : "[";
        w.String(l.abbreviation.ToUtf8()), w.out += ',', w.String(l.name.ToUtf8());
        w.out += ',', w.Number(l.ra, 4), w.out += ',', w.Number(l.dec, 4), w.out += ']';
    }
    w.out += ']';
}

}  // namespace

bool CatalogueStarPlace(const std::string& path, double* ra, double* dec, double* pmRa,
                        double* pmDec) {
    const sky::CatalogFile* s = Stars();
    if (!s || path.compare(0, 9, "Star.HIP.") != 0 || path.size() > 18) return false;
    char* end = nullptr;
    const long hip = std::strtol(path.c_str() + 9, &end, 10);
    const int64_t row = *end || hip <= 0 ? -1 : s->FindNumber("hip", static_cast<int32_t>(hip));
    if (row < 0) return false;
    const uint32_t r = static_cast<uint32_t>(row);
    *ra = s->Number(s->Column("ra"), r), *dec = s->Number(s->Column("dec"), r);
    *pmRa = s->Number(s->Column("pmra"), r), *pmDec = s->Number(s->Column("pmdec"), r);
    return true;
}

const Catalogue& ChartCatalogue() {
    static Catalogue c;
    static std::once_flag once;
    std::call_once(once, [] {
        JsonWriter w;
        w.out.reserve(4 << 20);
        w.out += '{';
        AddStars(w);
        AddDeepSky(w);
        AddFigures(w);
        // Two answers: the Milky Way named or not, as the page's folder has it.
        for (int with = 0; with < 2; ++with) {
            const std::string text =
                w.out + ",\"milkyway\":" + (with ? "\"/static/milkyway.json\"}" : "null}");
            // FNV-1a of the text: the same catalogue gives the same tag in every process.
            uint64_t h = 1469598103934665603ull;
            for (unsigned char ch : text) h = (h ^ ch) * 1099511628211ull;
            char tag[24];
            std::snprintf(tag, sizeof tag, "\"%016llx\"", static_cast<unsigned long long>(h));
            c.etag[with] = tag;
            c.json[with] = text;
        }
    });
    return c;
}

}  // namespace serve
