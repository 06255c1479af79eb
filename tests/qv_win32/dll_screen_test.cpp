// qv.dll's drawing exports on the screen. Wine's desktop is the root window
// of an X server of the test's own (on_xvfb.sh), so whatever the exports draw
// is read back twice: through jGetPixel, and from the X side by the device
// player (an xwd capture of the root window). Each test first paints its area
// grey with the platform's own calls, so what the exports left is told apart
// from what was there.

#include "device_line.h"
#include "qv_imports.h"

#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace qv::test {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Box {
    int left, top, width, height;

    bool contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

// The pixels of a box, rows top first, as 0x00BBGGRR.
class Pixels {
public:
    Pixels(const Box& box, std::vector<std::uint32_t> values)
        : m_box(box), m_values(std::move(values)) {}

    std::uint32_t at(int x, int y) const {
        const int column = x - m_box.left;
        const int row = y - m_box.top;
        return m_values.at(static_cast<std::size_t>(row * m_box.width + column));
    }
    int count(std::uint32_t colour) const {
        int n = 0;
        for (std::uint32_t v : m_values)
            n += v == colour ? 1 : 0;
        return n;
    }
    const std::vector<std::uint32_t>& values() const { return m_values; }
    bool empty() const { return m_values.empty(); }

private:
    Box m_box;
    std::vector<std::uint32_t> m_values;
};

class DllScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetEnvironmentVariableA("DISPLAY", nullptr, 0) == 0)
            GTEST_SKIP() << "no X display: these tests run under on_xvfb.sh";
    }

    // Paints the box one colour with the platform's own calls.
    static void paint(const Box& box, COLORREF colour) {
        HDC dc = GetDC(nullptr);
        ASSERT_NE(dc, nullptr);
        RECT rect{box.left, box.top, box.left + box.width, box.top + box.height};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        GetPixel(dc, 0, 0); // waits until the painting is on the display
        ReleaseDC(nullptr, dc);
    }

    // The box as the X server shows it.
    static Pixels xSide(const Box& box) {
        return {box, DeviceLine::instance().screen(box.left, box.top, box.width, box.height)};
    }

    // The box as jGetPixel reads it (the surface must be the screen).
    static Pixels throughDll(const Box& box) {
        std::vector<std::uint32_t> values;
        for (int y = box.top; y < box.top + box.height; ++y) {
            for (int x = box.left; x < box.left + box.width; ++x)
                values.push_back(static_cast<std::uint32_t>(jGetPixel(y, x)));
        }
        return {box, values};
    }

    // Makes the screen the drawing surface with a font of 24 pixels.
    static void screenSurface() { ASSERT_EQ(jSetFont(0, 0, 400, 24, "DejaVu Sans", "", 1), 1); }
};

TEST_F(DllScreen, FramesHaveTheSystemsEdgeColours) {
    struct Side {
        const char* name;
        int x, y;
        COLORREF colour;
    };
    struct Case {
        int32_t style;
        std::vector<Side> sides;
    };
    // The rectangle (100, 100)-(200, 160); the sides' middles.
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const std::vector<Side> raised{
        {"outer top", 150, 100, light},
        {"outer left", 100, 130, light},
        {"outer bottom", 150, 159, darkShadow},
        {"outer right", 199, 130, darkShadow},
        {"inner top", 150, 101, highlight},
        {"inner left", 101, 130, highlight},
        {"inner bottom", 150, 158, shadow},
        {"inner right", 198, 130, shadow},
        {"inside", 150, 130, kGrey},
        {"outside", 150, 99, kGrey},
    };
    const Case cases[] = {
        {1,
         {
             {"top", 150, 100, darkShadow},
             {"left", 100, 130, darkShadow},
             {"bottom", 150, 159, light},
             {"right", 199, 130, light},
             {"inside", 150, 101, kGrey},
             {"outside", 200, 130, kGrey},
         }},
        {5, raised},
        {0, raised},
        {-3, raised},
    };
    const Box area{90, 90, 120, 80};
    screenSurface();
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        paint(area, kGrey);
        EXPECT_NE(DrawBottom(100, 100, 160, 200, c.style), 0);
        const Pixels x = xSide(area);
        ASSERT_FALSE(x.empty());
        for (const Side& side : c.sides) {
            SCOPED_TRACE(side.name);
            EXPECT_EQ(static_cast<std::uint32_t>(jGetPixel(side.y, side.x)), side.colour);
            EXPECT_EQ(x.at(side.x, side.y), side.colour);
        }
        // Around two corners, where the sides meet, pixel by pixel.
        for (const Box& corner : {Box{95, 95, 12, 12}, Box{193, 153, 12, 12}})
            EXPECT_EQ(throughDll(corner).values(), xSide(corner).values());
    }
}

TEST_F(DllScreen, TextIsBlueOnItsWhiteCell) {
    const Box area{290, 290, 80, 40};
    paint(area, kGrey);
    EXPECT_EQ(jSetFont(300, 300, 400, 24, "DejaVu Sans", "AB\xA4\xA4", 1), 1); // AB中
    const Pixels x = xSide(area);
    ASSERT_FALSE(x.empty());
    EXPECT_EQ(throughDll(area).values(), x.values());
    EXPECT_GT(x.count(kBlue), 30);
    EXPECT_GT(x.count(kWhite), 100);
    // The cell starts at (300, 300): nothing left of it or above it changed.
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int column = area.left; column < 300; ++column)
            EXPECT_EQ(x.at(column, y), kGrey) << column << "," << y;
    }
    for (int column = area.left; column < area.left + area.width; ++column)
        EXPECT_EQ(x.at(column, 299), kGrey) << column;
    EXPECT_EQ(x.at(300, 300), kWhite);
    // The pixel read last is in LastRgb.
    ASSERT_EQ(jGetPixel(300, 300), static_cast<int32_t>(kWhite));
    EXPECT_EQ(JGetRgb(1), 255);
    EXPECT_EQ(JGetRgb(3), 255);
}

TEST_F(DllScreen, LaterCallsDrawWithTheFirstCallsFont) {
    const Box first{300, 400, 60, 30};
    const Box second{400, 400, 60, 30};
    const Box third{500, 400, 60, 30};
    for (const Box& box : {first, second, third})
        paint(box, kGrey);
    ASSERT_EQ(jSetFont(400, 300, 400, 24, "DejaVu Sans", "AB", 1), 1);
    // Another weight, height and face, without reinit: drawn as the first.
    EXPECT_EQ(jSetFont(400, 400, 900, 40, "AR PL UMing TW", "AB", 0), 0);
    EXPECT_NE(JTextOut(400, 500, "AB"), 0);
    const Pixels drawn = xSide(first);
    ASSERT_FALSE(drawn.empty());
    EXPECT_GT(drawn.count(kBlue), 20);
    EXPECT_EQ(xSide(second).values(), drawn.values());
    EXPECT_EQ(xSide(third).values(), drawn.values());
    // With reinit 1 the new font draws.
    paint(second, kGrey);
    ASSERT_EQ(jSetFont(400, 400, 900, 40, "AR PL UMing TW", "AB", 1), 1);
    EXPECT_NE(xSide(second).values(), drawn.values());
}

TEST_F(DllScreen, FaceNamesAreBig5) {
    // 新細明體 in Big5; the Wine prefix offers AR PL UMing TW under that name.
    const char* const mingLiU = "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9";
    const Box box{300, 500, 70, 30};
    auto drawnWith = [&](const char* face) {
        paint(box, kGrey);
        EXPECT_EQ(jSetFont(box.top, box.left, 400, 24, face, "AB\xA4\xA4", 1), 1);
        return xSide(box).values();
    };
    const std::vector<std::uint32_t> big5Name = drawnWith(mingLiU);
    ASSERT_FALSE(big5Name.empty());
    EXPECT_EQ(drawnWith("AR PL UMing TW"), big5Name);
    EXPECT_NE(drawnWith("DejaVu Sans"), big5Name);
}

TEST_F(DllScreen, TextAndPixelsStayInsideTheDrawingArea) {
    // The screen is 1024 x 768; the drawing exports reach (0, 0)-(800, 600).
    const Box area{770, 100, 60, 40};
    paint(area, kGrey);
    paint({760, 590, 20, 30}, kGrey);
    ASSERT_EQ(jSetFont(105, 780, 400, 24, "DejaVu Sans", "WWWW", 1), 1);
    EXPECT_NE(JTextOut(585, 760, "WWWW"), 0);
    const Pixels x = xSide(area);
    ASSERT_FALSE(x.empty());
    int changedInside = 0;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int column = 780; column < 800; ++column)
            changedInside += x.at(column, y) != kGrey ? 1 : 0;
        for (int column = 800; column < area.left + area.width; ++column)
            EXPECT_EQ(x.at(column, y), kGrey) << column << "," << y;
    }
    EXPECT_GT(changedInside, 20);
    const Pixels bottom = xSide({760, 590, 20, 30});
    ASSERT_FALSE(bottom.empty());
    for (int column = 760; column < 780; ++column)
        EXPECT_EQ(bottom.at(column, 600), kGrey) << column;
    // Pixels outside cannot be read.
    const std::pair<int32_t, int32_t> outside[] = {{110, 810}, {650, 100}, {-1, 10}, {10, -1}};
    for (auto [y, column] : outside) {
        SCOPED_TRACE(std::to_string(column) + "," + std::to_string(y));
        jGetPixel(110, 790);
        EXPECT_EQ(jGetPixel(y, column), -9);
        EXPECT_EQ(JGetRgb(1), -1);
    }
}

} // namespace
} // namespace qv::test
