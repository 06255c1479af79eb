#pragma once
// The Windows build draws its glyphs with GDI, not FreeType. The font's
// interface names its face with FreeType's types; here they stand for the
// GDI face record (win32_font_face.h).

#define FT_FREETYPE_H "win32_font_face.h"
