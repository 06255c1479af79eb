// Three-dimensional frames drawn on the screen picture.

#include "drawing_fixture.h"

namespace qv::test {
namespace {

using Frame = DrawingQv;

// Makes the screen the surface so that its dots can be read.
void lookAtTheScreen() {
    jSetFont(0, 0, 400, 16, kLatinFace, "", 1);
}

Dots line(int x0, int y0, int x1, int y1) {
    Dots out;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            out.insert({x, y});
    }
    return out;
}

Dots joined(std::initializer_list<Dots> parts) {
    Dots out;
    for (const Dots& d : parts)
        out.insert(d.begin(), d.end());
    return out;
}

TEST_F(Frame, SunkenStyleSetsTopAndLeft) {
    EXPECT_EQ(DrawBottom(10, 20, 30, 60, 1), 1);
    lookAtTheScreen();
    // Rectangle (20, 10)-(60, 30): the ring runs on x 20..59, y 10..29.
    Dots expected = line(20, 10, 58, 10);
    Dots left = line(20, 10, 20, 28);
    expected.insert(left.begin(), left.end());
    EXPECT_EQ(dotsOfColour({0, 0, 100, 100}, kBlue), expected);
}

TEST_F(Frame, RaisedStyleSetsBottomAndRightOfTwoRings) {
    for (int32_t style : {0, 2, 5, -1}) {
        SCOPED_TRACE(style);
        reset();
        EXPECT_EQ(DrawBottom(10, 20, 30, 60, style), 1);
        lookAtTheScreen();
        Dots expected = joined({line(20, 29, 59, 29), line(59, 10, 59, 29),   // outer ring
                                line(21, 28, 58, 28), line(58, 11, 58, 28)}); // inner ring
        EXPECT_EQ(dotsOfColour({0, 0, 100, 100}, kBlue), expected);
    }
}

TEST_F(Frame, LitSidesClearWhatWasThere) {
    DrawBottom(10, 20, 30, 60, 1);
    DrawBottom(10, 20, 30, 60, 5);
    lookAtTheScreen();
    EXPECT_EQ(jGetPixel(10, 30), kWhite); // top, was set by the sunken frame
    EXPECT_EQ(jGetPixel(20, 20), kWhite); // left
    EXPECT_EQ(jGetPixel(29, 30), kBlue);  // bottom
}

TEST_F(Frame, EmptyRectanglesDrawNothingAndOthersAreClipped) {
    EXPECT_EQ(DrawBottom(10, 20, 10, 60, 1), 0);
    EXPECT_EQ(DrawBottom(10, 60, 30, 20, 1), 0);
    EXPECT_EQ(DrawBottom(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 5), 1); // all outside
    EXPECT_EQ(DrawBottom(-5, -5, 300, 400, 5), 1);
    lookAtTheScreen();
    Dots expected = joined({line(0, 299, 399, 299), line(399, 0, 399, 299),   // outer ring
                            line(0, 298, 398, 298), line(398, 0, 398, 298)}); // inner ring
    EXPECT_EQ(dotsOfColour({0, 0, kPictureWidth, kPictureHeight}, kBlue), expected);
}

TEST_F(Frame, FramesAreOnTheScreenWhateverTheSurface) {
    jSetFontN(0, 0, 400, 16, kLatinFace, "", 1);
    EXPECT_EQ(DrawBottom(10, 20, 30, 60, 1), 1);
    EXPECT_EQ(jGetPixel(10, 20), kBlack); // the memory picture is untouched
    lookAtTheScreen();
    EXPECT_EQ(jGetPixel(10, 20), kBlue);
}

} // namespace
} // namespace qv::test
