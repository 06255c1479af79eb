#pragma once
// Sizing a FreeType face the way a font request gives its sizes (see
// FontRequest): a cell height or an em height, and an average character width.

#include <ft2build.h>
#include FT_FREETYPE_H

namespace qv {

// Sets the face's size; false when FreeType refuses every size.
bool setFaceSize(FT_Face face, int height, int width);

} // namespace qv
