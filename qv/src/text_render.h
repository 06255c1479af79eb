#pragma once
// Measuring and drawing a line of text with a font onto a monochrome picture,
// the way the platform's text output works: the text's cell has its top-left
// corner at the given point, its background is painted (the cell's dots
// cleared), then the glyphs' dots are set. No kerning, as on the platform.

#include "font.h"
#include "mono_picture.h"

#include <string>

namespace qv {

struct TextExtent {
    int width = 0;  // sum of the characters' advances, at most INT32_MAX
    int height = 0; // the font's cell height
};

TextExtent measureText(Font& font, const std::u32string& text);

// Draws text with its cell's top-left corner at (x, y); dots outside the
// picture are left out. The extent of the text, as measureText gives it.
TextExtent drawText(MonoPicture& picture, Font& font, int x, int y, const std::u32string& text);

} // namespace qv
