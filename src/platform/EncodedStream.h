// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The runtime library's buffered file stream, with text mode and the "ccs=" encodings,
/// as CStdioFile and CZntFileEx use it.
///
/// Differences from Windows:
/// - The stream is ZcmStream, not the C library's FILE; _wfsopen returns one and
///   ZcmStreamClose closes it.
/// - Text mode: bytes read turn CR LF into LF and bytes written turn LF into CR LF, as the
///   Windows runtime does; CTRL+Z is an ordinary byte (Windows ended text input there).
/// - Byte reads and writes of a stream opened with "ccs=" pass the bytes unchanged; the
///   encoding and the text-mode line ends apply to the wide-text calls (GetLine, PutText).
/// - "ccs=" with "b" keeps the encoding and skips the line-end translation.
/// - Sharing (_SH_*) is kept with advisory locks: it binds only other opens through this
///   library (CFile, CStdioFile, _wfsopen), not other programs.
#include <string>

#include "platform/WinTypes.h"

#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#define _SH_SECURE 0x80

/// Advisory Windows sharing over Linux open file description locks. Holds its own
/// descriptor; the locks go when it is released.
class ZCMCOM_API ZcmShareLock {
public:
    ZcmShareLock() = default;
    ~ZcmShareLock() { Release(); }
    ZcmShareLock(const ZcmShareLock&) = delete;
    ZcmShareLock& operator=(const ZcmShareLock&) = delete;
    /// Takes the locks for this access and these share rights (Windows FILE_SHARE_READ 1,
    /// FILE_SHARE_WRITE 2); false with errno ETXTBSY (a sharing violation) when another open forbids it.
    bool Acquire(const char* path, bool read, bool write, int shareRights);
    void Release();
    /// Moves the locks of other into this one.
    void TakeFrom(ZcmShareLock& other);

private:
    int m_fd = -1;
};

/// Bounds on what readers hold in memory: one line of text, and an input read whole (a
/// pipe, FIFO or terminal opened for reading; a host table). Past them reading fails with
/// EFBIG instead of growing without end.
constexpr size_t kZcmMaxLineBytes = size_t(16) << 20;
constexpr size_t kZcmMaxWholeBytes = size_t(64) << 20;

/// Reads fd from where it stands to its end into out; false with errno set on a read
/// error, or EFBIG when there is more than limit bytes.
ZCMCOM_API bool ZcmReadWhole(int fd, std::string& out, size_t limit = kZcmMaxWholeBytes);

/// Opens a file with POSIX flags and takes the share locks; -1 and errno on failure.
/// Directories are refused (EISDIR), as Windows refuses to open them as files.
/// An input that cannot seek (pipe, FIFO, terminal) opened for reading only is read whole
/// at once (up to kZcmMaxWholeBytes) and served from memory, so that it can be sniffed
/// for its encoding, stepped back in and read to the end like a file.
ZCMCOM_API int ZcmOpenShared(const wchar_t* path, int posixFlags, int shareRights,
                             ZcmShareLock& lock);

class ZCMCOM_API ZcmStream {
public:
    enum Encoding { ansi, utf16le, utf8 };

    /// Takes ownership of fd; Lock() may take over the open's share locks.
    ZcmStream(int fd, bool canRead, bool canWrite, bool text, Encoding encoding);
    ~ZcmStream();
    ZcmStream(const ZcmStream&) = delete;
    ZcmStream& operator=(const ZcmStream&) = delete;

    size_t Read(void* buffer, size_t count);
    /// All bytes or fewer on error (then Error() is set).
    size_t Write(const void* buffer, size_t count);
    /// Next line, including its LF, decoded from the stream's encoding (ANSI: the ANSI code
    /// page); false when nothing is left.
    bool GetLine(std::wstring& line);
    bool PutText(const wchar_t* text, size_t count);
    /// lseek-style; -1 on failure.
    long long Seek(long long offset, int whence);
    long long Tell() const;
    bool Flush();
    /// Flushes and closes; 0 or -1 (errno set).
    int Close();

    int Fd() const { return m_fd; }
    bool Eof() const { return m_eof; }
    int Error() const { return m_error; }
    void ClearError() { m_error = 0, m_eof = false; }
    Encoding GetEncoding() const { return m_encoding; }
    void SetEncoding(Encoding e) { m_encoding = e; }
    bool IsText() const { return m_text; }
    ZcmShareLock& Lock() { return m_lock; }

private:
    size_t RawRead(void* buffer, size_t count);
    bool Fill();
    bool PeekByte(unsigned char& b);
    bool StartWriting();
    bool RawWrite(const char* data, size_t count);
    /// false when the line grows past kZcmMaxLineBytes
    bool ReadByteLine(std::string& bytes);
    bool ReadUtf16Line(std::u16string& units);

    int m_fd;
    bool m_canRead, m_canWrite, m_text;
    Encoding m_encoding;
    ZcmShareLock m_lock;
    std::string m_buf;        ///< read buffer, or pending writes
    size_t m_pos = 0;         ///< next unread byte
    size_t m_end = 0;         ///< end of valid read data
    bool m_writing = false;   ///< m_buf holds pending writes
    long long m_bufOffset;    ///< file offset of m_buf[0] (read mode)
    bool m_eof = false;
    int m_error = 0;
};

/// The runtime's shared open: mode as fopen ("r", "w", "a", "+", "b", "t") optionally followed
/// by ", ccs=UTF-8" / "UTF-16LE" / "UNICODE". Null with errno on failure (EINVAL for a
/// bad mode). Files opened for writing in an encoding get its byte-order mark; reading
/// (and appending to) a file with a mark takes the mark's encoding and skips the mark.
ZCMCOM_API ZcmStream* _wfsopen(const wchar_t* path, const wchar_t* mode, int shareFlag);
ZCMCOM_API int ZcmStreamClose(ZcmStream* stream);
