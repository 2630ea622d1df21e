// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Resource.h"

#include <algorithm>
#include <cwchar>
#include <list>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "platform/String.h"

namespace {

struct Module {
    std::wstring name;
    const ZcmStringResource* strings;
    size_t stringCount;
    const ZcmBinaryResource* binaries;
    size_t binaryCount;
    bool isApplication;
};

struct Registry {
    std::shared_mutex lock;
    std::list<Module> modules;  // applications first, then libraries, each in order
};

Registry& Reg() {
    static Registry* r = new Registry;  // outlives every module's unload handler
    return *r;
}

bool SameName(LPCWSTR a, LPCWSTR b) {
    if (IS_INTRESOURCE(a) || IS_INTRESOURCE(b)) return a == b;
    return CString(a).CompareNoCase(b) == 0;
}

bool NameMatchesId(LPCWSTR name, UINT id) {
    if (IS_INTRESOURCE(name)) return static_cast<UINT>(reinterpret_cast<uintptr_t>(name)) == id;
    // "#123" names resource 123, as on Windows
    return name[0] == L'#' && static_cast<UINT>(_wtoi(name + 1)) == id;
}

Module* Find(HMODULE h) {
    for (auto& m : Reg().modules)
        if (reinterpret_cast<HMODULE>(&m) == h) return &m;
    return nullptr;
}

}  // namespace

HMODULE AfxRegisterResourceModule(LPCWSTR moduleName, const ZcmStringResource* strings,
                                  size_t stringCount, const ZcmBinaryResource* binaries,
                                  size_t binaryCount, bool isApplication) {
    Registry& r = Reg();
    std::unique_lock<std::shared_mutex> lock(r.lock);
    Module m{moduleName ? moduleName : L"", strings,      strings ? stringCount : 0, binaries,
             binaries ? binaryCount : 0,    isApplication};
    auto pos = r.modules.end();
    if (isApplication) {
        pos = r.modules.begin();
        while (pos != r.modules.end() && pos->isApplication) ++pos;
    }
    auto it = r.modules.insert(pos, m);
    return reinterpret_cast<HMODULE>(&*it);
}

void AfxUnregisterResourceModule(HMODULE module) {
    Registry& r = Reg();
    std::unique_lock<std::shared_mutex> lock(r.lock);
    r.modules.remove_if([&](Module& m) { return reinterpret_cast<HMODULE>(&m) == module; });
}

const wchar_t* AfxFindStringResource(UINT id) {
    Registry& r = Reg();
    std::shared_lock<std::shared_mutex> lock(r.lock);
    for (const auto& m : r.modules)
        for (size_t i = 0; i < m.stringCount; ++i)
            if (m.strings[i].id == id && m.strings[i].text) return m.strings[i].text;
    return nullptr;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    Registry& r = Reg();
    std::shared_lock<std::shared_mutex> lock(r.lock);
    for (auto& m : r.modules) {
        if (moduleName ? SameName(m.name.c_str(), moduleName) : m.isApplication)
            return reinterpret_cast<HMODULE>(&m);
    }
    return nullptr;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    if (!name || !type) return nullptr;
    Registry& r = Reg();
    std::shared_lock<std::shared_mutex> lock(r.lock);
    if (!module) {
        for (auto& m : r.modules)
            if (m.isApplication) {
                module = reinterpret_cast<HMODULE>(&m);
                break;
            }
    }
    const Module* m = Find(module);
    if (!m) return nullptr;
    for (size_t i = 0; i < m->binaryCount; ++i) {
        const ZcmBinaryResource& b = m->binaries[i];
        if (b.type && SameName(b.type, type) && NameMatchesId(name, b.id))
            return reinterpret_cast<HRSRC>(const_cast<ZcmBinaryResource*>(&b));
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) return nullptr;
    return const_cast<BYTE*>(reinterpret_cast<const ZcmBinaryResource*>(resource)->data);
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const ZcmBinaryResource*>(resource)->size : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringW(HMODULE module, UINT id, LPWSTR buffer, int maxChars) {
    const wchar_t* text = nullptr;
    {
        Registry& r = Reg();
        std::shared_lock<std::shared_mutex> lock(r.lock);
        const Module* m = module ? Find(module) : nullptr;
        if (m) {
            for (size_t i = 0; i < m->stringCount; ++i)
                if (m->strings[i].id == id) text = m->strings[i].text;
        }
    }
    if (!module) text = AfxFindStringResource(id);
    if (!text || !buffer || maxChars <= 0) return 0;
    const size_t n = std::min(wcslen(text), static_cast<size_t>(maxChars - 1));
    wmemcpy(buffer, text, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
