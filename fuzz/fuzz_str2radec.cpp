// SPDX-License-Identifier: LGPL-3.0-or-later
// Str2RADec on any text, and its fields fed back through the formatters.
#include "FuzzText.h"
#include "format/CoordFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int raH, raM, decPlus = 0, decD, decM;
    double raS, decS;
    const CString text = FuzzText(data, size);
    if (CCommonCoordFormat::Str2RADec(text, raH, raM, raS, decPlus, decD, decM, decS)) {
        const int prec = static_cast<int>(size % 11) - 5;
        CCommonCoordFormat::CoordFormatRA(raH + raM / 60.0 + raS / 3600.0, prec);
        CCommonCoordFormat::CoordFormatDecl(decD + decM / 60.0 + decS / 3600.0, prec);
        CCommonCoordFormat::CoordFormatDeclDeg(decS, prec);
        CCommonCoordFormat::CoordFormatLongitude(raS * 1e300, prec);
    }
    return 0;
}
