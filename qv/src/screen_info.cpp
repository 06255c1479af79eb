// The screen queries: the X display's answers, or the library's own screen
// picture's size when there is no display.

#include "screen_info.h"

#include "mono_picture.h"
#include "system_platform.h"

#include "qv.h"

namespace qv {
namespace {

ScreenSource* g_selected = nullptr;

} // namespace

ScreenSource& screenSource() {
    return g_selected != nullptr ? *g_selected : systemScreen();
}

void setScreenSource(ScreenSource* source) {
    g_selected = source;
}

} // namespace qv

using namespace qv;

int32_t ScreenXRes() noexcept {
    auto size = screenSource().size();
    return size ? size->width : kPictureWidth;
}

int32_t ScreenYRes() noexcept {
    auto size = screenSource().size();
    return size ? size->height : kPictureHeight;
}

int32_t JGetCursorPos(int32_t k) noexcept {
    auto position = screenSource().pointer();
    if (!position)
        return -1;
    return k == 1 ? position->x : position->y;
}
