// SPDX-License-Identifier: LGPL-3.0-or-later
// CZntProperty::Set and the readers on every parameter, for any text.
#include "FuzzText.h"
#include "host/StkString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tagNAMETABLE table[] = {{L"Star", 1}, {L"DeepSky", 2}, {nullptr, 0}};
    CStkString s(FuzzText(data, size));
    for (int i = -1; i <= 10; ++i) {
        int v = 0;
        s.atoiP(i, 0);
        s.atofP(i, 0);
        s.YearP(i, 0);
        s.ChannelP(i);
        s.TableSearchP(i, table, &v);
        s.MidP(i, 3);
        s.GetAtP(i, 0);
        s.GetParamP(i).DPS();
        s.GetParamP(i).IsBool();
    }
    s.ShiftP(static_cast<int>(size % 21) - 10);
    return 0;
}
