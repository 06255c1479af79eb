#pragma once
// The whole screen, as jSetFont, JTextOut, jGetPixel and DrawBottom draw on
// it. On Windows that is the desktop's device context (win32_screen_canvas.cpp).
// Where no window system lets a library draw over the whole screen (the POSIX
// build, screen_picture.cpp) it is the library's own 800 x 600 monochrome
// picture, kept in DrawingState::screen: set dots read as blue, clear dots as
// white. Text and pixels are limited to (0, 0)-(800, 600) on both.

#include "drawing_surface.h"
#include "edge_frame.h"
#include "text_render.h"

#include <cstdint>
#include <optional>

namespace qv {

// Draws Big5 text with its cell's top-left corner at (x, y) in font, blue on
// the cell's white background. The text's extent; empty when the platform
// refused.
std::optional<TextExtent> drawScreenText(Font& font, int x, int y, const char* text);

// Draws a three-dimensional frame on the border of the rectangle [left,
// right) x [top, bottom); false when the platform drew nothing.
bool drawScreenFrame(int left, int top, int right, int bottom, EdgeStyle style);

// The colour of the screen's pixel at (x, y); kNoColour outside (0, 0)-(800,
// 600) or when the platform cannot read it.
std::int32_t screenPixel(int x, int y);

} // namespace qv
