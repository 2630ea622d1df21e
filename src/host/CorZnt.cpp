// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/CorZnt.h"

CCorZnt::~CCorZnt() = default;

CString CCorZnt::Execute(LPCTSTR) {
    AfxThrowOleDispatchException(0, L"No planetarium is connected.");
}
