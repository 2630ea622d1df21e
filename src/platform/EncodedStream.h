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

/// @name Sharing modes
/// @{

/// Sharing modes of _wfsopen: deny others reading and writing, writing, reading, or
/// nothing; _SH_SECURE lets others read a file opened for reading only, and denies them
/// everything when it is opened for writing.
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#define _SH_SECURE 0x80
/// @}

/// Advisory Windows sharing over Linux open file description locks. Holds its own
/// descriptor; the locks go when it is released.
class ZCMCOM_API ZcmShareLock {
public:
    ZcmShareLock() = default;
    ~ZcmShareLock() { Release(); }
    ZcmShareLock(const ZcmShareLock&) = delete;
    ZcmShareLock& operator=(const ZcmShareLock&) = delete;
    /// Takes the locks for this access and these share rights (Windows FILE_SHARE_READ 1,
    /// FILE_SHARE_WRITE 2); false with errno ETXTBSY (a sharing violation) when another open
    /// forbids it.
    bool Acquire(const char* path, bool read, bool write, int shareRights);
    /// Gives up the locks; the lock can be acquired again.
    void Release();
    /// Moves the locks of other into this one.
    void TakeFrom(ZcmShareLock& other);

private:
    int m_fd = -1;
};

/// Bounds on what readers hold in memory: one line of text, and an input read whole (a
/// pipe, FIFO or terminal opened for reading; a host table). Past them reading fails with
/// EFBIG instead of growing without end.
/// @{
constexpr size_t kZcmMaxLineBytes = size_t(16) << 20;
constexpr size_t kZcmMaxWholeBytes = size_t(64) << 20;
/// @}

/// Reads fd from where it stands to its end into out; false with errno set on a read
/// error, or EFBIG when there is more than limit bytes.
ZCMCOM_API bool ZcmReadWhole(int fd, std::string& out, size_t limit = kZcmMaxWholeBytes);

/// Reads the file at path whole into out, at most limit bytes: a regular file, or (unless
/// regularOnly) a pipe or FIFO. False with errno set: EISDIR for a folder, ENODEV for
/// another kind of file (a device, a socket), EFBIG past limit, EPIPE for a FIFO that has
/// no writer (one is waited for half a second at most), or the error of open or read.
ZCMCOM_API bool ZcmReadFile(const char* path, std::string& out, size_t limit,
                            bool regularOnly = false);

/// Why ZcmReadFile failed, from its errno and limit: "not a regular file or pipe", "larger
/// than 50 MB", "a pipe with no writer" or the system's text.
ZCMCOM_API std::string ZcmReadFileProblem(int error, size_t limit);

/// Opens a file with POSIX flags and takes the share locks; -1 and errno on failure.
/// Directories are refused (EISDIR), as Windows refuses to open them as files.
/// An input that cannot seek (pipe, FIFO, terminal) opened for reading only is read whole
/// at once (up to kZcmMaxWholeBytes) and served from memory, so that it can be sniffed
/// for its encoding, stepped back in and read to the end like a file.
ZCMCOM_API int ZcmOpenShared(const wchar_t* path, int posixFlags, int shareRights,
                             ZcmShareLock& lock);

/// A buffered stream over one descriptor, readable, writable or both, in text or binary
/// mode, with the encoding of its wide-text calls. Failures set Error() (an errno value)
/// instead of throwing.
class ZCMCOM_API ZcmStream {
public:
    /// The encoding of the wide-text calls: the ANSI code page, UTF-16LE or UTF-8.
    enum Encoding { ansi, utf16le, utf8 };

    /// Takes ownership of fd; Lock() may take over the open's share locks.
    ZcmStream(int fd, bool canRead, bool canWrite, bool text, Encoding encoding);
    /// Closes the stream, as Close, ignoring errors.
    ~ZcmStream();
    ZcmStream(const ZcmStream&) = delete;
    ZcmStream& operator=(const ZcmStream&) = delete;

    /// Reads up to count bytes (text mode: CR LF read as LF); returns how many, fewer at the
    /// end or on error (Eof() or Error() tells which).
    size_t Read(void* buffer, size_t count);
    /// All bytes or fewer on error (then Error() is set).
    size_t Write(const void* buffer, size_t count);
    /// Next line, including its LF, decoded from the stream's encoding (ANSI: the ANSI code
    /// page); false when nothing is left.
    bool GetLine(std::wstring& line);
    /// Writes count characters in the stream's encoding (text mode: LF written as CR LF);
    /// false on error.
    bool PutText(const wchar_t* text, size_t count);
    /// lseek-style; -1 on failure.
    long long Seek(long long offset, int whence);
    /// The position in bytes, -1 on failure.
    long long Tell() const;
    /// Writes what is buffered; false on error.
    bool Flush();
    /// Flushes and closes; 0 or -1 (errno set).
    int Close();

    /// The descriptor; whether a read reached the end; the errno value of the last failure
    /// (0 for none), which ClearError clears with the end flag; the encoding, which
    /// SetEncoding changes (for a mark found after opening); whether the stream is in text
    /// mode; and the share locks it holds.
    /// @{
    int Fd() const { return m_fd; }
    bool Eof() const { return m_eof; }
    int Error() const { return m_error; }
    void ClearError() { m_error = 0, m_eof = false; }
    Encoding GetEncoding() const { return m_encoding; }
    void SetEncoding(Encoding e) { m_encoding = e; }
    bool IsText() const { return m_text; }
    ZcmShareLock& Lock() { return m_lock; }
    /// @}

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
    std::string m_buf;       ///< read buffer, or pending writes
    size_t m_pos = 0;        ///< next unread byte
    size_t m_end = 0;        ///< end of valid read data
    bool m_writing = false;  ///< m_buf holds pending writes
    long long m_bufOffset;   ///< file offset of m_buf[0] (read mode)
    bool m_eof = false;
    int m_error = 0;
};

/// The runtime's shared open: mode as fopen ("r", "w", "a", "+", "b", "t") optionally followed
/// by ", ccs=UTF-8" / "UTF-16LE" / "UNICODE". Null with errno on failure (EINVAL for a
/// bad mode). Files opened for writing in an encoding get its byte-order mark; reading
/// (and appending to) a file with a mark takes the mark's encoding and skips the mark.
ZCMCOM_API ZcmStream* _wfsopen(const wchar_t* path, const wchar_t* mode, int shareFlag);
/// Closes and frees a stream of _wfsopen: 0, or -1 with errno set when the last data could
/// not be written (the stream is freed all the same).
ZCMCOM_API int ZcmStreamClose(ZcmStream* stream);
