// Fonts: lookup by face name with the Chinese fallback, the sizes a request
// gives, and weights.

#include "drawing_fixture.h"

#include "font.h"

#include FT_TRUETYPE_TABLES_H

#include <cstdlib>
#include <memory>

namespace qv::test {
namespace {

std::unique_ptr<Font> makeFont(int height, int width, int weight, const char* face) {
    auto font = Font::create({height, width, weight, face});
    if (!font)
        throw std::runtime_error("no font");
    return font;
}

bool covers(FT_Face face, char32_t c) {
    return FT_Get_Char_Index(face, c) != 0;
}

TEST(Font, KnownNamesGiveTheirFaceAndUnknownNamesAChineseFace) {
    struct Case {
        const char* face;
        const char* family; // the face's family, or nullptr for any Chinese face
    };
    const Case cases[] = {
        {kChineseFace, kChineseFace},
        {"ar pl uming tw", kChineseFace},
        {kLatinFace, kLatinFace},
        {"No Such Face Anywhere", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        auto font = makeFont(24, 0, 400, c.face);
        if (c.family != nullptr)
            EXPECT_STREQ(font->face()->family_name, c.family);
        else
            EXPECT_TRUE(covers(font->face(), kZhong)) << font->face()->family_name;
    }
}

TEST(Font, CharactersANamedFaceLacksComeFromAChineseFace) {
    auto font = makeFont(24, 0, 400, kLatinFace);
    ASSERT_FALSE(covers(font->face(), kZhong));
    EXPECT_EQ(font->faceFor(U'A'), font->face());
    FT_Face other = font->faceFor(kZhong);
    EXPECT_NE(other, font->face());
    EXPECT_TRUE(covers(other, kZhong));
}

TEST(Font, PositiveHeightIsTheCellHeight) {
    for (int height : {12, 16, 24, 33, 64}) {
        SCOPED_TRACE(height);
        for (const char* face : {kChineseFace, kLatinFace}) {
            auto font = makeFont(height, 0, 400, face);
            EXPECT_NEAR(font->cellHeight(), height, 1) << face;
            EXPECT_EQ(font->ascent(), freeTypeAscent(font->face()));
        }
    }
}

TEST(Font, NegativeHeightIsTheEmHeightAndZeroADefaultCell) {
    auto em = makeFont(-20, 0, 400, kLatinFace);
    EXPECT_EQ(em->face()->size->metrics.y_ppem, 20);
    auto byDefault = makeFont(0, 0, 400, kLatinFace);
    EXPECT_NEAR(byDefault->cellHeight(), kDefaultCellHeight, 1);
}

TEST(Font, SizesAreLimited) {
    for (int height : {100000, -100000, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(height);
        auto font = makeFont(height, height, 400, kLatinFace);
        EXPECT_LE(font->face()->size->metrics.y_ppem, kMaxFontPixels);
        EXPECT_LE(font->face()->size->metrics.x_ppem, kMaxFontPixels);
        EXPECT_GT(font->face()->size->metrics.y_ppem, 0);
    }
}

TEST(Font, WidthIsTheAverageCharacterWidth) {
    for (int width : {6, 10, 15}) {
        SCOPED_TRACE(width);
        auto font = makeFont(24, width, 400, kLatinFace);
        FT_Face face = font->face();
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        ASSERT_NE(os2, nullptr);
        double average = os2->xAvgCharWidth * static_cast<double>(face->size->metrics.x_ppem) /
                         face->units_per_EM;
        EXPECT_NEAR(average, width, 0.5);
    }
    auto proportional = makeFont(24, 0, 400, kLatinFace);
    EXPECT_EQ(proportional->face()->size->metrics.x_ppem,
              proportional->face()->size->metrics.y_ppem);
}

TEST(Font, BoldWeightsPickABoldFaceOrEmbolden) {
    auto regular = makeFont(24, 0, 400, kLatinFace);
    auto bold = makeFont(24, 0, 700, kLatinFace);
    EXPECT_EQ(regular->face()->style_flags & FT_STYLE_FLAG_BOLD, 0);
    EXPECT_NE(bold->face()->style_flags & FT_STYLE_FLAG_BOLD, 0);

    // The Chinese face has a single weight: bold is made by emboldening.
    auto light = makeFont(24, 0, 400, kChineseFace);
    auto heavy = makeFont(24, 0, 700, kChineseFace);
    GlyphDots dots;
    auto lit = [&](Font& font) {
        int count = 0;
        EXPECT_TRUE(font.render(kZhong, dots));
        for (int r = 0; r < dots.rows; ++r) {
            for (int c = 0; c < dots.width; ++c)
                count += dots.dot(c, r) ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(lit(*heavy), lit(*light));
}

} // namespace
} // namespace qv::test
