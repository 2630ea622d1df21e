// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CFile and CStdioFile: the framework's files over POSIX descriptors.
///
/// Differences from Windows:
/// - m_hFile holds the POSIX descriptor as a HANDLE value; hFileNull is
///   INVALID_HANDLE_VALUE.
/// - Sharing flags are kept with advisory locks (see EncodedStream.h): they bind other
///   opens through this library only. shareCompat means exclusive, as in MFC.
/// - Paths are taken as they are (UTF-8 on disk); no backslash translation.
/// - CFileStatus::m_attribute: read-only when the owner may not write, hidden for names
///   starting with '.', directory, archive for regular files.
/// - CStdioFile's stream is a ZcmStream (EncodedStream.h), not a C library FILE.
#include "platform/EncodedStream.h"
#include "platform/Exception.h"
#include "platform/Time.h"

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

struct ZCMCOM_API CFileStatus {
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;
    TCHAR m_szFullName[MAX_PATH] = {};
};

class ZCMCOM_API CFile : public CObject {
public:
    enum OpenFlags : UINT {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        typeUnicode = 0x00400,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,
        typeBinary = 0x08000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const HANDLE hFileNull;

    CFile();
    /// Opens or throws CFileException.
    CFile(LPCTSTR fileName, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// FALSE on failure, with cause, OS error (errno) and name in *error when given.
    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    virtual void Abort();
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual void Flush();
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCTSTR fileName, CFileStatus& status);
    static void Remove(LPCTSTR fileName);
    static void Rename(LPCTSTR oldName, LPCTSTR newName);

    HANDLE m_hFile;

protected:
    /// The POSIX descriptor, or -1.
    int Fd() const;
    /// Opens the descriptor with the flags' access, creation and sharing.
    BOOL OpenDescriptor(LPCTSTR fileName, UINT openFlags, CFileException* error);
    [[noreturn]] void ThrowErrno(int err) const;

    CString m_strFileName;
    ZcmShareLock m_lock;
    BOOL m_bCloseOnDelete = FALSE;
};

class ZCMCOM_API CStdioFile : public CFile {
public:
    CStdioFile();
    /// Takes an open stream (and its handle); the file closes it.
    explicit CStdioFile(ZcmStream* openStream);
    CStdioFile(LPCTSTR fileName, UINT openFlags);
    ~CStdioFile() override;

    BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void Flush() override;

    /// The line with its LF removed; FALSE when nothing was left to read.
    virtual BOOL ReadString(CString& line);
    /// Writes the text; a failed write throws CFileException (diskFull).
    virtual void WriteString(LPCTSTR text);

    ZcmStream* m_pStream;

protected:
    /// Adopts the stream and its descriptor as this file's.
    void AttachStream(ZcmStream* stream);
};
