// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The sibling applications of the family: where each is installed, which main window it
/// has announced, and the per-user "Exchange" values they leave for each other.
///
/// Install paths are string values under the machine hive
/// (`SOFTWARE\Orvana\<application>\<version>\General`); the exchange values under the user
/// hive (`...\Exchange`). An application announces its main window by storing the handle as
/// decimal text in its exchange value "hWnd".
#include "platform/String.h"
#include "platform/WinTypes.h"

/// Finds the sibling applications and passes values between them.
class ZCMCOM_API CCommonApps {
public:
    /// The sibling applications.
    enum APPID : int {
        APPID_ZENTAVIA = 1,  ///< the planetarium
        APPID_ZENTACAM = 2,  ///< the camera application
        APPID_ZENTAPIX = 3,  ///< the image application
    };

    /// 1 and the path when the install path is stored and names an existing file; else 0
    /// and path unchanged.
    static int GetAppInstallPath(APPID id, CString& path);
    /// The announced main window while it exists, else null.
    static HWND GetAppMainWnd(APPID id);
    /// Stores name = data in the application's exchange key, or deletes name when data is
    /// null. 1 when the key could be opened (the write itself is not reported), else 0.
    static int SetAppExchangeRegistry(APPID id, const wchar_t* name, const wchar_t* data);

protected:
    /// `"SOFTWARE\Orvana\<application>\<version>\"`; 1, or 0 for an unknown id.
    static int GetAppRegKeyPath(APPID id, CString& key);
};
