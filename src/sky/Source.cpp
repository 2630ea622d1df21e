// SPDX-License-Identifier: LGPL-3.0-or-later
// The registry of the sky's sources and the answers they share.
#include "sky/Source.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "sky/Answer.h"
#include "zvacl/zvacl.h"

namespace sky {

namespace {

std::vector<RegisteredSource>& Registered() {
    static std::vector<RegisteredSource> sources;
    return sources;
}

CString Num(double v) { return Answer(v, L"%.8f"); }

}  // namespace

SourceRegistration::SourceRegistration(SourceFactory factory, std::vector<const wchar_t*> roots,
                                       SourceRank rank) {
    // After the last one of the same rank or a lower one.
    std::vector<RegisteredSource>& sources = Registered();
    const auto at =
        std::upper_bound(sources.begin(), sources.end(), rank,
                         [](SourceRank r, const RegisteredSource& s) { return r < s.rank; });
    sources.insert(at, RegisteredSource{std::move(factory), rank, std::move(roots)});
}

const std::vector<RegisteredSource>& RegisteredSources() { return Registered(); }

bool RegisteredSource::Asks(const CString& q) const {
    return roots.empty() || std::any_of(roots.begin(), roots.end(),
                                        [&](const wchar_t* r) { return HasPrefix(q, r); });
}

bool NextElement(const CString& q, int from, CString* element, CString* property) {
    if (from > q.GetLength()) return false;
    const int dot = q.Find(L'.', from);
    *element = dot < 0 ? q.Mid(from) : q.Mid(from, dot - from);
    *property = dot < 0 ? CString() : q.Mid(dot + 1);
    return !element->IsEmpty();
}

int WholeNumber(const CString& text) {
    if (text.IsEmpty() || text.GetLength() > 9) return -1;
    int v = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return -1;
        v = v * 10 + (text[i] - L'0');
    }
    return v;
}

CString PlaceAnswer(const BodyPlace& p, const CString& property) {
    if (property == L"jd.rise") return Num(p.rise);
    if (property == L"jd.transit") return Num(p.transit);
    if (property == L"jd.set") return Num(p.set);
    if (!HasPrefix(property, L"position.")) return CString();
    const wchar_t* const what = property.GetString() + 9;
    const auto is = [what](const wchar_t* name) { return std::wcscmp(what, name) == 0; };
    // The horizon first, the most asked.
    if (is(L"altitude")) return Num(p.altitude);
    if (is(L"azimuth")) return Num(p.azimuth);
    if (is(L"equatorialdateapp.ra")) return Num(p.apparent.lon / 15.0);
    if (is(L"equatorialdateapp.dec")) return Num(p.apparent.lat);
    struct Row {
        const wchar_t* name;
        Frame frame;
        bool lat;
        bool hours;
    };
    static const Row kRows[] = {
        {L"ra", Frame::Equatorial2000, false, true},
        {L"dec", Frame::Equatorial2000, true, false},
        {L"equatorialb1950.ra", Frame::Equatorial1950, false, true},
        {L"equatorialb1950.dec", Frame::Equatorial1950, true, false},
        {L"ecliptical.lambda", Frame::EclipticMean, false, false},
        {L"ecliptical.beta", Frame::EclipticMean, true, false},
        {L"eclipticdateapp.lambda", Frame::EclipticApp, false, false},
        {L"eclipticdateapp.beta", Frame::EclipticApp, true, false},
        {L"eclipticj2000.lambda", Frame::Ecliptic2000, false, false},
        {L"eclipticj2000.beta", Frame::Ecliptic2000, true, false},
        {L"galactical.longitude", Frame::Galactic, false, false},
        {L"galactical.latitude", Frame::Galactic, true, false},
    };
    for (const Row& row : kRows) {
        if (!is(row.name)) continue;
        const Sphere s = p.In(row.frame);
        const double v = row.lat ? s.lat : s.lon;
        return Num(row.hours ? v / 15.0 : v);
    }
    if (is(L"airmass")) return Num(GetAirmass(p.altitude));
    if (is(L"lighttime")) return Answer(p.lightTime, L"%.4f");
    if (is(L"phaseangle")) return Num(p.phaseAngle);
    if (is(L"constellation") || is(L"constellation.abbreviation")) {
        const Sphere s = p.In(Frame::Equatorial2000);
        const char* abbr = ConstellationAt(s.lon, s.lat);
        return abbr ? CString(abbr) : CString();
    }
    return CString();
}

const BodyPlace& FixedPlaces::At(double ra, double dec, bool events, const Context& at) {
    // Kept by direction only when it is one (NaN would upset the map's order).
    if (!std::isfinite(ra) || !std::isfinite(dec)) {
        m_unkept = FixedPlace(ra * 15.0, dec, at.jdUt, at.site, events);
        return m_unkept;
    }
    const std::array<double, 3> key{ra, dec, events ? 1.0 : 0.0};
    auto it = m_places.find(key);
    if (it == m_places.end())
        it = m_places.emplace(key, FixedPlace(ra * 15.0, dec, at.jdUt, at.site, events)).first;
    return it->second;
}

}  // namespace sky
