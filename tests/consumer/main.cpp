// An application of the installed library: formats a coordinate and reads a host answer.
#include <zcmcom.h>

#include <cstdio>

int main() {
    CString ra = CCommonCoordFormat::CoordFormatRA(23.9999999, 4);
    CStkString location(L"Location(\"Tokyo\", 139.7, 35.7)");
    CString key;
    if (!key.LoadString(IDS_CLICKDATA_KEY)) return 1;
    std::printf("%s %s %s\n", ra.ToUtf8().c_str(), location.GetParamP(1).ToUtf8().c_str(),
                key.ToUtf8().c_str());
    return ra == L"00h00m00.000s" && location.atofP(2, 0) == 139.7 ? 0 : 1;
}
