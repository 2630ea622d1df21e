// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Everything of the framework stand-ins, for code that wants them all.
#include "platform/WinTypes.h"
#include "platform/String.h"
#include "platform/Object.h"
#include "platform/Exception.h"
#include "platform/Array.h"
#include "platform/Wnd.h"
#include "platform/Thread.h"
#include "platform/Sync.h"
#include "platform/MessageBox.h"
#include "platform/Resource.h"
#include "platform/Dc.h"
#include "platform/LastError.h"
#include "platform/CodePage.h"
#include "platform/Time.h"
#include "platform/File.h"
#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/GlobalMemory.h"
#include "platform/ShellFolders.h"
#include "platform/VersionInfo.h"
