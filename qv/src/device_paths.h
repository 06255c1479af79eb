#pragma once
// Maps port numbers to device paths: COM1 to COM9 are /dev/ttyS0 to /dev/ttyS8,
// LPT1 to LPT4 are /dev/lp0 to /dev/lp3 (on Windows the names COM1 ... LPT4
// themselves). The environment variable named after the port (QV_COM1 ...
// QV_LPT4) replaces the path when set and not empty.

#include <string>

namespace qv {

// The device path of a port 1 to 13; empty for any other number.
std::string devicePath(int port);

} // namespace qv
