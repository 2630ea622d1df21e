// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCdStatus: the switches that decide which lines the click-data texts contain and at what
/// precision. A plain record of 32-bit integers, persisted under the registry key
/// "ClickData" (Load/Save). The click-data object keeps a pointer to one, owned by the caller.
#include "platform/Afx.h"

class ZCMCOM_API CCdStatus {
public:
    /// The default preset (the camera application's).
    CCdStatus();
    /// The default preset with UserFlag3 = n.
    explicit CCdStatus(int n);
    CCdStatus(const CCdStatus&) = default;
    CCdStatus& operator=(const CCdStatus&) = default;
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

    int AltSpan;
    int AltCenter;
    int AltMag;
    int Precision;  ///< non-zero: the coarser coordinate and time layouts
    int IgnoreErase;
    int DispPopup;
    int CnsInfo;  ///< text for a click on the bare sky
    int StarDetails;
    int DispMag;
    int DispEqt2000;
    int DispEqtDateApp;
    int DispEqt1950;
    int DispEclDateMean;
    int DispEclDateApp;
    int DispEcl2000;
    int DispGal;
    int DispHrz;
    int DispHrzOrgSouth;
    int DispRiseSet;
    int DispAzmth;
    int DispHourAngle;
    int DispDeltaEqt;
    int DispDistR;
    int SolarOrbitDetails;
    int PlanetPhysicalTable;
    int PgcDetails;
    int DispNameOnBar;
    int DispComment;
    int TransparentOnInactive;
    int RaInDegrees;  ///< right ascensions in decimal degrees; not persisted
    int UserFlag1;    ///< kept and copied for the application; not persisted
    int UserFlag2;
    int UserFlag3;
    /// Lines added later, all off in every preset but InitAll; persisted after the others.
    int DispConstellation;     ///< "星座 ": the constellation that holds the object
    int DispAirmass;           ///< "エアマス ": airmass and the magnitude after extinction
    int DispSiderealTime;      ///< "恒星時 ": local apparent sidereal time
    int DispLightTime;         ///< "光行時間 ": light time of a solar-system body
    int DispPhaseAngle;        ///< "位相角 ": Sun-body-Earth angle
    int DispParallacticAngle;  ///< "星位角 ": parallactic angle
    int DispSunMoonAltitude;   ///< "太陽高度 ", "月高度 ": how dark the sky is
    int DispTimeToEvents;      ///< "出まで ", "南中まで ", "没まで "
    int DispObservingWindow;   ///< "観測好機 ": tonight's dark hours with the object above 20 degrees
    int DispVariableForecast;  ///< "予報光度 ": a variable's magnitude now from its elements
    int DispFieldRatio;        ///< "視野比 ": the measured length in camera fields
    int DispProvenance;        ///< "出典 ": the theory or catalogue of the numbers

protected:
    void RegistryIO(int bRead);
    /// One value under "ClickData": read into *pValue (kept when missing) or written from it.
    void CDRegBool(int bRead, int* pValue, const wchar_t* name);
    void CDRegInt(int bRead, int* pValue, const wchar_t* name);

private:
    void SetDefaults(int userFlag3, bool keepRaInDegrees);
};
