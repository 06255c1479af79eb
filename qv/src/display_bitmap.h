#pragma once
// Reading a monochrome BMP file for the graphic display. Only what the display
// needs is looked at: the "B" of the signature, the low 16 bits of the width
// and height fields, and the pixel rows, which are taken from the end of the
// file backwards (a bottom-up picture ends with its top row). Bit depth,
// compression and palette are not examined.

#include "d304.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

// Refusal codes, checked in this order.
inline constexpr int kBmpCannotOpen = -9; // missing, not a regular file, or in use
inline constexpr int kBmpTooSmall = -1;   // below 58 bytes
inline constexpr int kBmpNotBmp = -2;     // first byte is not 'B'
inline constexpr int kBmpTooWide = -3;    // width rounded up to 8 exceeds 240
inline constexpr int kBmpNoWidth = -4;    // width 0
inline constexpr int kBmpBadHeight = -5;  // height 0 or above 64

struct DisplayBitmap {
    int width = 0;  // dots
    int height = 0; // rows
    int rowBytes = 0;
    // Rows from the top, ready to send: lit dots set, padding dots clear. A
    // row the file is too short to hold is read as zero bytes.
    std::vector<std::array<std::uint8_t, kD304MaxRowBytes>> rows;
};

// Reads the file; 0 when it was read, else a refusal code (and out is left
// empty). The file is always closed again.
int readDisplayBitmap(const char* path, DisplayBitmap& out);

} // namespace qv
