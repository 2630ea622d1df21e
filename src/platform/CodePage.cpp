// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/CodePage.h"

#include "platform/String.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const wchar_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and encoding, kept for the thread's life: opening
// one costs far more than a line's conversion.
struct Converter {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    std::string from, to;
    bool asciiCompatible = false;
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

Converter* GetConverter(const char* from, const char* to) {
    thread_local std::vector<std::unique_ptr<Converter>> cache;
    for (auto& c : cache)
        if (c->from == from && c->to == to)
            return c->cd == reinterpret_cast<iconv_t>(-1) ? nullptr : c.get();
    auto c = std::make_unique<Converter>();
    c->from = from;
    c->to = to;
    c->cd = iconv_open(to, from);
    Converter* result = c->cd == reinterpret_cast<iconv_t>(-1) ? nullptr : c.get();
    cache.push_back(std::move(c));
    return result;
}

// True when bytes 0x01..0x7F of the code page are ASCII, so runs of them need no iconv.
bool CheckAsciiCompatible(Converter* c) {
    char in[127];
    for (int i = 0; i < 127; ++i) in[i] = static_cast<char>(i + 1);
    wchar_t out[127] = {};
    char* ip = in;
    size_t il = sizeof in;
    char* op = reinterpret_cast<char*>(out);
    size_t ol = sizeof out;
    iconv(c->cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(c->cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0 || ol != 0)
        return false;
    for (int i = 0; i < 127; ++i)
        if (out[i] != static_cast<wchar_t>(i + 1)) return false;
    return true;
}

const char* AcpName() {
    static const std::string name = [] {
        const char* env = getenv("ZCMCOM_ACP");
        return std::string(env && *env ? env : "CP932");
    }();
    return name.c_str();
}

const char* CodePageName(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
        case CP_OEMCP:
            return AcpName();
        case 932:
            return "CP932";
        case CP_UTF8:
            return "UTF-8";
        default:
            return nullptr;
    }
}

Converter* Decoder(const char* name) {
    Converter* c = GetConverter(name, "WCHAR_T");
    if (c && !c->asciiCompatible) c->asciiCompatible = CheckAsciiCompatible(c);
    return c;
}

// Decodes bytes; false on invalid input when strict. Appends to out.
bool Decode(Converter* c, const char* bytes, size_t count, bool strict, std::wstring& out) {
    const size_t start = out.size();
    out.resize(start + count);  // never more characters than bytes
    wchar_t* base = &out[0];
    size_t used = start;
    size_t i = 0;
    iconv(c->cd, nullptr, nullptr, nullptr, nullptr);
    while (i < count) {
        if (c->asciiCompatible) {
            while (i < count && static_cast<unsigned char>(bytes[i]) < 0x80)
                base[used++] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i++]));
            if (i == count) break;
        }
        // Convert up to the next ASCII run (or everything when the code page is not
        // ASCII-compatible); a NUL byte counts as ASCII.
        size_t end = i + 1;
        if (c->asciiCompatible)
            while (end < count && static_cast<unsigned char>(bytes[end]) >= 0x80) ++end;
        else
            end = count;
        // A double-byte character's trail byte may be ASCII: give iconv one more byte.
        if (c->asciiCompatible && end < count) ++end;
        char* ip = const_cast<char*>(bytes + i);
        size_t il = end - i;
        char* op = reinterpret_cast<char*>(base + used);
        size_t ol = (out.size() - used) * sizeof(wchar_t);
        const size_t r = iconv(c->cd, &ip, &il, &op, &ol);
        used = static_cast<size_t>(reinterpret_cast<wchar_t*>(op) - base);
        i = static_cast<size_t>(ip - bytes);
        if (r == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            if (strict) {
                out.resize(start);
                return false;
            }
            base[used++] = kReplacement;
            ++i;
            iconv(c->cd, nullptr, nullptr, nullptr, nullptr);
        } else if (r == static_cast<size_t>(-1)) {
            if (strict) {
                out.resize(start);
                return false;
            }
            base[used++] = kReplacement;
            ++i;
        }
    }
    out.resize(used);
    return true;
}

// Encodes wide text; unmappable characters become def (or fail when def is null).
bool Encode(Converter* c, const wchar_t* text, size_t count, const std::string* def,
            bool* usedDefault, std::string& out) {
    iconv(c->cd, nullptr, nullptr, nullptr, nullptr);
    size_t i = 0;
    char buf[4096];
    while (i < count) {
        char* ip = reinterpret_cast<char*>(const_cast<wchar_t*>(text + i));
        size_t il = (count - i) * sizeof(wchar_t);
        char* op = buf;
        size_t ol = sizeof buf;
        const size_t r = iconv(c->cd, &ip, &il, &op, &ol);
        out.append(buf, static_cast<size_t>(op - buf));
        i = count - il / sizeof(wchar_t);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            if (!def) return false;
            out += *def;
            if (usedDefault) *usedDefault = true;
            ++i;
            iconv(c->cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    // Flush any shift state of stateful encodings.
    char* op = buf;
    size_t ol = sizeof buf;
    iconv(c->cd, nullptr, nullptr, &op, &ol);
    out.append(buf, static_cast<size_t>(op - buf));
    return true;
}

}  // namespace

UINT GetACP() { return strcmp(AcpName(), "CP932") == 0 ? 932u : 0u; }

const char* ZcmAnsiCodePageName() { return AcpName(); }

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR mb, int mbCount, LPWSTR wide,
                        int wideCount) {
    if (!mb || mbCount == 0 || mbCount < -1 || wideCount < 0 || (wideCount > 0 && !wide)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (flags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS |
                                    MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const char* name = CodePageName(codePage);
    Converter* c = name ? Decoder(name) : nullptr;
    if (!c) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = mbCount == -1 ? strlen(mb) + 1 : static_cast<size_t>(mbCount);
    std::wstring out;
    if (!Decode(c, mb, n, (flags & MB_ERR_INVALID_CHARS) != 0, out)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (out.size() > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int needed = static_cast<int>(out.size());
    if (wideCount == 0) return needed;
    if (needed > wideCount) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (needed > 0) memcpy(wide, out.data(), out.size() * sizeof(wchar_t));
    return needed;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR mb,
                        int mbCount, LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (usedDefaultChar) *usedDefaultChar = FALSE;
    if (!wide || wideCount == 0 || wideCount < -1 || mbCount < 0 || (mbCount > 0 && !mb)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* name = CodePageName(codePage);
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = wideCount == -1 ? wcslen(wide) + 1 : static_cast<size_t>(wideCount);
    std::string out;
    if (codePage == CP_UTF8) {
        // As Windows: UTF-8 takes no default character and no best-fit flags.
        if (defaultChar || usedDefaultChar || (flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (flags & WC_ERR_INVALID_CHARS) {
            for (size_t i = 0; i < n; ++i) {
                const uint32_t ch = static_cast<uint32_t>(wide[i]);
                if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
                    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
                    return 0;
                }
            }
        }
        out = ZcmWideToUtf8(wide, n);
    } else {
        Converter* c = GetConverter("WCHAR_T", name);
        if (!c) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        const std::string def =
            defaultChar && *defaultChar ? std::string(defaultChar) : std::string("?");
        bool used = false;
        Encode(c, wide, n, &def, &used, out);
        if (usedDefaultChar) *usedDefaultChar = used ? TRUE : FALSE;
    }
    if (out.size() > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int needed = static_cast<int>(out.size());
    if (mbCount == 0) return needed;
    if (needed > mbCount) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(mb, out.data(), out.size());
    return needed;
}

void ZcmAnsiToWide(const char* bytes, size_t count, std::wstring& out) {
    if (count == 0) return;
    Converter* c = Decoder(AcpName());
    if (!c) {
        // An unknown ZCMCOM_ACP: keep the ASCII bytes, mark the rest.
        for (size_t i = 0; i < count; ++i) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            out += b < 0x80 ? static_cast<wchar_t>(b) : kReplacement;
        }
        return;
    }
    Decode(c, bytes, count, false, out);
}

void ZcmWideToAnsi(const wchar_t* text, size_t count, std::string& out) {
    if (count == 0) return;
    Converter* c = GetConverter("WCHAR_T", AcpName());
    static const std::string def("?");
    if (!c) {
        for (size_t i = 0; i < count; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
        return;
    }
    Encode(c, text, count, &def, nullptr, out);
}

void ZcmUtf16ToWide(const char16_t* units, size_t count, std::wstring& out) {
    out.reserve(out.size() + count);
    for (size_t i = 0; i < count; ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            out += static_cast<wchar_t>(u);
        }
    }
}

void ZcmWideToUtf16(const wchar_t* text, size_t count, std::u16string& out) {
    out.reserve(out.size() + count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
}
