#pragma once
// ZCMCOM: everything an application includes.
#include "platform/Afx.h"
#include "zvacl/zvacl.h"
#include "host/CorZnt.h"
#include "host/StkString.h"
#include "format/CoordFormat.h"
#include "res/LibraryResources.h"
#include "draw/MemoryDC.h"
#include "draw/MemoryDIBTz.h"
#include "draw/TimeZone.h"
