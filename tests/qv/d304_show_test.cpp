// Text rendered for the graphic display: the header, the rows sent to the
// current port, the dot table and its limits.

#include "drawing_fixture.h"

#include <string>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class D304ShowTest : public DrawingQv {
protected:
    void SetUp() override {
        DrawingQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        com(1).events.clear();
    }

    // The text's extent in the font D304Show made, from FreeType.
    static std::pair<int, int> extentOf(const std::u32string& text) {
        Font& font = surfaceFont();
        int width = 0;
        for (char32_t c : text)
            width += freeTypeAdvance(font.faceFor(c), c);
        return {width, freeTypeAscent(font.face()) + freeTypeDescent(font.face())};
    }

    // DotTable row r as the picture's dots read it: bit k of byte j is the
    // dot (64 + 8j + k, 64 + r), for dots up to xEnd.
    static Bytes rowFromPicture(int r, int bytes, int xEnd) {
        Bytes row(static_cast<std::size_t>(bytes), 0);
        for (int x = 64; x <= xEnd && x < 64 + 8 * bytes; ++x) {
            if (jGetPixel(64 + r, x) == kWhite)
                row[static_cast<std::size_t>((x - 64) / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> ((x - 64) % 8));
        }
        return row;
    }
};

TEST_F(D304ShowTest, SendsHeaderAndRowsOfTheRenderedText) {
    struct Case {
        const char* text; // Big5
        std::u32string chars;
        int32_t charWidth, charHeight;
    };
    const Case cases[] = {
        {"12", U"12", 0, 16},
        {"\xA4\xA4\xA4\xE5", U"\u4E2D\u6587", 0, 24},
        {"Total $99", U"Total $99", 8, 20},
        {"H", U"H", 0, -30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        com(1).events.clear();
        int32_t result = D304Show(0x31, 0x32, c.charWidth, c.charHeight, kChineseFace, c.text, 1);
        auto [width, height] = extentOf(c.chars);
        const int w = width - 1;
        const int h = height - 1;
        const int n = w / 8 + (w % 8 != 0 ? 1 : 0);
        ASSERT_LE(n, 29);
        ASSERT_LE(h, 64);

        EXPECT_EQ(result, h);
        EXPECT_EQ(GetQvStaNum(0), w);
        EXPECT_EQ(GetQvStaNum(1), h);
        auto writes = com(1).writes();
        ASSERT_EQ(writes.size(), static_cast<std::size_t>(1 + h));
        EXPECT_EQ(writes[0], (Bytes{0x1B, 0x5A, 0x32, 0x31, static_cast<std::uint8_t>(n),
                                    static_cast<std::uint8_t>(h)}));
        for (int r = 0; r < h; ++r) {
            SCOPED_TRACE(r);
            Bytes fromPicture = rowFromPicture(r, 30, 64 + w);
            Bytes table(30);
            for (int j = 0; j < 30; ++j)
                table[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(GetD304(r, j));
            EXPECT_EQ(table, fromPicture);
            EXPECT_EQ(writes[static_cast<std::size_t>(1 + r)],
                      Bytes(fromPicture.begin(), fromPicture.begin() + n));
        }
    }
}

TEST_F(D304ShowTest, RenderedDotsAreFreeTypesGlyph) {
    D304Show(0, 0, 0, 24, kChineseFace, kBig5Zhong, 1);
    Font& font = surfaceFont();
    Dots expected = freeTypeDots(font.face(), kZhong, 64, 64 + freeTypeAscent(font.face()));
    Dots table;
    for (int r = 0; r < 64; ++r) {
        for (int j = 0; j < 30; ++j) {
            for (int k = 0; k < 8; ++k) {
                if ((GetD304(r, j) & (0x80 >> k)) != 0)
                    table.insert({64 + 8 * j + k, 64 + r});
            }
        }
    }
    // The table covers the text's cell less its last row.
    auto [width, height] = extentOf(U"\u4E2D");
    Dots inCell;
    for (const Dot& d : expected) {
        if (d.first < 64 + width && d.second < 64 + height - 1)
            inCell.insert(d);
    }
    ASSERT_FALSE(inCell.empty());
    EXPECT_EQ(table, inCell);
}

TEST_F(D304ShowTest, RowsAreCutTo29BytesAndTextTo64Rows) {
    const std::string wide(40, 'W');
    const int32_t rows = D304Show(1, 2, 0, 20, kLatinFace, wide.c_str(), 1);
    EXPECT_EQ(rows, extentOf(U"W").second - 1);
    ASSERT_GT(extentOf(std::u32string(40, U'W')).first, 234);
    auto writes = com(1).writes();
    ASSERT_GE(writes.size(), 2U);
    EXPECT_EQ(writes[0][4], 29);
    for (std::size_t i = 1; i < writes.size(); ++i)
        EXPECT_EQ(writes[i].size(), 29U) << i;
    // The table holds 30 bytes a row, and nothing past them.
    for (int r = 0; r < 71; ++r) {
        for (int j = 30; j < 48; ++j)
            ASSERT_EQ(GetD304(r, j), 0) << r << "," << j;
    }

    com(1).events.clear();
    EXPECT_EQ(D304Show(1, 2, 0, 100, kLatinFace, "|", 1), 64);
    writes = com(1).writes();
    ASSERT_EQ(writes.size(), 65U);
    EXPECT_EQ(writes[0][5], 64);
    EXPECT_EQ(GetQvStaNum(1), (extentOf(U"|").second - 1) & 0xFF);
    for (int r = 64; r < 71; ++r) {
        for (int j = 0; j < 48; ++j)
            ASSERT_EQ(GetD304(r, j), 0) << r << "," << j;
    }
}

TEST_F(D304ShowTest, GetD304AnswersZeroOutsideTheTable) {
    D304Show(0, 0, 0, 40, kLatinFace, "\xA1\xBD\xA1\xBD", 1); // two full blocks
    int lit = 0;
    for (int j = 0; j < 30; ++j)
        lit += GetD304(10, j);
    ASSERT_GT(lit, 0);
    const std::pair<int32_t, int32_t> outside[] = {{-1, 0}, {71, 0},        {0, -1},
                                                   {0, 48}, {INT32_MIN, 0}, {0, INT32_MAX}};
    for (auto [row, col] : outside)
        EXPECT_EQ(GetD304(row, col), 0) << row << "," << col;
}

TEST_F(D304ShowTest, ResultIsTheRowCountWhateverThePort) {
    struct Case {
        const char* name;
        int32_t port; // made CurPort with QVOpenPort
    };
    const Case cases[] = {{"closed port", 2}, {"port without a device", 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        com(2).present = false;
        QVOpenPort(c.port, "");
        ASSERT_EQ(state().CurPort, c.port);
        int32_t rows = D304Show(0, 0, 0, 16, kLatinFace, "8", 1);
        EXPECT_EQ(rows, extentOf(U"8").second - 1);
        EXPECT_GT(rows, 0);
    }
    EXPECT_TRUE(com(1).writes().empty());
    EXPECT_TRUE(com(2).writes().empty());
}

TEST_F(D304ShowTest, EveryCallMakesItsOwnFontAndPicture) {
    D304Show(0, 0, 0, 16, kLatinFace, "1", 0); // makes the surface
    const Font* firstFont = drawing().font.get();
    const MonoPicture* firstPicture = drawing().picture.get();
    ASSERT_NE(firstPicture, nullptr);
    EXPECT_EQ(surfaceFont().request().weight, 400);

    D304Show(0, 0, 0, 32, kLatinFace, "1", 0);
    EXPECT_EQ(surfaceFont().request().height, 32);
    EXPECT_NE(drawing().font.get(), firstFont);
    EXPECT_NE(drawing().picture.get(), firstPicture);

    // Text drawn afterwards uses D304Show's font on its picture.
    EXPECT_NE(JTextOut(300, 300, "1"), 0);
    EXPECT_FALSE(dotsOfColour({300, 300, 340, 340}, kWhite).empty());
}

TEST_F(D304ShowTest, RendersOffScreenEvenAfterTheScreenWasTheSurface) {
    jSetFont(64, 64, 400, 24, kLatinFace, "X", 1);
    const Dots onScreen = dotsOfColour({60, 60, 100, 100}, kBlue);
    ASSERT_FALSE(onScreen.empty());
    D304Show(0, 0, 0, 24, kLatinFace, "X", 0);
    EXPECT_EQ(drawing().kind, SurfaceKind::Memory);
    EXPECT_NE(GetD304(10, 0) | GetD304(10, 1), 0);
    // The screen keeps what was drawn on it.
    jSetFont(0, 0, 400, 24, kLatinFace, "", 1);
    EXPECT_EQ(dotsOfColour({60, 60, 100, 100}, kBlue), onScreen);
}

TEST_F(D304ShowTest, EmptyTextSendsBlankRowsOfTheCell) {
    int32_t rows = D304Show(7, 8, 0, 16, kLatinFace, "", 1);
    const int h = extentOf(U"").second - 1;
    EXPECT_EQ(rows, h);
    EXPECT_EQ(GetQvStaNum(0), 0xFF); // w = -1
    auto writes = com(1).writes();
    ASSERT_EQ(writes.size(), static_cast<std::size_t>(1 + h));
    EXPECT_EQ(writes[0], (Bytes{0x1B, 0x5A, 8, 7, 1, static_cast<std::uint8_t>(h)}));
    for (std::size_t i = 1; i < writes.size(); ++i)
        EXPECT_EQ(writes[i], Bytes{0});
}

} // namespace
} // namespace qv::test
