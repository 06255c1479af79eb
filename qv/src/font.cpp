#include "font.h"

#include "font_size.h"

#include FT_SYNTHESIS_H

#include <cmath>

namespace qv {
namespace {

constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO;

int wholePixelsUp(FT_Pos value26) {
    return value26 <= 0 ? 0 : static_cast<int>((value26 + 63) / 64);
}

bool sameFile(const FaceFile& a, const FaceFile& b) {
    return a.path == b.path && a.index == b.index;
}

} // namespace

std::unique_ptr<Font> Font::create(const FontRequest& request) {
    if (freeTypeLibrary() == nullptr)
        return nullptr;
    std::unique_ptr<Font> font(new Font);
    font->m_request = request;
    auto file = findFace(request.face, request.weight);
    if (!file || !font->openFace(*file, font->m_face, font->m_embolden)) {
        // The named face cannot be opened: the Chinese face draws everything.
        font->m_fallbackTried = true;
        auto chinese = findChineseFace(request.weight);
        if (!chinese || !font->openFace(*chinese, font->m_face, font->m_embolden))
            return nullptr;
        file = chinese;
    }
    font->m_file = *file;
    const FT_Size_Metrics& metrics = font->m_face->size->metrics;
    font->m_ascent = wholePixelsUp(metrics.ascender);
    font->m_descent = wholePixelsUp(-metrics.descender);
    return font;
}

Font::~Font() {
    if (m_fallback != nullptr)
        FT_Done_Face(m_fallback);
    if (m_face != nullptr)
        FT_Done_Face(m_face);
}

bool Font::openFace(const FaceFile& file, FT_Face& face, bool& embolden) {
    FT_Face opened = nullptr;
    if (FT_New_Face(freeTypeLibrary(), file.path.c_str(), file.index, &opened) != 0)
        return false;
    if (!setFaceSize(opened, m_request.height, m_request.width)) {
        FT_Done_Face(opened);
        return false;
    }
    face = opened;
    embolden = file.embolden;
    return true;
}

FT_Face Font::faceFor(char32_t c) {
    if (FT_Get_Char_Index(m_face, c) != 0)
        return m_face;
    if (!m_fallbackTried) {
        m_fallbackTried = true;
        auto chinese = findChineseFace(m_request.weight);
        if (chinese && !sameFile(*chinese, m_file))
            openFace(*chinese, m_fallback, m_fallbackEmbolden);
    }
    if (m_fallback != nullptr && FT_Get_Char_Index(m_fallback, c) != 0)
        return m_fallback;
    return m_face; // draws the face's "missing character" glyph
}

bool Font::load(char32_t c, FT_Face& face) {
    face = faceFor(c);
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, c), kLoadFlags) != 0)
        return false;
    if (face == m_fallback ? m_fallbackEmbolden : m_embolden)
        FT_GlyphSlot_Embolden(face->glyph);
    return true;
}

int Font::advance(char32_t c) {
    FT_Face face = nullptr;
    if (!load(c, face))
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(face->glyph->advance.x) / 64.0));
}

bool Font::render(char32_t c, GlyphDots& out) {
    out = GlyphDots{};
    FT_Face face = nullptr;
    if (!load(c, face))
        return false;
    FT_GlyphSlot slot = face->glyph;
    out.advance = static_cast<int>(std::lround(static_cast<double>(slot->advance.x) / 64.0));
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return true; // a colour glyph: no dots to draw, only its advance
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bitmap.width);
    out.rows = static_cast<int>(bitmap.rows);
    out.pitch = bitmap.pitch;
    out.gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    out.topRow = bitmap.buffer;
    // An upward-flowing bitmap stores its top row last.
    if (bitmap.pitch < 0 && out.rows > 0)
        out.topRow -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (out.rows - 1);
    return true;
}

} // namespace qv
