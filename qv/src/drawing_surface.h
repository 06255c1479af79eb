#pragma once
// The drawing surface shared by the text and pixel exports and the graphic
// display's text rendering, with the pixel last read and the dot table.
//
// The screen surface draws blue text on the screen (screen_canvas.h). A
// memory surface draws white text on black into a monochrome picture of its
// own, which is released when the surface is remade.

#include "font.h"
#include "mono_picture.h"

#include <array>
#include <cstdint>
#include <memory>

namespace qv {

enum class SurfaceKind { Screen, Memory };

// Colours as the platform gives them: 0x00BBGGRR.
inline constexpr std::int32_t kBlue = 0x00FF0000;
inline constexpr std::int32_t kWhite = 0x00FFFFFF;
inline constexpr std::int32_t kBlack = 0x00000000;
inline constexpr std::int32_t kNoColour = -9; // a pixel that cannot be read

inline constexpr int kDotRows = 71;
inline constexpr int kDotRowBytes = 48;

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct DrawingState {
    bool DrawDcReady = false;
    SurfaceKind kind = SurfaceKind::Screen;
    std::unique_ptr<Font> font;           // the surface's font; none when it could not be made
    std::unique_ptr<MonoPicture> picture; // a memory surface's picture
    std::unique_ptr<MonoPicture> screen;  // where there is no screen to draw on, its stand-in
    Rgb LastRgb;                          // the pixel last read
    std::array<std::array<std::uint8_t, kDotRowBytes>, kDotRows> DotTable{};
};

// The state; a default-constructed DrawingState holds the load-time values.
DrawingState& drawing();

// Makes the surface the screen, with a new font.
void makeScreenSurface(std::unique_ptr<Font> font);
// Makes the surface a memory surface; its picture and font come separately.
void makeMemorySurface();
// Gives the surface a new font and, for a memory surface, a new blank
// picture; the ones they replace are released.
void replaceFontAndPicture(std::unique_ptr<Font> font);

// Reads the pixel at (x, y) of the surface into LastRgb and returns its
// colour; kNoColour (LastRgb -1, -1, -1) outside the picture or before any
// surface is made.
std::int32_t readSurfacePixel(int x, int y);

} // namespace qv
