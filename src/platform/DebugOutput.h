// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Debugger output.
///
/// Differences from Windows: there is no debugger channel. OutputDebugStringW hands the
/// text to the handler installed with ZcmSetDebugOutputHandler; without one it writes the
/// text to standard error when the environment variable ZCMCOM_DEBUG_OUTPUT is set and
/// not empty, and does nothing otherwise (as Windows does with no debugger attached).
#include <functional>

#include "platform/WinTypes.h"

/// Receives each text given to OutputDebugStringW.
using ZcmDebugOutputHandler = std::function<void(LPCWSTR text)>;

/// Installs the handler (an empty function removes it) and returns the previous one.
ZCMCOM_API ZcmDebugOutputHandler ZcmSetDebugOutputHandler(ZcmDebugOutputHandler handler);

/// Sends text to the debug output (see above).
ZCMCOM_API void OutputDebugStringW(LPCWSTR text);
