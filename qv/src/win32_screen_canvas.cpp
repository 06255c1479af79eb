// The screen on Windows: the desktop's device context.

#include "screen_canvas.h"

#include "big5_text.h"
#include "win32_gdi_face.h"

#include <string>

namespace qv {
namespace {

constexpr COLORREF kTextColour = RGB(0, 0, 255);
constexpr COLORREF kTextBackground = RGB(255, 255, 255);

// Waits until what was drawn on dc is on the display. GDI may batch drawing
// calls, and under Wine so does the connection to the X server, which a
// program without a message loop (a point-of-sale program waiting on its
// devices) would otherwise never send: reading a pixel waits for both.
void finish(HDC dc) {
    GdiFlush();
    GetPixel(dc, 0, 0);
}

// The screen's context for text and pixels, clipped to (0, 0)-(800, 600):
// taken at the first use and kept, as the drawing surface it is; nullptr
// while the platform gives none.
HDC g_clippedScreen = nullptr;

HDC clippedScreen() {
    if (g_clippedScreen != nullptr)
        return g_clippedScreen;
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    HRGN region = CreateRectRgn(0, 0, kPictureWidth, kPictureHeight);
    if (region == nullptr) {
        ReleaseDC(nullptr, dc);
        return nullptr;
    }
    SelectClipRgn(dc, region); // the context keeps its own copy
    DeleteObject(region);
    g_clippedScreen = dc;
    return dc;
}

std::wstring utf16(const std::u32string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text)
        out.push_back(c <= 0xFFFF ? static_cast<wchar_t>(c) : L'?');
    return out;
}

} // namespace

std::optional<TextExtent> drawScreenText(Font& font, int x, int y, const char* text) {
    HDC dc = clippedScreen();
    if (dc == nullptr)
        return std::nullopt;
    const std::wstring wide = utf16(decodeBig5(text));
    const int length = static_cast<int>(wide.size());
    HGDIOBJ previous = SelectObject(dc, font.face()->font);
    SetTextColor(dc, kTextColour);
    SetBkColor(dc, kTextBackground);
    SetBkMode(dc, OPAQUE);
    SIZE size{};
    const bool drawn = TextOutW(dc, x, y, wide.c_str(), length) != FALSE &&
                       GetTextExtentPoint32W(dc, wide.c_str(), length, &size) != FALSE;
    finish(dc);
    SelectObject(dc, previous); // the font may be released before the next call
    if (!drawn)
        return std::nullopt;
    return TextExtent{static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

bool drawScreenFrame(int left, int top, int right, int bottom, EdgeStyle style) {
    // Frames reach the whole screen.
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return false;
    RECT rect{left, top, right, bottom};
    const UINT edge = style == EdgeStyle::SunkenInner ? BDR_SUNKENINNER : EDGE_RAISED;
    const bool drawn = DrawEdge(dc, &rect, edge, BF_RECT) != FALSE;
    finish(dc);
    ReleaseDC(nullptr, dc);
    return drawn;
}

std::int32_t screenPixel(int x, int y) {
    HDC dc = clippedScreen();
    if (dc == nullptr)
        return kNoColour;
    const COLORREF colour = GetPixel(dc, x, y); // invalid outside the clipping
    if (colour == CLR_INVALID)
        return kNoColour;
    return static_cast<std::int32_t>(colour);
}

} // namespace qv
