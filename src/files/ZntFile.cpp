// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/ZntFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/CodePage.h"

namespace {

const UINT kBlock = 128;

// Packs raw bytes one code unit per character (see the header).
void PackUnits(const std::string& bytes, bool utf16, CString& raw) {
    std::wstring units;
    if (utf16) {
        units.reserve(bytes.size() / 2 + 1);
        size_t i = 0;
        for (; i + 1 < bytes.size(); i += 2)
            units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (i < bytes.size()) units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    } else {
        units.reserve(bytes.size());
        for (char b : bytes) units += static_cast<wchar_t>(static_cast<unsigned char>(b));
    }
    raw = CString(std::move(units));
}

wchar_t Swap16(wchar_t v) {
    const unsigned u = static_cast<unsigned>(v) & 0xFFFF;
    return static_cast<wchar_t>(((u & 0xFF) << 8) | (u >> 8));
}

}  // namespace

CZntFile::CZntFile() : m_nUnicode(0), m_nLittleEndian(0) {}

CZntFile::CZntFile(const wchar_t* name, UINT openFlags, int unicode, int littleEndian)
    : m_nUnicode(unicode), m_nLittleEndian(littleEndian) {
    CFileException error;
    if (!Open(name, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CZntFile::~CZntFile() = default;

CZntFile& CZntFile::operator=(const CZntFile& other) {
    m_nUnicode = other.m_nUnicode;
    m_nLittleEndian = other.m_nLittleEndian;
    return *this;
}

void CZntFile::SetUnicode(int unicode, int littleEndian) {
    m_nUnicode = unicode;
    m_nLittleEndian = littleEndian;
}

void CZntFile::GetUnicode(int* unicode, int* littleEndian) const {
    if (unicode) *unicode = m_nUnicode;
    if (littleEndian) *littleEndian = m_nLittleEndian;
}

BOOL CZntFile::Open(const wchar_t* name, UINT openFlags, CFileException* error) {
    // Always binary: the line ends are handled here.
    if (!CStdioFile::Open(name, (openFlags & ~static_cast<UINT>(typeText)) | typeBinary, error))
        return FALSE;
    if (openFlags & modeWrite) {
        if (m_nUnicode == 1) WriteBOM(m_nLittleEndian);
        return TRUE;
    }
    if (!GetUTFCode()) {
        Abort();
        return FALSE;
    }
    if (m_nUnicode) Seek(2, begin);
    return TRUE;
}

int CZntFile::GetUTFCode() {
    const ULONGLONG pos = GetPosition();
    Seek(0, begin);
    unsigned char buf[4] = {};
    try {
        Read(buf, 4);
    } catch (CFileException* e) {
        e->Delete();
    }
    const unsigned first = buf[0] | (buf[1] << 8);
    m_nUnicode = (first == 0xFEFF || first == 0xFFFE) ? 1 : 0;
    m_nLittleEndian = first == 0xFEFF ? 1 : 0;
    Seek(static_cast<LONGLONG>(pos), begin);
    return 1;
}

void CZntFile::WriteBOM(int littleEndian) {
    static const unsigned char le[2] = {0xFF, 0xFE}, be[2] = {0xFE, 0xFF};
    Write(littleEndian ? le : be, 2);
}

int CZntFile::ReadLine(CString& raw, UINT* byteCount) {
    raw.Empty();
    const UINT unit = m_nUnicode ? 2 : 1;
    const bool big = m_nUnicode && !m_nLittleEndian;
    std::string gathered;
    unsigned char block[kBlock];
    auto isCR = [&](const unsigned char* p) {
        if (unit == 1) return p[0] == '\r';
        return big ? (p[0] == 0 && p[1] == '\r') : (p[0] == '\r' && p[1] == 0);
    };
    for (;;) {
        memset(block, 0, sizeof block);
        UINT n = 0;
        try {
            n = Read(block, kBlock);
        } catch (CFileException* e) {
            e->Delete();
            return 0;
        }
        if (n == 0) {
            if (gathered.empty()) return 0;
            break;
        }
        UINT k = 0;
        bool found = false;
        for (; k + unit <= n; k += unit) {
            const bool lf = unit == 1 ? block[k] == '\n'
                                      : (big ? (block[k] == 0 && block[k + 1] == '\n')
                                             : (block[k] == '\n' && block[k + 1] == 0));
            if (lf) {
                found = true;
                break;
            }
        }
        if (!found) {
            gathered.append(reinterpret_cast<char*>(block), n);
            if (gathered.size() > kZcmMaxLineBytes)  // no line end in sight
                AfxThrowFileException(CFileException::genericException, EFBIG, m_strFileName);
            if (n < kBlock) break;
            continue;
        }
        UINT part = k;
        if (part >= unit && isCR(block + part - unit)) part -= unit;
        gathered.append(reinterpret_cast<char*>(block), part);
        // Stand just after the line feed.
        try {
            Seek(static_cast<LONGLONG>(k + unit) - static_cast<LONGLONG>(n), current);
        } catch (CFileException* e) {
            e->Delete();
            return 0;
        }
        break;
    }
    // Trailing CR units go, including one that ended the previous block while its LF
    // began this one.
    while (gathered.size() >= unit &&
           isCR(reinterpret_cast<const unsigned char*>(gathered.data()) + gathered.size() - unit))
        gathered.resize(gathered.size() - unit);
    if (byteCount) *byteCount = static_cast<UINT>(gathered.size());
    PackUnits(gathered, unit == 2, raw);
    return 1;
}

int CZntFile::EndianLine(CString& raw, UINT byteCount) {
    if (byteCount & 1) return 0;
    std::wstring s = raw.str();
    const size_t units = std::min<size_t>(byteCount / 2, s.size());
    for (size_t i = 0; i < units; ++i) s[i] = Swap16(s[i]);
    raw = CString(std::move(s));
    return 1;
}

UINT CZntFile::MBCStoUTF16(CString& raw, UINT byteCount) {
    const std::wstring& units = raw.str();
    const size_t n = std::min<size_t>(byteCount, units.size());
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(units[i] & 0xFF);
    std::wstring text;
    ZcmAnsiToWide(bytes.data(), bytes.size(), text);
    if (text.empty()) return 0;  // as the platform call: nothing to convert is a failure
    const UINT result = static_cast<UINT>(text.size() * 2);
    raw = CString(std::move(text));
    return result;
}

UINT CZntFile::UTF16toMBCS(CString& text, UINT byteCount) {
    const size_t n = std::min<size_t>(byteCount / 2, static_cast<size_t>(text.GetLength()));
    std::string bytes;
    ZcmWideToAnsi(text.GetString(), n, bytes);
    if (bytes.empty()) return 0;
    std::wstring units(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        units[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    text = CString(std::move(units));
    return static_cast<UINT>((bytes.size() + 1) & ~static_cast<size_t>(1));
}

UINT CZntFile::InsertCRLF(CString& text, UINT byteCount) {
    const std::wstring& s = text.str();
    const size_t n = std::min<size_t>(byteCount / 2, s.size());
    std::wstring out;
    out.reserve(n + n / 8 + 1);
    UINT inserted = 0;
    for (size_t i = 0; i < n; ++i) {
        if (s[i] == L'\n' && (i == 0 || s[i - 1] != L'\r')) {
            out += L'\r';
            ++inserted;
        }
        out += s[i];
    }
    text = CString(std::move(out));
    return byteCount + 2 * inserted;
}

void CZntFile::RawLineToText(CString& raw, UINT byteCount) {
    if (!m_nUnicode) {
        if (MBCStoUTF16(raw, byteCount) == 0) raw.Empty();
        return;
    }
    // Big-endian units are swapped; a dangling odd byte (a cut file) becomes U+FFFD
    // instead of spoiling the whole line.
    const bool odd = (byteCount & 1) != 0;
    if (!m_nLittleEndian) EndianLine(raw, byteCount & ~1u);
    const std::wstring& s = raw.str();
    const size_t units = std::min<size_t>(byteCount / 2, s.size());
    std::u16string u16(units, u'\0');
    for (size_t i = 0; i < units; ++i) u16[i] = static_cast<char16_t>(s[i] & 0xFFFF);
    std::wstring text;
    ZcmUtf16ToWide(u16.data(), u16.size(), text);
    if (odd) text += static_cast<wchar_t>(0xFFFD);
    raw = CString(std::move(text));
}

BOOL CZntFile::ReadString(CString& line) {
    UINT count = 0;
    if (!ReadLine(line, &count)) return FALSE;
    RawLineToText(line, count);
    return TRUE;
}

void CZntFile::WriteString(const wchar_t* text) {
    if (!text) return;
    CString copy(text);
    UINT count = InsertCRLF(copy, static_cast<UINT>(copy.GetLength()) * 2);
    if (count == 0) return;
    std::string bytes;
    if (m_nUnicode) {
        std::u16string units;
        ZcmWideToUtf16(copy.GetString(), static_cast<size_t>(copy.GetLength()), units);
        bytes.resize(units.size() * 2);
        for (size_t i = 0; i < units.size(); ++i) {
            const unsigned char lo = static_cast<unsigned char>(units[i] & 0xFF),
                                hi = static_cast<unsigned char>(units[i] >> 8);
            bytes[2 * i] = static_cast<char>(m_nLittleEndian ? lo : hi);
            bytes[2 * i + 1] = static_cast<char>(m_nLittleEndian ? hi : lo);
        }
    } else {
        // Conversion failures write nothing.
        ZcmWideToAnsi(copy.GetString(), static_cast<size_t>(copy.GetLength()), bytes);
    }
    if (bytes.empty()) return;
    if (bytes.size() > 0xFFFFFFFFu)
        AfxThrowFileException(CFileException::diskFull, EFBIG, m_strFileName);
    // CStdioFile::Write throws the disk-full file exception when the stream write fails.
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}
