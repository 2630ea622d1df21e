// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

HANDLE ToHandle(int fd) {
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

int PosixFlags(UINT openFlags) {
    int flags;
    switch (openFlags & 3) {
        case CFile::modeWrite:
            flags = O_WRONLY;
            break;
        case CFile::modeReadWrite:
            flags = O_RDWR;
            break;
        default:
            flags = O_RDONLY;
            break;
    }
    if (openFlags & CFile::modeCreate)
        flags |= O_CREAT | ((openFlags & CFile::modeNoTruncate) ? 0 : O_TRUNC);
    return flags;
}

// FILE_SHARE_READ 1 | FILE_SHARE_WRITE 2, as MFC maps its share flags.
int ShareRights(UINT openFlags) {
    switch (openFlags & 0x70) {
        case CFile::shareDenyWrite:
            return 1;
        case CFile::shareDenyRead:
            return 2;
        case CFile::shareDenyNone:
            return 3;
        default:
            return 0;
    }
}

void FillError(CFileException* error, int err, LPCTSTR name) {
    if (!error) return;
    error->m_cause = CFileException::ErrnoToCause(err);
    error->m_lOsError = err;
    error->m_strFileName = name;
}

BYTE AttributesOf(const struct stat& st, const std::string& path) {
    BYTE a = 0;
    if (!(st.st_mode & S_IWUSR)) a |= FILE_ATTRIBUTE_READONLY;
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= FILE_ATTRIBUTE_HIDDEN;
    if (S_ISDIR(st.st_mode)) a |= FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(st.st_mode)) a |= FILE_ATTRIBUTE_ARCHIVE;
    return a;
}

void FillStatus(const struct stat& st, const std::string& path, CFileStatus& status) {
    status.m_ctime = CTime(static_cast<long long>(st.st_ctime));
    status.m_mtime = CTime(static_cast<long long>(st.st_mtime));
    status.m_atime = CTime(static_cast<long long>(st.st_atime));
    status.m_size = static_cast<ULONGLONG>(st.st_size);
    status.m_attribute = AttributesOf(st, path);
}

void CopyName(const CString& name, CFileStatus& status) {
    const int n = name.GetLength() < MAX_PATH ? name.GetLength() : MAX_PATH - 1;
    wmemcpy(status.m_szFullName, name.GetString(), static_cast<size_t>(n));
    status.m_szFullName[n] = 0;
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(LPCTSTR fileName, UINT openFlags) : m_hFile(hFileNull) {
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
    if (m_hFile != hFileNull && m_bCloseOnDelete) close(Fd());
    m_hFile = hFileNull;
}

int CFile::Fd() const {
    return m_hFile == hFileNull ? -1 : static_cast<int>(reinterpret_cast<intptr_t>(m_hFile));
}

void CFile::ThrowErrno(int err) const {
    AfxThrowFileException(CFileException::ErrnoToCause(err), err, m_strFileName);
}

BOOL CFile::OpenDescriptor(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    if (m_hFile != hFileNull) {
        FillError(error, EBADF, fileName);
        return FALSE;
    }
    const int fd = ZcmOpenShared(fileName, PosixFlags(openFlags), ShareRights(openFlags), m_lock);
    if (fd < 0) {
        FillError(error, errno, fileName);
        return FALSE;
    }
    m_hFile = ToHandle(fd);
    m_strFileName = fileName;
    return TRUE;
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    if (!OpenDescriptor(fileName, openFlags, error)) return FALSE;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::Close() {
    if (m_hFile == hFileNull) return;
    const int rc = close(Fd());
    const int err = errno;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_lock.Release();
    if (rc != 0) ThrowErrno(err);
}

void CFile::Abort() {
    if (m_hFile != hFileNull) close(Fd());
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_lock.Release();
}

UINT CFile::Read(void* buffer, UINT count) {
    if (count == 0) return 0;
    UINT got = 0;
    while (got < count) {
        const ssize_t n = read(Fd(), static_cast<char*>(buffer) + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowErrno(errno);
        if (n == 0) break;
        got += static_cast<UINT>(n);
    }
    return got;
}

void CFile::Write(const void* buffer, UINT count) {
    UINT done = 0;
    while (done < count) {
        const ssize_t n = write(Fd(), static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ThrowErrno(n < 0 ? errno : ENOSPC);
        done += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    const off_t r = lseek(Fd(), static_cast<off_t>(offset),
                          from == current ? SEEK_CUR
                          : from == end   ? SEEK_END
                                          : SEEK_SET);
    if (r < 0) ThrowErrno(errno);
    return static_cast<ULONGLONG>(r);
}

ULONGLONG CFile::GetPosition() const {
    const off_t r = lseek(Fd(), 0, SEEK_CUR);
    if (r < 0) ThrowErrno(errno);
    return static_cast<ULONGLONG>(r);
}

ULONGLONG CFile::GetLength() const {
    struct stat st;
    if (fstat(Fd(), &st) != 0) ThrowErrno(errno);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG newLength) {
    Flush();
    if (ftruncate(Fd(), static_cast<off_t>(newLength)) != 0) ThrowErrno(errno);
}

void CFile::Flush() {}

CString CFile::GetFileName() const {
    const int slash = std::max(m_strFileName.ReverseFind(L'/'), m_strFileName.ReverseFind(L'\\'));
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

BOOL CFile::GetStatus(CFileStatus& status) const {
    struct stat st;
    if (m_hFile == hFileNull || fstat(Fd(), &st) != 0) return FALSE;
    FillStatus(st, m_strFileName.ToUtf8(), status);
    CopyName(m_strFileName, status);
    return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR fileName, CFileStatus& status) {
    if (!fileName || !*fileName) return FALSE;
    const std::string path = CString(fileName).ToUtf8();
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FALSE;
    FillStatus(st, path, status);
    char* full = realpath(path.c_str(), nullptr);
    CopyName(full ? CString(full) : CString(fileName), status);
    free(full);
    return TRUE;
}

void CFile::Remove(LPCTSTR fileName) {
    const std::string path = CString(fileName).ToUtf8();
    if (unlink(path.c_str()) != 0)
        AfxThrowFileException(CFileException::ErrnoToCause(errno), errno, fileName);
}

void CFile::Rename(LPCTSTR oldName, LPCTSTR newName) {
    const std::string a = CString(oldName).ToUtf8(), b = CString(newName).ToUtf8();
    if (rename(a.c_str(), b.c_str()) != 0)
        AfxThrowFileException(CFileException::ErrnoToCause(errno), errno, oldName);
}

// ---------------------------------------------------------------------------------------

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(ZcmStream* openStream) : m_pStream(nullptr) { AttachStream(openStream); }

CStdioFile::CStdioFile(LPCTSTR fileName, UINT openFlags) : m_pStream(nullptr) {
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile() {
    if (m_pStream) ZcmStreamClose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
}

void CStdioFile::AttachStream(ZcmStream* stream) {
    m_pStream = stream;
    m_hFile = stream ? reinterpret_cast<HANDLE>(static_cast<intptr_t>(stream->Fd())) : hFileNull;
    m_bCloseOnDelete = FALSE;  // the stream owns the descriptor
}

BOOL CStdioFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    if (m_pStream) {
        FillError(error, EBADF, fileName);
        return FALSE;
    }
    if (!OpenDescriptor(fileName, openFlags, error)) return FALSE;
    const int access = static_cast<int>(openFlags & 3);
    const bool text = !(openFlags & typeBinary);
    auto* stream =
        new ZcmStream(Fd(), access != modeWrite, access != modeRead, text, ZcmStream::ansi);
    stream->Lock().TakeFrom(m_lock);
    AttachStream(stream);
    return TRUE;
}

void CStdioFile::Close() {
    if (!m_pStream) {
        CFile::Close();
        return;
    }
    const int rc = m_pStream->Close();
    const int err = errno;
    delete m_pStream;
    m_pStream = nullptr;
    m_hFile = hFileNull;
    if (rc != 0) ThrowErrno(err);
}

void CStdioFile::Abort() {
    if (m_pStream) {
        m_pStream->Close();
        delete m_pStream;
    }
    m_pStream = nullptr;
    m_hFile = hFileNull;
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    if (!m_pStream) return CFile::Read(buffer, count);
    if (count == 0) return 0;
    const size_t n = m_pStream->Read(buffer, count);
    if (n == 0 && m_pStream->Error()) {
        const int err = m_pStream->Error();
        m_pStream->ClearError();
        ThrowErrno(err);
    }
    return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* buffer, UINT count) {
    if (!m_pStream) return CFile::Write(buffer, count);
    if (m_pStream->Write(buffer, count) != count) {
        const int err = m_pStream->Error() ? m_pStream->Error() : ENOSPC;
        m_pStream->ClearError();
        AfxThrowFileException(CFileException::diskFull, err, m_strFileName);
    }
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    if (!m_pStream) return CFile::Seek(offset, from);
    const long long r = m_pStream->Seek(offset, from == current ? SEEK_CUR
                                                : from == end   ? SEEK_END
                                                                : SEEK_SET);
    if (r < 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<ULONGLONG>(r);
}

ULONGLONG CStdioFile::GetPosition() const {
    if (!m_pStream) return CFile::GetPosition();
    const long long r = m_pStream->Tell();
    if (r < 0) AfxThrowFileException(CFileException::invalidFile, errno, m_strFileName);
    return static_cast<ULONGLONG>(r);
}

ULONGLONG CStdioFile::GetLength() const {
    if (!m_pStream) return CFile::GetLength();
    // Pending writes count.
    m_pStream->Flush();
    return CFile::GetLength();
}

void CStdioFile::Flush() {
    if (m_pStream && !m_pStream->Flush())
        AfxThrowFileException(CFileException::diskFull, m_pStream->Error(), m_strFileName);
}

BOOL CStdioFile::ReadString(CString& line) {
    line.Empty();
    if (!m_pStream) return FALSE;
    std::wstring text;
    if (!m_pStream->GetLine(text)) {
        if (m_pStream->Error()) {
            const int err = m_pStream->Error();
            m_pStream->ClearError();
            AfxThrowFileException(CFileException::genericException, err, m_strFileName);
        }
        return FALSE;
    }
    if (!text.empty() && text.back() == L'\n') text.pop_back();
    line = CString(std::move(text));
    return TRUE;
}

void CStdioFile::WriteString(LPCTSTR text) {
    if (!text) AfxThrowInvalidArgException();
    if (!m_pStream || !m_pStream->PutText(text, wcslen(text))) {
        const int err = m_pStream && m_pStream->Error() ? m_pStream->Error() : EBADF;
        if (m_pStream) m_pStream->ClearError();
        AfxThrowFileException(CFileException::diskFull, err, m_strFileName);
    }
}
