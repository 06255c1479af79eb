#pragma once
// The cash drawer, reached through its device driver with two control
// requests. The driver's device is the platform's (/dev/cshdw0, or \\.\CSHDW0
// on Windows), or the path in the environment variable QV_DRAWER when that is
// set and not empty (read at every open).

#include "platform.h"
#include "system_platform.h"

#include <cstdint>
#include <string>

namespace qv {

inline constexpr const char* kDrawerPathVariable = "QV_DRAWER";
inline constexpr std::uint32_t kDrawerOpenCode = 0x222030;   // device type 0x22, function 0x80C
inline constexpr std::uint32_t kDrawerStatusCode = 0x222034; // device type 0x22, function 0x80D
inline constexpr std::size_t kDrawerBufferSize = 10;

// The driver's device path.
std::string drawerDevicePath();

// DrawerDev: the driver's device from the first open or status call until the
// end call. A failed open is kept too, so it is not retried before the end call.
struct DrawerState {
    platform::Handle DrawerDev = platform::kNoHandle;
    bool openFailed = false;
};

DrawerState& drawerState();

} // namespace qv
