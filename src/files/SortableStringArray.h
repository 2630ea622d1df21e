// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CSortableStringArray: a string array that sorts itself in place.
#include "platform/Array.h"

/// A CStringArray with an in-place Sort.
class ZCMCOM_API CSortableStringArray : public CStringArray {
public:
    /// Sorts with the comparison (Compare for case-sensitive ascending order); the order
    /// of equal elements is not kept.
    void Sort(int (*compare)(const CString*, const CString*));

protected:
    /// Case-sensitive comparison: negative, 0 or positive as *a sorts before, with or after *b.
    static int Compare(const CString* a, const CString* b);
};
