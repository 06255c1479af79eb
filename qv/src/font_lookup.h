#pragma once
// Finding font files through fontconfig, and the process's FreeType library.
//
// Texts arrive in Big5, so every lookup asks for faces that cover Traditional
// Chinese (zh-tw) next to the family name: a family fontconfig knows wins by
// its name, an unknown name falls back to a face that can show the text.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <optional>
#include <string>
#include <string_view>

namespace qv {

struct FaceFile {
    std::string path;
    int index = 0;         // face index inside a font collection
    bool embolden = false; // the weight asked for needs synthetic emboldening
};

// The FreeType library, started on first use and kept for the life of the
// process; nullptr when it cannot start.
FT_Library freeTypeLibrary();

// The best face for a family name at a weight (100 to 900, 400 normal);
// empty when fontconfig offers no face at all.
std::optional<FaceFile> findFace(std::string_view family, int weight);

// A face that covers Traditional Chinese, used for characters a named face
// lacks; empty when none is installed.
std::optional<FaceFile> findChineseFace(int weight);

} // namespace qv
