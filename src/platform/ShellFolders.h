// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The shell's special folders, from the XDG user directories.
///
/// Differences from Windows: the folders come from $XDG_CONFIG_HOME/user-dirs.dirs (or
/// ~/.config/user-dirs.dirs), read as xdg-user-dir reads it, then from the environment
/// variable of the same name (XDG_DOCUMENTS_DIR, XDG_DESKTOP_DIR), then $HOME/Documents
/// or $HOME/Desktop. Only the documents and desktop folders are known; with create set a
/// missing folder is created (one level, as Windows does).
#include "platform/String.h"

/// The desktop folder.
#define CSIDL_DESKTOP 0x0000
/// The documents folder.
#define CSIDL_PERSONAL 0x0005
/// The documents folder (CSIDL_PERSONAL).
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
/// The desktop folder, as a file-system folder.
#define CSIDL_DESKTOPDIRECTORY 0x0010

/// Writes the folder into path (MAX_PATH characters); FALSE when unknown or too long.
ZCMCOM_API BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
/// The XDG user folder of that kind ("DOCUMENTS", "DESKTOP"), or "" when none is known.
ZCMCOM_API CString ZcmUserFolder(const char* kind);
