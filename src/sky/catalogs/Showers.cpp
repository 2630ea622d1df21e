// SPDX-License-Identifier: LGPL-3.0-or-later
// Meteor showers as a source of the sky: "Meteor.PER" and the like, from data/showers.txt.
#include "sky/catalogs/Showers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "sky/Answer.h"
#include "sky/Source.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type from = 0;
    for (;;) {
        const auto tab = line.find('\t', from);
        fields.push_back(
            line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) return fields;
        from = tab + 1;
    }
}

// A number that is the whole field; an empty field is NaN when allowed.
bool Field(const std::string& text, bool mayBeEmpty, double* value) {
    if (text.empty()) {
        *value = NAN;
        return mayBeEmpty;
    }
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(*value);
}

}  // namespace

std::vector<Shower> ReadShowers(std::istream& in, std::vector<std::string>* problems) {
    std::vector<Shower> showers;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        Shower s;
        const char* problem = nullptr;
        if (f.size() != 15) {
            problem = "not 15 fields";
        } else if (f[0].empty() || f[1].empty()) {
            problem = "no code or name";
        } else {
            s.code = f[0], s.name = f[1], s.japanese = f[2], s.iau = f[3], s.parent = f[14];
            double* required[] = {&s.start, &s.peak, &s.end, &s.ra, &s.dec, &s.dRa, &s.dDec};
            const int columns[] = {4, 5, 6, 9, 10, 11, 12};
            for (int i = 0; i < 7 && !problem; ++i)
                if (!Field(f[columns[i]], false, required[i]))
                    problem = "a solar longitude or the radiant is not a number";
            if (!problem && (!Field(f[7], true, &s.zhr) || !Field(f[8], true, &s.speed) ||
                             !Field(f[13], true, &s.population)))
                problem = "ZHR, speed or population index is not a number";
            if (!problem &&
                (std::fabs(s.dec) > 90 || s.ra < 0 || s.ra >= 360 || s.peak < 0 || s.peak >= 360))
                problem = "a value out of range";
        }
        if (problem) {
            if (problems) problems->push_back("line " + std::to_string(number) + ": " + problem);
            continue;
        }
        showers.push_back(std::move(s));
    }
    return showers;
}

double SunLongitude2000(double jdUt) {
    const Vec sun = EquatorialToEcliptic(-1.0 * EarthAt(TtOf(jdUt)), MeanObliquity(2451545.0));
    return Norm360(std::atan2(sun.y, sun.x) / kRad);
}

double NextSunLongitude(double jdUt, double lambda) {
    if (!std::isfinite(jdUt) || !std::isfinite(lambda)) return NAN;
    // From the mean motion, then Newton's steps on the true longitude.
    double jd = jdUt + Norm360(lambda - SunLongitude2000(jdUt)) / 0.9856;
    for (int i = 0; i < 8; ++i) jd += Norm180(lambda - SunLongitude2000(jd)) / 0.9856;
    // A peak a little before jdUt has passed: the next is a year on.
    if (jd < jdUt) jd = NextSunLongitude(jdUt + 1.0, lambda);
    return jd;
}

void RadiantAt(const Shower& s, double lambda, double* ra, double* dec) {
    const double days =
        std::clamp(Norm180(lambda - s.peak), -Norm360(s.peak - s.start), Norm360(s.end - s.peak));
    *ra = Norm360(s.ra + s.dRa * days);
    *dec = std::clamp(s.dec + s.dDec * days, -90.0, 90.0);
}

namespace {

const std::vector<Shower>& Table() {
    static const std::vector<Shower> table = [] {
        std::vector<std::string> problems;
        const std::string path = DataPath("showers.txt");
        std::ifstream in(path);
        std::vector<Shower> showers = ReadShowers(in, &problems);
        for (const std::string& p : problems)
            std::fprintf(stderr, "%s: %s, skipped\n", path.c_str(), p.c_str());
        return showers;
    }();
    return table;
}

class ShowerSource : public Source {
public:
    bool Answer(const CString& q, const Context& at, CString* answer) override {
        if (!HasPrefix(q, L"meteor.")) return false;
        CString code, property;
        if (!NextElement(q, 7, &code, &property)) return false;
        const Shower* s = Find(code);
        if (!s) return false;
        *answer = Property(*s, property, at);
        return true;
    }

    void List(std::vector<Entry>& out) override {
        for (const Shower& s : Table()) {
            Entry e{L"Meteor." + CString(s.code.c_str()),
                    {CString(s.name.c_str()), CString(s.code.c_str())},
                    L"meteor shower",
                    NAN};
            // "オリオン座流星群": the bare "オリオン座" names the constellation.
            if (!s.japanese.empty()) e.names.push_back(CString((s.japanese + "流星群").c_str()));
            out.push_back(e);
        }
    }

private:
    static const Shower* Find(const CString& code) {
        for (const Shower& s : Table()) {
            CString c(s.code.c_str());
            c.MakeLower();
            if (c == code) return &s;
        }
        return nullptr;
    }

    static CString Property(const Shower& s, const CString& property, const Context& at) {
        if (property.IsEmpty() || property == L"englishname") return CString(s.name.c_str());
        if (property == L"name") return CString((s.japanese.empty() ? s.name : s.japanese).c_str());
        if (property == L"japanesename") return CString(s.japanese.c_str());
        if (property == L"parent") return CString(s.parent.c_str());
        // The table's longitudes are J2000; the builders time the peak by the Sun's longitude
        // on the equinox of date, so the peak's is answered there too.
        if (property == L"lambdaofpeak") {
            const double T = (TtOf(at.jdUt) - 2451545.0) / 36525.0;
            return sky::Answer(Norm360(s.peak + (5028.796195 * T + 1.1054348 * T * T) / 3600.0),
                               L"%.4f");
        }
        if (property == L"lambdaofpeak.j2000") return sky::Answer(s.peak, L"%.2f");
        if (property == L"activity.start") return sky::Answer(s.start, L"%.2f");
        if (property == L"activity.end") return sky::Answer(s.end, L"%.2f");
        if (property == L"zhr") return s.zhr < 0 ? CString(L"*") : sky::Answer(s.zhr, L"%.0f");
        if (property == L"speed") return sky::Answer(s.speed, L"%.0f");
        if (property == L"populationindex") return sky::Answer(s.population, L"%.2f");
        if (property == L"jd.peak") return sky::Answer(NextSunLongitude(at.jdUt, s.peak), L"%.5f");
        double ra = 0, dec = 0;
        RadiantAt(s, SunLongitude2000(at.jdUt), &ra, &dec);
        if (HasPrefix(property, L"position.") || HasPrefix(property, L"jd."))
            return PlaceAnswer(FixedPlace(ra, dec, at.jdUt, at.site, HasPrefix(property, L"jd.")),
                               property);
        return CString();
    }
};

const SourceRegistration kShowers([] { return std::make_unique<ShowerSource>(); }, {L"meteor."});

}  // namespace

}  // namespace sky
