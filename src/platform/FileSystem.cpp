// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <string>

#include "platform/File.h"
#include "platform/String.h"

namespace {

std::string Path(LPCWSTR p) { return ZcmWideToUtf8(p, wcslen(p)); }

BOOL Fail(int err) {
    SetLastError(ZcmErrnoToWin32(err));
    return FALSE;
}

bool Valid(LPCWSTR p) {
    if (p && *p) return true;
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
}

}  // namespace

BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
    if (!Valid(from) || !Valid(to)) return FALSE;
    const std::string src = Path(from), dst = Path(to);
    const int in = open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Fail(errno);
    struct stat sst;
    if (fstat(in, &sst) != 0 || S_ISDIR(sst.st_mode)) {
        close(in);
        return Fail(EACCES);
    }
    struct stat dstSt;
    if (stat(dst.c_str(), &dstSt) == 0) {
        if (failIfExists) {
            close(in);
            SetLastError(ERROR_FILE_EXISTS);
            return FALSE;
        }
        if (dstSt.st_dev == sst.st_dev && dstSt.st_ino == sst.st_ino) {
            close(in);
            SetLastError(ERROR_SHARING_VIOLATION);
            return FALSE;
        }
        if (!(dstSt.st_mode & S_IWUSR) || S_ISDIR(dstSt.st_mode)) {
            close(in);
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    const int out = open(
        dst.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0), 0600);
    if (out < 0) {
        const int err = errno;
        close(in);
        if (err == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
            return FALSE;
        }
        return Fail(err);
    }
    char buf[64 * 1024];
    int err = 0;
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0) break;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                err = w < 0 ? errno : ENOSPC;
                break;
            }
            done += w;
        }
        if (err) break;
    }
    close(in);
    if (!err) {
        const struct timespec times[2] = {sst.st_atim, sst.st_mtim};
        futimens(out, times);
        fchmod(out, sst.st_mode & 07777);
    }
    if (close(out) != 0 && !err) err = errno;
    if (err) {
        unlink(dst.c_str());
        return Fail(err);
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR path) {
    if (!Valid(path)) return FALSE;
    const std::string p = Path(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return Fail(errno);
    if (S_ISDIR(st.st_mode)) return Fail(EACCES);
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) return Fail(EACCES);
    return unlink(p.c_str()) == 0 ? TRUE : Fail(errno);
}

BOOL CreateDirectoryW(LPCWSTR path, void*) {
    if (!Valid(path)) return FALSE;
    return mkdir(Path(path).c_str(), 0777) == 0 ? TRUE : Fail(errno);
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    if (!Valid(path)) return FALSE;
    const std::string p = Path(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return Fail(errno);
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (stat(p.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) return Fail(ENOTDIR);
        return unlink(p.c_str()) == 0 ? TRUE : Fail(errno);
    }
    return rmdir(p.c_str()) == 0 ? TRUE : Fail(errno);
}

DWORD GetFileAttributesW(LPCWSTR path) {
    if (!Valid(path)) return INVALID_FILE_ATTRIBUTES;
    const std::string p = Path(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) {
        Fail(errno);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD a = 0;
    if (S_ISLNK(st.st_mode)) {
        a |= FILE_ATTRIBUTE_REPARSE_POINT;
        struct stat target;
        if (stat(p.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) a |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (S_ISDIR(st.st_mode)) {
        a |= FILE_ATTRIBUTE_DIRECTORY;
    } else {
        a |= FILE_ATTRIBUTE_ARCHIVE;
    }
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) a |= FILE_ATTRIBUTE_READONLY;
    return a;
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    if (!Valid(path)) return FALSE;
    const std::string p = Path(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return Fail(errno);
    if (S_ISLNK(st.st_mode)) return TRUE;  // a link has no permissions of its own
    mode_t mode = st.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    else
        mode |= S_IWUSR;
    return chmod(p.c_str(), mode) == 0 ? TRUE : Fail(errno);
}

BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* access, FILETIME* write) {
    if (file == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    struct stat st;
    if (fstat(static_cast<int>(reinterpret_cast<intptr_t>(file)), &st) != 0) return Fail(errno);
    if (creation) *creation = ZcmFileTimeFromUnix(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    if (access) *access = ZcmFileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    if (write) *write = ZcmFileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return TRUE;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (module || !buffer || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return static_cast<DWORD>(Fail(errno));
    path[n] = 0;
    const CString wide(path);
    const DWORD len = static_cast<DWORD>(wide.GetLength());
    if (len >= size) {
        // As Windows: truncated, terminated, and reported.
        wmemcpy(buffer, wide.GetString(), size - 1);
        buffer[size - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    wmemcpy(buffer, wide.GetString(), len + 1);
    return len;
}
