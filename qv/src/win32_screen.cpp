#include "win32_screen.h"

#include <windows.h>

namespace qv {

std::optional<ScreenSize> Win32Screen::size() {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return ScreenSize{width, height};
}

std::optional<PointerPosition> Win32Screen::pointer() {
    POINT p{};
    if (GetCursorPos(&p) == FALSE)
        return std::nullopt;
    return PointerPosition{p.x, p.y};
}

} // namespace qv
