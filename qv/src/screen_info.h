#pragma once
// Where the screen queries get their answers: the X display when one is
// reachable. Tests put their own source in its place.

#include <optional>

namespace qv {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

struct PointerPosition {
    int x = 0;
    int y = 0;
};

class ScreenSource {
public:
    virtual ~ScreenSource() = default;
    // The default screen's size; empty when no display is reachable.
    virtual std::optional<ScreenSize> size() = 0;
    // The mouse pointer on the default screen; empty when it cannot be read.
    virtual std::optional<PointerPosition> pointer() = 0;
};

// The source in use; the X display unless another was set.
ScreenSource& screenSource();
// Selects the source; nullptr returns to the X display. Not exported.
void setScreenSource(ScreenSource* source);

} // namespace qv
