// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/Catalogue.h"

#include <cmath>
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

void AddStars(Catalogue& c, JsonWriter& w) {
    sky::CatalogFile s;
    std::string error;
    w.out += "\"stars\":[";
    if (s.Open(sky::DataPath("stars.zct"), &error)) {
        const int ra = s.Column("ra"), dec = s.Column("dec"), mag = s.Column("mag"),
                  pmra = s.Column("pmra"), pmdec = s.Column("pmdec"), hip = s.Column("hip"),
                  ja = s.Column("ja");
        for (uint32_t r = 0; r < s.Rows(); ++r) {
            const double m = s.Number(mag, r);
            if (!(m <= kStarLimit)) continue;
            CatalogueStar star{s.Number(ra, r),
                               s.Number(dec, r),
                               m,
                               s.Number(pmra, r),
                               s.Number(pmdec, r),
                               "Star.HIP." + std::to_string(s.Integer(hip, r)),
                               s.Text(ja, r)};
            if (!c.stars.empty()) w.out += ',';
            w.out += '[';
            w.Number(star.ra, 6), w.out += ',', w.Number(star.dec, 6), w.out += ',';
            w.Number(star.mag, 2), w.out += ',', w.String(star.path), w.out += ',';
            w.String(star.label), w.out += ',', w.Number(star.pmRa, 2), w.out += ',';
            w.Number(star.pmDec, 2), w.out += ']';
            c.starByPath.emplace(star.path, c.stars.size());
            c.stars.push_back(std::move(star));
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

const Catalogue& ChartCatalogue() {
    static Catalogue c;
    static std::once_flag once;
    std::call_once(once, [] {
        JsonWriter w;
        w.out.reserve(4 << 20);
        w.out += '{';
        AddStars(c, w);
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
