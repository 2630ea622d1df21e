#pragma once
/// @file
/// The on-screen keyboard of the desktop.
///
/// OpenSoftKeyboard starts the program named by ZCMCOM_SOFT_KEYBOARD (default "onboard"),
/// found on PATH, detached from the caller, unless the one it started still runs;
/// CloseSoftKeyboard ends the one it started. Both stay silent when there is no such
/// program or it cannot be started or ended.
#include "platform/WinTypes.h"

class ZCMCOM_API CCommonKeyboard {
public:
    static void OpenSoftKeyboard();
    static void CloseSoftKeyboard();
};
