// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Comets and minor planets on two-body orbits about the Sun: their elements as the Minor
/// Planet Center publishes them (MPCORB one-line records and the comet lines of
/// CometEls.txt), the position on the orbit at any instant for every eccentricity, and the
/// magnitude laws of both kinds. Exported for the tests and the fuzz targets only.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Export.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// One body's osculating elements, J2000 ecliptic. Every orbit is kept in perihelion form
/// (q, e, time of perihelion), which holds for ellipses, parabolas and hyperbolas alike;
/// elliptic records given by a and the mean anomaly are turned into it when read.
struct SmallBody {
    bool comet = false;       ///< a comet (else a minor planet)
    double q = NAN;           ///< perihelion distance, au
    double e = NAN;           ///< eccentricity
    double i = NAN;           ///< inclination, degrees
    double w = NAN;           ///< argument of perihelion, degrees
    double node = NAN;        ///< longitude of the ascending node, degrees
    double perihelion = NAN;  ///< time of perihelion passage, TT Julian Day
    double epoch = NAN;       ///< osculation epoch, TT Julian Day (NaN: none given)
    /// Minor planets: absolute magnitude H and slope G. Comets: total magnitude g (in H)
    /// and its activity coefficient k (in G): m = g + 5 log D + 2.5 k log r.
    /// @{
    double H = NAN, G = NAN;
    /// @}
    long number = 0;  ///< minor-planet number, or periodic-comet number (0: none)
    std::string
        designation;   ///< "1P", "C/2019 V1", "2022 OU15" (the minor planet's provisional one)
    std::string name;  ///< "Halley", "Ceres" (may be empty)
    std::string id;    ///< what the builder shows: "1P/Halley", "C/2019 V1", "4", "2022 OU15"
    std::string file;  ///< the file the elements were read from (empty: not from a file)
    int rank = 0;      ///< the file's standing: a body of a higher rank hides the lower ones
};

/// Semi-major axis in au (NaN for a parabola or hyperbola) and period in years (NaN likewise).
/// @{
ZCMCOM_API double SemiMajorAxis(const SmallBody& b);
ZCMCOM_API double PeriodYears(const SmallBody& b);
/// @}

/// Heliocentric position, J2000 equatorial, au, at a TT Julian Day. False (out untouched)
/// when the elements are not an orbit (q not above 0, e negative, a value not finite) or the
/// instant is absurdly far from perihelion; never loops without bound.
ZCMCOM_API bool SmallBodyAt(const SmallBody& b, double jdTt, Vec* out);

/// The magnitude at heliocentric distance r and geocentric distance delta (au), phase angle
/// in degrees: H, G for a minor planet, g, k for a comet. NaN without magnitude parameters.
ZCMCOM_API double SmallBodyMagnitude(const SmallBody& b, double r, double delta, double phaseDeg);

/// Reads one record of either format into out: a comet line of CometEls.txt or an MPCORB
/// line. False with a short reason when the line is neither or its values are not usable.
ZCMCOM_API bool ParseElementsLine(const std::string& line, SmallBody* out, std::string* why);

/// The largest element file read: the whole of MPCORB.DAT with room to grow.
constexpr size_t kMaxElementsFileBytes = size_t(400) << 20;

/// The lines of an element file to read: all, or only the comets' or the minor planets'.
enum class ElementsOnly { kAll, kComets, kMinorPlanets };

/// Reads an element file of either format (MPCORB.DAT's header, up to its line of dashes,
/// and blank lines are passed over). Bad lines are skipped and each is added to problems as
/// "file:line: reason". Returns the number of bodies added to out; -1 when the file cannot
/// be read (a problem says why): a folder, a device, a FIFO without a writer, over
/// kMaxElementsFileBytes. With only, the lines of the other kind (by their layout) are
/// passed over unread, bad or not.
ZCMCOM_API int ReadElementsFile(const std::string& path, std::vector<SmallBody>& out,
                                std::vector<std::string>* problems,
                                ElementsOnly only = ElementsOnly::kAll);

/// Packed forms of the MPC: a packed epoch or date ("K233D") to a TT Julian Day (NaN when
/// not one); a packed minor-planet number ("A0001", "~0000") to the number (0 when not
/// one); a packed provisional designation ("K22O15U", "J95O010", "K18F04a") to its plain
/// form ("2022 OU15", "1995 O1", "2018 F4-A"; empty when not one).
/// @{
ZCMCOM_API double UnpackEpoch(const std::string& packed);
ZCMCOM_API long UnpackNumber(const std::string& packed);
ZCMCOM_API std::string UnpackDesignation(const std::string& packed);
/// @}

/// Comets and minor planets by the names a user types. Keys are lower case without blanks
/// (as the host canonicalises queries): a comet by its designation ("1p", "c/2019v1",
/// "c2019v1"), its designation and name ("1p/halley") and its name ("halley"); a minor
/// planet by its number ("4", "(4)", "(4)vesta"), its name ("vesta") and its provisional
/// designation ("2022ou15"). A body read again (the same designation or number) from a file
/// of a higher rank (the user's over the updated copy over the bundled one) hides the
/// earlier one; from a file of the same rank both are kept, and Find gives the one whose
/// epoch is nearest the instant asked (the last read when no instant is given).
class ZCMCOM_API SmallBodyCatalog {
public:
    /// Reads an element file (ReadElementsFile, all its lines or only those of one kind) at
    /// a rank; bad lines go to Problems(). The number of bodies read, -1 when the file
    /// cannot be opened.
    int Load(const std::string& path, int rank = 0, ElementsOnly only = ElementsOnly::kAll);
    /// Adds a body, by its rank (see above).
    void Add(SmallBody body);
    /// The body for a key (any case, blanks ignored) at a TT Julian Day; null when none.
    const SmallBody* Find(bool comet, const std::string& key, double jdTt = NAN) const;
    /// Every body held, and every bad line met by Load ("file:line: reason").
    /// @{
    const std::vector<SmallBody>& Bodies() const { return m_bodies; }
    const std::vector<std::string>& Problems() const { return m_problems; }
    /// @}
    /// A key as the index keeps it: ASCII lower case, blanks removed.
    static std::string Key(const std::string& text);
    /// The element of an object path: "1P", "C2019V1", "4", "2022OU15".
    static std::string PathName(const SmallBody& b);

private:
    void Index(int at);
    std::vector<SmallBody> m_bodies;
    std::unordered_map<std::string, int> m_keys[2];            ///< [0] minor planets, [1] comets
    std::unordered_map<int, std::vector<SmallBody>> m_others;  ///< earlier sets of one rank
    std::vector<std::string> m_problems;
};

}  // namespace sky
