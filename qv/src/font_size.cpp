#include "font_size.h"

#include "font.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

unsigned clampPixels(double pixels) {
    long rounded = std::lround(pixels);
    return static_cast<unsigned>(std::clamp(rounded, 1L, static_cast<long>(kMaxFontPixels)));
}

int limited(int size) {
    // |INT32_MIN| does not fit an int; every size past the limit is the limit.
    return size < -kMaxFontPixels || size > kMaxFontPixels ? kMaxFontPixels : std::abs(size);
}

// Em height in pixels that gives the face a cell of the given height.
unsigned emForCell(FT_Face face, int cell) {
    double units = static_cast<double>(face->ascender) - static_cast<double>(face->descender);
    if (units <= 0)
        units = face->units_per_EM;
    return clampPixels(cell * static_cast<double>(face->units_per_EM) / units);
}

// Em width in pixels that gives the face the average character width asked.
unsigned emForAverageWidth(FT_Face face, int width) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double average =
        os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->units_per_EM / 2.0;
    return clampPixels(width * static_cast<double>(face->units_per_EM) / average);
}

bool selectNearestStrike(FT_Face face, int cell) {
    if (face->num_fixed_sizes <= 0)
        return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - cell) <
            std::abs(face->available_sizes[best].height - cell))
            best = i;
    }
    return FT_Select_Size(face, best) == 0;
}

} // namespace

bool setFaceSize(FT_Face face, int height, int width) {
    int cell = height == 0 ? kDefaultCellHeight : limited(height);
    if (!FT_IS_SCALABLE(face))
        return selectNearestStrike(face, cell);
    unsigned yPixels = height < 0 ? clampPixels(cell) : emForCell(face, cell);
    unsigned xPixels = width == 0 ? 0 : emForAverageWidth(face, limited(width));
    return FT_Set_Pixel_Sizes(face, xPixels, yPixels) == 0;
}

} // namespace qv
