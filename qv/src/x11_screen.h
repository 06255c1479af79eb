#pragma once
// Screen answers from the X display named by DISPLAY. libX11 is loaded when
// first needed, so the library does not depend on it; without DISPLAY, or
// without libX11, or when the display cannot be opened, there is no answer.
// One connection serves every query: opened at the first, kept, and opened
// again when DISPLAY changes or the server went away (which, unlike Xlib's
// default, ends nothing but the connection).

#include "screen_info.h"

namespace qv {

class X11Screen : public ScreenSource {
public:
    std::optional<ScreenSize> size() override;
    std::optional<PointerPosition> pointer() override;
};

} // namespace qv
