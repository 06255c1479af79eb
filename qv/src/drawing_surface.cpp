#include "drawing_surface.h"

#include "screen_canvas.h"

namespace qv {
namespace {

// The colour of a memory surface's pixel: white text on black.
std::int32_t memoryPixel(const MonoPicture* picture, int x, int y) {
    if (picture == nullptr || !MonoPicture::contains(x, y))
        return kNoColour;
    return picture->dot(x, y) ? kWhite : kBlack;
}

} // namespace

DrawingState& drawing() {
    static DrawingState instance;
    return instance;
}

void makeScreenSurface(std::unique_ptr<Font> font) {
    DrawingState& d = drawing();
    d.DrawDcReady = true;
    d.kind = SurfaceKind::Screen;
    d.picture.reset();
    d.font = std::move(font);
}

void makeMemorySurface() {
    DrawingState& d = drawing();
    d.DrawDcReady = true;
    d.kind = SurfaceKind::Memory;
    d.picture.reset();
    d.font.reset();
}

void replaceFontAndPicture(std::unique_ptr<Font> font) {
    DrawingState& d = drawing();
    d.font = std::move(font);
    if (d.kind == SurfaceKind::Memory)
        d.picture = std::make_unique<MonoPicture>();
}

std::int32_t readSurfacePixel(int x, int y) {
    DrawingState& d = drawing();
    d.LastRgb = {-1, -1, -1};
    if (!d.DrawDcReady)
        return kNoColour;
    const std::int32_t colour =
        d.kind == SurfaceKind::Screen ? screenPixel(x, y) : memoryPixel(d.picture.get(), x, y);
    if (colour == kNoColour)
        return kNoColour;
    d.LastRgb = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    return colour;
}

} // namespace qv
