#pragma once
// ZCMCOM: everything an application includes.
#include "platform/Afx.h"
#include "platform/Registry.h"
#include "zvacl/zvacl.h"
#include "dirode/Registry.h"
#include "host/CorZnt.h"
#include "host/StkString.h"
#include "host/TableHost.h"
#include "clickdata/CdStatus.h"
#include "clickdata/ZntClickData.h"
#include "format/CoordFormat.h"
#include "res/LibraryResources.h"
