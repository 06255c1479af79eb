// The screen on Windows: the desktop's device context, taken for each call
// and given back before it returns.

#include "screen_canvas.h"

#include "big5_text.h"
#include "win32_gdi_face.h"

#include <string>

namespace qv {
namespace {

constexpr COLORREF kTextColour = RGB(0, 0, 255);
constexpr COLORREF kTextBackground = RGB(255, 255, 255);

// The screen's device context; clipped, it reaches (0, 0)-(800, 600) only.
class ScreenDc {
public:
    explicit ScreenDc(bool clipped) : m_dc(GetDC(nullptr)) {
        if (m_dc == nullptr || !clipped)
            return;
        HRGN region = CreateRectRgn(0, 0, kPictureWidth, kPictureHeight);
        if (region != nullptr) {
            SelectClipRgn(m_dc, region); // the context keeps its own copy
            DeleteObject(region);
        }
    }
    ~ScreenDc() {
        if (m_dc != nullptr)
            ReleaseDC(nullptr, m_dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return m_dc; }

    // Waits until what was drawn is on the display. GDI may batch drawing
    // calls, and under Wine so does the connection to the X server, which
    // a program without a message loop (a point-of-sale program waiting on
    // its devices) would otherwise never send: reading a pixel waits for both.
    void finish() const {
        GdiFlush();
        GetPixel(m_dc, 0, 0);
    }

private:
    HDC m_dc;
};

std::wstring utf16(const std::u32string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text)
        out.push_back(c <= 0xFFFF ? static_cast<wchar_t>(c) : L'?');
    return out;
}

} // namespace

std::optional<TextExtent> drawScreenText(Font& font, int x, int y, const char* text) {
    ScreenDc screen(true);
    if (screen.get() == nullptr)
        return std::nullopt;
    const std::wstring wide = utf16(decodeBig5(text));
    const int length = static_cast<int>(wide.size());
    HGDIOBJ previous = SelectObject(screen.get(), font.face()->font);
    SetTextColor(screen.get(), kTextColour);
    SetBkColor(screen.get(), kTextBackground);
    SetBkMode(screen.get(), OPAQUE);
    SIZE size{};
    const bool drawn = TextOutW(screen.get(), x, y, wide.c_str(), length) != FALSE &&
                       GetTextExtentPoint32W(screen.get(), wide.c_str(), length, &size) != FALSE;
    screen.finish();
    SelectObject(screen.get(), previous);
    if (!drawn)
        return std::nullopt;
    return TextExtent{static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

bool drawScreenFrame(int left, int top, int right, int bottom, EdgeStyle style) {
    ScreenDc screen(false);
    if (screen.get() == nullptr)
        return false;
    RECT rect{left, top, right, bottom};
    const UINT edge = style == EdgeStyle::SunkenInner ? BDR_SUNKENINNER : EDGE_RAISED;
    const bool drawn = DrawEdge(screen.get(), &rect, edge, BF_RECT) != FALSE;
    screen.finish();
    return drawn;
}

std::int32_t screenPixel(int x, int y) {
    ScreenDc screen(true);
    if (screen.get() == nullptr)
        return kNoColour;
    const COLORREF colour = GetPixel(screen.get(), x, y);
    if (colour == CLR_INVALID)
        return kNoColour;
    return static_cast<std::int32_t>(colour);
}

} // namespace qv
