// SPDX-License-Identifier: LGPL-3.0-or-later
#include "clickdata/CdStatus.h"

#include <array>

#include "dirode/Registry.h"
#include "platform/Registry.h"
#include "res/LibraryResources.h"

namespace {

// The switches of the lines added after the first release, in persisted order.
const std::array<int CCdStatus::*, 12> kLaterLines = {
    &CCdStatus::DispConstellation,   &CCdStatus::DispAirmass,
    &CCdStatus::DispSiderealTime,    &CCdStatus::DispLightTime,
    &CCdStatus::DispPhaseAngle,      &CCdStatus::DispParallacticAngle,
    &CCdStatus::DispSunMoonAltitude, &CCdStatus::DispTimeToEvents,
    &CCdStatus::DispObservingWindow, &CCdStatus::DispVariableForecast,
    &CCdStatus::DispFieldRatio,      &CCdStatus::DispProvenance};

}  // namespace

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
    for (int CCdStatus::*field : kLaterLines) this->*field = 0;
}

void CCdStatus::SetZentacam() { SetDefaults(1, true); }

void CCdStatus::Init() {
    // Everything shown: the defaults with every display switch on, and the user flags 1
    // and 2 cleared (flag 3 stays as it is).
    SetDefaults(UserFlag3, false);
    for (int CCdStatus::*on :
         {&CCdStatus::StarDetails, &CCdStatus::DispMag, &CCdStatus::DispEqtDateApp,
          &CCdStatus::DispEqt1950, &CCdStatus::DispEclDateMean, &CCdStatus::DispEclDateApp,
          &CCdStatus::DispEcl2000, &CCdStatus::DispGal, &CCdStatus::DispHrz,
          &CCdStatus::DispRiseSet, &CCdStatus::DispAzmth, &CCdStatus::DispHourAngle,
          &CCdStatus::DispDeltaEqt, &CCdStatus::DispDistR, &CCdStatus::SolarOrbitDetails,
          &CCdStatus::PlanetPhysicalTable, &CCdStatus::PgcDetails, &CCdStatus::DispComment})
        this->*on = 1;
    UserFlag1 = 0;
    UserFlag2 = 0;
}

void CCdStatus::InitAll() {
    Init();
    for (int CCdStatus::*field : kLaterLines) this->*field = 1;
}

namespace {

enum class Kind { Bool, Int };

// The persisted switches, in the order they are read and written.
const struct {
    const wchar_t* name;
    int CCdStatus::*field;
    Kind kind;
} kPersisted[] = {
    {L"AltMag", &CCdStatus::AltMag, Kind::Bool},
    {L"AltSpan", &CCdStatus::AltSpan, Kind::Int},
    {L"AltCenter", &CCdStatus::AltCenter, Kind::Int},
    {L"Precision", &CCdStatus::Precision, Kind::Int},
    {L"IgnoreErase", &CCdStatus::IgnoreErase, Kind::Bool},
    {L"DispPopup", &CCdStatus::DispPopup, Kind::Bool},
    {L"CnsInfo", &CCdStatus::CnsInfo, Kind::Bool},
    {L"StarDetails", &CCdStatus::StarDetails, Kind::Bool},
    {L"DispAzmth", &CCdStatus::DispAzmth, Kind::Bool},
    {L"DispHourAngle", &CCdStatus::DispHourAngle, Kind::Bool},
    {L"DispDistR", &CCdStatus::DispDistR, Kind::Bool},
    {L"DispDeltaEqt", &CCdStatus::DispDeltaEqt, Kind::Bool},
    {L"DispEclDateApp", &CCdStatus::DispEclDateApp, Kind::Bool},
    {L"DispEcl2000", &CCdStatus::DispEcl2000, Kind::Bool},
    {L"DispEclDateMean", &CCdStatus::DispEclDateMean, Kind::Bool},
    {L"DispEqt1950", &CCdStatus::DispEqt1950, Kind::Bool},
    {L"DispEqtDateApp", &CCdStatus::DispEqtDateApp, Kind::Bool},
    {L"DispEqt2000", &CCdStatus::DispEqt2000, Kind::Bool},
    {L"DispGal", &CCdStatus::DispGal, Kind::Bool},
    {L"DispHrz", &CCdStatus::DispHrz, Kind::Bool},
    {L"DispHrzOrgSouth", &CCdStatus::DispHrzOrgSouth, Kind::Bool},
    {L"DispRiseSet", &CCdStatus::DispRiseSet, Kind::Bool},
    {L"DispMag", &CCdStatus::DispMag, Kind::Bool},
    {L"SolarOrbitDetails", &CCdStatus::SolarOrbitDetails, Kind::Bool},
    {L"PlanetPhysicalTable", &CCdStatus::PlanetPhysicalTable, Kind::Bool},
    {L"PgcDetails", &CCdStatus::PgcDetails, Kind::Bool},
    {L"DispNameOnBar", &CCdStatus::DispNameOnBar, Kind::Bool},
    {L"DispComment", &CCdStatus::DispComment, Kind::Bool},
    {L"TransparentOnInactive", &CCdStatus::TransparentOnInactive, Kind::Bool},
    {L"DispConstellation", &CCdStatus::DispConstellation, Kind::Bool},
    {L"DispAirmass", &CCdStatus::DispAirmass, Kind::Bool},
    {L"DispSiderealTime", &CCdStatus::DispSiderealTime, Kind::Bool},
    {L"DispLightTime", &CCdStatus::DispLightTime, Kind::Bool},
    {L"DispPhaseAngle", &CCdStatus::DispPhaseAngle, Kind::Bool},
    {L"DispParallacticAngle", &CCdStatus::DispParallacticAngle, Kind::Bool},
    {L"DispSunMoonAltitude", &CCdStatus::DispSunMoonAltitude, Kind::Bool},
    {L"DispTimeToEvents", &CCdStatus::DispTimeToEvents, Kind::Bool},
    {L"DispObservingWindow", &CCdStatus::DispObservingWindow, Kind::Bool},
    {L"DispVariableForecast", &CCdStatus::DispVariableForecast, Kind::Bool},
    {L"DispFieldRatio", &CCdStatus::DispFieldRatio, Kind::Bool},
    {L"DispProvenance", &CCdStatus::DispProvenance, Kind::Bool},
};

CString ClickDataKey() {
    CString key;
    key.LoadString(IDS_CLICKDATA_KEY);
    return key;
}

void ReadOrWrite(int bRead, int* pValue, const wchar_t* name, int kind) {
    const CString key = ClickDataKey();
    if (bRead)
        CRegistry::Read(key, name, *pValue, pValue, kind);
    else
        CRegistry::Write(key, name, *pValue, kind);
}

}  // namespace

void CCdStatus::CDRegBool(int bRead, int* pValue, const wchar_t* name) {
    ReadOrWrite(bRead, pValue, name, CRegistry::kindBool);
}

void CCdStatus::CDRegInt(int bRead, int* pValue, const wchar_t* name) {
    ReadOrWrite(bRead, pValue, name, CRegistry::kindInt);
}

void CCdStatus::RegistryIO(int bRead) {
    for (const auto& v : kPersisted) {
        if (v.kind == Kind::Int)
            CDRegInt(bRead, &(this->*v.field), v.name);
        else
            CDRegBool(bRead, &(this->*v.field), v.name);
    }
}

void CCdStatus::Load() { RegistryIO(1); }

void CCdStatus::Save() {
    // One transaction: another process loads all of a save or none of it, and the lot
    // costs one commit.
    CRegistryBatch batch(HKEY_CURRENT_USER);
    RegistryIO(0);
    // The planetarium's own click-data settings; its "Cyclic" is the inverse of our popup.
    CRegistry::Write(L"Default", L"ClickData.Constellation", CnsInfo ? L"TRUE" : L"FALSE");
    CRegistry::Write(L"Default", L"ClickData.Cyclic", DispPopup ? L"FALSE" : L"TRUE");
}
