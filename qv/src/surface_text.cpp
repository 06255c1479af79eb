#include "surface_text.h"

#include "big5_text.h"
#include "drawing_surface.h"
#include "screen_canvas.h"

namespace qv {

std::optional<TextExtent> drawSurfaceText(int x, int y, const char* text) {
    DrawingState& d = drawing();
    Font* font = d.font.get();
    if (!d.DrawDcReady || font == nullptr || text == nullptr)
        return std::nullopt;
    if (d.kind == SurfaceKind::Screen)
        return drawScreenText(*font, x, y, text);
    if (d.picture == nullptr)
        return std::nullopt;
    return drawText(*d.picture, *font, x, y, decodeBig5(text));
}

TextExtent measureSurfaceText(const char* text) {
    Font* font = drawing().font.get();
    if (font == nullptr || text == nullptr)
        return {};
    return measureText(*font, decodeBig5(text));
}

} // namespace qv
