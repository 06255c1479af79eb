#include "mono_picture.h"

#include <algorithm>
#include <cstddef>

namespace qv {
namespace {

std::size_t byteIndex(int x, int y, int rowBytes) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes) +
           static_cast<std::size_t>(x / 8);
}

std::uint8_t bitMask(int x) {
    return static_cast<std::uint8_t>(0x80U >> (x % 8));
}

} // namespace

MonoPicture::MonoPicture() : m_bits(static_cast<std::size_t>(kRowBytes) * kPictureHeight, 0) {}

bool MonoPicture::dot(int x, int y) const {
    if (!contains(x, y))
        return false;
    return (m_bits[byteIndex(x, y, kRowBytes)] & bitMask(x)) != 0;
}

void MonoPicture::setDot(int x, int y) {
    if (contains(x, y))
        m_bits[byteIndex(x, y, kRowBytes)] |= bitMask(x);
}

void MonoPicture::clearDot(int x, int y) {
    if (contains(x, y))
        m_bits[byteIndex(x, y, kRowBytes)] &= static_cast<std::uint8_t>(~bitMask(x));
}

void MonoPicture::clearRect(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kPictureWidth);
    bottom = std::min(bottom, kPictureHeight);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            clearDot(x, y);
    }
}

} // namespace qv
