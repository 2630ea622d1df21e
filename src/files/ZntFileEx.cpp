// SPDX-License-Identifier: LGPL-3.0-or-later
#include "files/ZntFileEx.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/CodePage.h"

namespace {

const size_t kBufferSize = 1024 * 1024;

// The first CR or LF in [p, end), or end: one pass, whichever line end the file uses.
const char* FindLineEnd(const char* p, const char* end) {
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

}  // namespace

CZntFileEx::CZntFileEx()
    : m_nEncodeType(0),
      m_pFileStream(nullptr),
      m_buffer(kBufferSize),
      m_pos(kBufferSize + 1),
      m_end(kBufferSize),
      m_bEndOfData(0) {}

CZntFileEx::~CZntFileEx() = default;  // the base class closes the stream

int CZntFileEx::GetEncodeType(const wchar_t* path) {
    CFile file;
    // Shared, so a file that someone else has open still tells its encoding.
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone))
        return encodeError;
    unsigned char b[4] = {};
    try {
        file.Read(b, 4);
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        return encodeError;
    }
    file.Abort();
    return TypeOfMark(b, sizeof b);
}

int CZntFileEx::Open(const wchar_t* path, UINT openFlags, int encodeType) {
    m_pos = kBufferSize + 1;
    m_end = kBufferSize;
    m_bEndOfData = 0;
    const UINT access = openFlags & 3;
    if (access == modeWrite) {
        if (encodeType < encodeSJIS || encodeType > encodeUtf8) return 0;
        m_nEncodeType = encodeType;
    } else if (access != modeRead) {
        m_nEncodeType = 0;
    } else {
        return OpenForReading(path, openFlags);
    }
    if (m_nEncodeType == encodeUtf16LE || m_nEncodeType == encodeUtf8)
        return SetFileStream(path, openFlags);
    return CStdioFile::Open(path, openFlags, nullptr);
}

int CZntFileEx::OpenForReading(const wchar_t* path, UINT openFlags) {
    // One open that both sniffs and reads: a pipe cannot be opened twice for the same bytes.
    if (!CStdioFile::Open(path, openFlags, nullptr)) {
        // A UTF file that may not be opened so (shared with a writer) throws, as a failed
        // stream open does.
        m_nEncodeType = GetEncodeType(path);
        if (m_nEncodeType == encodeUtf16LE || m_nEncodeType == encodeUtf8)
            AfxThrowInvalidArgException();
        return 0;
    }
    unsigned char b[3] = {};
    const ssize_t n = pread(Fd(), b, sizeof b, 0);
    m_nEncodeType = TypeOfMark(b, n < 0 ? 0 : static_cast<size_t>(n));
    if (m_nEncodeType == encodeSJIS) return 1;
    if (m_nEncodeType == encodeUtf16BE) {
        Abort();
        return 0;
    }
    m_pStream->SetEncoding(m_nEncodeType == encodeUtf8 ? ZcmStream::utf8 : ZcmStream::utf16le);
    m_pStream->Seek(m_nEncodeType == encodeUtf8 ? 3 : 2, SEEK_SET);
    m_pFileStream = m_pStream;
    return 1;
}

int CZntFileEx::TypeOfMark(const unsigned char* b, size_t n) {
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) return encodeUtf16LE;
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) return encodeUtf16BE;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return encodeUtf8;
    return encodeSJIS;
}

int CZntFileEx::SetFileStream(const wchar_t* path, UINT openFlags) {
    std::wstring mode;
    if (openFlags & modeCreate)
        mode = (openFlags & modeNoTruncate) ? L"a" : L"w";
    else
        mode = (openFlags & modeWrite) ? L"a" : L"r";
    if ((mode == L"r" && (openFlags & modeReadWrite)) || (mode != L"r" && !(openFlags & modeWrite)))
        mode += L"+";
    mode += (openFlags & typeBinary) ? L"b" : L"t";
    if ((openFlags & 3) == modeWrite) {
        if (m_nEncodeType == encodeUtf16LE)
            mode += L", ccs=UTF-16LE";
        else if (m_nEncodeType == encodeUtf8)
            mode += L", ccs=UTF-8";
        else
            return 0;
    } else {
        mode += L", ccs=UNICODE";
    }
    int share;
    switch (openFlags & 0x70) {
        case shareExclusive:
            share = _SH_DENYRW;
            break;
        case shareDenyWrite:
            share = _SH_DENYWR;
            break;
        case shareDenyRead:
            share = _SH_DENYRD;
            break;
        case shareDenyNone:
            share = _SH_DENYNO;
            break;
        default:
            share = _SH_SECURE;
            break;
    }
    ZcmStream* stream = _wfsopen(path, mode.c_str(), share);
    if (!stream) AfxThrowInvalidArgException();
    m_pFileStream = stream;
    AttachStream(stream);
    m_strFileName = path;
    return 1;
}

void CZntFileEx::Refill() {
    UINT n = 0;
    try {
        n = CStdioFile::Read(m_buffer.data(), static_cast<UINT>(kBufferSize));
    } catch (CFileException* e) {
        e->Delete();  // a read error ends the data
    }
    m_pos = 0;
    m_end = n;
    if (n < kBufferSize) m_bEndOfData = 1;
}

int CZntFileEx::ReadStringSJIS(CString& line) {
    std::string gathered;
    for (;;) {
        bool found = false;
        char terminator = 0;
        size_t t = m_end;
        if (m_pos < m_end) {
            const char* start = m_buffer.data() + m_pos;
            const char* hit = FindLineEnd(start, m_buffer.data() + m_end);
            if (hit < m_buffer.data() + m_end) {
                found = true;
                terminator = *hit;
                t = m_pos + static_cast<size_t>(hit - start);
            }
            gathered.append(start, t - m_pos);
            if (gathered.size() > kZcmMaxLineBytes)  // no line end in sight
                AfxThrowFileException(CFileException::genericException, EFBIG, m_strFileName);
        }
        if (m_bEndOfData && !found) {
            m_pos = m_end;
            std::wstring text;
            ZcmAnsiToWide(gathered.data(), gathered.size(), text);
            line = CString(std::move(text));
            return line.IsEmpty() ? 0 : 1;
        }
        m_pos = found ? t + 1 : std::max(m_pos, m_end);
        if (m_pos >= m_end && !m_bEndOfData) Refill();
        if (found) {
            // LF CR and CR CR end one line; so does CR LF, which reaches here from files
            // opened in binary mode.
            if (m_pos < m_end &&
                (m_buffer[m_pos] == '\r' || (terminator == '\r' && m_buffer[m_pos] == '\n'))) {
                ++m_pos;
                if (m_pos >= m_end && !m_bEndOfData) Refill();
            }
            std::wstring text;
            ZcmAnsiToWide(gathered.data(), gathered.size(), text);
            line = CString(std::move(text));
            return 1;
        }
    }
}

BOOL CZntFileEx::ReadString(CString& line) {
    if (m_nEncodeType == encodeSJIS) return ReadStringSJIS(line);
    return CStdioFile::ReadString(line);
}

void CZntFileEx::WriteString(CString text) {
    if (m_nEncodeType == encodeSJIS) {
        WriteStringSJIS(text);
        return;
    }
    CStdioFile::WriteString(text);
}

void CZntFileEx::WriteString(LPCTSTR text) {
    if (!text) AfxThrowInvalidArgException();
    WriteString(CString(text));
}

void CZntFileEx::WriteStringSJIS(CString text) {
    if (text.IsEmpty()) return;
    std::string bytes;
    ZcmWideToAnsi(text.GetString(), static_cast<size_t>(text.GetLength()), bytes);
    if (bytes.empty()) return;
    if (bytes.size() > 0xFFFFFFFFu)
        AfxThrowFileException(CFileException::diskFull, EFBIG, m_strFileName);
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}
