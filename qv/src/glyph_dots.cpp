// Reading the dots of a rendered glyph, whichever platform rendered it.

#include "font.h"

#include <cstddef>

namespace qv {

bool GlyphDots::dot(int column, int row) const {
    if (column < 0 || column >= width || row < 0 || row >= rows || topRow == nullptr)
        return false;
    const unsigned char* line = topRow + static_cast<std::ptrdiff_t>(row) * pitch;
    if (gray)
        return line[column] >= 128;
    return (line[column / 8] & (0x80U >> (column % 8))) != 0;
}

} // namespace qv
