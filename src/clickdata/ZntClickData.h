// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CZntClickData: the information text for an object clicked on the planetarium's sky chart.
///
/// GetText classifies the object path ("Solar.Planet.Mars": its first element is the kind),
/// runs the builder of that kind, caches the text against the host's time and place, and
/// appends the measuring line to full texts.
///
/// Builder contract. A builder is a protected member
///     CString GetTextXxx(CCorZnt* pHost, int bCompact);
/// called only by GetText, after m_Object holds the path and m_nType the click type. It may
/// read m_Object (text and parameters), Status(), m_bNotEarth, m_bOriginNorth and
/// m_nExtraOption, ask the host through QueryObject (a property of the clicked object:
/// "? " + path + suffix) and QueryHost (any other property: "? " + name), and use the shared
/// helpers below. It returns the whole text, each line ended by "\r\n", and touches no cache
/// field. A host failure (COleDispatchException*) simply passes through it.
#include <functional>

#include "clickdata/CdStatus.h"
#include "host/CorZnt.h"
#include "host/StkString.h"
#include "platform/Afx.h"
#include "zvacl/zvacl.h"

/// Composes the information texts of clicked objects; see the notes above. One object
/// serves one thread; its cache makes a repeated click at the same instant and place cost
/// no queries.
class ZCMCOM_API CZntClickData {
public:
    /// Click types: the values of the kind table and of m_nType.
    enum TYPE {
        TYPE_NONE = -1,           ///< no object, or a kind without a text
        TYPE_STAR = 0,            ///< "Star.": catalogue stars, variables, doubles, exoplanets
        TYPE_CONSTELLATION = 1,   ///< "Constellation.": a constellation, or the bare sky in one
        TYPE_EQUATORIAL = 2,      ///< "Equatorial": a point of the sky
        TYPE_SOLAR = 3,           ///< "Solar.": the solar system
        TYPE_DEEPSKY = 4,         ///< "DeepSkyObject." (or "DeepSky."): galaxies, nebulae, clusters
        TYPE_MAGELLAN = 5,        ///< "MagellanicCloud.": the Magellanic Clouds
        TYPE_SATELLITE = 6,       ///< "ArtificialSatellite.": artificial satellites
        TYPE_DEEPSKYIMAGE = 7,    ///< "DeepSkyImage.": deep-sky photographs
        TYPE_METEOR = 8,          ///< "Meteor.": meteor showers
        TYPE_ADFSYSTEM = 9,       ///< a catalogue the user loaded (its own kind name)
        TYPE_ADF = 10,            ///< "Adf": an object of such a catalogue
        TYPE_FIELDOFVIEW = 11,    ///< "FieldOfViewCircle": the field-of-view circle
        TYPE_ANGLEOFVIEW = 12,    ///< "AngleOfView": a camera's field
        TYPE_MOSAICOFFIELD = 13,  ///< "MosaicOfField": a frame of a mosaic
    };

    /// An object without switches (Status() gives the default preset until SetStatus).
    CZntClickData();
    /// Nothing to release; the switches belong to the caller.
    virtual ~CZntClickData();
    CZntClickData(const CZntClickData&) = delete;
    CZntClickData& operator=(const CZntClickData&) = delete;

    /// The text for the object path; bCompact non-zero asks for the one-line form (no
    /// measuring line, a cache slot of its own). Empty for an empty path or an unknown kind.
    CString GetText(CCorZnt* pHost, const CString& path, int bCompact);
    /// Sends query unchanged; its answer (an object path) becomes m_Object. Returns the
    /// click type and copies the object to *pOut, or -1 for an empty answer or unknown kind.
    int GetType(CCorZnt* pHost, CStkString* pOut, const CString& query);
    /// Whether a comment may be shown for the object: 0 for an empty path and for stars
    /// whose catalogue part begins with "NO" or "XNO", else 1.
    int IsCommentEnable(CCorZnt* pHost, CString path);

    /// The switches to use (owned by the caller, which keeps them alive; nullptr: the
    /// default preset).
    void SetStatus(CCdStatus* pStatus) { m_pStatus = pStatus; }
    /// An application-defined option the builders may read (m_nExtraOption).
    void SetExtraOption(int n) { m_nExtraOption = n; }
    /// Non-zero when the observer is not on the Earth: the horizon lines, rise and set and
    /// the hour angle are left out.
    void SetNotEarth(int b) { m_bNotEarth = b; }
    /// Azimuths counted from the north; clears the cache.
    void SetOriginNorth(int b);
    /// Forgets the cached texts, so the next GetText asks the host again.
    void ClearCache();

    /// The object's CDF designation ("STAR ...", "SUN", "NEBULA ...": one line, no line end);
    /// empty when it has none. Leaves the state of the last GetText as it was.
    CString StkToCdf(CCorZnt* pHost, CString path);
    /// The key of the last GetText's object in the caller's object database.
    CString GetDBSearchString(CCorZnt* pHost);

protected:
    /// Classifies obj (its first element is the kind): sets *pType to a TYPE and returns 1,
    /// or 0 for an unknown kind.
    int ObjectSearch(CCorZnt* pHost, CStkString obj, int* pType);
    /// Whether the cached text of path is still valid: the host's instant, zone, site and
    /// place in the solar system are those it was made at.
    int IsCacheAvailable(const CString& path, CCorZnt* pHost);
    /// Records path and the host's instant, zone, site and place as the cache's key.
    void SetCacheState(const CString& path, CCorZnt* pHost);

    /// Asking the host. Every answer is a CStkStr, so atof/IsTrue/... read it directly.
    /// Without a host every answer is empty.
    /// "? " + the object path + suffix, e.g. QueryObject(pHost, L".position.RA").
    CStkStr QueryObject(CCorZnt* pHost, const CString& suffix);
    /// "? " + property, for properties of the host itself, e.g. QueryHost(pHost, L"time.jd").
    static CStkStr QueryHost(CCorZnt* pHost, const CString& property);
    /// The switches; a default preset while none is set.
    const CCdStatus& Status() const;

    /// Shared text helpers. The coordinate formatters read a host answer ("*": the
    /// placeholder of the layout) and apply the user's precision and degree switches:
    /// right ascension in hours, longitude and latitude in degrees. TrimTrailingZero drops
    /// the zeros after a decimal point; GetTimeString, GetEclipseTime and GetPeriodString
    /// format event times (a list of Julian Days in zone hours), eclipse contacts and
    /// periods (days); GetDate reads the host's local date; GetJdSunLambda is the Julian Day
    /// near jd when the Sun's longitude is lambda degrees.
    /// @{
    CString FormatHms(const CString& answer, int precision);
    CString FormatLong(const CString& answer, int precision);
    CString FormatLati(const CString& answer, int precision);
    static void TrimTrailingZero(CString& text);
    static CString GetTimeString(CString list, double zone, const CString& label);
    static CString GetEclipseTime(double jd, const CString& label);
    static CString GetPeriodString(double value);
    static void GetDate(CCorZnt* pHost, tagADATE* date);
    static double GetJdSunLambda(double jd, double lambda);
    /// @}

    /// The position block of most builders; precision applies to its first line.
    CString GetPosString(CCorZnt* pHost, int precision);
    /// The prefix of the position queries: the object path, or the clicked point
    /// ("ClickData.Mark") for a constellation path whose parameter 0 is "Constellation.".
    CString PositionPrefix();

    /// The lines added after the first release, each under its own switch (CdStatus.h), in
    /// this order after every line of today: the constellation; the observing conditions
    /// (airmass, sidereal time, parallactic angle, the Sun's and the Moon's altitude, time
    /// to the next rise, transit and set, tonight's observing window); a solar-system
    /// body's light time and phase angle; a variable's forecast; the measured length in
    /// camera fields; the provenance. A new property the host answers empty, "*" or not as
    /// a number gives no line. Empty when every switch is off.
    /// @{
    CString GetLaterLines(CCorZnt* pHost);
    CString GetConstellationLine(CCorZnt* pHost, const CString& prefix);
    CString GetObservingLines(CCorZnt* pHost, const CString& prefix);
    CString GetEventLines(CCorZnt* pHost, const CString& prefix);
    CString GetSolarBodyLines(CCorZnt* pHost);
    CString GetVariableForecast(CCorZnt* pHost);
    CString GetFieldRatio(CCorZnt* pHost);
    /// @}
    /// The measuring line appended to full texts; empty while the tool is not shown.
    CString GetMeasureString(CCorZnt* pHost);
    /// A moving body's motion per hour in right ascension and declination.
    CString GetDailyMotion(CCorZnt* pHost);
    /// The angle between the Sun and the object, east or west.
    CString GetSolarElongation(CCorZnt* pHost);

    /// Solar system (SolarText.cpp, SolarLines.cpp), artificial satellites and meteor
    /// showers (SatelliteMeteor.cpp), camera field frames (FieldFrames.cpp).
    /// @{
    CString GetTextSolar(CCorZnt* pHost, int bCompact);
    CString GetTextSatellite(CCorZnt* pHost, int bCompact);
    CString GetTextMeteor(CCorZnt* pHost, int bCompact);
    CString GetTextAngleOfField(CCorZnt* pHost, int bCompact);
    CString GetTextMosaicOfField(CCorZnt* pHost, int bCompact);
    CString GetTextFiledOfView(CCorZnt* pHost, int bCompact);
    /// @}
    /// Orbital-element lines; GetRevPeriod is empty when the host has no period.
    /// @{
    CString GetRevPeriod(CCorZnt* pHost);
    CString GetPerihelionPassage(CCorZnt* pHost);
    CString GetSemiMajorAxis(CCorZnt* pHost);
    CString GetEccentricity(CCorZnt* pHost);
    CString GetPerihelionDistance(CCorZnt* pHost);
    /// @}
    /// The lines of one kind of solar-system body after its name line.
    /// @{
    CString GetSolarPlace(CCorZnt* pHost);
    CString GetSolarSun(CCorZnt* pHost);
    CString GetSolarPlanet(CCorZnt* pHost);
    CString GetSolarPlanetSatellite(CCorZnt* pHost);
    CString GetSolarMoon(CCorZnt* pHost);
    CString GetSolarSmallBody(CCorZnt* pHost);
    CString GetSolarMeteorite(CCorZnt* pHost);
    CString GetSolarSpacecraft(CCorZnt* pHost);
    /// @}
    /// Shared parts of those lines: the distances from the Earth in au (with heliocentric
    /// suffix: and from the Sun; with bPlaceholder "*" gives a placeholder line); the
    /// orbital elements of a minor planet or of a comet; the solar eclipse of the moment;
    /// the principal phases of the Moon on the host's local day.
    /// @{
    CString GetAuDistances(CCorZnt* pHost, const wchar_t* helioSuffix, int bPlaceholder);
    /// @}
    /// label + " %8.5f au\r\n" (" %6.3f" at low precision), or its placeholder.
    CString AuDistanceLine(const wchar_t* label, const CString& answer, int bPlaceholder) const;
    /// The orbital elements of a minor planet (bComet 0) or of a comet, the solar eclipse in
    /// progress, and the Moon's principal phases on the host's local day.
    /// @{
    CString GetOrbitalElements(CCorZnt* pHost, int bComet);
    CString GetSolarEclipse(CCorZnt* pHost);
    CString GetMoonPhaseLines(CCorZnt* pHost);
    /// @}
    /// A number line: format filled with the answer, or the placeholder for "*" (also for
    /// an answer that reads as no finite number).
    static CString FormatAnswerLine(const CString& answer, const wchar_t* format,
                                    const wchar_t* placeholder);
    /// The date and time of a Julian Day (UT) in the given zone (hours; 0 keeps UT), with
    /// roundTo > 0 rounded to that many seconds (carrying up to the year, so a clock never
    /// shows 60 seconds). Returns 0, leaving *out zeroed, when there is no such date.
    static int DateOfJd(double jd, double zone, double roundTo, tagADATE* out);

    /// Builders of constellations (and the bare sky), points of the sky and objects of the
    /// user's catalogues; see the builder contract above.
    /// @{
    CString GetTextCons(CCorZnt* pHost, int bCompact);
    CString GetTextEqt(CCorZnt* pHost, int bCompact);
    CString GetTextAdf(CCorZnt* pHost, int bCompact);
    /// @}
    /// 1 when the kind of path names a catalogue the user loaded into the planetarium.
    int IsAdfsystem(CCorZnt* pHost, CString path);

    /// The builder of catalogue stars (StarText.cpp); see the builder contract above.
    CString GetTextStar(CCorZnt* pHost, int bCompact);
    /// The object-type line of a Guide Star Catalog object, and the Japanese name of one
    /// type word.
    /// @{
    CString GetGscTypeString(CCorZnt* pHost);
    static CString TranslateGscType(const CString& word);
    /// @}
    /// Builders of variable and double stars, exoplanets, deep-sky objects, the Magellanic
    /// Clouds and deep-sky photographs (StarVariants.cpp, DeepSkyText.cpp); see the builder
    /// contract above.
    /// @{
    CString GetTextStarGcvs(CCorZnt* pHost, int bCompact);
    CString GetTextStarWds(CCorZnt* pHost, int bCompact);
    CString GetTextExoPlanet(CCorZnt* pHost, int bCompact);
    CString GetTextDeepSky(CCorZnt* pHost, int bCompact);
    CString GetTextMagellan(CCorZnt* pHost, int bCompact);
    CString GetTextDeepSkyImage(CCorZnt* pHost, int bCompact);
    /// @}
    /// The CDF designation per family, for the current object path.
    /// @{
    CString GetCdfTextStar(CCorZnt* pHost);
    CString GetCdfTextCons(CCorZnt* pHost);
    CString GetCdfTextEqt(CCorZnt* pHost);
    CString GetCdfTextSolar(CCorZnt* pHost);
    CString GetCdfTextDeepSky(CCorZnt* pHost);
    CString GetCdfTextMagellan(CCorZnt* pHost);
    CString GetCdfTextSatellite(CCorZnt* pHost);
    CString GetCdfTextMeteor(CCorZnt* pHost);
    CString GetCdfTextAdf(CCorZnt* pHost);
    CString GetCdfTextAngleOfField(CCorZnt* pHost);
    CString GetCdfTextFieldOfView(CCorZnt* pHost);
    /// @}
    /// Answer helpers of these builders. Present: neither empty nor "*".
    static bool IsPresent(const CString& answer);
    /// TrimTrailingZero, then with bKeepZero one "0" after a final "." (2.50 -> 2.5, 3.00 -> 3.0).
    static CString TrimDecimals(CString text, int bKeepZero);
    /// A distance in light years, to about three figures ("32.6", "3260", "3.3e+04").
    static CString GetDistanceString(double lightYears);
    /// The ".CrossID" answer ("HD 1234|SAO 5678") as lines grouped by catalogue, sorted.
    static CString GetCrossIdList(const CString& answer);
    /// text += label + answer + "\r\n", unless the answer is empty.
    static void AppendAnswerLine(CString& text, const wchar_t* label, const CString& answer);
    /// Lines shared by the star builders, each empty when the host has no value:
    /// "HIP" + number; "光度 %5.2f等"; the two proper motions, the host's values times scale
    /// giving mas a year.
    /// @{
    CString GetHipLine(CCorZnt* pHost);
    CString GetMagnitudeLine(CCorZnt* pHost);
    CString GetProperMotionLines(CCorZnt* pHost, double scale);
    /// @}

    int m_bNotEarth = 0;             ///< the observer is not on the Earth (SetNotEarth)
    CStkString m_Object;             ///< the object path of the text being built
    int m_nType = TYPE_NONE;         ///< its click type
    CString m_strText;               ///< the last text
    CCdStatus* m_pStatus = nullptr;  ///< the caller's switches, or nullptr
    int m_nExtraOption = 0;          ///< the application's option (SetExtraOption)
    int m_bOriginNorth = 0;          ///< azimuths from the north (SetOriginNorth)
    /// The cache's key (object, Julian Day, zone, site, place in the solar system) and its
    /// full and compact texts.
    /// @{
    CString m_strCacheObject;
    CString m_strCacheJd;
    CString m_strCacheTimezone;
    CString m_strCacheLocation;
    CString m_strCacheSolar;
    CString m_strCacheText;
    CString m_strCacheCompact;
    /// @}
    CStringArray m_astrWork;  ///< scratch lines of the builders

private:
    /// The builder of m_nType, or an empty text when there is none for it.
    CString Dispatch(CCorZnt* pHost, int bCompact);
    /// Stars go to one of four builders by their catalogue; star-planet paths are rewritten.
    CString DispatchStar(CCorZnt* pHost, int bCompact);
    /// Runs build with m_Object set to path, and puts the object back afterwards (also when
    /// the host throws), so the state of the last GetText stays whole.
    CString WithObject(const CString& path, const std::function<CString()>& build);
    /// The CDF designation of the current object of click type type.
    CString CdfText(CCorZnt* pHost, int type);
    /// The observer's place in the solar system as a cache key: x + ":" + y + ":" + z,
    /// asked in the order z, y, x.
    static CString SolarKey(CCorZnt* pHost);
    /// The name line of the short builders: the answers joined by one blank.
    CString NameLine(CCorZnt* pHost, const CString& prefix, const wchar_t* first,
                     const wchar_t* second);
    CString NameAndPosition(CCorZnt* pHost, const CString& nameLine, int bCompact);
};
