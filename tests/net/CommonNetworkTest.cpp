#include <cstdlib>

#include "NetTestUtil.h"
#include "dirode/Registry.h"
#include "support/TempRegistry.h"
#include "net/CommonNetwork.h"
#include "res/LibraryResources.h"

static const HMODULE kLibrary = ZcmLibraryModule();

static bool EndsWith(const CString& text, const wchar_t* end) {
    const CString tail(end);
    return text.Right(tail.GetLength()) == tail;
}

TEST(URLEncodeUTF8, LettersAndDigitsStaySpacesBecomePlusTheRestHex) {
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L"a b-c"), CString(L"a+b%2dc"));
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L"AZaz09"), CString(L"AZaz09"));
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L"-._~/?&="), CString(L"%2d%2e%5f%7e%2f%3f%26%3d"));
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L"\u3042"), CString(L"%e3%81%82"));
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L"M42 \u00e9\U0001F52D"),
              CString(L"M42+%c3%a9%f0%9f%94%ad"));
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(L""), CString());
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(nullptr), CString());
}

TEST(GetURL, ProductionAddressesAndNothingForOtherKinds) {
    TempRegistry registry;  // no "UseDebugServer" value: the production server
    const CString check = CCommonNetwork::GetURL(1);
    const CString info = CCommonNetwork::GetURL(2);
    EXPECT_EQ(check.Left(8), CString(L"https://"));
    EXPECT_TRUE(EndsWith(check, L"/products/update-checker/zc3")) << check.ToUtf8();
    EXPECT_EQ(info.Left(8), CString(L"https://"));
    EXPECT_TRUE(EndsWith(info, L"/products/zntcam3/data/zc3update.ini")) << info.ToUtf8();
    EXPECT_TRUE(CCommonNetwork::GetURL(3).IsEmpty());
    EXPECT_TRUE(CCommonNetwork::GetURL(0).IsEmpty());
    EXPECT_TRUE(CCommonNetwork::GetURL(-1).IsEmpty());
}

TEST(GetURL, DebugServerSwitchSelectsTheTestAddresses) {
    TempRegistry registry;
    const CString check = CCommonNetwork::GetURL(1), info = CCommonNetwork::GetURL(2);
    ASSERT_EQ(CRegistry::Write(L"General", L"UseDebugServer", 1, CRegistry::kindBool), 1);
    const CString testCheck = CCommonNetwork::GetURL(1), testInfo = CCommonNetwork::GetURL(2);
    EXPECT_EQ(testCheck.Left(7), CString(L"http://"));
    EXPECT_EQ(testInfo.Left(7), CString(L"http://"));
    EXPECT_TRUE(EndsWith(testCheck, L"/products/update-checker/zc3"));
    EXPECT_TRUE(EndsWith(testInfo, L"/products/zntcam3/data/zc3update.ini"));
    EXPECT_NE(testCheck.Mid(7, 10), check.Mid(8, 10));  // another host
    EXPECT_TRUE(CCommonNetwork::GetURL(3).IsEmpty());
    ASSERT_EQ(CRegistry::Write(L"General", L"UseDebugServer", 0, CRegistry::kindBool), 1);
    EXPECT_EQ(CCommonNetwork::GetURL(1), check);
    EXPECT_EQ(CCommonNetwork::GetURL(2), info);
}

TEST(IsConnected, LoopbackOnlyIsNotConnected) {
    EXPECT_PASSES_IN_NET_NAMESPACE("InNetNamespace.Connected*", "true");
}
TEST(IsConnected, LinkWithCarrierIsConnected) {
    EXPECT_PASSES_IN_NET_NAMESPACE(
        "InNetNamespace.Connected*",
        "ip link add v0 type veth peer name v1 && ip link set v0 up && ip link set v1 up && "
        "export ZCMCOM_EXPECT_CONNECTED=1");
}
TEST(IsConnected, LinkWithoutCarrierIsNotConnected) {
    // v0 is up, but its peer is down: no carrier.
    EXPECT_PASSES_IN_NET_NAMESPACE("InNetNamespace.Connected*",
                                   "ip link add v0 type veth peer name v1 && ip link set v0 up");
}

TEST(InNetNamespace, ConnectedAsExpected) {
    SKIP_UNLESS_IN_NET_NAMESPACE();
    const bool expected = getenv("ZCMCOM_EXPECT_CONNECTED") != nullptr;
    // The carrier of a new link comes up shortly after the link.
    const bool connected = WaitUntil([] { return CCommonNetwork::IsConnected() == 1; }, expected ? 3000 : 300);
    EXPECT_EQ(connected, expected);
}
