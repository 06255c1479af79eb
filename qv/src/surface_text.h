#pragma once
// Callers' Big5 texts on the drawing surface, with its current font.

#include "text_render.h"

#include <optional>

namespace qv {

// Draws text with its top-left corner at (x, y) and gives its extent, so
// callers need not measure it again; empty when there is no surface, no font
// or no text, or the platform refused.
std::optional<TextExtent> drawSurfaceText(int x, int y, const char* text);

// The extent of text in the surface's font; 0 x 0 without a font or text.
TextExtent measureSurfaceText(const char* text);

} // namespace qv
