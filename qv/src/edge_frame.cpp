#include "edge_frame.h"

#include <algorithm>
#include <cstdint>

namespace qv {
namespace {

using Coord = std::int64_t;

struct Ring {
    Coord left, top, right, bottom; // inclusive corners
};

void paint(MonoPicture& picture, Coord x, Coord y, bool shadow) {
    if (x < 0 || x >= kPictureWidth || y < 0 || y >= kPictureHeight)
        return;
    if (shadow)
        picture.setDot(static_cast<int>(x), static_cast<int>(y));
    else
        picture.clearDot(static_cast<int>(x), static_cast<int>(y));
}

void horizontal(MonoPicture& picture, Coord y, Coord x0, Coord x1, bool shadow) {
    for (Coord x = std::max<Coord>(x0, 0); x <= std::min<Coord>(x1, kPictureWidth - 1); ++x)
        paint(picture, x, y, shadow);
}

void vertical(MonoPicture& picture, Coord x, Coord y0, Coord y1, bool shadow) {
    for (Coord y = std::max<Coord>(y0, 0); y <= std::min<Coord>(y1, kPictureHeight - 1); ++y)
        paint(picture, x, y, shadow);
}

void drawRing(MonoPicture& picture, const Ring& r, bool topLeftShadow) {
    if (r.left > r.right || r.top > r.bottom)
        return;
    horizontal(picture, r.top, r.left, r.right, topLeftShadow);
    vertical(picture, r.left, r.top, r.bottom, topLeftShadow);
    horizontal(picture, r.bottom, r.left, r.right, !topLeftShadow);
    vertical(picture, r.right, r.top, r.bottom, !topLeftShadow);
}

} // namespace

bool drawEdgeFrame(MonoPicture& picture, int left, int top, int right, int bottom,
                   EdgeStyle style) {
    if (right <= left || bottom <= top)
        return false;
    Ring outer{left, top, Coord{right} - 1, Coord{bottom} - 1};
    if (style == EdgeStyle::SunkenInner) {
        drawRing(picture, outer, true);
        return true;
    }
    drawRing(picture, outer, false);
    drawRing(picture, {outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1}, false);
    return true;
}

} // namespace qv
