// SPDX-License-Identifier: LGPL-3.0-or-later
// The CDF designation of an object: a keyword in capitals and an identifier on one line
// ("STAR aUMa", "SUN", "NEBULA M31", "FIELD \"PHOTO\"").
#include "clickdata/ZntClickData.h"

namespace {

CString Upper(CString text) {
    text.MakeUpper();
    return text;
}

}  // namespace

CString CZntClickData::StkToCdf(CCorZnt* pHost, CString path) {
    // The builders read the path from m_Object; GetDBSearchString still wants the object
    // of the last GetText afterwards.
    return WithObject(path, [&] {
        int type = TYPE_NONE;
        if (path.IsEmpty() || !ObjectSearch(pHost, m_Object, &type)) return CString();
        return CdfText(pHost, type);
    });
}

CString CZntClickData::CdfText(CCorZnt* pHost, int type) {
    switch (type) {
        case TYPE_STAR:
            return GetCdfTextStar(pHost);
        case TYPE_CONSTELLATION:
            return GetCdfTextCons(pHost);
        case TYPE_EQUATORIAL:
            return Status().CnsInfo ? GetCdfTextEqt(pHost) : CString();
        case TYPE_SOLAR:
            return GetCdfTextSolar(pHost);
        case TYPE_DEEPSKY:
            return GetCdfTextDeepSky(pHost);
        case TYPE_MAGELLAN:
            return GetCdfTextMagellan(pHost);
        case TYPE_SATELLITE:
            return GetCdfTextSatellite(pHost);
        case TYPE_METEOR:
            return GetCdfTextMeteor(pHost);
        case TYPE_ADFSYSTEM:
        case TYPE_ADF:
            return GetCdfTextAdf(pHost);
        case TYPE_FIELDOFVIEW:
            return GetCdfTextFieldOfView(pHost);
        case TYPE_ANGLEOFVIEW:
            return GetCdfTextAngleOfField(pHost);
        default:  // deep-sky images and mosaics have none
            return CString();
    }
}

CString CZntClickData::GetCdfTextStar(CCorZnt* pHost) {
    if (m_Object.GetParamP(1).Left(3).CompareNoCase(L"XNO") == 0) return CString();
    if (m_Object.SameP(1, L"GCVS")) return L"GCVS " + m_Object.GetParamP(2);
    if (m_Object.SameP(1, L"WDS"))
        return L"WDS " + m_Object.GetParamP(2) + L"." + m_Object.GetParamP(3) + L"." +
               m_Object.GetParamP(4);
    const CString flamsteed = QueryObject(pHost, L".FlamsteedNumber");
    const CString bayer = QueryObject(pHost, L".BayerLetter");
    const CString abbreviation = QueryObject(pHost, L".Constellation.Abbreviation");
    return L"STAR " + (bayer.IsEmpty() ? flamsteed : bayer) + abbreviation;
}

CString CZntClickData::GetCdfTextCons(CCorZnt* pHost) {
    return L"CONS " + QueryObject(pHost, L".Abbreviation");
}

CString CZntClickData::GetCdfTextEqt(CCorZnt* pHost) {
    const CString constellation = QueryObject(pHost, L".Position.Constellation");
    return L"CONS " + QueryHost(pHost, L"Constellation." + constellation + L".Abbreviation");
}

CString CZntClickData::GetCdfTextSolar(CCorZnt* pHost) {
    if (m_Object.SameP(1, L"Sun")) return L"SUN";
    if (m_Object.SameP(1, L"Planet")) {
        // The Earth (and its shadow) stands for the Moon.
        if (m_Object.SameP(3, L"Satellite"))
            return m_Object.SameP(4, L"Moon") ? CString(L"MOON") : Upper(m_Object.GetParamP(4));
        return m_Object.SameP(2, L"Earth") ? CString(L"MOON") : Upper(m_Object.GetParamP(2));
    }
    if (m_Object.SameP(1, L"Comet")) return L"COMET " + QueryObject(pHost, L".ID");
    if (m_Object.SameP(1, L"MinorPlanet")) return L"MINORPLANET " + QueryObject(pHost, L".ID");
    if (m_Object.SameP(1, L"Spacecraft")) return L"SPACECRAFT " + m_Object.GetParamP(2);
    return CString();  // dwarf planets, meteorites, places on a body
}

CString CZntClickData::GetCdfTextDeepSky(CCorZnt* pHost) {
    CString number = QueryObject(pHost, L".Number");
    number.Remove(L' ');
    return L"NEBULA " + number;
}

CString CZntClickData::GetCdfTextMagellan(CCorZnt*) {
    if (!m_Object.SameP(0, L"MagellanicCloud")) return CString();
    if (m_Object.SameP(1, L"Large")) return L"LMC";
    if (m_Object.SameP(1, L"Small")) return L"SMC";
    return CString();
}

CString CZntClickData::GetCdfTextSatellite(CCorZnt* pHost) {
    return L"ASAT " + QueryObject(pHost, L".Number");
}

CString CZntClickData::GetCdfTextMeteor(CCorZnt* pHost) {
    CString name = QueryObject(pHost, L".Name");
    name.Remove(L'座');
    return L"METEOR " + name;
}

CString CZntClickData::GetCdfTextAdf(CCorZnt* pHost) {
    return L"AD \"" + QueryObject(pHost, L".Name") + L"\"";
}

CString CZntClickData::GetCdfTextAngleOfField(CCorZnt*) { return L"FIELD \"PHOTO\""; }

CString CZntClickData::GetCdfTextFieldOfView(CCorZnt*) { return L"FIELD \"VIEW\""; }
