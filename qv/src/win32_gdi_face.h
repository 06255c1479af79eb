#pragma once
// A font's face on Windows: its GDI font, selected into a memory device
// context for measuring and rendering glyphs. The screen's drawing selects
// the same GDI font into the screen's context.

#include "win32_font_face.h"

#include <vector>
#include <windows.h>

namespace qv {

struct GdiFace {
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previous = nullptr;
    std::vector<unsigned char> dots; // the last rendered glyph
};

} // namespace qv
