#pragma once
// Screen answers from the Windows desktop: its size and the mouse pointer.

#include "screen_info.h"

namespace qv {

class Win32Screen : public ScreenSource {
public:
    std::optional<ScreenSize> size() override;
    std::optional<PointerPosition> pointer() override;
};

} // namespace qv
