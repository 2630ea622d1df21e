#pragma once
// Everything of the framework stand-ins, for code that wants them all.
#include "platform/WinTypes.h"
#include "platform/String.h"
#include "platform/Object.h"
#include "platform/Exception.h"
#include "platform/Array.h"
#include "platform/Wnd.h"
#include "platform/Thread.h"
#include "platform/MessageBox.h"
#include "platform/Resource.h"
#include "platform/Dc.h"
