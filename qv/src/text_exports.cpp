// Text on the drawing surface and pixels read back from it.

#include "drawing_surface.h"
#include "state.h"
#include "surface_text.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr int32_t kNoSurface = 9;

// Weights outside 200 to 900 become normal (400).
int32_t usableWeight(int32_t weight) {
    return weight < 200 || weight > 900 ? 400 : weight;
}

std::unique_ptr<Font> makeFont(int32_t height, int32_t weight, const char* face, bool screen) {
    return Font::create({height, 0, usableWeight(weight), face != nullptr ? face : "", screen});
}

bool needsNewSurface(int32_t reinit) {
    return !drawing().DrawDcReady || reinit == 1;
}

} // namespace

int32_t jSetFont(int32_t y, int32_t x, int32_t weight, int32_t height, const char* face,
                 const char* text, int32_t reinit) noexcept {
    if (needsNewSurface(reinit))
        makeScreenSurface(makeFont(height, weight, face, true));
    drawSurfaceText(x, y, text);
    return reinit;
}

int32_t jSetFontN(int32_t y, int32_t x, int32_t weight, int32_t height, const char* face,
                  const char* text, int32_t reinit) noexcept {
    if (needsNewSurface(reinit)) {
        makeMemorySurface();
        replaceFontAndPicture(makeFont(height, weight, face, false));
    }
    const auto drawn = drawSurfaceText(x, y, text);
    const TextExtent extent = drawn ? *drawn : measureSurfaceText(text);
    statusBuffer()[0] = static_cast<std::uint8_t>(extent.width & 0xFF);
    statusBuffer()[1] = static_cast<std::uint8_t>(extent.height & 0xFF);
    return extent.width;
}

int32_t JTextOut(int32_t y, int32_t x, const char* text) noexcept {
    if (!drawing().DrawDcReady)
        return kNoSurface;
    return drawSurfaceText(x, y, text).has_value() ? 1 : 0;
}

int32_t jGetPixel(int32_t y, int32_t x) noexcept {
    return readSurfacePixel(x, y);
}

int32_t JGetRgb(int32_t k) noexcept {
    const Rgb& rgb = drawing().LastRgb;
    switch (k) {
    case 1:
        return rgb.red;
    case 2:
        return rgb.green;
    case 3:
        return rgb.blue;
    default:
        return -1;
    }
}
