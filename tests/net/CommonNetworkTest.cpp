// SPDX-License-Identifier: LGPL-3.0-or-later
#include <cstdlib>

#include "NetTestUtil.h"
#include "dirode/Registry.h"
#include "net/CommonNetwork.h"
#include "support/Accuracy.h"
#include "support/TempRegistry.h"

TEST(URLEncodeUTF8, LettersAndDigitsStaySpacesBecomePlusTheRestHex) {
    for (const std::string& row : DataRows("net/urlencode.txt", 2)) {
        const std::string in = row.substr(0, row.find('\t')), out = row.substr(in.size() + 1);
        EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(CString(in.c_str())), CString(out.c_str())) << row;
    }
    EXPECT_EQ(CCommonNetwork::URLEncodeUTF8(nullptr), CString());
}

// Production addresses over https; the "UseDebugServer" switch selects test hosts over
// http with the same paths, read anew on every call; other kinds give nothing.
TEST(GetURL, AddressesFollowTheDebugServerSwitch) {
    TempRegistry registry;
    const CString paths[] = {L"/products/update-checker/zc3",
                             L"/products/zntcam3/data/zc3update.ini"};
    const CString production[] = {CCommonNetwork::GetURL(1), CCommonNetwork::GetURL(2)};
    for (int debug : {1, 0}) {
        ASSERT_EQ(CRegistry::Write(L"General", L"UseDebugServer", debug, CRegistry::kindBool), 1);
        for (int kind : {1, 2}) {
            const CString url = CCommonNetwork::GetURL(kind), &path = paths[kind - 1];
            EXPECT_EQ(url.Left(debug ? 7 : 8), CString(debug ? L"http://" : L"https://"))
                << url.ToUtf8();
            EXPECT_EQ(url.Right(path.GetLength()), path) << url.ToUtf8();
            if (debug)
                EXPECT_NE(url.Mid(7, 10), production[kind - 1].Mid(8, 10));  // another host
            else
                EXPECT_EQ(url, production[kind - 1]);
        }
        for (int kind : {3, 0, -1}) EXPECT_TRUE(CCommonNetwork::GetURL(kind).IsEmpty());
    }
}

// Loopback alone, a link with carrier, and one without (v0 up, its peer down).
TEST(IsConnected, CountsOnlyLinksWithCarrier) {
    const char* veth = "ip link add v0 type veth peer name v1 && ip link set v0 up";
    ExpectPassesInNetNamespace("InNetNamespace.Connected*", "true");
    ExpectPassesInNetNamespace(
        "InNetNamespace.Connected*",
        std::string(veth) + " && ip link set v1 up && export ZCMCOM_EXPECT_CONNECTED=1");
    ExpectPassesInNetNamespace("InNetNamespace.Connected*", veth);
}

TEST(InNetNamespace, ConnectedAsExpected) {
    SKIP_UNLESS_IN_NET_NAMESPACE();
    const bool expected = getenv("ZCMCOM_EXPECT_CONNECTED") != nullptr;
    // The carrier of a new link comes up shortly after the link.
    EXPECT_EQ(WaitUntil([] { return CCommonNetwork::IsConnected() == 1; }, expected ? 10000 : 300),
              expected);
}
