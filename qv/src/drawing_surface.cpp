#include "drawing_surface.h"

namespace qv {
namespace {

std::int32_t inkColour(SurfaceKind kind) {
    return kind == SurfaceKind::Screen ? kBlue : kWhite;
}

std::int32_t paperColour(SurfaceKind kind) {
    return kind == SurfaceKind::Screen ? kWhite : kBlack;
}

} // namespace

DrawingState& drawing() {
    static DrawingState instance;
    return instance;
}

MonoPicture& screenPicture() {
    DrawingState& d = drawing();
    if (!d.screen)
        d.screen = std::make_unique<MonoPicture>();
    return *d.screen;
}

MonoPicture* surfacePicture() {
    DrawingState& d = drawing();
    if (!d.DrawDcReady)
        return nullptr;
    return d.kind == SurfaceKind::Screen ? &screenPicture() : d.picture.get();
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
    const MonoPicture* picture = surfacePicture();
    if (picture == nullptr || !MonoPicture::contains(x, y))
        return kNoColour;
    std::int32_t colour = picture->dot(x, y) ? inkColour(d.kind) : paperColour(d.kind);
    d.LastRgb = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    return colour;
}

} // namespace qv
