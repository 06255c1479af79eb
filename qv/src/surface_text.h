#pragma once
// Callers' Big5 texts on the drawing surface, with its current font.

#include "text_render.h"

namespace qv {

// Draws text with its top-left corner at (x, y); false when there is no
// surface, no font or no text.
bool drawSurfaceText(int x, int y, const char* text);

// The extent of text in the surface's font; 0 x 0 without a font or text.
TextExtent measureSurfaceText(const char* text);

} // namespace qv
