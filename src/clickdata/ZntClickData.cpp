// SPDX-License-Identifier: LGPL-3.0-or-later
// The frame: classification, cache and dispatch of the click-data texts.
#include "clickdata/LineParts.h"
#include "clickdata/ZntClickData.h"

namespace {

// The kinds of object path, in the order they are searched.
const tagNAMETABLE kClickTypes[] = {
    {L"Star", CZntClickData::TYPE_STAR},
    {L"Equatorial", CZntClickData::TYPE_EQUATORIAL},
    {L"Constellation", CZntClickData::TYPE_CONSTELLATION},
    {L"Solar", CZntClickData::TYPE_SOLAR},
    {L"DeepSkyObject", CZntClickData::TYPE_DEEPSKY},
    {L"DeepSky", CZntClickData::TYPE_DEEPSKY},
    {L"MagellanicCloud", CZntClickData::TYPE_MAGELLAN},
    {L"ArtificialSatellite", CZntClickData::TYPE_SATELLITE},
    {L"Meteor", CZntClickData::TYPE_METEOR},
    {L"Adf", CZntClickData::TYPE_ADF},
    {L"AngleOfView", CZntClickData::TYPE_ANGLEOFVIEW},
    {L"MosaicOfField", CZntClickData::TYPE_MOSAICOFFIELD},
    {L"FieldOfViewCircle", CZntClickData::TYPE_FIELDOFVIEW},
    {L"DeepSkyImage", CZntClickData::TYPE_DEEPSKYIMAGE},
    {nullptr, 0},
};

// Texts for these objects change without the host's time or place changing, so they are
// never served from the cache; a point of the bare sky ("Equatorial") moves with each click.
const wchar_t* const kNeverCached[] = {L"Star.Xno", L"AngleOfView", L"MosaicOfField",
                                       L"FieldOfViewCircle", L"Equatorial"};

bool StartsWithNoCase(const CString& text, const wchar_t* prefix) {
    const CString head(prefix);
    return text.Left(head.GetLength()).CompareNoCase(head) == 0;
}

}  // namespace

CZntClickData::CZntClickData() = default;

CZntClickData::~CZntClickData() = default;

const CCdStatus& CZntClickData::Status() const {
    static const CCdStatus kDefault;
    return m_pStatus ? *m_pStatus : kDefault;
}

CStkStr CZntClickData::QueryHost(CCorZnt* pHost, const CString& property) {
    if (!pHost) return CStkStr();
    return CStkStr(pHost->Execute(L"? " + property));
}

CStkStr CZntClickData::QueryObject(CCorZnt* pHost, const CString& suffix) {
    return QueryHost(pHost, m_Object + suffix);
}

void CZntClickData::SetOriginNorth(int b) {
    m_bOriginNorth = b;
    ClearCache();
}

void CZntClickData::ClearCache() {
    m_strCacheObject.Empty();
    m_strCacheJd.Empty();
    m_strCacheTimezone.Empty();
    m_strCacheLocation.Empty();
    m_strCacheSolar.Empty();
    m_strCacheText.Empty();
    m_strCacheCompact.Empty();
}

int CZntClickData::ObjectSearch(CCorZnt* pHost, CStkString obj, int* pType) {
    int type;
    if (obj.TableSearchP(0, kClickTypes, &type)) {
        if (pType) *pType = type;
        return 1;
    }
    if (IsAdfsystem(pHost, m_Object)) {
        if (pType) *pType = TYPE_ADFSYSTEM;
        return 1;
    }
    return 0;
}

CString CZntClickData::SolarKey(CCorZnt* pHost) {
    const CString z = QueryHost(pHost, L"location.solar.z");
    const CString y = QueryHost(pHost, L"location.solar.y");
    const CString x = QueryHost(pHost, L"location.solar.x");
    return x + L":" + y + L":" + z;
}

int CZntClickData::IsCacheAvailable(const CString& path, CCorZnt* pHost) {
    if (path != m_strCacheObject) return 0;
    for (const wchar_t* prefix : kNeverCached)
        if (StartsWithNoCase(path, prefix)) return 0;
    if (QueryHost(pHost, L"time.jd").CompareNoCase(m_strCacheJd) != 0) return 0;
    if (QueryHost(pHost, L"time.timezone").CompareNoCase(m_strCacheTimezone) != 0) return 0;
    if (QueryHost(pHost, L"location").CompareNoCase(m_strCacheLocation) != 0) return 0;
    return SolarKey(pHost) == m_strCacheSolar ? 1 : 0;
}

void CZntClickData::SetCacheState(const CString& path, CCorZnt* pHost) {
    // All answers first, so a failing host leaves the old key whole.
    const CString jd = QueryHost(pHost, L"time.jd");
    const CString timezone = QueryHost(pHost, L"time.timezone");
    const CString location = QueryHost(pHost, L"location");
    const CString solar = SolarKey(pHost);
    m_strCacheObject = path;
    m_strCacheJd = jd;
    m_strCacheTimezone = timezone;
    m_strCacheLocation = location;
    m_strCacheSolar = solar;
}

CString CZntClickData::Dispatch(CCorZnt* pHost, int bCompact) {
    switch (m_nType) {
        case TYPE_STAR:
            return DispatchStar(pHost, bCompact);
        case TYPE_DEEPSKY:
            return GetTextDeepSky(pHost, bCompact);
        case TYPE_MAGELLAN:
            return GetTextMagellan(pHost, bCompact);
        case TYPE_DEEPSKYIMAGE:
            return GetTextDeepSkyImage(pHost, bCompact);
        case TYPE_CONSTELLATION:
            return GetTextCons(pHost, bCompact);
        case TYPE_EQUATORIAL:
            if (Status().CnsInfo) return GetTextEqt(pHost, bCompact);
            return CString();
        case TYPE_ADFSYSTEM:
        case TYPE_ADF:
            return GetTextAdf(pHost, bCompact);
        case TYPE_SOLAR:
            return GetTextSolar(pHost, bCompact);
        case TYPE_SATELLITE:
            return GetTextSatellite(pHost, bCompact);
        case TYPE_METEOR:
            return GetTextMeteor(pHost, bCompact);
        case TYPE_FIELDOFVIEW:
            return GetTextFiledOfView(pHost, bCompact);
        case TYPE_ANGLEOFVIEW:
            return GetTextAngleOfField(pHost, bCompact);
        case TYPE_MOSAICOFFIELD:
            return GetTextMosaicOfField(pHost, bCompact);
        default:
            return CString();
    }
}

CString CZntClickData::GetText(CCorZnt* pHost, const CString& path, int bCompact) {
    m_Object = path;
    if (path.IsEmpty() || !ObjectSearch(pHost, m_Object, &m_nType)) {
        ClearCache();
        return CString();
    }
    try {
        if (IsCacheAvailable(path, pHost)) {
            const CString& cached = bCompact ? m_strCacheCompact : m_strCacheText;
            if (!cached.IsEmpty()) return cached;
        } else {
            ClearCache();
        }
        m_strText.Empty();
        m_strText = Dispatch(pHost, bCompact);
        SetCacheState(path, pHost);
        if (!bCompact) {
            m_strText += GetMeasureString(pHost);
            if (!m_strText.IsEmpty()) m_strText += GetLaterLines(pHost);
        }
        m_strText = clickdata::WithoutNegativeZeros(m_strText);
        (bCompact ? m_strCacheCompact : m_strCacheText) = m_strText;
    } catch (...) {
        // The host failed part-way: keep no text that may belong to another state, so the
        // next call asks the host again.
        ClearCache();
        throw;
    }
    return m_strText;
}

int CZntClickData::GetType(CCorZnt* pHost, CStkString* pOut, const CString& query) {
    if (!pHost) return -1;
    m_Object = pHost->Execute(query);
    if (m_Object.IsEmpty()) return -1;
    int type;
    if (!ObjectSearch(pHost, m_Object, &type)) return -1;
    if (pOut) *pOut = m_Object;
    return type;
}

int CZntClickData::IsCommentEnable(CCorZnt* pHost, CString path) {
    if (path.IsEmpty()) return 0;
    CStkString obj(path);
    int type = TYPE_STAR;
    ObjectSearch(pHost, obj, &type);
    if (type != TYPE_STAR) return 1;
    const CString catalogue = obj.GetParamP(1);
    if (StartsWithNoCase(catalogue, L"NO") || StartsWithNoCase(catalogue, L"XNO")) return 0;
    return 1;
}
