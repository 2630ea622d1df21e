// SPDX-License-Identifier: LGPL-3.0-or-later
// An application of the installed library: formats a coordinate, reads a host answer and
// takes one click text from the built-in sky.
#include <sky/SkyHost.h>
#include <zcmcom.h>

#include <cstdio>

int main() {
    CString ra = CCommonCoordFormat::CoordFormatRA(23.9999999, 4);
    CStkString location(L"Location(\"Tokyo\", 139.7, 35.7)");
    CString key;
    if (!key.LoadString(IDS_CLICKDATA_KEY)) return 1;
    std::printf("%s %s %s\n", ra.ToUtf8().c_str(), location.GetParamP(1).ToUtf8().c_str(),
                key.ToUtf8().c_str());
    if (ra != L"00h00m00.000s" || location.atofP(2, 0) != 139.7) return 1;

    CSkyHost sky(2460000.5);
    CCdStatus status;
    status.Init();
    CZntClickData click;
    click.SetStatus(&status);
    const CString text = click.GetText(&sky, L"Solar.Planet.Mars", FALSE);
    std::printf("%s\n", text.ToUtf8().c_str());
    return text.Find(L"火星") >= 0 ? 0 : 1;
}
