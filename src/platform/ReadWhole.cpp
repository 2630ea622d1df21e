// SPDX-License-Identifier: LGPL-3.0-or-later
// Whole files and pipes read into memory, bounded, with the reason when they cannot be.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/EncodedStream.h"

bool ZcmReadWhole(int fd, std::string& out, size_t limit) {
    out.clear();
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<unsigned long long>(st.st_size) > limit) {
        errno = EFBIG;
        return false;
    }
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        out.reserve(static_cast<size_t>(st.st_size));  // read without growing on the way
    char block[64 * 1024];
    for (;;) {
        const ssize_t n = read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (out.size() + static_cast<size_t>(n) > limit) {
            out.clear();
            errno = EFBIG;
            return false;
        }
        out.append(block, static_cast<size_t>(n));
    }
}

bool ZcmReadFile(const char* path, std::string& out, size_t limit, bool regularOnly) {
    out.clear();
    // Not blocking in open: a FIFO would wait there for a writer.
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    int err = 0;
    std::string head;
    if (fstat(fd, &st) != 0) {
        err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        err = EISDIR;
    } else if (!S_ISREG(st.st_mode) && (regularOnly || !S_ISFIFO(st.st_mode))) {
        err = ENODEV;
    } else if (S_ISFIFO(st.st_mode)) {
        // Nothing to read yet means a writer is at work; the end of the file, that there is
        // no writer yet. One started beside the reader is given a moment to come.
        char block[4096];
        ssize_t n = read(fd, block, sizeof block);
        if (n == 0) {
            pollfd writer{fd, POLLIN, 0};
            n = poll(&writer, 1, 500) > 0 ? read(fd, block, sizeof block) : -2;
        }
        if (n == -2)
            err = EPIPE;
        else if (n > 0)
            head.assign(block, static_cast<size_t>(n));
        else if (errno != EAGAIN)
            err = errno;
    }
    if (err == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) err = errno;
    if (err == 0 && head.size() <= limit && ZcmReadWhole(fd, out, limit - head.size()))
        out.insert(0, head);
    else if (err == 0)
        err = head.size() > limit ? EFBIG : errno;
    close(fd);
    if (err != 0) {
        out.clear();
        errno = err;
    }
    return err == 0;
}

std::string ZcmReadFileProblem(int error, size_t limit) {
    if (error == ENODEV) return "not a regular file or pipe";
    if (error == EPIPE) return "a pipe with no writer";
    if (error == EISDIR) return "is a folder";
    if (error == EFBIG)
        return "larger than " + std::to_string(limit >> 20) + " MB, the most read from it";
    return strerror(error);
}
