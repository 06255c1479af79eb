// The POSIX platform's pieces: the termios backend, the X display's screen
// answers, and the device paths of the ports and the cash drawer.

#include "system_platform.h"

#include "posix_backend.h"
#include "state.h"
#include "x11_screen.h"

namespace qv::platform {

Backend& systemBackend() {
    static PosixBackend instance;
    return instance;
}

} // namespace qv::platform

namespace qv {

ScreenSource& systemScreen() {
    static X11Screen x11;
    return x11;
}

std::string defaultDevicePath(int port) {
    if (isSerialPort(port))
        return "/dev/ttyS" + std::to_string(port - 1);
    return "/dev/lp" + std::to_string(port - kFirstLpt);
}

const char* const kDrawerDefaultPath = "/dev/cshdw0";

} // namespace qv
