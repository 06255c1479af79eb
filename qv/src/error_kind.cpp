#include "error_kind.h"

#include "platform.h"

#include <array>
#include <cerrno>

namespace qv {
namespace {

struct ErrorCodes {
    ErrorKind kind;
    std::uint32_t posix;   // errno
    std::uint32_t windows; // GetLastError
};

// Each kind as the platform's own calls report the same failure: on Windows
// CreateFileA gives ERROR_SHARING_VIOLATION for a file held without sharing
// and ERROR_ACCESS_DENIED for a folder, BuildCommDCBA gives
// ERROR_INVALID_PARAMETER for a mode string it refuses.
constexpr std::array<ErrorCodes, 8> kCodes{{
    {ErrorKind::RefusedSetting, EINVAL, 87}, // ERROR_INVALID_PARAMETER
    {ErrorKind::InUse, EBUSY, 32},           // ERROR_SHARING_VIOLATION
    {ErrorKind::Directory, EISDIR, 5},       // ERROR_ACCESS_DENIED
    {ErrorKind::NotAFile, EINVAL, 1},        // ERROR_INVALID_FUNCTION
    {ErrorKind::TooManyOpen, EMFILE, 4},     // ERROR_TOO_MANY_OPEN_FILES
    {ErrorKind::NotOpen, EBADF, 6},          // ERROR_INVALID_HANDLE
    {ErrorKind::NotTerminal, ENOTTY, 1},     // ERROR_INVALID_FUNCTION
    {ErrorKind::TimedOut, ETIMEDOUT, 121},   // ERROR_SEM_TIMEOUT
}};

#ifdef _WIN32
constexpr auto kColumn = &ErrorCodes::windows;
#else
constexpr auto kColumn = &ErrorCodes::posix;
#endif

} // namespace

std::uint32_t errorCode(ErrorKind kind) {
    for (const ErrorCodes& row : kCodes) {
        if (row.kind == kind)
            return row.*kColumn;
    }
    return errorCode(ErrorKind::RefusedSetting);
}

void recordError(ErrorKind kind) {
    platform::backend().setLastError(errorCode(kind));
}

} // namespace qv
