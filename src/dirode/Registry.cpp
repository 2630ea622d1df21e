#include "dirode/Registry.h"

#include <mutex>

#include "platform/Registry.h"

namespace {

const wchar_t kDefaultRoot[] = L"SOFTWARE\\Orvana\\Zentacam\\3.0\\";

std::mutex& RootLock() {
    static std::mutex lock;
    return lock;
}

CString& Root() {
    static CString root(kDefaultRoot);
    return root;
}

CString KeyPath(const CString& key) { return CRegistry::GetAppRoot() + key; }

// Opens root\key for reading; null when it cannot be opened.
HKEY OpenForReading(const CString& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(key), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return nullptr;
    return h;
}

int WriteValue(const CString& key, const CString& name, DWORD type, const void* data,
               DWORD size) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return 0;
    const LONG err =
        RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(h);
    return err == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

CRegistry::CRegistry() : m_strAppRoot(GetAppRoot()) {}

CRegistry::~CRegistry() = default;

void CRegistry::SetAppRoot(const CString& root) {
    CString r = root.IsEmpty() ? CString(kDefaultRoot) : root;
    if (r.Right(1) != L"\\") r += L'\\';
    std::lock_guard<std::mutex> guard(RootLock());
    Root() = r;
}

CString CRegistry::GetAppRoot() {
    std::lock_guard<std::mutex> guard(RootLock());
    return Root();
}

int CRegistry::Read(const CString& key, const CString& name, int def, int* pValue, int kind) {
    if (!pValue) return 0;
    *pValue = def;
    if (kind != kindBool && kind != kindInt) return 0;
    HKEY h = OpenForReading(key);
    if (!h) return 0;
    DWORD type = REG_NONE, value = 0, size = sizeof value;
    const LONG err =
        RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(h);
    if (err != ERROR_SUCCESS || type != REG_DWORD) return 0;
    *pValue = kind == kindBool ? (value != 0 ? 1 : 0) : static_cast<int>(value);
    return 1;
}

int CRegistry::Read(const CString& key, const CString& name, const CString& def,
                    CString* pValue) {
    if (!pValue) return 0;
    *pValue = def;
    HKEY h = OpenForReading(key);
    if (!h) return 0;
    DWORD type = REG_NONE, size = 0;
    LONG err = RegQueryValueExW(h, name, nullptr, &type, nullptr, &size);
    CString text;
    // Another process may lengthen the text between the two calls: ask again then.
    for (int attempt = 0; attempt < 4 && err == ERROR_SUCCESS && type == REG_SZ; ++attempt) {
        wchar_t* buffer = text.GetBuffer(static_cast<int>(size / sizeof(wchar_t)));
        err = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        text.ReleaseBuffer(err == ERROR_SUCCESS ? -1 : 0);
        if (err != ERROR_MORE_DATA) break;
        if (attempt < 3) err = ERROR_SUCCESS;
    }
    RegCloseKey(h);
    if (err != ERROR_SUCCESS || type != REG_SZ) return 0;
    *pValue = text;
    return 1;
}

int CRegistry::Write(const CString& key, const CString& name, int value, int kind) {
    if (kind != kindBool && kind != kindInt) return 0;
    const DWORD stored = kind == kindBool ? (value != 0 ? 1u : 0u) : static_cast<DWORD>(value);
    return WriteValue(key, name, REG_DWORD, &stored, sizeof stored);
}

int CRegistry::Write(const CString& key, const CString& name, const CString& value) {
    const DWORD size = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    return WriteValue(key, name, REG_SZ, value.GetString(), size);
}
