// SPDX-License-Identifier: LGPL-3.0-or-later
// The short builders: constellations, the bare sky ("Equatorial") and objects of the
// catalogues the user loaded into the planetarium (ADF), and the test for those catalogues.
#include "clickdata/ZntClickData.h"

namespace {

// Catalogue numbers the planetarium can hold.
constexpr int kAdfCatalogues = 40;

}  // namespace

CString CZntClickData::NameLine(CCorZnt* pHost, const CString& prefix, const wchar_t* first,
                                const wchar_t* second) {
    const CString a = QueryHost(pHost, prefix + first);
    const CString b = QueryHost(pHost, prefix + second);
    return a + L" " + b;
}

CString CZntClickData::NameAndPosition(CCorZnt* pHost, const CString& nameLine, int bCompact) {
    if (bCompact) return nameLine;
    return nameLine + L"\r\n" + GetPosString(pHost, 2);
}

CString CZntClickData::GetTextCons(CCorZnt* pHost, int bCompact) {
    return NameAndPosition(pHost, NameLine(pHost, m_Object, L".Name", L".Abbreviation"), bCompact);
}

CString CZntClickData::GetTextEqt(CCorZnt* pHost, int bCompact) {
    const CString constellation = QueryObject(pHost, L".Position.Constellation");
    const CString line =
        NameLine(pHost, L"Constellation." + constellation, L".Name", L".Abbreviation");
    return NameAndPosition(pHost, line, bCompact);
}

CString CZntClickData::GetTextAdf(CCorZnt* pHost, int bCompact) {
    return NameAndPosition(pHost, NameLine(pHost, m_Object, L".Name", L".Title"), bCompact);
}

int CZntClickData::IsAdfsystem(CCorZnt* pHost, CString path) {
    const int dot = path.Find(L'.');
    if (dot < 0) return 0;
    const CString kind = path.Left(dot);
    if (m_astrWork.GetSize() == 0) {
        // Filled whole or not at all: a host failure part-way leaves the list empty, so
        // the next call asks again instead of trusting half a list.
        CStringArray names;
        for (int n = 1; n <= kAdfCatalogues; ++n) {
            CString property;
            property.Format(L"AdfSystem.#%d.File", n);
            if (QueryHost(pHost, property).IsEmpty()) continue;
            property.Format(L"AdfSystem.#%d.ObjectName", n);
            names.Add(QueryHost(pHost, property));
        }
        for (INT_PTR i = 0; i < names.GetSize(); ++i) m_astrWork.Add(names[i]);
    }
    for (INT_PTR i = 0; i < m_astrWork.GetSize(); ++i)
        if (kind.CompareNoCase(m_astrWork[i]) == 0) return 1;
    return 0;
}
