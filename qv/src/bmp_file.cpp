#include "bmp_file.h"

namespace qv {

namespace {

constexpr std::uint64_t kMinFileSize = 58;
// The file header (14 bytes) and the bitmap header (40 bytes) come first;
// the pixel rows must lie after them.
constexpr std::uint64_t kHeadersSize = 54;
constexpr std::uint64_t kWidthOffset = 18;
constexpr std::uint64_t kHeightOffset = 22;

bool readU16(const ExclusiveFile& file, std::uint64_t offset, unsigned& value) {
    std::uint8_t b[2];
    if (file.readAt(b, 2, offset) != 2)
        return false;
    value = static_cast<unsigned>(b[0] | (b[1] << 8));
    return true;
}

} // namespace

std::int32_t BmpFile::open(const char* path, BmpLimits limits) {
    if (!m_file.open(path))
        return kBmpCannotOpen;
    std::int32_t code = check(limits);
    if (code != 0)
        m_file.close();
    return code;
}

std::int32_t BmpFile::check(BmpLimits limits) {
    const std::uint64_t size = m_file.size();
    if (size < kMinFileSize)
        return kBmpTooSmall;
    std::uint8_t first = 0;
    if (m_file.readAt(&first, 1, 0) != 1)
        return kBmpTooSmall;
    if (first != 'B')
        return kBmpNotBitmap;
    if (!readU16(m_file, kWidthOffset, m_width) || !readU16(m_file, kHeightOffset, m_height))
        return kBmpTooSmall;
    if ((m_width + 7) / 8 * 8 > limits.maxDots)
        return kBmpTooWide;
    if (m_width == 0)
        return kBmpNoWidth;
    if (m_height == 0 || m_height > limits.maxRows)
        return kBmpBadHeight;
    if (std::uint64_t{m_height} * stride() > size - kHeadersSize)
        return kBmpTruncated;
    return 0;
}

void BmpFile::readRowFromTop(unsigned k, RowBuffer& row) const {
    const std::size_t length = rowBytes();
    row.fill(0);
    std::size_t got = 0;
    const std::uint64_t back = (std::uint64_t{k} + 1) * stride();
    if (back <= m_file.size())
        got = m_file.readAt(row.data(), length, m_file.size() - back);
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
