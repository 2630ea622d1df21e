// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CObject: the framework's common base class.
///
/// Differences from Windows: no run-time class information, serialization or
/// diagnostic dump; only the virtual destructor that derived classes rely on.
#include "platform/WinTypes.h"

class ZCMCOM_API CObject {
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    virtual ~CObject();
};
