// The Windows platform's pieces: the Windows backend, the screen answers of
// the desktop, and the device names of the ports and the cash drawer.

#include "system_platform.h"

#include "state.h"
#include "win32_backend.h"
#include "win32_screen.h"

namespace qv::platform {

Backend& systemBackend() {
    static Win32Backend instance;
    return instance;
}

} // namespace qv::platform

namespace qv {

ScreenSource& systemScreen() {
    static Win32Screen desktop;
    return desktop;
}

std::string defaultDevicePath(int port) {
    // COM1 to COM9 and LPT1 to LPT4 are names the platform opens as they are.
    return hasSlot(port) ? PortName[static_cast<std::size_t>(port)] : "";
}

const char* const kDrawerDefaultPath = "\\\\.\\CSHDW0";

} // namespace qv
