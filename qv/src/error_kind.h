#pragma once
// The failures the library finds itself (rather than hears from a platform
// call), and the code each platform's callers read for them through
// WinErrCode: errno values on POSIX, the system error codes on Windows.

#include <cstdint>

namespace qv {

enum class ErrorKind {
    RefusedSetting, // a mode string or argument the library cannot use
    InUse,          // a file or device another opener holds
    Directory,      // a folder where a file was wanted
    NotAFile,       // a FIFO, socket or device where a file was wanted
    TooManyOpen,    // no room for another open device
    NotOpen,        // a call on a port or device that is not open
    NotTerminal,    // a serial-line call on a device that is not a serial line
    TimedOut,       // a device that did not answer within its time
};

// The platform's code for kind.
std::uint32_t errorCode(ErrorKind kind);

// Records kind as the calling thread's last error.
void recordError(ErrorKind kind);

} // namespace qv
