#include "text_render.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qv {
namespace {

using Coord = std::int64_t; // pen positions may run far past the picture

int clampToPicture(Coord v, int limit) {
    return static_cast<int>(std::clamp<Coord>(v, -1, limit + 1));
}

void setGlyphDots(MonoPicture& picture, const GlyphDots& glyph, Coord left, Coord top) {
    // Only the part of the glyph that lies on the picture is visited.
    Coord firstRow = std::max<Coord>(0, -top);
    Coord lastRow = std::min<Coord>(glyph.rows, kPictureHeight - top);
    Coord firstColumn = std::max<Coord>(0, -left);
    Coord lastColumn = std::min<Coord>(glyph.width, kPictureWidth - left);
    for (Coord r = firstRow; r < lastRow; ++r) {
        for (Coord c = firstColumn; c < lastColumn; ++c) {
            if (glyph.dot(static_cast<int>(c), static_cast<int>(r)))
                picture.setDot(static_cast<int>(left + c), static_cast<int>(top + r));
        }
    }
}

} // namespace

TextExtent measureText(Font& font, const std::u32string& text) {
    Coord width = 0;
    for (char32_t c : text)
        width += font.advance(c);
    constexpr Coord kMax = std::numeric_limits<std::int32_t>::max();
    return {static_cast<int>(std::clamp<Coord>(width, 0, kMax)), font.cellHeight()};
}

void drawText(MonoPicture& picture, Font& font, int x, int y, const std::u32string& text) {
    TextExtent extent = measureText(font, text);
    picture.clearRect(clampToPicture(x, kPictureWidth), clampToPicture(y, kPictureHeight),
                      clampToPicture(Coord{x} + extent.width, kPictureWidth),
                      clampToPicture(Coord{y} + extent.height, kPictureHeight));
    Coord pen = x;
    Coord baseline = Coord{y} + font.ascent();
    GlyphDots glyph;
    for (char32_t c : text) {
        if (pen >= kPictureWidth + kMaxFontPixels)
            break; // nothing further can reach the picture
        if (font.render(c, glyph))
            setGlyphDots(picture, glyph, pen + glyph.left, baseline - glyph.top);
        pen += glyph.advance;
    }
}

} // namespace qv
