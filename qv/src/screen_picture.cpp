// The screen where there is none to draw on: the library's own picture.

#include "screen_canvas.h"

#include "big5_text.h"

namespace qv {
namespace {

MonoPicture& screenPicture() {
    DrawingState& d = drawing();
    if (!d.screen)
        d.screen = std::make_unique<MonoPicture>();
    return *d.screen;
}

} // namespace

std::optional<TextExtent> drawScreenText(Font& font, int x, int y, const char* text) {
    return drawText(screenPicture(), font, x, y, decodeBig5(text));
}

bool drawScreenFrame(int left, int top, int right, int bottom, EdgeStyle style) {
    return drawEdgeFrame(screenPicture(), left, top, right, bottom, style);
}

std::int32_t screenPixel(int x, int y) {
    if (!MonoPicture::contains(x, y))
        return kNoColour;
    return screenPicture().dot(x, y) ? kBlue : kWhite;
}

} // namespace qv
