#include "display_bitmap.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {
namespace {

constexpr off_t kMinFileSize = 58;
constexpr off_t kWidthOffset = 18;
constexpr off_t kHeightOffset = 22;

// A regular file open for reading, held exclusively while it is read.
class BitmapFile {
public:
    explicit BitmapFile(const char* path) {
        if (path == nullptr)
            return;
        // Non-blocking, so that a FIFO does not wait for a writer.
        m_fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat st {};
        if (m_fd < 0 || fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) ||
            flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            close();
            return;
        }
        m_size = st.st_size;
    }
    ~BitmapFile() { close(); }
    BitmapFile(const BitmapFile&) = delete;
    BitmapFile& operator=(const BitmapFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    off_t size() const { return m_size; }

    // Reads up to length bytes at offset; bytes it cannot read stay as they were.
    void readAt(off_t offset, std::uint8_t* data, std::size_t length) const {
        if (offset < 0)
            return;
        std::size_t done = 0;
        while (done < length) {
            ssize_t n = pread(m_fd, data + done, length - done, offset + static_cast<off_t>(done));
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }

    int littleEndian16(off_t offset) const {
        std::uint8_t b[2] = {0, 0};
        readAt(offset, b, 2);
        return b[0] | b[1] << 8;
    }

private:
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    int m_fd = -1;
    off_t m_size = 0;
};

void readRows(const BitmapFile& file, DisplayBitmap& out) {
    const int stride = std::max(4, (out.rowBytes + 3) / 4 * 4);
    const int spare = out.width % 8;
    out.rows.resize(static_cast<std::size_t>(out.height));
    for (int k = 0; k < out.height; ++k) {
        auto& row = out.rows[static_cast<std::size_t>(k)];
        row.fill(0);
        file.readAt(file.size() - static_cast<off_t>(k + 1) * stride, row.data(),
                    static_cast<std::size_t>(out.rowBytes));
        // A set bit in the file is a light dot; the padding past the width
        // is made light before inverting, so it stays dark.
        if (spare != 0)
            row[static_cast<std::size_t>(out.rowBytes - 1)] |=
                static_cast<std::uint8_t>(0xFF >> spare);
        for (int i = 0; i < out.rowBytes; ++i)
            row[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(~row[static_cast<std::size_t>(i)]);
    }
}

} // namespace

int readDisplayBitmap(const char* path, DisplayBitmap& out) {
    out = DisplayBitmap{};
    BitmapFile file(path);
    if (!file.isOpen())
        return kBmpCannotOpen;
    if (file.size() < kMinFileSize)
        return kBmpTooSmall;
    std::uint8_t first = 0;
    file.readAt(0, &first, 1);
    if (first != 'B')
        return kBmpNotBmp;
    const int width = file.littleEndian16(kWidthOffset);
    if ((width + 7) / 8 * 8 > kD304MaxDots)
        return kBmpTooWide;
    if (width == 0)
        return kBmpNoWidth;
    const int height = file.littleEndian16(kHeightOffset);
    if (height == 0 || height > kD304MaxRows)
        return kBmpBadHeight;
    out.width = width;
    out.height = height;
    out.rowBytes = (width + 7) / 8;
    readRows(file, out);
    return 0;
}

} // namespace qv
