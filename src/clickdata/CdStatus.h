// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCdStatus: the switches that decide which lines the click-data texts contain and at what
/// precision. A plain record of 32-bit integers, persisted under the registry key
/// "ClickData" (Load/Save). The click-data object keeps a pointer to one, owned by the caller.
#include "platform/Afx.h"

/// The click-data switches. Each field is 0 (off) or non-zero (on) unless said otherwise;
/// the presets set them together, and the application may set any field itself.
class ZCMCOM_API CCdStatus {
public:
    /// The default preset (the camera application's).
    CCdStatus();
    /// The default preset with UserFlag3 = n.
    explicit CCdStatus(int n);
    /// Copies every switch.
    /// @{
    CCdStatus(const CCdStatus&) = default;
    CCdStatus& operator=(const CCdStatus&) = default;
    /// @}
    /// Nothing to release.
    virtual ~CCdStatus();

    /// Nearly every line shown; UserFlag3 is left as it is.
    void Init();
    /// Init, and every line added after the first release (the switches below UserFlag3) on.
    void InitAll();
    /// The default preset with UserFlag3 = 1; RaInDegrees is left as it is.
    void SetZentacam();
    /// Reads every persisted switch; a value that is missing or unreadable keeps its field.
    void Load();
    /// Writes every persisted switch, then the planetarium's two click-data settings.
    void Save();

    /// The application's own display settings (AltMag a truth value, AltSpan and AltCenter
    /// integers), kept and persisted here but not read by the texts.
    /// @{
    int AltSpan;
    int AltCenter;
    int AltMag;
    /// @}
    int Precision;              ///< non-zero: the coarser coordinate and time layouts
    int IgnoreErase;            ///< the application's setting; not read by the texts
    int DispPopup;              ///< the application's setting; not read by the texts
    int CnsInfo;                ///< text for a click on the bare sky (and its database key)
    int StarDetails;            ///< a star's motion, parallax, distance, colour, spectrum, numbers
    int DispMag;                ///< the magnitude line
    int DispEqt2000;            ///< right ascension and declination, J2000
    int DispEqtDateApp;         ///< apparent right ascension and declination of date
    int DispEqt1950;            ///< right ascension and declination, B1950
    int DispEclDateMean;        ///< ecliptic longitude and latitude, mean of date
    int DispEclDateApp;         ///< ecliptic longitude and latitude, apparent of date
    int DispEcl2000;            ///< ecliptic longitude and latitude, J2000
    int DispGal;                ///< galactic longitude and latitude
    int DispHrz;                ///< azimuth and altitude, and the refracted altitude
    int DispHrzOrgSouth;        ///< the application's setting; not read by the texts
    int DispRiseSet;            ///< rise, transit and set times
    int DispAzmth;              ///< the measuring line's position angle and angular distance
    int DispHourAngle;          ///< the hour angle
    int DispDeltaEqt;           ///< the application's setting; not read by the texts
    int DispDistR;              ///< distances (geocentric, topocentric, heliocentric)
    int SolarOrbitDetails;      ///< a solar-system body's orbital elements
    int PlanetPhysicalTable;    ///< central meridian and latitude, a satellite's sub-point
    int PgcDetails;             ///< a galaxy's position angle, Hubble type and radial velocity
    int DispNameOnBar;          ///< the application's setting; not read by the texts
    int DispComment;            ///< the application's setting; not read by the texts
    int TransparentOnInactive;  ///< the application's setting; not read by the texts
    int RaInDegrees;            ///< right ascensions in decimal degrees; not persisted
    /// Kept and copied for the application; not persisted (UserFlag3 is set by the presets
    /// that take it).
    /// @{
    int UserFlag1;
    int UserFlag2;
    int UserFlag3;
    /// @}
    /// Lines added later, all off in every preset but InitAll; persisted after the others.
    int DispConstellation;     ///< "星座 ": the constellation that holds the object
    int DispAirmass;           ///< "エアマス ": airmass and the magnitude after extinction
    int DispSiderealTime;      ///< "恒星時 ": local apparent sidereal time
    int DispLightTime;         ///< "光行時間 ": light time of a solar-system body
    int DispPhaseAngle;        ///< "位相角 ": Sun-body-Earth angle
    int DispParallacticAngle;  ///< "星位角 ": parallactic angle
    int DispSunMoonAltitude;   ///< "太陽高度 ", "月高度 ": how dark the sky is
    int DispTimeToEvents;      ///< "出まで ", "南中まで ", "没まで "
    int DispObservingWindow;   ///< "観測好機 ": tonight's dark hours with the object above 20
                               ///< degrees
    int DispVariableForecast;  ///< "予報光度 ": a variable's magnitude now from its elements
    int DispFieldRatio;        ///< "視野比 ": the measured length in camera fields
    int DispProvenance;        ///< "出典 ": the theory or catalogue of the numbers

protected:
    /// Reads (bRead non-zero) or writes every persisted switch under "ClickData".
    void RegistryIO(int bRead);
    /// One value under "ClickData": read into *pValue (kept when missing) or written from it,
    /// as a truth value or as an integer.
    /// @{
    void CDRegBool(int bRead, int* pValue, const wchar_t* name);
    void CDRegInt(int bRead, int* pValue, const wchar_t* name);
    /// @}

private:
    void SetDefaults(int userFlag3, bool keepRaInDegrees);
};
