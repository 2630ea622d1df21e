// SPDX-License-Identifier: LGPL-3.0-or-later
// CMemoryDIBTz::Write: the .bmp file of a DIB.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "draw/MemoryDIBTz.h"

// The headers are written as they lie in memory: the file format is little-endian.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian hosts only");

namespace {

// A file written in full or not at all (then reported): every short write is retried.
class OutFile {
public:
    explicit OutFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {}
    ~OutFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const void* data, size_t size) {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(m_fd, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<size_t>(n);
        }
        return true;
    }
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

}  // namespace

int CMemoryDIBTz::Write(CString path) {
    if (!m_bits || !m_bitmapInfo) return 0;
    BITMAPINFOHEADER info;
    memcpy(&info, m_bitmapInfo.get(), sizeof info);
    DWORD colours = info.biClrUsed;
    if (colours == 0)
        colours = info.biBitCount == 1   ? 2
                  : info.biBitCount == 4 ? 16
                  : info.biBitCount == 8 ? 256
                                         : 0;
    const bool widen = info.biBitCount == 32;  // written as 24 bits
    const DWORD stride =
        widen ? (static_cast<DWORD>(m_width) + 1) * 3 / 4 * 4 : static_cast<DWORD>(m_stride);
    if (widen) {
        info.biBitCount = 24;
        info.biSizeImage = stride * static_cast<DWORD>(m_height);
    }
    const DWORD offset = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info) + 4 * colours;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = offset + stride * static_cast<DWORD>(m_height);
    file.bfOffBits = offset;

    OutFile out(path.ToUtf8());
    if (!out.IsOpen()) return 0;
    bool ok = out.Write(&file, sizeof file) && out.Write(&info, sizeof info) &&
              out.Write(m_bitmapInfo.get() + sizeof info, 4 * static_cast<size_t>(colours));
    if (ok && !widen) {
        ok = out.Write(m_bits, static_cast<size_t>(m_stride) * m_height);
    } else if (ok) {
        std::vector<BYTE> row(stride, 0);
        for (int y = 0; ok && y < m_height; ++y) {
            const BYTE* src = m_bits + static_cast<size_t>(y) * m_stride;
            for (int x = 0; x < m_width; ++x) memcpy(&row[3 * x], src + 4 * x, 3);
            ok = out.Write(row.data(), row.size());
        }
    }
    return out.Close() && ok ? 1 : 0;
}
