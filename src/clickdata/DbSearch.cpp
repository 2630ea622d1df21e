// SPDX-License-Identifier: LGPL-3.0-or-later
// The key of the last clicked object in the caller's own object database.
#include "clickdata/ZntClickData.h"

CString CZntClickData::GetDBSearchString(CCorZnt* pHost) {
    switch (m_nType) {
        case TYPE_STAR:
        case TYPE_CONSTELLATION:
        case TYPE_SOLAR:
        case TYPE_DEEPSKY:
        case TYPE_MAGELLAN:
        case TYPE_SATELLITE:
        case TYPE_METEOR:
        case TYPE_ADFSYSTEM:
            return m_Object;
        case TYPE_EQUATORIAL:
            // The bare sky: the constellation the point lies in.
            if (!Status().CnsInfo) return CString();
            return L"Constellation." + QueryObject(pHost, L".Position.Constellation");
        case TYPE_ADF: {
            // The catalogue's kind of object ("Adf.MyCat" of "Adf.MyCat.No12"), then the label.
            const CString path = m_Object;
            const int no = path.Find(L".No");
            const CString catalogue = no < 0 ? CString() : path.Left(no);
            const CString kind = QueryHost(pHost, catalogue + L".ObjectName");
            const CString label = QueryObject(pHost, L".Label");
            return kind + L"." + label;
        }
        default:  // deep-sky images, field frames, nothing clicked yet
            return CString();
    }
}
