// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// A source of the built-in sky: one kind of object (comets and minor planets, planetary
/// moons, satellites, catalogue stars, ...). Each source owns the object paths it knows and
/// answers their properties at the host's instant and site, so a new kind of object is a
/// new source, registered by its own file, not a new branch in the host (internal).
#include <array>
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <memory>
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"
#include "sky/DataFolders.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

class Catalog;

/// What a source is asked at: the instant (UT Julian Day), the observer and the zone, and
/// the host's state a source may need: its catalogue and the clicked point.
struct Context {
    double jdUt = 0.0;      ///< the instant, UT Julian Day
    Site site;              ///< the observer's site
    double timezone = 0.0;  ///< the zone's offset at the instant, hours east of UTC
    /// The body the observer is on (at site) or at (its centre); the Earth unless the
    /// "Location" statement named another.
    /// @{
    Body observer = Body::Earth;
    bool onSurface = false;
    /// @}
    const Catalog* catalog = nullptr;  ///< the host's catalogue; null: none
    /// The clicked point {J2000 RA hours, Dec degrees}; a source that answers for a point
    /// of the sky a click would mark (a constellation's label) moves it there. Null: none.
    double* mark = nullptr;
};

/// One object for listings and the name index: its path as the builders take it
/// ("Solar.Comet.1P/Halley"), the names a user may type for it (English, Japanese,
/// designations), its kind ("comet", "star", ...) and a magnitude (NaN: unknown).
struct Entry {
    CString path;                ///< the object path
    std::vector<CString> names;  ///< the names a user may type
    CString kind;                ///< the kind, for listings
    double magnitude = NAN;      ///< the magnitude; NaN when unknown
};

/// One kind of object of the built-in sky; see the notes above. A host owns one instance
/// of each registered source and asks it from one thread.
class Source {
public:
    /// Frees what the source keeps.
    virtual ~Source() = default;
    /// Answers one query in canonical form (lower case, blanks removed, without the leading
    /// "?": "solar.comet.1p/halley.position.ra"). Returns false when the path is not one of
    /// this source's, so the host asks the next source. For an object it knows it returns
    /// true: with the answer, with an empty answer for a property it does not know, or with
    /// "*" for a known property that has no value now. An object whose path other objects
    /// extend (a planet: its moons, its Lagrangian points) returns false instead of an
    /// empty answer, so the sources of those are asked.
    virtual bool Answer(const CString& query, const Context& at, CString* answer) = 0;
    /// Every object it knows.
    virtual void List(std::vector<Entry>& out) = 0;
    /// The objects of the user's own files only (the bundled ones are in the name index).
    virtual void ListUserFiles(std::vector<Entry>& out) { (void)out; }
    /// The instant or the site changed: forget places kept for the earlier one.
    virtual void Changed() {}
    /// A statement "lhs = value" the host does not know itself (lhs in canonical form, value
    /// as written, trimmed). True when it belongs to this source (taken or refused).
    virtual bool Statement(const CString& lhs, const CString& value) {
        (void)lhs, (void)value;
        return false;
    }
};

/// Sources register themselves once per process from their own file, with the beginnings of
/// every path they answer:
///     const sky::SourceRegistration kComets([] { return std::make_unique<CometSource>(); },
///                                           {L"solar.comet."});
/// Every CSkyHost gets one instance of each, asked after the host's own answers (the
/// clock, the site, the settings) by rank, then in registration order (the order of the
/// files in the library, which no source should rely on).
using SourceFactory = std::function<std::unique_ptr<Source>()>;
/// The ranks: a source whose objects' paths others extend goes first, so it is asked
/// before them (a planet before its moons); any other takes the default.
enum class SourceRank { First, Default };
/// A registered source.
struct RegisteredSource {
    SourceFactory make;                     ///< makes one
    SourceRank rank = SourceRank::Default;  ///< when it is asked
    /// The beginnings of every path it answers, each a first element or more with its dot
    /// ("star.hip."): the host asks it only for paths that begin with one of them, or for
    /// every path when there are none.
    std::vector<const wchar_t*> roots;
    /// Whether q is a path it may answer (by roots).
    bool Asks(const CString& q) const;
};
/// Registers a factory when constructed (at static initialisation of its file).
struct ZCMCOM_API SourceRegistration {
    /// Adds factory to the registered sources, with the roots of its paths and its rank.
    SourceRegistration(SourceFactory factory, std::vector<const wchar_t*> roots,
                       SourceRank rank = SourceRank::Default);
};
/// The registered sources, by rank, then in registration order.
const std::vector<RegisteredSource>& RegisteredSources();

/// Splits q after a known prefix ending at q[from]: the next element up to its dot, and
/// what follows that dot as the property (empty without one). False for an empty element.
bool NextElement(const CString& q, int from, CString* element, CString* property);
/// Whether q starts with prefix (without making the prefix of q as a text).
inline bool HasPrefix(const CString& q, const wchar_t* prefix) {
    // A loop rather than wcslen and wcsncmp: most prefixes asked differ at the first letter.
    for (const wchar_t* s = q.GetString(); *prefix; ++s, ++prefix)
        if (*s != *prefix) return false;
    return true;
}
/// A non-negative whole number that is the whole of the text (at most 9 digits), else -1.
int WholeNumber(const CString& text);

/// The answers every object with a place gives the same way: "position.*" (RA and Dec in
/// hours and degrees in five systems, ecliptic and galactic angles, altitude, azimuth from
/// the south, constellation and constellation.abbreviation, airmass, light time in
/// seconds, phase angle) and "jd.rise"/"jd.transit"/"jd.set". Empty when the property is
/// none of them.
CString PlaceAnswer(const BodyPlace& place, const CString& property);

/// The places of fixed J2000 directions for one instant and site, kept until Clear (a
/// source clears them when Changed): the click texts ask a point's place many times.
class FixedPlaces {
public:
    /// The place of (RA hours, Dec degrees), with rise, transit and set when events is set.
    const BodyPlace& At(double raHours, double decDeg, bool events, const Context& at);
    /// Forgets the places kept.
    void Clear() { m_places.clear(); }

private:
    std::map<std::array<double, 3>, BodyPlace> m_places;
    BodyPlace m_unkept;  ///< a direction that is not finite is not kept
};

}  // namespace sky
