// Text on the drawing surface: the surface rules (made once, remade with
// reinit 1, later calls only draw), weights, colours, and the dots read back
// compared with FreeType's own rendering.

#include "drawing_fixture.h"

#include <functional>
#include <string>

namespace qv::test {
namespace {

using TextDrawing = DrawingQv;

const Box kWholePicture{0, 0, kPictureWidth, kPictureHeight};

// The dots of the box around a text drawn at (x, y) with the surface font.
Box boxAround(int x, int y, int width, int height) {
    return {x - 16, y - 16, x + width + 16, y + height + 16};
}

TEST_F(TextDrawing, WeightsOutside200To900BecomeNormal) {
    struct Case {
        int32_t weight;
        int expected;
    };
    const Case cases[] = {{1000, 400}, {901, 400}, {900, 900},  {700, 700}, {200, 200},
                          {199, 400},  {0, 400},   {-700, 400}, {400, 400}};
    using SetFont = std::function<int32_t(int32_t)>;
    const std::pair<const char*, SetFont> exports[] = {
        {"jSetFont", [](int32_t w) { return jSetFont(10, 20, w, 24, kLatinFace, "A", 1); }},
        {"jSetFontN", [](int32_t w) { return jSetFontN(10, 20, w, 24, kLatinFace, "A", 1); }},
    };
    for (const auto& [name, setFont] : exports) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " weight " + std::to_string(c.weight));
            setFont(c.weight);
            EXPECT_EQ(surfaceFont().request().weight, c.expected);
        }
    }
}

TEST_F(TextDrawing, FirstCallMakesTheSurfaceWithoutReinit) {
    EXPECT_EQ(jSetFont(10, 20, 1000, 24, kChineseFace, "H", 0), 0);
    ASSERT_TRUE(drawing().DrawDcReady);
    EXPECT_EQ(drawing().kind, SurfaceKind::Screen);
    EXPECT_EQ(surfaceFont().request().weight, 400);
    EXPECT_EQ(surfaceFont().request().height, 24);
    EXPECT_EQ(surfaceFont().request().face, kChineseFace);
}

TEST_F(TextDrawing, LaterCallsOnlyDrawWithTheFirstFont) {
    ASSERT_EQ(jSetFont(10, 20, 400, 24, kChineseFace, "H", 0), 0);
    const Font* first = drawing().font.get();
    const int cell = surfaceFont().cellHeight();
    const Dots firstDots = dotsOfColour(boxAround(20, 10, 40, cell), kBlue);
    ASSERT_FALSE(firstDots.empty());

    for (int32_t reinit : {0, 2, -1}) {
        SCOPED_TRACE(reinit);
        EXPECT_EQ(jSetFont(200, 300, 900, 60, kLatinFace, "H", reinit), reinit);
        EXPECT_EQ(drawing().font.get(), first);
        EXPECT_EQ(surfaceFont().request().height, 24);
    }
    // The later "H" has the first one's dots, moved.
    Dots moved;
    for (auto [x, y] : firstDots)
        moved.insert({x + 280, y + 190});
    EXPECT_EQ(dotsOfColour(boxAround(300, 200, 40, cell), kBlue), moved);
}

TEST_F(TextDrawing, ReinitOneMakesANewSurfaceAndFont) {
    jSetFontN(10, 20, 400, 24, kLatinFace, "A", 1);
    const int32_t width = jSetFontN(10, 20, 400, 40, kLatinFace, "A", 1);
    EXPECT_EQ(width, surfaceFont().advance(U'A'));
    EXPECT_EQ(surfaceFont().request().height, 40);
    // The allocator may hand the new picture the old one's address, so only
    // its presence is checked here; the released picture shows under LSan.
    EXPECT_NE(drawing().picture.get(), nullptr);

    EXPECT_EQ(jSetFont(10, 20, 400, 30, kLatinFace, "A", 1), 1);
    EXPECT_EQ(drawing().kind, SurfaceKind::Screen);
    EXPECT_EQ(drawing().picture, nullptr); // the memory picture was released
    EXPECT_EQ(surfaceFont().request().height, 30);
}

TEST_F(TextDrawing, NothingIsDrawnOrReadBeforeASurfaceExists) {
    EXPECT_EQ(JTextOut(10, 10, "A"), 9);
    drawing().LastRgb = {1, 2, 3};
    EXPECT_EQ(jGetPixel(10, 10), -9);
    for (int32_t k : {1, 2, 3})
        EXPECT_EQ(JGetRgb(k), -1) << k;
    EXPECT_FALSE(drawing().DrawDcReady);
}

TEST_F(TextDrawing, TextOutDrawsOnTheSurfaceWithItsFont) {
    jSetFontN(0, 0, 400, 24, kChineseFace, "", 1);
    EXPECT_NE(JTextOut(100, 50, "H"), 0);
    FT_Face face = surfaceFont().face();
    Dots expected = freeTypeDots(face, U'H', 50, 100 + freeTypeAscent(face));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(dotsOfColour(boxAround(50, 100, 40, 30), kWhite), expected);
    EXPECT_EQ(JTextOut(100, 50, nullptr), 0);
}

TEST_F(TextDrawing, GlyphDotsAreFreeTypesRendering) {
    struct Case {
        const char* face;
        const char* text; // Big5
        char32_t character;
        int32_t height;
    };
    const Case cases[] = {
        {kChineseFace, "H", U'H', 24},
        {kChineseFace, kBig5Zhong, kZhong, 32},
        {kLatinFace, "g", U'g', 30},
        {kLatinFace, kBig5Zhong, kZhong, 20},
        {"No Such Face", kBig5Zhong, kZhong, 18},
        {kChineseFace, "\xA4\xE5", U'\u6587', -16},
    };
    const int x = 120;
    const int y = 70;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
        jSetFontN(y, x, 400, c.height, c.face, c.text, 1);
        Font& font = surfaceFont();
        FT_Face face = font.faceFor(c.character);
        ASSERT_NE(FT_Get_Char_Index(face, c.character), 0U);
        Dots expected = freeTypeDots(face, c.character, x, y + freeTypeAscent(font.face()));
        ASSERT_FALSE(expected.empty());
        Box box = boxAround(x, y, freeTypeAdvance(face, c.character), font.cellHeight());
        EXPECT_EQ(dotsOfColour(box, kWhite), expected);
        EXPECT_EQ(dotsOfColour(kWholePicture, kWhite).size(), expected.size());
    }
}

TEST_F(TextDrawing, SetFontNMeasuresWithFreeTypesAdvances) {
    const std::string text = "Receipt No. 12345 \xA4\xA4\xA4\xE5";
    const std::u32string chars = U"Receipt No. 12345 \u4E2D\u6587";
    const int32_t width = jSetFontN(5, 5, 400, 28, kLatinFace, text.c_str(), 1);
    Font& font = surfaceFont();
    int expected = 0;
    for (char32_t c : chars)
        expected += freeTypeAdvance(font.faceFor(c), c);
    EXPECT_EQ(width, expected);
    ASSERT_GT(width, 255); // so that the status byte is the low byte only
    EXPECT_EQ(GetQvStaNum(0), width & 0xFF);
    EXPECT_EQ(GetQvStaNum(1), freeTypeAscent(font.face()) + freeTypeDescent(font.face()));
}

TEST_F(TextDrawing, SurfacesHaveTheirColours) {
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::int32_t ink, paper;
        Rgb inkRgb;
    };
    const Case cases[] = {
        {"screen: blue on white",
         [] { jSetFont(40, 40, 400, 24, kLatinFace, "I", 1); },
         kBlue,
         kWhite,
         {0, 0, 255}},
        {"memory: white on black",
         [] { jSetFontN(40, 40, 400, 24, kLatinFace, "I", 1); },
         kWhite,
         kBlack,
         {255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        c.draw();
        Dots ink = dotsOfColour(boxAround(40, 40, 20, 30), c.ink);
        ASSERT_FALSE(ink.empty());
        Dots paper = dotsOfColour(boxAround(40, 40, 20, 30), c.paper);
        EXPECT_FALSE(paper.empty());
        auto [x, y] = *ink.begin();
        EXPECT_EQ(jGetPixel(y, x), c.ink);
        EXPECT_EQ(JGetRgb(1), c.inkRgb.red);
        EXPECT_EQ(JGetRgb(2), c.inkRgb.green);
        EXPECT_EQ(JGetRgb(3), c.inkRgb.blue);
        EXPECT_EQ(JGetRgb(4), -1);
        EXPECT_EQ(JGetRgb(0), -1);
    }
}

TEST_F(TextDrawing, PixelsOutsideThePictureCannotBeRead) {
    jSetFontN(0, 0, 400, 24, kLatinFace, "", 1);
    const std::pair<int32_t, int32_t> outside[] = {
        {-1, 0}, {0, -1}, {600, 0}, {0, 800}, {INT32_MIN, INT32_MAX}};
    for (auto [y, x] : outside) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        jGetPixel(0, 0);
        EXPECT_EQ(jGetPixel(y, x), -9);
        EXPECT_EQ(JGetRgb(1), -1);
        EXPECT_EQ(JGetRgb(2), -1);
        EXPECT_EQ(JGetRgb(3), -1);
    }
    EXPECT_EQ(jGetPixel(599, 799), kBlack);
}

TEST_F(TextDrawing, TextIsClippedToThePicture) {
    jSetFontN(0, 0, 400, 40, kLatinFace, "", 1);
    const std::pair<int32_t, int32_t> places[] = {
        {590, 790}, {-20, -10}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}, {300, -100000}};
    for (auto [y, x] : places) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_NE(JTextOut(y, x, "WWWW"), 0);
    }
    // Only the corners that reach the picture have dots.
    EXPECT_FALSE(dotsOfColour({780, 580, 800, 600}, kWhite).empty());
    EXPECT_FALSE(dotsOfColour({0, 0, 30, 30}, kWhite).empty());
    EXPECT_TRUE(dotsOfColour({100, 100, 700, 500}, kWhite).empty());
}

TEST_F(TextDrawing, TextPaintsItsCellBackground) {
    jSetFontN(50, 50, 400, 30, kLatinFace, "MMMM", 1);
    ASSERT_FALSE(dotsOfColour({50, 50, 150, 80}, kWhite).empty());
    const std::string blanks(20, ' '); // wider than the four letters
    EXPECT_NE(JTextOut(50, 50, blanks.c_str()), 0);
    EXPECT_TRUE(dotsOfColour(kWholePicture, kWhite).empty());
}

} // namespace
} // namespace qv::test
