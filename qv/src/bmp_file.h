#pragma once
// Reading the 1-bit raster images of Windows BMP files, for the printers'
// image transfers and the graphic display alike. Only what the transfers use
// is looked at: the first byte, the 16-bit width and height fields, and the
// pixel rows, which are counted back from the end of the file (rows are
// stored bottom-up, so the last row in the file is the top of the image).
// Bit depth, compression and palette are not examined.

#include "exclusive_file.h"

#include <array>
#include <cstdint>
#include <span>

namespace qv {

// Why a file is refused, as the image exports return it.
enum BmpRefusal : std::int32_t {
    kBmpTooSmall = -1,   // under 58 bytes
    kBmpNotBitmap = -2,  // first byte is not 'B'
    kBmpTooWide = -3,    // width rounded up to whole bytes is over the device's dots
    kBmpNoWidth = -4,    // width 0
    kBmpBadHeight = -5,  // height 0 or over the device's rows
    kBmpTruncated = -6,  // the rows the header promises do not fit in the file
    kBmpCannotOpen = -9, // missing, unreadable, not a regular file, or in use
};

// The largest picture a device takes.
struct BmpLimits {
    unsigned maxDots;
    unsigned maxRows;
};
inline constexpr BmpLimits kPrinterImageLimits{1024, 1024};

inline constexpr std::size_t kMaxRowBytes = 128; // one row of up to 1024 dots
using RowBuffer = std::array<std::uint8_t, kMaxRowBytes>;

// An open BMP file, held exclusively (another program holding it makes the
// open fail); closed when the object goes.
class BmpFile {
public:
    BmpFile() = default;
    BmpFile(const BmpFile&) = delete;
    BmpFile& operator=(const BmpFile&) = delete;

    // Opens and checks the file: 0 when its image can be sent, otherwise the
    // refusal code (and the file is closed again). An open that fails records
    // its reason as the platform's last error.
    std::int32_t open(const char* path, BmpLimits limits = kPrinterImageLimits);

    unsigned width() const { return m_width; }
    unsigned height() const { return m_height; }
    // Bytes of one row as sent: (width + 7) / 8, 1 to 128.
    unsigned rowBytes() const { return (m_width + 7) / 8; }
    // Bytes of one row in the file: rowBytes rounded up to a multiple of 4.
    unsigned stride() const { return (rowBytes() + 3) / 4 * 4; }

    // Reads row k counted from the top of the image (k = 0 is the last row
    // in the file) into the first rowBytes bytes of row. Bytes that cannot
    // be read (the file shrank after it was checked) are set to 0xFF, white
    // in the file's sense, so they show no dots.
    void readRowFromTop(unsigned k, RowBuffer& row) const;

    // Row k from the top as dots (see rowToDots): the first rowBytes bytes.
    std::span<std::uint8_t> dotsRowFromTop(unsigned k, RowBuffer& row) const;

private:
    std::int32_t check(BmpLimits limits);

    ExclusiveFile m_file;
    unsigned m_width = 0;
    unsigned m_height = 0;
};

// The mask of the bits beyond the image width in a row's last byte (0xFF
// shifted right by width mod 8); 0 when the width is a multiple of 8.
std::uint8_t paddingMask(unsigned width);

// Turns a row read from the file into dots: sets the bits beyond the width,
// then inverts, so a set bit is a printed or lit dot (most significant bit
// leftmost) and the bits beyond the width are 0.
void rowToDots(std::span<std::uint8_t> row, unsigned width);

} // namespace qv
