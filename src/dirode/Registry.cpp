// SPDX-License-Identifier: LGPL-3.0-or-later
#include "dirode/Registry.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/Registry.h"

namespace {

const wchar_t kDefaultRoot[] = L"SOFTWARE\\Orvana\\Zentacam\\3.0\\";

struct RootState {
    std::mutex lock;
    CString root = kDefaultRoot;
    ~RootState();
};

bool g_rootGone = false;  // calls from destructors that run after the unload see the default

RootState& Root() {
    static RootState state;
    return state;
}

RootState::~RootState() { g_rootGone = true; }

CString KeyPath(const CString& key) { return CRegistry::GetAppRoot() + key; }

// A stored setting that is there but cannot be read (the hive damaged, unreadable, its disk
// failing) is said on standard error, once for each cause, as the default takes its place.
void ReportUnread(LONG err) {
    if (err == ERROR_SUCCESS || err == ERROR_FILE_NOT_FOUND || err == ERROR_MORE_DATA ||
        err == ERROR_UNSUPPORTED_TYPE)
        return;
    std::string why = ZcmRegistryProblem(HKEY_CURRENT_USER).ToUtf8();
    if (why.empty()) why = "error " + std::to_string(err);
    static std::mutex mutex;
    static std::set<std::string> told;
    std::lock_guard<std::mutex> guard(mutex);
    if (told.insert(why).second)
        std::fprintf(stderr, "zcmcom: the stored settings cannot be read (%s); defaults are used\n",
                     why.c_str());
}

int WriteValue(const CString& key, const CString& name, DWORD type, const void* data, DWORD size) {
    CRegistryBatch batch(HKEY_CURRENT_USER);  // the key and the value: one transaction
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return 0;
    const LONG err = RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(h);
    return err == ERROR_SUCCESS && batch.Commit() == ERROR_SUCCESS ? 1 : 0;
}

}  // namespace

CRegistry::CRegistry() : m_strAppRoot(GetAppRoot()) {}

CRegistry::~CRegistry() = default;

void CRegistry::SetAppRoot(const CString& root) {
    CString r = root.IsEmpty() ? CString(kDefaultRoot) : root;
    if (r.Right(1) != L"\\") r += L'\\';
    if (g_rootGone) return;
    RootState& st = Root();
    std::lock_guard<std::mutex> guard(st.lock);
    st.root = r;
}

CString CRegistry::GetAppRoot() {
    if (g_rootGone) return CString(kDefaultRoot);
    RootState& st = Root();
    std::lock_guard<std::mutex> guard(st.lock);
    return st.root;
}

int CRegistry::Read(const CString& key, const CString& name, int def, int* pValue, int kind) {
    if (!pValue) return 0;
    *pValue = def;
    if (kind != kindBool && kind != kindInt) return 0;
    DWORD value = 0, size = sizeof value;
    const LONG err = RegGetValueW(HKEY_CURRENT_USER, KeyPath(key), name, RRF_RT_REG_DWORD, nullptr,
                                  &value, &size);
    ReportUnread(err);
    if (err != ERROR_SUCCESS) return 0;
    *pValue = kind == kindBool ? (value != 0 ? 1 : 0) : static_cast<int>(value);
    return 1;
}

int CRegistry::Read(const CString& key, const CString& name, const CString& def, CString* pValue) {
    if (!pValue) return 0;
    *pValue = def;
    const CString path = KeyPath(key);
    wchar_t small[128];
    DWORD size = sizeof small;
    LONG err = RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, small, &size);
    if (err == ERROR_SUCCESS) {
        *pValue = small;
        return 1;
    }
    CString text;
    // Another process may lengthen the text between two calls: ask again then.
    for (int attempt = 0; attempt < 4 && err == ERROR_MORE_DATA; ++attempt) {
        wchar_t* buffer = text.GetBuffer(static_cast<int>(size / sizeof(wchar_t)));
        err = RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
        text.ReleaseBuffer(err == ERROR_SUCCESS ? -1 : 0);
    }
    ReportUnread(err);
    if (err != ERROR_SUCCESS) return 0;
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
