// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Typed shortcuts over the registry calls, for tests that set up or inspect a store.
#include <string>

#include "platform/Registry.h"

// The key, created or opened; nullptr when that fails.
inline HKEY CreateKey(HKEY root, const std::wstring& path, DWORD* disp = nullptr) {
    HKEY h = nullptr;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, disp);
    return h;
}

inline LONG SetText(HKEY h, const wchar_t* name, const std::wstring& text) {
    return RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline LONG SetNumber(HKEY h, const wchar_t* name, DWORD value) {
    return RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

// Creates the key if need be and writes a text into it.
inline LONG WriteText(HKEY root, const std::wstring& key, const wchar_t* name,
                      const std::wstring& text) {
    HKEY h = CreateKey(root, key);
    const LONG err = h ? SetText(h, name, text) : ERROR_INVALID_HANDLE;
    RegCloseKey(h);
    return err;
}

// A text value, or "error N" when it cannot be read as one (a number: ERROR_INVALID_PARAMETER).
inline std::wstring Text(HKEY h, const wchar_t* name) {
    wchar_t buffer[512];
    DWORD type = 0, size = sizeof buffer;
    LONG err = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (err == ERROR_SUCCESS && type != REG_SZ) err = ERROR_INVALID_PARAMETER;
    return err == ERROR_SUCCESS ? std::wstring(buffer) : L"error " + std::to_wstring(err);
}

// A number value, or minus the error code when it cannot be read as one.
inline long long Number(HKEY h, const wchar_t* name) {
    DWORD value = 0, type = 0, size = sizeof value;
    LONG err = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (err == ERROR_SUCCESS && type != REG_DWORD) err = ERROR_INVALID_PARAMETER;
    return err == ERROR_SUCCESS ? value : -static_cast<long long>(err);
}
