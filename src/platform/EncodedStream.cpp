// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/EncodedStream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwctype>

#include "platform/CodePage.h"
#include "platform/String.h"

namespace {

const size_t kBufferSize = 64 * 1024;

// Lock channels far beyond any real data: who reads, who writes, who denies which.
const off_t kChannelBase = 0x7FFFFFFFFFFF0000LL;
enum Channel { readers = 0, writers = 1, denyRead = 2, denyWrite = 3 };

bool SetChannel(int fd, Channel ch) {
    struct flock fl = {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kChannelBase + ch;
    fl.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// True when an open other than ours holds the channel.
bool ChannelTaken(int fd, Channel ch) {
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kChannelBase + ch;
    fl.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
    return fl.l_type != F_UNLCK;
}

// A copy in memory of what is left to read of the non-seekable fd, positioned at its
// start; -1 with errno set (EFBIG past kZcmMaxWholeBytes).
int SpoolToMemory(int fd) {
    std::string data;
    if (!ZcmReadWhole(fd, data)) return -1;
    const int copy = memfd_create("zcmcom-input", MFD_CLOEXEC);
    if (copy < 0) return -1;
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = write(copy, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            close(copy);
            errno = err;
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    lseek(copy, 0, SEEK_SET);
    return copy;
}

}  // namespace

bool ZcmShareLock::Acquire(const char* path, bool read, bool write, int shareRights) {
    Release();
    m_fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) return true;  // unreadable (or special): no sharing to keep
    const bool denyR = !(shareRights & 1), denyW = !(shareRights & 2);
    // Take ours first, then look for conflicts: two racing opens then both fail rather
    // than both succeed.
    bool ok = true;
    if (read) ok = ok && SetChannel(m_fd, readers);
    if (write) ok = ok && SetChannel(m_fd, writers);
    if (denyR) ok = ok && SetChannel(m_fd, denyRead);
    if (denyW) ok = ok && SetChannel(m_fd, denyWrite);
    if (!ok) {  // locks unsupported here (some special files): no sharing to keep
        Release();
        return true;
    }
    const bool conflict =
        (read && ChannelTaken(m_fd, denyRead)) || (write && ChannelTaken(m_fd, denyWrite)) ||
        (denyR && ChannelTaken(m_fd, readers)) || (denyW && ChannelTaken(m_fd, writers));
    if (conflict) {
        Release();
        errno = ETXTBSY;  // reported as a sharing violation
        return false;
    }
    return true;
}

void ZcmShareLock::Release() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

void ZcmShareLock::TakeFrom(ZcmShareLock& other) {
    Release();
    m_fd = other.m_fd;
    other.m_fd = -1;
}

int ZcmOpenShared(const wchar_t* path, int posixFlags, int shareRights, ZcmShareLock& lock) {
    if (!path || !*path) {
        errno = ENOENT;
        return -1;
    }
    const std::string p = ZcmWideToUtf8(path, wcslen(path));
    // Truncate only after the share check, so a refused open leaves the file alone.
    const int fd = open(p.c_str(), (posixFlags & ~O_TRUNC) | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        errno = EISDIR;
        return -1;
    }
    const int acc = posixFlags & O_ACCMODE;
    if (!lock.Acquire(p.c_str(), acc != O_WRONLY, acc != O_RDONLY, shareRights)) {
        const int err = errno;
        close(fd);
        errno = err;
        return -1;
    }
    if ((posixFlags & O_ACCMODE) == O_RDONLY && lseek(fd, 0, SEEK_CUR) < 0 && errno == ESPIPE) {
        const int copy = SpoolToMemory(fd);
        const int err = errno;
        close(fd);
        if (copy < 0) lock.Release();
        errno = err;
        return copy;
    }
    // Devices (/dev/null, /dev/full) ignore truncation, as open() itself does.
    if ((posixFlags & O_TRUNC) && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        ftruncate(fd, 0) != 0) {
        const int err = errno;
        close(fd);
        lock.Release();
        errno = err;
        return -1;
    }
    return fd;
}

// ---------------------------------------------------------------------------------------

ZcmStream::ZcmStream(int fd, bool canRead, bool canWrite, bool text, Encoding encoding)
    : m_fd(fd), m_canRead(canRead), m_canWrite(canWrite), m_text(text), m_encoding(encoding) {
    const off_t pos = lseek(fd, 0, SEEK_CUR);
    m_bufOffset = pos < 0 ? 0 : static_cast<long long>(pos);
}

ZcmStream::~ZcmStream() { Close(); }

int ZcmStream::Close() {
    if (m_fd < 0) return 0;
    const bool flushed = Flush();
    const int err = errno;
    const int rc = close(m_fd);
    m_fd = -1;
    m_lock.Release();
    if (!flushed) {
        errno = err;
        return -1;
    }
    return rc;
}

bool ZcmStream::Fill() {
    // Keep nothing: callers take what they need before refilling.
    m_bufOffset += static_cast<long long>(m_end);
    m_pos = m_end = 0;
    if (m_buf.size() < kBufferSize) m_buf.resize(kBufferSize);
    ssize_t n;
    do {
        n = read(m_fd, &m_buf[0], kBufferSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_error = errno;
        return false;
    }
    if (n == 0) {
        m_eof = true;
        return false;
    }
    m_end = static_cast<size_t>(n);
    return true;
}

size_t ZcmStream::RawRead(void* buffer, size_t count) {
    char* out = static_cast<char*>(buffer);
    size_t got = 0;
    while (got < count) {
        if (m_pos < m_end) {
            const size_t n = std::min(count - got, m_end - m_pos);
            memcpy(out + got, &m_buf[m_pos], n);
            m_pos += n;
            got += n;
            continue;
        }
        if (count - got >= kBufferSize) {
            // Large reads go straight to the caller's memory.
            m_bufOffset += static_cast<long long>(m_end);
            m_pos = m_end = 0;
            ssize_t n;
            do {
                n = read(m_fd, out + got, count - got);
            } while (n < 0 && errno == EINTR);
            if (n < 0) m_error = errno;
            if (n <= 0) {
                if (n == 0) m_eof = true;
                break;
            }
            m_bufOffset += n;
            got += static_cast<size_t>(n);
            continue;
        }
        if (!Fill()) break;
    }
    return got;
}

bool ZcmStream::PeekByte(unsigned char& b) {
    if (m_pos >= m_end && !Fill()) return false;
    b = static_cast<unsigned char>(m_buf[m_pos]);
    return true;
}

size_t ZcmStream::Read(void* buffer, size_t count) {
    if (!m_canRead || m_fd < 0) {
        m_error = EBADF;
        return 0;
    }
    if (m_writing && !Flush()) return 0;
    if (!m_text || m_encoding != ansi) return RawRead(buffer, count);
    char* out = static_cast<char*>(buffer);
    size_t got = 0;
    while (got < count) {
        const size_t n = RawRead(out + got, count - got);
        if (n == 0) break;
        // CR LF -> LF in place.
        char* p = out + got;
        char* const end = p + n;
        char* w = p;
        while (p < end) {
            char* cr = static_cast<char*>(memchr(p, '\r', static_cast<size_t>(end - p)));
            if (!cr) {
                memmove(w, p, static_cast<size_t>(end - p));
                w += end - p;
                break;
            }
            memmove(w, p, static_cast<size_t>(cr - p));
            w += cr - p;
            p = cr + 1;
            unsigned char next;
            if (p < end) {
                if (*p == '\n') {
                    *w++ = '\n';
                    ++p;
                } else {
                    *w++ = '\r';
                }
            } else if (PeekByte(next) && next == '\n') {
                ++m_pos;
                *w++ = '\n';
            } else {
                *w++ = '\r';
            }
        }
        got = static_cast<size_t>(w - out);
    }
    return got;
}

bool ZcmStream::ReadByteLine(std::string& bytes) {
    for (;;) {
        if (bytes.size() > kZcmMaxLineBytes) return false;
        if (m_pos >= m_end && !Fill()) return true;
        const char* start = &m_buf[m_pos];
        const void* lf = memchr(start, '\n', m_end - m_pos);
        const size_t n =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) + 1 : m_end - m_pos;
        bytes.append(start, n);
        m_pos += n;
        if (lf) return true;
    }
}

bool ZcmStream::ReadUtf16Line(std::u16string& units) {
    unsigned char lo, hi;
    while (PeekByte(lo)) {
        if (units.size() * 2 > kZcmMaxLineBytes) return false;
        ++m_pos;
        if (!PeekByte(hi)) {
            units += static_cast<char16_t>(0xFFFD);  // a half unit at the end
            return true;
        }
        ++m_pos;
        const char16_t u = static_cast<char16_t>(lo | (hi << 8));
        units += u;
        if (u == u'\n') return true;
    }
    return true;
}

bool ZcmStream::GetLine(std::wstring& line) {
    line.clear();
    if (!m_canRead || m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    if (m_writing && !Flush()) return false;
    if (m_encoding == utf16le) {
        std::u16string units;
        if (!ReadUtf16Line(units)) {
            m_error = EFBIG;  // a line without end
            return false;
        }
        if (units.empty()) return false;
        if (m_text && units.size() >= 2 && units[units.size() - 2] == u'\r' &&
            units.back() == u'\n')
            units.erase(units.size() - 2, 1);
        ZcmUtf16ToWide(units.data(), units.size(), line);
        return true;
    }
    std::string bytes;
    if (!ReadByteLine(bytes)) {
        m_error = EFBIG;
        return false;
    }
    if (bytes.empty()) return false;
    if (m_text && bytes.size() >= 2 && bytes[bytes.size() - 2] == '\r' && bytes.back() == '\n')
        bytes.erase(bytes.size() - 2, 1);
    if (m_encoding == utf8)
        line = ZcmUtf8ToWide(bytes.data(), bytes.size());
    else
        ZcmAnsiToWide(bytes.data(), bytes.size(), line);
    return true;
}

bool ZcmStream::StartWriting() {
    if (!m_canWrite || m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    if (!m_writing) {
        // Put the descriptor where the reader stands, then drop what was read ahead.
        if (m_pos != m_end && lseek(m_fd, static_cast<off_t>(Tell()), SEEK_SET) < 0) {
            m_error = errno;
            return false;
        }
        m_buf.clear();
        m_pos = m_end = 0;
        m_writing = true;
    }
    return true;
}

bool ZcmStream::RawWrite(const char* data, size_t count) {
    if (m_buf.size() + count > kBufferSize && !Flush()) return false;
    if (count >= kBufferSize) {
        while (count > 0) {
            const ssize_t n = write(m_fd, data, count);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_error = n < 0 ? errno : ENOSPC;
                return false;
            }
            data += n;
            count -= static_cast<size_t>(n);
        }
        return true;
    }
    m_buf.append(data, count);
    return true;
}

size_t ZcmStream::Write(const void* buffer, size_t count) {
    if (!StartWriting()) return 0;
    m_writing = true;
    const char* data = static_cast<const char*>(buffer);
    if (!m_text || m_encoding != ansi) return RawWrite(data, count) ? count : 0;
    size_t done = 0;
    while (done < count) {
        const void* lf = memchr(data + done, '\n', count - done);
        const size_t n =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - (data + done)) : count - done;
        if (!RawWrite(data + done, n)) return done;
        done += n;
        if (lf) {
            if (!RawWrite("\r\n", 2)) return done;
            ++done;
        }
    }
    return done;
}

bool ZcmStream::PutText(const wchar_t* text, size_t count) {
    if (!StartWriting()) return false;
    std::wstring translated;
    if (m_text && m_encoding != ansi) {
        translated.reserve(count + count / 16);
        for (size_t i = 0; i < count; ++i) {
            if (text[i] == L'\n') translated += L'\r';
            translated += text[i];
        }
        text = translated.data();
        count = translated.size();
    }
    switch (m_encoding) {
        case ansi: {
            std::string bytes;
            ZcmWideToAnsi(text, count, bytes);
            return Write(bytes.data(), bytes.size()) == bytes.size();
        }
        case utf8: {
            const std::string bytes = ZcmWideToUtf8(text, count);
            return RawWrite(bytes.data(), bytes.size());
        }
        case utf16le: {
            std::u16string units;
            ZcmWideToUtf16(text, count, units);
            std::string bytes(units.size() * 2, '\0');
            for (size_t i = 0; i < units.size(); ++i) {
                bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
                bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
            }
            return RawWrite(bytes.data(), bytes.size());
        }
    }
    return false;
}

bool ZcmStream::Flush() {
    if (!m_writing) return m_fd >= 0;
    size_t done = 0;
    while (done < m_buf.size()) {
        const ssize_t n = write(m_fd, m_buf.data() + done, m_buf.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : ENOSPC;
            m_buf.erase(0, done);
            errno = m_error;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    m_buf.clear();
    m_writing = false;
    const off_t pos = lseek(m_fd, 0, SEEK_CUR);
    m_bufOffset = pos < 0 ? 0 : static_cast<long long>(pos);
    m_pos = m_end = 0;
    return true;
}

long long ZcmStream::Tell() const {
    if (m_writing) {
        const off_t pos = lseek(m_fd, 0, SEEK_CUR);
        return pos < 0 ? -1 : static_cast<long long>(pos) + static_cast<long long>(m_buf.size());
    }
    return m_bufOffset + static_cast<long long>(m_pos);
}

long long ZcmStream::Seek(long long offset, int whence) {
    if (m_fd < 0) {
        errno = EBADF;
        return -1;
    }
    if (m_writing && !Flush()) return -1;
    m_eof = false;
    long long target = -1;
    if (whence == SEEK_SET) target = offset;
    if (whence == SEEK_CUR) target = Tell() + offset;
    // A seek inside what is buffered only moves the read position (line readers step
    // back often).
    if (target >= m_bufOffset && target <= m_bufOffset + static_cast<long long>(m_end)) {
        m_pos = static_cast<size_t>(target - m_bufOffset);
        return target;
    }
    const off_t r = whence == SEEK_END
                        ? lseek(m_fd, static_cast<off_t>(offset), SEEK_END)
                        : (target < 0 ? (errno = EINVAL, -1)
                                      : lseek(m_fd, static_cast<off_t>(target), SEEK_SET));
    if (r < 0) return -1;
    m_bufOffset = r;
    m_pos = m_end = 0;
    return r;
}

// ---------------------------------------------------------------------------------------

namespace {

bool ParseMode(const wchar_t* mode, int& flags, bool& canRead, bool& canWrite, bool& text,
               int& ccs) {
    if (!mode) return false;
    std::wstring m(mode);
    std::wstring enc;
    const size_t comma = m.find(L',');
    if (comma != std::wstring::npos) {
        std::wstring rest = m.substr(comma + 1);
        m.erase(comma);
        size_t i = 0;
        while (i < rest.size() && rest[i] == L' ') ++i;
        rest.erase(0, i);
        if (rest.compare(0, 4, L"ccs=") != 0) return false;
        enc = rest.substr(4);
        while (!enc.empty() && enc.back() == L' ') enc.pop_back();
        for (auto& c : enc) c = static_cast<wchar_t>(towupper(c));
        if (enc == L"UTF-8")
            ccs = ZcmStream::utf8;
        else if (enc == L"UTF-16LE")
            ccs = ZcmStream::utf16le;
        else if (enc == L"UNICODE")
            ccs = 3;
        else
            return false;
    }
    while (!m.empty() && m.back() == L' ') m.pop_back();
    if (m.empty()) return false;
    const wchar_t kind = m[0];
    bool plus = false;
    text = true;
    for (size_t i = 1; i < m.size(); ++i) {
        if (m[i] == L'+')
            plus = true;
        else if (m[i] == L'b')
            text = false;
        else if (m[i] == L't')
            text = true;
        else if (m[i] != L'S' && m[i] != L'R' && m[i] != L'T' && m[i] != L'D' && m[i] != L'N' &&
                 m[i] != L'c')
            return false;
    }
    switch (kind) {
        case L'r':
            flags = plus ? O_RDWR : O_RDONLY;
            break;
        case L'w':
            flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
            break;
        case L'a':
            flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
            break;
        default:
            return false;
    }
    canRead = kind == L'r' || plus;
    canWrite = kind != L'r' || plus;
    return true;
}

// The encoding a byte-order mark at the start of the file names, and the mark's length.
// Read through the stream's descriptor when it can read (a pipe read once is gone).
int DetectMark(const wchar_t* path, int streamFd, bool readable, int& markLength) {
    unsigned char b[3] = {};
    // Else a separate descriptor: the stream's own is write-only.
    const int fd =
        readable ? streamFd : open(ZcmWideToUtf8(path, wcslen(path)).c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = fd < 0 ? 0 : pread(fd, b, 3, 0);
    if (fd >= 0 && !readable) close(fd);
    markLength = 0;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        markLength = 2;
        return ZcmStream::utf16le;
    }
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        markLength = 3;
        return ZcmStream::utf8;
    }
    return -1;
}

}  // namespace

ZcmStream* _wfsopen(const wchar_t* path, const wchar_t* mode, int shareFlag) {
    int flags = 0, ccs = -1;
    bool canRead = false, canWrite = false, text = true;
    if (!path || !*path || !ParseMode(mode, flags, canRead, canWrite, text, ccs)) {
        errno = EINVAL;
        return nullptr;
    }
    int rights;
    switch (shareFlag) {
        case _SH_DENYRW:
            rights = 0;
            break;
        case _SH_DENYWR:
            rights = 1;
            break;
        case _SH_DENYRD:
            rights = 2;
            break;
        case _SH_DENYNO:
            rights = 3;
            break;
        case _SH_SECURE:
            rights = canWrite ? 0 : 1;
            break;
        default:
            errno = EINVAL;
            return nullptr;
    }
    ZcmShareLock lock;
    const int fd = ZcmOpenShared(path, flags, rights, lock);
    if (fd < 0) return nullptr;
    ZcmStream::Encoding encoding = ZcmStream::ansi;
    if (ccs >= 0) {
        // The mark of an existing file wins over the encoding asked for.
        int markLength = 0;
        const int marked = (flags & O_TRUNC) ? -1 : DetectMark(path, fd, canRead, markLength);
        encoding = marked >= 0
                       ? static_cast<ZcmStream::Encoding>(marked)
                       : (ccs == 3 ? ZcmStream::utf8 : static_cast<ZcmStream::Encoding>(ccs));
        struct stat st;
        const bool empty = fstat(fd, &st) == 0 && st.st_size == 0;
        if (canWrite && empty) {
            static const char kLe[] = "\xFF\xFE", kU8[] = "\xEF\xBB\xBF";
            const bool le = encoding == ZcmStream::utf16le;
            if (write(fd, le ? kLe : kU8, le ? 2 : 3) != (le ? 2 : 3)) {
                const int err = errno;
                close(fd);
                errno = err ? err : ENOSPC;
                return nullptr;
            }
        } else if (markLength > 0 && !(flags & O_APPEND)) {
            lseek(fd, markLength, SEEK_SET);
        }
    }
    auto* stream = new ZcmStream(fd, canRead, canWrite, text, encoding);
    stream->Lock().TakeFrom(lock);
    return stream;
}

int ZcmStreamClose(ZcmStream* stream) {
    if (!stream) return -1;
    const int rc = stream->Close();
    delete stream;
    return rc;
}
