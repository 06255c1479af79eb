#include "text_render.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

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

// A rendered glyph with its dots copied out of the font, which reuses its
// glyph memory on the next call.
struct KeptGlyph {
    GlyphDots dots; // topRow is set to bits once all glyphs are rendered
    std::vector<unsigned char> bits;
    Coord pen = 0;
    bool drawn = false;
};

bool keepGlyph(Font& font, char32_t c, KeptGlyph& g) {
    if (!font.render(c, g.dots))
        return false;
    const int stride = std::abs(g.dots.pitch);
    if (g.dots.topRow != nullptr && g.dots.rows > 0 && stride > 0) {
        g.bits.resize(static_cast<std::size_t>(g.dots.rows) * static_cast<std::size_t>(stride));
        for (int r = 0; r < g.dots.rows; ++r)
            std::memcpy(g.bits.data() +
                            static_cast<std::size_t>(r) * static_cast<std::size_t>(stride),
                        g.dots.topRow + static_cast<std::ptrdiff_t>(r) * g.dots.pitch,
                        static_cast<std::size_t>(stride));
    } else {
        g.dots.rows = 0;
    }
    g.dots.pitch = stride;
    g.dots.topRow = nullptr;
    return true;
}

} // namespace

TextExtent measureText(Font& font, const std::u32string& text) {
    Coord width = 0;
    for (char32_t c : text)
        width += font.advance(c);
    constexpr Coord kMax = std::numeric_limits<std::int32_t>::max();
    return {static_cast<int>(std::clamp<Coord>(width, 0, kMax)), font.cellHeight()};
}

TextExtent drawText(MonoPicture& picture, Font& font, int x, int y, const std::u32string& text) {
    // Each glyph is loaded once: its dots are kept for after the cell is
    // cleared, and its advance gives the cell's width.
    std::vector<KeptGlyph> glyphs;
    glyphs.reserve(text.size());
    Coord width = 0;
    for (char32_t c : text) {
        if (Coord{x} + width >= kPictureWidth + kMaxFontPixels) {
            width += font.advance(c); // nothing further can reach the picture
            continue;
        }
        KeptGlyph& g = glyphs.emplace_back();
        g.pen = Coord{x} + width;
        g.drawn = keepGlyph(font, c, g);
        width += g.dots.advance;
    }
    constexpr Coord kMax = std::numeric_limits<std::int32_t>::max();
    const TextExtent extent{static_cast<int>(std::clamp<Coord>(width, 0, kMax)), font.cellHeight()};
    picture.clearRect(clampToPicture(x, kPictureWidth), clampToPicture(y, kPictureHeight),
                      clampToPicture(Coord{x} + extent.width, kPictureWidth),
                      clampToPicture(Coord{y} + extent.height, kPictureHeight));
    const Coord baseline = Coord{y} + font.ascent();
    for (KeptGlyph& g : glyphs) {
        if (!g.drawn)
            continue;
        g.dots.topRow = g.bits.data();
        setGlyphDots(picture, g.dots, g.pen + g.dots.left, baseline - g.dots.top);
    }
    return extent;
}

} // namespace qv
