#include "bmp_file.h"

#include "platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {

constexpr std::uint64_t kMinFileSize = 58;
// The file header (14 bytes) and the bitmap header (40 bytes) come first;
// the pixel rows must lie after them.
constexpr std::uint64_t kHeadersSize = 54;
constexpr off_t kWidthOffset = 18;
constexpr off_t kHeightOffset = 22;

// Reads up to length bytes at offset; the count read.
std::size_t readAt(int fd, std::uint8_t* buffer, std::size_t length, off_t offset) {
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = pread(fd, buffer + done, length - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool readU16(int fd, off_t offset, unsigned& value) {
    std::uint8_t b[2];
    if (readAt(fd, b, 2, offset) != 2)
        return false;
    value = static_cast<unsigned>(b[0] | (b[1] << 8));
    return true;
}

} // namespace

BmpFile::~BmpFile() {
    close();
}

void BmpFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::int32_t BmpFile::open(const char* path, BmpLimits limits) {
    close();
    std::int32_t code = openFile(path);
    if (code == 0)
        code = check(limits);
    if (code != 0)
        close();
    return code;
}

// Opens path for reading and takes the file for itself, as the exclusive
// open of the platform would; 0 or kBmpCannotOpen with the reason recorded.
std::int32_t BmpFile::openFile(const char* path) {
    auto refuse = [](int error) {
        platform::backend().setLastError(static_cast<std::uint32_t>(error));
        return kBmpCannotOpen;
    };
    if (path == nullptr)
        return refuse(EINVAL);
    // Non-blocking, so that a FIFO does not wait for a writer.
    m_fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return refuse(errno);
    struct stat st {};
    if (fstat(m_fd, &st) != 0)
        return refuse(errno);
    if (!S_ISREG(st.st_mode))
        return refuse(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(EBUSY);
    m_size = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

std::int32_t BmpFile::check(BmpLimits limits) {
    if (m_size < kMinFileSize)
        return kBmpTooSmall;
    std::uint8_t first = 0;
    if (readAt(m_fd, &first, 1, 0) != 1)
        return kBmpTooSmall;
    if (first != 'B')
        return kBmpNotBitmap;
    if (!readU16(m_fd, kWidthOffset, m_width) || !readU16(m_fd, kHeightOffset, m_height))
        return kBmpTooSmall;
    if ((m_width + 7) / 8 * 8 > limits.maxDots)
        return kBmpTooWide;
    if (m_width == 0)
        return kBmpNoWidth;
    if (m_height == 0 || m_height > limits.maxRows)
        return kBmpBadHeight;
    if (std::uint64_t{m_height} * stride() > m_size - kHeadersSize)
        return kBmpTruncated;
    return 0;
}

void BmpFile::readRowFromTop(unsigned k, RowBuffer& row) const {
    const std::size_t length = rowBytes();
    row.fill(0);
    std::size_t got = 0;
    const std::uint64_t back = (std::uint64_t{k} + 1) * stride();
    if (m_fd >= 0 && back <= m_size)
        got = readAt(m_fd, row.data(), length, static_cast<off_t>(m_size - back));
    for (std::size_t i = got; i < length; ++i)
        row[i] = 0xFF;
}

std::span<std::uint8_t> BmpFile::dotsRowFromTop(unsigned k, RowBuffer& row) const {
    readRowFromTop(k, row);
    const auto dots = std::span(row).first(rowBytes());
    rowToDots(dots, m_width);
    return dots;
}

std::uint8_t paddingMask(unsigned width) {
    return width % 8 == 0 ? 0 : static_cast<std::uint8_t>(0xFFU >> (width % 8));
}

void rowToDots(std::span<std::uint8_t> row, unsigned width) {
    if (row.empty())
        return;
    row.back() |= paddingMask(width);
    for (std::uint8_t& b : row)
        b = static_cast<std::uint8_t>(~b);
}

} // namespace qv
