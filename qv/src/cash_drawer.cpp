// The cash drawer's open, status and end calls.

#include "cash_drawer.h"

#include "qv.h"

#include <array>
#include <cstdlib>

namespace qv {

std::string drawerDevicePath() {
    const char* path = std::getenv(kDrawerPathVariable);
    return path != nullptr && *path != '\0' ? path : kDrawerDefaultPath;
}

DrawerState& drawerState() {
    static DrawerState instance;
    return instance;
}

} // namespace qv

using namespace qv;
using platform::backend;
using platform::kNoHandle;

namespace {

using DrawerBuffer = std::array<std::uint8_t, kDrawerBufferSize>;

// Opens the driver's device unless an earlier call did (or failed to); true
// when it is open.
bool ensureDrawerOpen() {
    DrawerState& s = drawerState();
    if (s.DrawerDev == kNoHandle && !s.openFailed) {
        s.DrawerDev = backend().openControl(drawerDevicePath());
        s.openFailed = s.DrawerDev == kNoHandle;
    }
    return s.DrawerDev != kNoHandle;
}

// Sends a request with ten zero input bytes; the answer, or false.
bool drawerRequest(std::uint32_t code, DrawerBuffer& answer) {
    const DrawerBuffer input{};
    answer.fill(0);
    return backend().deviceControl(drawerState().DrawerDev, code, input, answer).has_value();
}

} // namespace

int32_t NxdfDrwOpen() noexcept {
    DrawerBuffer answer{};
    if (!ensureDrawerOpen())
        return 0;
    return drawerRequest(kDrawerOpenCode, answer) ? 1 : 0;
}

int32_t NxdfDrwStatus() noexcept {
    DrawerBuffer answer{};
    if (!ensureDrawerOpen() || !drawerRequest(kDrawerStatusCode, answer))
        return 0;
    return answer[0] != 0 ? 1 : 2;
}

int32_t NxdfDrwEnd() noexcept {
    DrawerState& s = drawerState();
    if (s.DrawerDev != kNoHandle)
        backend().close(s.DrawerDev);
    s = DrawerState{};
    return 1;
}
