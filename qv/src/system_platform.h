#pragma once
// What each platform's own files give the library beside its backend: the
// build compiles one platform's files (posix_*.cpp or win32_*.cpp), and the
// rest of the library reaches the platform only through these and platform.h.

#include "platform.h"
#include "screen_info.h"

#include <string>

namespace qv::platform {

// The platform's own backend, in use unless a test selects another.
Backend& systemBackend();

} // namespace qv::platform

namespace qv {

// The platform's screen queries, in use unless a test selects another source.
ScreenSource& systemScreen();

// The device of a port 1 to 13 when no environment variable names another.
std::string defaultDevicePath(int port);

// The cash drawer driver's device when QV_DRAWER names no other.
extern const char* const kDrawerDefaultPath;

} // namespace qv
