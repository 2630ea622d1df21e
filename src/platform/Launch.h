// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Starting helper programs detached from the caller, and ending them again.
///
/// Differences from Windows: there is no shell "open" verb. A program is found on PATH and
/// started in a session of its own with its standard streams on /dev/null; it is no child
/// of the caller (nothing to reap) and outlives it. A launched program is remembered by its
/// process id and start time, so ending it never hits a later process that got the same id.
#include <string>
#include <vector>

#include "platform/WinTypes.h"

/// A program started by ZcmLaunchDetached, told apart from later processes with its id.
struct ZcmLaunchedProgram {
    int pid = 0;                       ///< process id, 0 for none
    unsigned long long startTime = 0;  ///< in clock ticks since boot, from /proc
};

/// The absolute path of an executable program: a name with a '/' is taken as it is, others are
/// looked for in the folders of PATH. Empty when there is none.
ZCMCOM_API std::string ZcmFindProgram(const std::string& name);
/// Starts the program detached; false when it could not be started.
ZCMCOM_API bool ZcmLaunchDetached(const std::string& path, const std::vector<std::string>& args,
                                  LPCWSTR workingDir, ZcmLaunchedProgram* launched);
/// True while that very program still runs.
ZCMCOM_API bool ZcmIsRunning(const ZcmLaunchedProgram& program);
/// Asks that program to end (SIGTERM); false when it no longer runs.
ZCMCOM_API bool ZcmEndProgram(const ZcmLaunchedProgram& program);
