// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Registry.h"

#include <clocale>
#include <cstring>
#include <cwctype>
#include <locale.h>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/RegistryStore.h"
#include "platform/String.h"

using zcmreg::Hive;
using zcmreg::Statement;

namespace {

constexpr size_t kMaxKeyComponent = 255;  // characters in one key name
constexpr size_t kMaxValueName = 16383;   // characters in a value name

// An open key: the hive and the key's path, as spelt and folded for comparison.
struct KeyHandle {
    Hive hive;
    std::wstring path;   // components joined by '\', no empty ones; empty for the root
    std::string folded;  // upper-cased UTF-8 of path
    REGSAM access;
};

// The open keys and the case folding of this process. Folding uses the C.UTF-8 locale so
// that every process folds alike, whatever locale the caller has set.
struct ApiState {
    std::mutex lock;
    std::unordered_set<KeyHandle*> live;
    locale_t fold = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    ~ApiState();
};

bool g_apiGone = false;  // set when the state is destroyed at unload or exit

ApiState& State() {
    static ApiState state;
    return state;
}

ApiState::~ApiState() {
    for (KeyHandle* k : live) delete k;
    if (fold) freelocale(fold);
    g_apiGone = true;
}

std::string FoldNow(const std::wstring& text) {
    const locale_t loc = State().fold;
    std::wstring upper(text);
    for (wchar_t& ch : upper) {
        if (loc)
            ch = static_cast<wchar_t>(towupper_l(static_cast<wint_t>(ch), loc));
        else if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - L'a' + L'A');
    }
    return ZcmWideToUtf8(upper.data(), upper.size());
}

// Callers read the same few keys and names again and again, and folding them is a good
// part of a read's own work: each thread keeps its last few results.
std::string Fold(const std::wstring& text) {
    struct Cache {
        std::wstring in[4];
        std::string out[4];
        unsigned next = 0;
    };
    thread_local Cache cache;
    for (int i = 0; i < 4; ++i)
        if (cache.in[i] == text) return cache.out[i];
    const unsigned slot = cache.next++ % 4;
    cache.in[slot] = text;
    cache.out[slot] = FoldNow(text);
    return cache.out[slot];
}

std::string Utf8(const std::wstring& text) { return ZcmWideToUtf8(text.data(), text.size()); }

bool IsPredefined(HKEY h, Hive* hive) {
    if (h == HKEY_CURRENT_USER) {
        *hive = Hive::User;
        return true;
    }
    if (h == HKEY_LOCAL_MACHINE) {
        *hive = Hive::Machine;
        return true;
    }
    return false;
}

// Resolves a handle to a copy of its key (a predefined root has full access).
LONG Resolve(HKEY h, KeyHandle* out) {
    if (g_apiGone) return ERROR_CANTOPEN;  // calls from destructors run after the unload
    Hive hive;
    if (IsPredefined(h, &hive)) {
        *out = KeyHandle{hive, std::wstring(), std::string(), KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    ApiState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    auto it = st.live.find(reinterpret_cast<KeyHandle*>(h));
    if (it == st.live.end()) return ERROR_INVALID_HANDLE;
    *out = **it;
    return ERROR_SUCCESS;
}

// Splits a subkey path into its components below base.
LONG SubPath(const KeyHandle& base, LPCWSTR subKey, KeyHandle* out) {
    *out = base;
    if (!subKey) return ERROR_SUCCESS;
    for (const wchar_t* p = subKey; *p;) {
        if (*p == L'\\') {
            ++p;
            continue;
        }
        const wchar_t* end = p;
        while (*end && *end != L'\\') ++end;
        if (static_cast<size_t>(end - p) > kMaxKeyComponent) return ERROR_INVALID_PARAMETER;
        if (!out->path.empty()) out->path += L'\\';
        out->path.append(p, end);
        p = end;
    }
    out->folded = Fold(out->path);
    return ERROR_SUCCESS;
}

// The open key or hive root (base) and the key of the subkey path below it.
LONG ResolveBelow(HKEY hKey, LPCWSTR subKey, KeyHandle* base, KeyHandle* key) {
    const LONG err = Resolve(hKey, base);
    return err != ERROR_SUCCESS ? err : SubPath(*base, subKey, key);
}

bool KeyExists(zcmreg::Connection& db, const std::string& folded, int* rc) {
    if (folded.empty()) return true;  // the hive root always exists
    Statement st(db, "SELECT 1 FROM reg_keys WHERE path=?1");
    st.Bind(1, folded);
    *rc = st.Step();
    return *rc == SQLITE_ROW;
}

// Every ancestor path of a key, then the key itself ("A", "A\B", "A\B\C").
std::vector<std::wstring> Prefixes(const std::wstring& path) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i <= path.size(); ++i)
        if (i == path.size() || path[i] == L'\\') out.push_back(path.substr(0, i));
    return out;
}

HKEY NewHandle(const KeyHandle& key) {
    auto* k = new KeyHandle(key);
    ApiState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    st.live.insert(k);
    return reinterpret_cast<HKEY>(k);
}

LONG CheckValueName(LPCWSTR name) {
    if (name && wcslen(name) > kMaxValueName) return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

// A stored value: its type, and its text (cut at its first zero) or number.
struct Value {
    DWORD type = REG_NONE;
    std::wstring text;
    DWORD number = 0;
};

LONG ReadValue(const KeyHandle& key, LPCWSTR valueName, Value* out) {
    const LONG err = CheckValueName(valueName);
    if (err != ERROR_SUCCESS) return err;
    const std::string name = Fold(valueName ? valueName : L"");
    return zcmreg::WithHive(key.hive, false, [&](zcmreg::Connection& db) -> LONG {
        Statement st(db, "SELECT type, data FROM reg_values WHERE key=?1 AND fold=?2");
        st.Bind(1, key.folded).Bind(2, name);
        const int rc = st.Step();
        if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
        if (rc != SQLITE_ROW) return zcmreg::ErrorFromSqlite(rc, false);
        out->type = static_cast<DWORD>(st.ColumnInt(0));
        if (out->type == REG_SZ) {
            const std::string utf8 = st.ColumnText(1);
            out->text = ZcmUtf8ToWide(utf8.data(), utf8.size());
            const size_t cut = out->text.find(L'\0');
            if (cut != std::wstring::npos) out->text.resize(cut);
        } else if (out->type == REG_DWORD) {
            out->number = static_cast<DWORD>(st.ColumnInt64(1));
        } else {
            return ERROR_BADDB;  // no other type is ever stored
        }
        return ERROR_SUCCESS;
    });
}

// Hands a value to the caller's buffer the Win32 way: its size alone without a buffer,
// ERROR_MORE_DATA and the size needed when the buffer is short.
LONG CopyOut(const Value& v, LPDWORD lpType, void* lpData, LPDWORD lpcbData) {
    if (lpType) *lpType = v.type;
    if (!lpcbData) return ERROR_SUCCESS;
    const DWORD needed = v.type == REG_SZ
                             ? static_cast<DWORD>((v.text.size() + 1) * sizeof(wchar_t))
                             : static_cast<DWORD>(sizeof(DWORD));
    if (!lpData) {
        *lpcbData = needed;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < needed) {
        *lpcbData = needed;
        return ERROR_MORE_DATA;
    }
    if (v.type == REG_SZ)
        memcpy(lpData, v.text.c_str(), needed);
    else
        memcpy(lpData, &v.number, sizeof v.number);
    *lpcbData = needed;
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                     const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    KeyHandle base, key;
    LONG err = ResolveBelow(hKey, lpSubKey, &base, &key);
    if (err != ERROR_SUCCESS) return err;
    key.access = samDesired;
    bool created = false;
    err = zcmreg::WithHive(key.hive, true, [&](zcmreg::Connection& db) -> LONG {
        int rc = SQLITE_OK;
        if (KeyExists(db, key.folded, &rc)) return ERROR_SUCCESS;  // the usual case
        if (rc != SQLITE_DONE) return zcmreg::ErrorFromSqlite(rc, true);
        if (!KeyExists(db, base.folded, &rc))
            return rc == SQLITE_DONE ? ERROR_KEY_DELETED : zcmreg::ErrorFromSqlite(rc, true);
        for (const std::wstring& prefix : Prefixes(key.path)) {
            Statement st(db, "INSERT OR IGNORE INTO reg_keys(path, name) VALUES(?1, ?2)");
            st.Bind(1, Fold(prefix)).Bind(2, Utf8(prefix));
            rc = st.Step();
            if (rc != SQLITE_DONE) return zcmreg::ErrorFromSqlite(rc, true);
            created = zcmreg::Changes(db) > 0;  // the last one tells about the key itself
        }
        return ERROR_SUCCESS;
    });
    if (err != ERROR_SUCCESS) return err;
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = NewHandle(key);
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    KeyHandle base, key;
    LONG err = ResolveBelow(hKey, lpSubKey, &base, &key);
    if (err != ERROR_SUCCESS) return err;
    key.access = samDesired;
    if (!key.path.empty()) {
        err = zcmreg::WithHive(key.hive, false, [&](zcmreg::Connection& db) -> LONG {
            int rc = SQLITE_OK;
            if (KeyExists(db, key.folded, &rc)) return ERROR_SUCCESS;
            return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : zcmreg::ErrorFromSqlite(rc, false);
        });
        if (err != ERROR_SUCCESS) return err;
    }
    *phkResult = NewHandle(key);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    LONG err = Resolve(hKey, &key);
    if (err != ERROR_SUCCESS) return err;
    if (!(key.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    Value v;
    err = ReadValue(key, lpValueName, &v);
    return err != ERROR_SUCCESS ? err : CopyOut(v, lpType, lpData, lpcbData);
}

LONG RegGetValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValue, DWORD dwFlags, LPDWORD pdwType,
                  LPVOID pvData, LPDWORD pcbData) {
    if ((pvData && !pcbData) || !(dwFlags & RRF_RT_ANY)) return ERROR_INVALID_PARAMETER;
    KeyHandle base, key;
    LONG err = ResolveBelow(hKey, lpSubKey, &base, &key);
    if (err != ERROR_SUCCESS) return err;
    if (key.path == base.path && !(base.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    Value v;
    err = ReadValue(key, lpValue, &v);
    if (err == ERROR_SUCCESS && !(dwFlags & (v.type == REG_SZ ? RRF_RT_REG_SZ : RRF_RT_REG_DWORD)))
        err = ERROR_UNSUPPORTED_TYPE;
    if (err == ERROR_SUCCESS) err = CopyOut(v, pdwType, pvData, pcbData);
    if (err != ERROR_SUCCESS && err != ERROR_MORE_DATA && pvData && pcbData &&
        (dwFlags & RRF_ZEROONFAILURE))
        memset(pvData, 0, *pcbData);
    return err;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    KeyHandle key;
    LONG err = Resolve(hKey, &key);
    if (err != ERROR_SUCCESS) return err;
    if (!(key.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if ((err = CheckValueName(lpValueName)) != ERROR_SUCCESS) return err;
    const std::wstring name = lpValueName ? lpValueName : L"";
    std::string text;
    long long number = 0;
    if (dwType == REG_SZ) {
        std::wstring value;
        const size_t chars = cbData / sizeof(wchar_t);
        if (chars) {
            value.resize(chars);
            memcpy(&value[0], lpData, chars * sizeof(wchar_t));
        }
        const size_t cut = value.find(L'\0');
        if (cut != std::wstring::npos) value.resize(cut);
        text = Utf8(value);
    } else if (dwType == REG_DWORD) {
        if (cbData != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
        DWORD v;
        memcpy(&v, lpData, sizeof v);
        number = v;
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    return zcmreg::WithHive(key.hive, true, [&](zcmreg::Connection& db) -> LONG {
        int rc = SQLITE_OK;
        if (!KeyExists(db, key.folded, &rc))
            return rc == SQLITE_DONE ? ERROR_KEY_DELETED : zcmreg::ErrorFromSqlite(rc, true);
        Statement st(db,
                     "INSERT OR REPLACE INTO reg_values(key, fold, name, type, data) "
                     "VALUES(?1, ?2, ?3, ?4, ?5)");
        st.Bind(1, key.folded).Bind(2, Fold(name)).Bind(3, Utf8(name)).Bind(4, dwType);
        if (dwType == REG_SZ)
            st.Bind(5, text);
        else
            st.Bind(5, number);
        rc = st.Step();
        return rc == SQLITE_DONE ? ERROR_SUCCESS : zcmreg::ErrorFromSqlite(rc, true);
    });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    KeyHandle key;
    LONG err = Resolve(hKey, &key);
    if (err != ERROR_SUCCESS) return err;
    if (!(key.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if ((err = CheckValueName(lpValueName)) != ERROR_SUCCESS) return err;
    const std::string name = Fold(lpValueName ? lpValueName : L"");
    return zcmreg::WithHive(key.hive, true, [&](zcmreg::Connection& db) -> LONG {
        Statement st(db, "DELETE FROM reg_values WHERE key=?1 AND fold=?2");
        st.Bind(1, key.folded).Bind(2, name);
        const int rc = st.Step();
        if (rc != SQLITE_DONE) return zcmreg::ErrorFromSqlite(rc, true);
        return zcmreg::Changes(db) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    KeyHandle base, key;
    LONG err = ResolveBelow(hKey, lpSubKey, &base, &key);
    if (err != ERROR_SUCCESS) return err;
    if (key.path.empty()) return ERROR_ACCESS_DENIED;  // a hive root stays
    return zcmreg::WithHive(key.hive, true, [&](zcmreg::Connection& db) -> LONG {
        int rc = SQLITE_OK;
        if (!KeyExists(db, key.folded, &rc))
            return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : zcmreg::ErrorFromSqlite(rc, true);
        {
            // Subkeys sort between "path\" and "path]" (']' follows '\').
            Statement st(db, "SELECT 1 FROM reg_keys WHERE path > ?1 AND path < ?2 LIMIT 1");
            st.Bind(1, key.folded + "\\").Bind(2, key.folded + "]");
            rc = st.Step();
            if (rc == SQLITE_ROW) return ERROR_ACCESS_DENIED;
            if (rc != SQLITE_DONE) return zcmreg::ErrorFromSqlite(rc, true);
        }
        for (const char* sql :
             {"DELETE FROM reg_values WHERE key=?1", "DELETE FROM reg_keys WHERE path=?1"}) {
            Statement st(db, sql);
            st.Bind(1, key.folded);
            rc = st.Step();
            if (rc != SQLITE_DONE) return zcmreg::ErrorFromSqlite(rc, true);
        }
        return ERROR_SUCCESS;
    });
}

LONG RegCloseKey(HKEY hKey) {
    Hive hive;
    if (IsPredefined(hKey, &hive)) return ERROR_SUCCESS;
    if (g_apiGone) return ERROR_INVALID_HANDLE;
    ApiState& st = State();
    std::lock_guard<std::mutex> guard(st.lock);
    auto it = st.live.find(reinterpret_cast<KeyHandle*>(hKey));
    if (it == st.live.end()) return ERROR_INVALID_HANDLE;
    delete *it;
    st.live.erase(it);
    return ERROR_SUCCESS;
}

CRegistryBatch::CRegistryBatch(HKEY hKey) : m_hive(-1), m_open(false) {
    KeyHandle key;
    if (Resolve(hKey, &key) != ERROR_SUCCESS) return;
    m_hive = static_cast<int>(key.hive);
    m_open = true;
    zcmreg::BeginBatch(key.hive);
}

CRegistryBatch::~CRegistryBatch() { End(true); }

LONG CRegistryBatch::Commit() { return End(true); }

void CRegistryBatch::Cancel() { End(false); }

LONG CRegistryBatch::End(bool commit) {
    if (m_hive < 0) return ERROR_INVALID_HANDLE;
    if (!m_open) return ERROR_SUCCESS;
    m_open = false;
    return zcmreg::EndBatch(static_cast<Hive>(m_hive), commit);
}

CString ZcmRegistryProblem(HKEY hKey) {
    KeyHandle key;
    if (Resolve(hKey, &key) != ERROR_SUCCESS) return CString();
    return CString(zcmreg::Problem(key.hive).c_str());
}
