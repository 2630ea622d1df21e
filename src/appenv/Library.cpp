// SPDX-License-Identifier: LGPL-3.0-or-later
// Library start and stop. Runs before any other initialisation of the library, so its
// strings can be looked up from the first moment, and after everything else at unload.
#include <clocale>

#include "appenv/LibraryState.h"
#include "appenv/SystemInfo.h"
#include "format/CommonEOS.h"
#include "res/LibraryResources.h"

namespace {

HMODULE g_module = nullptr;
CSigSys* g_sigSys = nullptr;

__attribute__((constructor(101))) void LibraryLoad() {
    // The user's locale, but numbers keep the decimal point of the library's texts and of
    // the planetarium's answers ("12.5", never "12,5" under a German or French locale).
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
    size_t strings = 0, binaries = 0;
    const ZcmStringResource* s = zcmlib::LibraryStrings(&strings);
    const ZcmBinaryResource* b = zcmlib::LibraryBinaries(&binaries);
    g_module = AfxRegisterResourceModule(ZCMCOM_MODULE_NAME, s, strings, b, binaries);
    CCommonEOS::BuildTable();
    g_sigSys = new CSigSys;
}

// The locale stays as it is: the caller may have chosen its own since.
__attribute__((destructor(101))) void LibraryUnload() {
    delete g_sigSys;
    g_sigSys = nullptr;
    AfxUnregisterResourceModule(g_module);
    g_module = nullptr;
}

}  // namespace

namespace zcmlib {

const CSigSys* SigSysInstance() { return g_sigSys; }
HMODULE ResourceModule() { return g_module; }

}  // namespace zcmlib

HMODULE ZcmLibraryModule() { return g_module; }
