// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The on-screen keyboard of the desktop.
///
/// OpenSoftKeyboard starts the program named by ZCMCOM_SOFT_KEYBOARD (default "onboard"),
/// found on PATH, detached from the caller, unless the one it started still runs;
/// CloseSoftKeyboard ends the one it started. Both stay silent when there is no such
/// program or it cannot be started or ended.
#include "platform/WinTypes.h"

/// Shows and hides the on-screen keyboard.
class ZCMCOM_API CCommonKeyboard {
public:
    /// Starts the on-screen keyboard unless the one started before still runs.
    static void OpenSoftKeyboard();
    /// Ends the on-screen keyboard this class started, if any.
    static void CloseSoftKeyboard();
};
