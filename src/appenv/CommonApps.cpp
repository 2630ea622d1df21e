// SPDX-License-Identifier: LGPL-3.0-or-later
#include "appenv/CommonApps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cwctype>

#include "platform/Registry.h"
#include "platform/Wnd.h"

namespace {

struct AppRow {
    CCommonApps::APPID id;
    const wchar_t* pathPart;
    const wchar_t* installValue;
};

const AppRow kApps[] = {
    {CCommonApps::APPID_ZENTAVIA, L"Zentavia\\12.0\\", L"ZntViaPath"},
    {CCommonApps::APPID_ZENTACAM, L"Zentacam\\3.0\\", L"ZntCamPath"},
    {CCommonApps::APPID_ZENTAPIX, L"Zentapix\\9.0\\", L"ZntpixPath"},
};

const AppRow* Row(CCommonApps::APPID id) {
    for (const auto& r : kApps)
        if (r.id == id) return &r;
    return nullptr;
}

// Linux paths may be longer than the 260 characters of a Windows path.
constexpr int kMaxPathChars = 4096;
constexpr int kMaxHandleChars = 64;

// Reads a text value of at most maxChars characters (with its zero); false on any failure.
bool ReadText(HKEY root, const CString& keyPath, const wchar_t* name, int maxChars, CString* out) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    CString text;
    DWORD type = REG_NONE, size = static_cast<DWORD>(maxChars * sizeof(wchar_t));
    wchar_t* buffer = text.GetBuffer(maxChars);
    const LONG err =
        RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    text.ReleaseBuffer(err == ERROR_SUCCESS ? -1 : 0);
    RegCloseKey(h);
    if (err != ERROR_SUCCESS || type != REG_SZ) return false;
    *out = text;
    return true;
}

// An existing regular file that this process may read.
bool CanOpenForReading(const CString& path) {
    const std::string p = path.ToUtf8();
    const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular;
}

// The whole text as a decimal 64-bit number (surrounding blanks allowed); false otherwise.
bool ParseHandle(const CString& text, unsigned long long* value) {
    CString t(text);
    t.Trim();
    if (t.IsEmpty() || t.GetLength() > 20) return false;
    unsigned long long v = 0;
    for (int i = 0; i < t.GetLength(); ++i) {
        const wchar_t c = t[i];
        if (c < L'0' || c > L'9') return false;
        const unsigned digit = static_cast<unsigned>(c - L'0');
        if (v > (~0ULL - digit) / 10) return false;
        v = v * 10 + digit;
    }
    *value = v;
    return true;
}

}  // namespace

int CCommonApps::GetAppRegKeyPath(APPID id, CString& key) {
    const AppRow* row = Row(id);
    if (!row) return 0;
    key = CString(L"SOFTWARE\\Orvana\\") + row->pathPart;
    return 1;
}

int CCommonApps::GetAppInstallPath(APPID id, CString& path) {
    CString key;
    if (!GetAppRegKeyPath(id, key)) return 0;
    CString text;
    if (!ReadText(HKEY_LOCAL_MACHINE, key + L"General", Row(id)->installValue, kMaxPathChars,
                  &text))
        return 0;
    if (text.IsEmpty() || !CanOpenForReading(text)) return 0;
    path = text;
    return 1;
}

HWND CCommonApps::GetAppMainWnd(APPID id) {
    CString key;
    if (!GetAppRegKeyPath(id, key)) return nullptr;
    CString text;
    if (!ReadText(HKEY_CURRENT_USER, key + L"Exchange", L"hWnd", kMaxHandleChars, &text))
        return nullptr;
    unsigned long long value = 0;
    if (!ParseHandle(text, &value)) return nullptr;
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    return IsWindow(h) ? h : nullptr;
}

int CCommonApps::SetAppExchangeRegistry(APPID id, const wchar_t* name, const wchar_t* data) {
    CString key;
    if (!GetAppRegKeyPath(id, key)) return 0;
    CRegistryBatch batch(HKEY_CURRENT_USER);  // the key and the value: one transaction
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key + L"Exchange", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return 0;
    if (data)
        RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                       static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(h, name);
    RegCloseKey(h);
    return 1;
}
