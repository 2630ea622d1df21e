// SPDX-License-Identifier: LGPL-3.0-or-later
// The library's object paths and Stellarium's object names, both ways.
#include <cwctype>

#include "hosts/stellarium/StellariumJson.hpp"

namespace stellarium {

namespace {

// The solar-system bodies by canonical path, with Stellarium's name and the path the
// library gives them. Longer paths first, so the Moon is not taken for the Earth.
const struct Body {
    const wchar_t* canonical;
    const char* name;
    const wchar_t* path;
} kBodies[] = {
    {L"solar.planet.earth.satellite.moon", "Moon", L"Solar.Planet.Earth.Satellite.Moon"},
    {L"solar.moon", "Moon", nullptr},
    {L"solar.sun", "Sun", L"Solar.Sun"},
    {L"solar.planet.mercury", "Mercury", L"Solar.Planet.Mercury"},
    {L"solar.planet.venus", "Venus", L"Solar.Planet.Venus"},
    {L"solar.planet.mars.satellite.phobos", "Phobos", L"Solar.Planet.Mars.Satellite.Phobos"},
    {L"solar.planet.mars.satellite.deimos", "Deimos", L"Solar.Planet.Mars.Satellite.Deimos"},
    {L"solar.planet.mars", "Mars", L"Solar.Planet.Mars"},
    {L"solar.planet.jupiter.satellite.io", "Io", L"Solar.Planet.Jupiter.Satellite.Io"},
    {L"solar.planet.jupiter.satellite.europa", "Europa", L"Solar.Planet.Jupiter.Satellite.Europa"},
    {L"solar.planet.jupiter.satellite.ganymede", "Ganymede",
     L"Solar.Planet.Jupiter.Satellite.Ganymede"},
    {L"solar.planet.jupiter.satellite.callisto", "Callisto",
     L"Solar.Planet.Jupiter.Satellite.Callisto"},
    {L"solar.planet.jupiter", "Jupiter", L"Solar.Planet.Jupiter"},
    {L"solar.planet.saturn.satellite.titan", "Titan", L"Solar.Planet.Saturn.Satellite.Titan"},
    {L"solar.planet.saturn", "Saturn", L"Solar.Planet.Saturn"},
    {L"solar.planet.uranus", "Uranus", L"Solar.Planet.Uranus"},
    {L"solar.planet.neptune", "Neptune", L"Solar.Planet.Neptune"},
    {L"solar.dwarfplanet.pluto", "Pluto", L"Solar.DwarfPlanet.Pluto"},
};

// Meteor showers by their IAU code (the path's element) and Stellarium's name.
const struct Shower {
    const wchar_t* code;
    const char* name;
} kShowers[] = {
    {L"QUA", "Quadrantids"},      {L"LYR", "Lyrids"},
    {L"ETA", "eta Aquariids"},    {L"SDA", "Southern delta Aquariids"},
    {L"PER", "Perseids"},         {L"DRA", "Draconids"},
    {L"ORI", "Orionids"},         {L"STA", "Southern Taurids"},
    {L"NTA", "Northern Taurids"}, {L"LEO", "Leonids"},
    {L"GEM", "Geminids"},         {L"URS", "Ursids"},
};

// Deep-sky catalogues by the path's element, with the prefix of Stellarium's name.
const struct DeepSky {
    const wchar_t* element;
    const wchar_t* prefix;
} kDeepSky[] = {{L"m", L"M"}, {L"ngc", L"NGC "}, {L"ic", L"IC "}};

bool AllDigits(const CString& s) {
    if (s.IsEmpty() || s.GetLength() > 9) return false;
    for (int i = 0; i < s.GetLength(); ++i)
        if (!std::iswdigit(static_cast<wint_t>(s[i]))) return false;
    return true;
}

// The element after a prefix up to the next dot, and what follows that dot.
bool Element(const CString& q, int from, CString* element, CString* rest) {
    if (from > q.GetLength()) return false;
    const int dot = q.Find(L'.', from);
    *element = dot < 0 ? q.Mid(from) : q.Mid(from, dot - from);
    *rest = dot < 0 ? CString() : q.Mid(dot + 1);
    return !element->IsEmpty();
}

CString Wide(const std::string& s) { return CString(s.c_str()); }

}  // namespace

bool SplitObjectQuery(const CString& q, CString* path, CString* property) {
    for (const Body& b : kBodies) {
        const CString p(b.canonical);
        if (!StartsWith(q, b.canonical) ||
            (q.GetLength() > p.GetLength() && q[p.GetLength()] != L'.'))
            continue;
        *path = p;
        *property = q.Mid(p.GetLength() + 1);
        return true;
    }
    CString element, rest;
    if (StartsWith(q, L"star.hip.") && Element(q, 9, &element, &rest) && AllDigits(element)) {
        *path = L"star.hip." + element;
        *property = rest;
        return true;
    }
    if (StartsWith(q, L"meteor.") && Element(q, 7, &element, &rest)) {
        *path = L"meteor." + element;
        *property = rest;
        return !NameOfPath(*path).IsEmpty();
    }
    for (const DeepSky& d : kDeepSky) {
        const CString prefix = L"deepskyobject." + CString(d.element) + L".";
        CString number;
        if (StartsWith(q, prefix) && Element(q, prefix.GetLength(), &number, &rest) &&
            AllDigits(number)) {
            *path = prefix + number;
            *property = rest;
            return true;
        }
    }
    return false;
}

CString NameOfPath(const CString& path) {
    for (const Body& b : kBodies)
        if (path == b.canonical) return CString(b.name);
    if (StartsWith(path, L"star.hip.") && AllDigits(path.Mid(9))) return L"HIP " + path.Mid(9);
    if (StartsWith(path, L"meteor.")) {
        for (const Shower& s : kShowers)
            if (path.Mid(7).CompareNoCase(s.code) == 0) return CString(s.name);
        return CString();
    }
    for (const DeepSky& d : kDeepSky) {
        const CString prefix = L"deepskyobject." + CString(d.element) + L".";
        if (StartsWith(path, prefix) && AllDigits(path.Mid(prefix.GetLength())))
            return CString(d.prefix) + path.Mid(prefix.GetLength());
    }
    return CString();
}

CString PathOfInfo(const nlohmann::json& info) {
    if (!info.is_object() || !Flag(info, "found", true)) return CString();
    const std::string name = Text(info, "name");
    const std::string type = Text(info, "type");
    if (type == "Planet") {
        for (const Body& b : kBodies)
            if (b.path && name == b.name) return b.path;
        return CString();
    }
    if (type == "Star") {
        if (name.rfind("HIP ", 0) == 0 && AllDigits(Wide(name.substr(4))))
            return L"Star.HIP." + Wide(name.substr(4));
        return CString();
    }
    if (type == "MeteorShower") {
        for (const Shower& s : kShowers)
            if (name == s.name) return L"Meteor." + CString(s.code);
        return CString();
    }
    // A deep-sky object by the first of its NGC, IC and Messier designations.
    const std::vector<CString> designations = SplitDesignations(Text(info, "designations"));
    static const struct {
        const wchar_t* prefix;
        const wchar_t* path;
    } kOrder[] = {{L"NGC ", L"DeepSkyObject.NGC."},
                  {L"IC ", L"DeepSkyObject.IC."},
                  {L"M ", L"DeepSkyObject.M."}};
    for (const auto& o : kOrder)
        for (const CString& d : designations)
            if (StartsWith(d, o.prefix) && AllDigits(d.Mid(CString(o.prefix).GetLength())))
                return o.path + d.Mid(CString(o.prefix).GetLength());
    return CString();
}

std::vector<CString> SplitDesignations(const std::string& text) {
    const CString all = Wide(text);
    std::vector<CString> out;
    int start = 0;
    while (start < all.GetLength()) {
        int end = all.Find(L" - ", start);
        if (end < 0) end = all.GetLength();
        CString d = all.Mid(start, end - start);
        d.Trim();
        out.push_back(d);
        start = end + 3;
    }
    return out;
}

CString PathOfInfo(const std::string& infoJson) {
    const nlohmann::json info = nlohmann::json::parse(infoJson, nullptr, false);
    return info.is_discarded() ? CString() : PathOfInfo(info);
}

}  // namespace stellarium
