#include "clickdata/CdStatus.h"

CCdStatus::CCdStatus() { SetDefaults(1, false); }

CCdStatus::CCdStatus(int n) { SetDefaults(n, false); }

CCdStatus::~CCdStatus() = default;

void CCdStatus::SetDefaults(int userFlag3, bool keepRaInDegrees) {
    AltSpan = 0;
    AltCenter = 0;
    AltMag = 0;
    Precision = 0;
    IgnoreErase = 1;
    DispPopup = 1;
    CnsInfo = 1;
    StarDetails = 0;
    DispMag = 0;
    DispEqt2000 = 1;
    DispEqtDateApp = 0;
    DispEqt1950 = 0;
    DispEclDateMean = 0;
    DispEclDateApp = 0;
    DispEcl2000 = 0;
    DispGal = 0;
    DispHrz = 0;
    DispHrzOrgSouth = 1;
    DispRiseSet = 0;
    DispAzmth = 0;
    DispHourAngle = 0;
    DispDeltaEqt = 0;
    DispDistR = 0;
    SolarOrbitDetails = 0;
    PlanetPhysicalTable = 0;
    PgcDetails = 0;
    DispNameOnBar = 0;
    DispComment = 0;
    TransparentOnInactive = 0;
    if (!keepRaInDegrees) RaInDegrees = 0;
    UserFlag1 = 1;
    UserFlag2 = 1;
    UserFlag3 = userFlag3;
}

void CCdStatus::SetZentacam() { SetDefaults(1, true); }

void CCdStatus::Init() {
    AltSpan = 0;
    AltCenter = 0;
    AltMag = 0;
    Precision = 0;
    IgnoreErase = 1;
    DispPopup = 1;
    CnsInfo = 1;
    StarDetails = 1;
    DispMag = 1;
    DispEqt2000 = 1;
    DispEqtDateApp = 1;
    DispEqt1950 = 1;
    DispEclDateMean = 1;
    DispEclDateApp = 1;
    DispEcl2000 = 1;
    DispGal = 1;
    DispHrz = 1;
    DispHrzOrgSouth = 1;
    DispRiseSet = 1;
    DispAzmth = 1;
    DispHourAngle = 1;
    DispDeltaEqt = 1;
    DispDistR = 1;
    SolarOrbitDetails = 1;
    PlanetPhysicalTable = 1;
    PgcDetails = 1;
    DispNameOnBar = 0;
    DispComment = 1;
    TransparentOnInactive = 0;
    RaInDegrees = 0;
    UserFlag1 = 0;
    UserFlag2 = 0;
}
