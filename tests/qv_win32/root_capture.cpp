#include "root_capture.h"

#include <cstdio>

namespace qv::test {
namespace {

// The fields of the dump's header, each a 32-bit big-endian word.
enum Field {
    kHeaderSize = 0,
    kFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColours = 19,
    kFieldCount = 25,
};

constexpr std::uint32_t kZPixmap = 2;
constexpr std::size_t kColourEntryBytes = 12;

std::uint32_t word(const std::vector<std::uint8_t>& dump, int field) {
    const std::size_t at = static_cast<std::size_t>(field) * 4;
    return std::uint32_t{dump[at]} << 24 | std::uint32_t{dump[at + 1]} << 16 |
           std::uint32_t{dump[at + 2]} << 8 | dump[at + 3];
}

// The 8 bits of a colour under its mask.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask) {
    int shift = 0;
    while (shift < 32 && ((mask >> shift) & 1U) == 0)
        ++shift;
    return (pixel & mask) >> shift;
}

} // namespace

bool readXwd(const std::vector<std::uint8_t>& dump, RootCapture& out, std::string& error) {
    if (dump.size() < kFieldCount * 4) {
        error = "the dump is shorter than its header";
        return false;
    }
    const std::uint32_t bits = word(dump, kBitsPerPixel);
    const std::uint32_t masks[] = {word(dump, kRedMask), word(dump, kGreenMask),
                                   word(dump, kBlueMask)};
    if (word(dump, kFormat) != kZPixmap || (bits != 24 && bits != 32)) {
        error = "not a true-colour picture of 24 or 32 bits a pixel";
        return false;
    }
    for (std::uint32_t mask : masks) {
        if (channel(mask, mask) != 0xFF) {
            error = "colours are not 8 bits each";
            return false;
        }
    }
    const std::size_t width = word(dump, kWidth);
    const std::size_t height = word(dump, kHeight);
    const std::size_t stride = word(dump, kBytesPerLine);
    const std::size_t start =
        std::size_t{word(dump, kHeaderSize)} + word(dump, kColours) * kColourEntryBytes;
    const std::size_t bytes = bits / 8;
    if (stride < width * bytes || dump.size() < start + stride * height) {
        error = "the dump is shorter than its picture";
        return false;
    }
    const bool mostSignificantFirst = word(dump, kByteOrder) == 1;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.assign(width * height, 0);
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = dump.data() + start + y * stride + x * bytes;
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::size_t shift = mostSignificantFirst ? (bytes - 1 - i) * 8 : i * 8;
                pixel |= std::uint32_t{p[i]} << shift;
            }
            out.pixels[y * width + x] = channel(pixel, masks[0]) << 16 |
                                        channel(pixel, masks[1]) << 8 | channel(pixel, masks[2]);
        }
    }
    return true;
}

bool captureRoot(RootCapture& out, std::string& error) {
    FILE* xwd = popen("xwd -root -silent", "r");
    if (xwd == nullptr) {
        error = "xwd cannot be started";
        return false;
    }
    std::vector<std::uint8_t> dump;
    std::uint8_t buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, xwd)) > 0)
        dump.insert(dump.end(), buffer, buffer + n);
    if (pclose(xwd) != 0) {
        error = "xwd failed (is DISPLAY a running X server, is xwd installed?)";
        return false;
    }
    return readXwd(dump, out, error);
}

} // namespace qv::test
