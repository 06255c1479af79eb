#include "surface_text.h"

#include "big5_text.h"
#include "drawing_surface.h"

namespace qv {

std::optional<TextExtent> drawSurfaceText(int x, int y, const char* text) {
    MonoPicture* picture = surfacePicture();
    Font* font = drawing().font.get();
    if (picture == nullptr || font == nullptr || text == nullptr)
        return std::nullopt;
    return drawText(*picture, *font, x, y, decodeBig5(text));
}

TextExtent measureSurfaceText(const char* text) {
    Font* font = drawing().font.get();
    if (font == nullptr || text == nullptr)
        return {};
    return measureText(*font, decodeBig5(text));
}

} // namespace qv
