// Fonts on Windows: GDI fonts made from the caller's request the way the
// platform's own font creation reads it (a cell or an em height, an average
// width, a weight, a face name; Traditional Chinese preferred for names the
// system does not know), with each glyph rendered one bit a dot by GDI.

#include "font.h"
#include "win32_gdi_face.h"

#include <algorithm>
#include <cstdlib>

namespace qv {
namespace {

constexpr UINT kBig5 = 950;
const MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

int limited(int size) {
    return std::clamp(size, -kMaxFontPixels, kMaxFontPixels);
}

// The face name is Big5 like every text the callers give.
std::wstring faceName(const std::string& big5) {
    wchar_t wide[LF_FACESIZE] = {};
    int n = MultiByteToWideChar(kBig5, 0, big5.c_str(), static_cast<int>(big5.size()), wide,
                                LF_FACESIZE - 1);
    return std::wstring(wide, static_cast<std::size_t>(std::max(n, 0)));
}

HFONT makeFont(const FontRequest& request) {
    int height = request.height == 0 ? kDefaultCellHeight : limited(request.height);
    int width = std::abs(limited(request.width));
    std::wstring face = faceName(request.face);
    // Glyphs rendered one bit a dot are asked for in Traditional Chinese;
    // the screen's text is drawn as the platform draws any text.
    const DWORD charset = request.screen ? DEFAULT_CHARSET : CHINESEBIG5_CHARSET;
    const DWORD quality = request.screen ? DEFAULT_QUALITY : NONANTIALIASED_QUALITY;
    return CreateFontW(height, width, 0, 0, request.weight, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH,
                       face.c_str());
}

// GDI takes one UTF-16 unit; characters beyond it are drawn as '?'.
UINT glyphCode(char32_t c) {
    return c <= 0xFFFF ? static_cast<UINT>(c) : static_cast<UINT>(U'?');
}

} // namespace

std::unique_ptr<Font> Font::create(const FontRequest& request) {
    auto face = std::make_unique<GdiFace>();
    face->font = makeFont(request);
    face->dc = CreateCompatibleDC(nullptr);
    if (face->font == nullptr || face->dc == nullptr) {
        if (face->font != nullptr)
            DeleteObject(face->font);
        if (face->dc != nullptr)
            DeleteDC(face->dc);
        return nullptr;
    }
    face->previous = SelectObject(face->dc, face->font);
    TEXTMETRICW metrics{};
    std::unique_ptr<Font> font(new Font);
    font->m_request = request;
    font->m_face = face.release();
    if (GetTextMetricsW(font->m_face->dc, &metrics) == FALSE)
        return nullptr;
    font->m_ascent = metrics.tmAscent;
    font->m_descent = metrics.tmDescent;
    return font;
}

Font::~Font() {
    if (m_face == nullptr)
        return;
    SelectObject(m_face->dc, m_face->previous);
    DeleteObject(m_face->font);
    DeleteDC(m_face->dc);
    delete m_face;
}

FT_Face Font::faceFor(char32_t) {
    return m_face; // a character the face lacks is its missing-character glyph
}

int Font::advance(char32_t c) {
    GLYPHMETRICS metrics{};
    if (GetGlyphOutlineW(m_face->dc, glyphCode(c), GGO_METRICS, &metrics, 0, nullptr, &kIdentity) ==
        GDI_ERROR)
        return 0;
    return metrics.gmCellIncX;
}

bool Font::render(char32_t c, GlyphDots& out) {
    out = GlyphDots{};
    GLYPHMETRICS metrics{};
    UINT code = glyphCode(c);
    DWORD size = GetGlyphOutlineW(m_face->dc, code, GGO_BITMAP, &metrics, 0, nullptr, &kIdentity);
    if (size == GDI_ERROR)
        return false;
    out.advance = metrics.gmCellIncX;
    if (size == 0)
        return true; // a blank glyph: only its advance
    m_face->dots.assign(size, 0);
    if (GetGlyphOutlineW(m_face->dc, code, GGO_BITMAP, &metrics, size, m_face->dots.data(),
                         &kIdentity) == GDI_ERROR)
        return false;
    // Rows top first, one bit a dot, each row padded to a multiple of 4 bytes.
    out.left = metrics.gmptGlyphOrigin.x;
    out.top = metrics.gmptGlyphOrigin.y;
    out.width = static_cast<int>(metrics.gmBlackBoxX);
    out.rows = static_cast<int>(metrics.gmBlackBoxY);
    out.pitch = static_cast<int>((metrics.gmBlackBoxX + 31) / 32 * 4);
    out.topRow = m_face->dots.data();
    return true;
}

} // namespace qv
