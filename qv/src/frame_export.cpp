// The three-dimensional frame drawn on the screen.

#include "screen_canvas.h"

#include "qv.h"

using namespace qv;

int32_t DrawBottom(int32_t top, int32_t left, int32_t bottom, int32_t right,
                   int32_t style) noexcept {
    EdgeStyle edge = style == 1 ? EdgeStyle::SunkenInner : EdgeStyle::Raised;
    return drawScreenFrame(left, top, right, bottom, edge) ? 1 : 0;
}
