#pragma once
// A font made the way the callers ask for one: a face name, a height, an
// average character width and a weight. It holds the face found for the name
// and, opened when first needed, a Chinese face for characters the named face
// lacks. Glyphs are rendered one bit a dot.

#include "font_lookup.h"

#include <memory>
#include <string>

namespace qv {

// Sizes are in pixels. height > 0: the height of the character cell (ascent
// plus descent); height < 0: the height of the em; 0: a cell of 16. width > 0:
// the average character width; 0: in proportion to the height; < 0 as > 0.
// Sizes are limited to kMaxFontPixels. weight: 100 (thin) to 900 (heavy).
struct FontRequest {
    int height = 0;
    int width = 0;
    int weight = 400;
    std::string face;
    // For text drawn on the whole screen: where the platform draws it itself,
    // with its default character set and quality instead of one bit a dot.
    bool screen = false;
};

inline constexpr int kDefaultCellHeight = 16;
inline constexpr int kMaxFontPixels = 1024;

// One rendered glyph, placed relative to the pen on the baseline. Row r of
// its dots starts at topRow + r * pitch (most significant bit leftmost).
struct GlyphDots {
    int left = 0; // from the pen to the first column
    int top = 0;  // from the baseline up to the first row
    int width = 0;
    int rows = 0;
    int advance = 0; // pen movement in whole pixels
    const unsigned char* topRow = nullptr;
    int pitch = 0;
    bool gray = false; // 8 bits a dot, lit from 128 up, instead of 1 bit a dot

    bool dot(int column, int row) const;
};

class Font {
public:
    // nullptr when no face can be found or loaded.
    static std::unique_ptr<Font> create(const FontRequest& request);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontRequest& request() const { return m_request; }
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    int cellHeight() const { return m_ascent + m_descent; }
    // The face found for the requested name.
    FT_Face face() const { return m_face; }
    // The face that draws c: the named face, or the Chinese face when only it has c.
    FT_Face faceFor(char32_t c);

    // Horizontal pen movement for c, in whole pixels.
    int advance(char32_t c);
    // Renders c; the dots stay valid until the next call on this font.
    bool render(char32_t c, GlyphDots& out);

private:
    Font() = default;
    bool openFace(const FaceFile& file, FT_Face& face, bool& embolden);
    bool load(char32_t c, FT_Face& face);

    FontRequest m_request;
    FaceFile m_file; // where m_face came from
    FT_Face m_face = nullptr;
    bool m_embolden = false;
    FT_Face m_fallback = nullptr;
    bool m_fallbackEmbolden = false;
    bool m_fallbackTried = false;
    int m_ascent = 0;
    int m_descent = 0;
};

} // namespace qv
