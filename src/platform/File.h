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

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)  ///< the handle of no file

/// @name File attributes
/// @{

/// File attribute bits, as CFileStatus::m_attribute and GetFileAttributesW report them;
/// INVALID_FILE_ATTRIBUTES is the answer for a file that cannot be examined. SYSTEM and
/// REPARSE_POINT are never set here (a symbolic link is reported as what it points to).
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
/// @}

/// What CFile::GetStatus tells about a file.
struct ZCMCOM_API CFileStatus {
    CTime m_ctime;                      ///< last status change (Linux has no creation time)
    CTime m_mtime;                      ///< last modification
    CTime m_atime;                      ///< last access
    ULONGLONG m_size = 0;               ///< size in bytes
    BYTE m_attribute = 0;               ///< FILE_ATTRIBUTE_ bits (see the notes above)
    TCHAR m_szFullName[MAX_PATH] = {};  ///< the name as given, cut to MAX_PATH - 1 characters
};

/// An unbuffered binary file. Failures of Read, Write, Seek, Close and the other calls on
/// an open file throw CFileException* with the cause, the errno value and the file name;
/// Open returns FALSE instead.
class ZCMCOM_API CFile : public CObject {
public:
    /// The flags of Open, combined with |: one access mode, one sharing mode, and modeCreate
    /// (create, or truncate unless modeNoTruncate). typeText/typeBinary/typeUnicode matter to
    /// CStdioFile only; modeNoInherit and the os* hints are accepted and ignored.
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
    /// Where Seek counts from: the start, the current position or the end.
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    /// m_hFile of a file that is not open (INVALID_HANDLE_VALUE).
    static const HANDLE hFileNull;

    /// A file object that is not open yet.
    CFile();
    /// Opens fileName with openFlags (see OpenFlags) or throws CFileException*.
    CFile(LPCTSTR fileName, UINT openFlags);
    /// Closes the file if this object opened it; errors are not reported here.
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// Opens fileName with openFlags (see OpenFlags). Returns FALSE on failure, with the cause,
    /// the OS error (errno) and the name in *error when given; a file shared away by another
    /// open of this library fails as a sharing violation.
    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
    /// Close closes the file (a failing close throws); Abort closes it and ignores every error.
    /// Both release the sharing lock and do nothing on a file that is not open.
    /// @{
    virtual void Close();
    virtual void Abort();
    /// @}
    /// Read fills buffer with up to count bytes and returns how many were read (fewer only at
    /// the end of the file); Write writes all count bytes (a full disk throws diskFull).
    /// @{
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    /// @}
    /// Seek moves to offset bytes from a SeekPosition and returns the new position;
    /// GetPosition and GetLength are in bytes; SetLength truncates or extends the file; Flush
    /// has nothing to do for an unbuffered file; SeekToBegin/SeekToEnd are shorthands.
    /// @{
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual void Flush();
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    /// @}

    /// GetFilePath is the name the file was opened with; GetFileName its last part (after the
    /// last / or \\); GetFileTitle that without its extension.
    /// @{
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    /// @}
    /// Fills status for the open file, or for the file named; FALSE when it cannot be
    /// examined (not open, not found, empty name).
    /// @{
    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCTSTR fileName, CFileStatus& status);
    /// @}
    /// Removes a file or renames (moves) one; a failure throws CFileException* with errno.
    /// @{
    static void Remove(LPCTSTR fileName);
    static void Rename(LPCTSTR oldName, LPCTSTR newName);
    /// @}

    /// The POSIX descriptor as a HANDLE value, hFileNull when not open.
    HANDLE m_hFile;

protected:
    /// The POSIX descriptor, or -1.
    int Fd() const;
    /// Opens the descriptor with the flags' access, creation and sharing.
    BOOL OpenDescriptor(LPCTSTR fileName, UINT openFlags, CFileException* error);
    /// Throws CFileException* for errno value err on this file.
    [[noreturn]] void ThrowErrno(int err) const;

    CString m_strFileName;          ///< the name the file was opened with
    ZcmShareLock m_lock;            ///< the advisory lock that carries the sharing mode
    BOOL m_bCloseOnDelete = FALSE;  ///< whether the destructor closes the descriptor
};

/// A buffered text or binary file. In text mode (typeText, the default unless typeBinary)
/// lines are read and written in the ANSI code page (Shift-JIS unless ZCMCOM_ACP names
/// another iconv encoding) and "\n" is written as CR LF; see EncodedStream.h for the
/// encodings. Failures throw CFileException*, as CFile's.
class ZCMCOM_API CStdioFile : public CFile {
public:
    /// A file object that is not open yet.
    CStdioFile();
    /// Takes an open stream (and its handle); the file closes it.
    explicit CStdioFile(ZcmStream* openStream);
    /// Opens fileName or throws CFileException*.
    CStdioFile(LPCTSTR fileName, UINT openFlags);
    /// Closes the stream, ignoring errors.
    ~CStdioFile() override;

    /// As CFile::Open; also FALSE (EBADF) when a stream is already open.
    BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    /// As CFile's, through the stream's buffer: Close flushes first, Write and Flush throw
    /// diskFull when the data cannot be written, Seek throws badSeek.
    /// @{
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void Flush() override;
    /// @}

    /// Reads the next line into line, its LF removed (in text mode a CR LF counts as LF).
    /// Returns FALSE, line empty, when nothing was left to read; a read error throws
    /// CFileException*. A line over 16 MiB fails as "File too large".
    virtual BOOL ReadString(CString& line);
    /// Writes the text as it is (no line end added); nullptr throws CInvalidArgException*,
    /// a failed write CFileException* (diskFull).
    virtual void WriteString(LPCTSTR text);

    /// The open stream, nullptr when not open.
    ZcmStream* m_pStream;

protected:
    /// Adopts the stream and its descriptor as this file's.
    void AttachStream(ZcmStream* stream);
};
