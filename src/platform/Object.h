// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CObject: the framework's common base class.
///
/// Differences from Windows: no run-time class information, serialization or
/// diagnostic dump; only the virtual destructor that derived classes rely on.
#include "platform/WinTypes.h"

/// The base of the framework classes; it holds nothing.
class ZCMCOM_API CObject {
public:
    /// @{

    /// Copying copies nothing; the destructor is virtual so that a CObject pointer can delete
    /// what it points to.
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    virtual ~CObject();
    /// @}
};
