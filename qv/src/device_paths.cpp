#include "device_paths.h"

#include "state.h"
#include "system_platform.h"

#include <cstdlib>

namespace qv {

std::string devicePath(int port) {
    if (!hasSlot(port))
        return {};
    std::string variable = std::string("QV_") + PortName[static_cast<std::size_t>(port)];
    const char* override = std::getenv(variable.c_str());
    if (override != nullptr && *override != '\0')
        return override;
    return defaultDevicePath(port);
}

} // namespace qv
