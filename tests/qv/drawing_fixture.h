#pragma once
// Fixture for the drawing, graphic-display and cash-drawer tests: the
// load-time state of the drawing surface and the drawer on top of FakeQv, and
// FreeType's own rendering of a glyph to compare the library's dots with.

#include "cash_drawer.h"
#include "drawing_surface.h"
#include "qv_fixture.h"
#include "screen_info.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <set>
#include <utility>

namespace qv::test {

inline constexpr const char* kChineseFace = "AR PL UMing TW";
inline constexpr const char* kLatinFace = "DejaVu Sans";
inline constexpr const char* kBig5Zhong = "\xA4\xA4"; // 中
inline constexpr char32_t kZhong = U'\u4E2D';

using Dot = std::pair<int, int>; // x, y
using Dots = std::set<Dot>;

// FreeType's monochrome rendering of c in face, for a pen at (penX,
// baseline): the dots it sets.
inline Dots freeTypeDots(FT_Face face, char32_t c, int penX, int baseline) {
    Dots out;
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
        throw std::runtime_error("FreeType cannot load the glyph");
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        throw std::runtime_error("FreeType cannot render the glyph");
    const FT_Bitmap& b = slot->bitmap;
    for (unsigned r = 0; r < b.rows; ++r) {
        const unsigned char* row = b.buffer + static_cast<std::ptrdiff_t>(r) * b.pitch;
        for (unsigned col = 0; col < b.width; ++col) {
            bool set = b.pixel_mode == FT_PIXEL_MODE_GRAY
                           ? row[col] >= 128
                           : (row[col / 8] & (0x80 >> (col % 8))) != 0;
            if (set)
                out.insert({penX + slot->bitmap_left + static_cast<int>(col),
                            baseline - slot->bitmap_top + static_cast<int>(r)});
        }
    }
    return out;
}

// FreeType's advance of c in face, in whole pixels.
inline int freeTypeAdvance(FT_Face face, char32_t c) {
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
        throw std::runtime_error("FreeType cannot load the glyph");
    return static_cast<int>((face->glyph->advance.x + 32) / 64);
}

// The ascent FreeType gives the face at its current size, whole pixels up.
inline int freeTypeAscent(FT_Face face) {
    return static_cast<int>((face->size->metrics.ascender + 63) / 64);
}
inline int freeTypeDescent(FT_Face face) {
    return static_cast<int>((-face->size->metrics.descender + 63) / 64);
}

struct Box {
    int left, top, right, bottom; // right and bottom excluded
};

class DrawingQv : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        unsetenv(kDrawerPathVariable);
        reset();
    }
    void TearDown() override {
        reset();
        setScreenSource(nullptr);
        FakeQv::TearDown();
    }

    static void reset() {
        drawing() = DrawingState{};
        drawerState() = DrawerState{};
    }

    static Font& surfaceFont() {
        Font* font = drawing().font.get();
        if (font == nullptr)
            throw std::runtime_error("the surface has no font");
        return *font;
    }

    // The dots of the box that jGetPixel reads in the given colour.
    static Dots dotsOfColour(const Box& box, std::int32_t colour) {
        Dots out;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                if (jGetPixel(y, x) == colour)
                    out.insert({x, y});
            }
        }
        return out;
    }
};

} // namespace qv::test
