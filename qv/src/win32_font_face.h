#pragma once
// On Windows a font's face is a GDI font selected into a memory device
// context (defined in win32_font.cpp); the face type of font.h names it.

namespace qv {
struct GdiFace;
} // namespace qv

using FT_Face = qv::GdiFace*;
using FT_Library = void*;
