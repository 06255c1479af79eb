#pragma once
// Three-dimensional frames drawn on a monochrome picture: the sides in shadow
// are set, the lit sides cleared.

#include "mono_picture.h"

namespace qv {

enum class EdgeStyle {
    SunkenInner, // one ring: top and left in shadow, bottom and right lit
    Raised,      // two rings, each with top and left lit, bottom and right in shadow
};

// Draws the frame on the border of the rectangle [left, right) x [top,
// bottom); false (nothing drawn) when the rectangle is empty.
bool drawEdgeFrame(MonoPicture& picture, int left, int top, int right, int bottom, EdgeStyle style);

} // namespace qv
