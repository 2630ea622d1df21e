// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCorZnt: the planetarium's automation object. Everything the library asks the
/// planetarium goes through Execute: a query ("? Location.Longitude") or a statement
/// ("Show Sky") in, the answer text out.
#include "platform/Afx.h"

/// The planetarium's automation object; hosts derive from it.
class ZCMCOM_API CCorZnt : public CWnd {
public:
    CCorZnt() = default;
    ~CCorZnt() override;

    /// Sends one command. The base object has no planetarium behind it and raises the
    /// automation exception (COleDispatchException), as a failed call does; hosts derive
    /// from this class and answer the commands themselves.
    virtual CString Execute(LPCTSTR command);
};
