// SPDX-License-Identifier: LGPL-3.0-or-later
#include "net/CommonNetwork.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/socket.h>

#include <cwchar>

#include "dirode/Registry.h"
#include "res/LibraryResources.h"

#ifndef IFF_LOWER_UP
#define IFF_LOWER_UP 0x10000
#endif

int CCommonNetwork::IsConnected() {
    // The link-layer entries list every interface with its hardware type and flags
    // (IFF_LOWER_UP: carrier, IFF_RUNNING: operationally up).
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return 0;
    int connected = 0;
    for (const ifaddrs* a = list; a && !connected; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_PACKET) continue;
        const auto* link = reinterpret_cast<const sockaddr_ll*>(a->ifa_addr);
        const unsigned flags = a->ifa_flags;
        if (link->sll_hatype == ARPHRD_LOOPBACK || (flags & IFF_LOOPBACK)) continue;
        if ((flags & IFF_UP) && (flags & IFF_RUNNING) && (flags & IFF_LOWER_UP)) connected = 1;
    }
    freeifaddrs(list);
    return connected;
}

CString CCommonNetwork::GetURL(int kind) {
    const bool test = IsServerDebugMode() != 0;
    UINT id;
    if (kind == URL_UPDATE_CHECK)
        id = test ? IDS_URL_UPDATE_CHECK_TEST : IDS_URL_UPDATE_CHECK;
    else if (kind == URL_UPDATE_INFO)
        id = test ? IDS_URL_UPDATE_INI_TEST : IDS_URL_UPDATE_INI;
    else
        return CString();
    CString url;
    url.LoadString(id);
    return url;
}

CString CCommonNetwork::URLEncodeUTF8(const wchar_t* text) {
    CString out;
    if (!text) return out;
    const std::string utf8 = ZcmWideToUtf8(text, wcslen(text));
    static const wchar_t kHex[] = L"0123456789abcdef";
    out.Preallocate(static_cast<int>(utf8.size()) * 3);
    for (const char c : utf8) {
        const unsigned char b = static_cast<unsigned char>(c);
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
            out.AppendChar(static_cast<wchar_t>(b));
        } else if (b == ' ') {
            out.AppendChar(L'+');
        } else {
            out.AppendChar(L'%');
            out.AppendChar(kHex[b >> 4]);
            out.AppendChar(kHex[b & 0x0F]);
        }
    }
    return out;
}

int CCommonNetwork::IsServerDebugMode() {
    int debug = 0;
    CRegistry::Read(L"General", L"UseDebugServer", 0, &debug, 0);
    return debug;
}
