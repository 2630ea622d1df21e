// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCommonNetwork: whether the machine has a working network interface, the update-check
/// addresses, and URL encoding of text as UTF-8.
#include "platform/String.h"

/// Network state, update addresses and URL encoding; static functions only.
class ZCMCOM_API CCommonNetwork {
public:
    /// The kinds of GetURL.
    enum { URL_UPDATE_CHECK = 1, URL_UPDATE_INFO = 2 };

    /// 1 when an interface other than a loopback has carrier and is operationally up.
    static int IsConnected();
    /// The update-checker page (1) or the update information file (2) of the production
    /// server, or of the test server when "UseDebugServer" is set; empty for other kinds.
    static CString GetURL(int kind);
    /// Letters and digits stay, a space becomes "+", every other UTF-8 byte "%xx".
    static CString URLEncodeUTF8(const wchar_t* text);

protected:
    /// The registry switch "UseDebugServer" under "General".
    static int IsServerDebugMode();
};
