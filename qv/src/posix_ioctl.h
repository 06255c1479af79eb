#pragma once
// Driver control requests on Linux. The library names a request by a code in
// the platform's device-control layout (device type in bits 16 to 31,
// function in bits 2 to 13). A Linux driver answers an ioctl whose number
// carries the same two values: type = the device type's low 8 bits, number =
// the function's low 8 bits, direction read and write, size = the one buffer
// that carries the input bytes in and the answer out.

#include <cstddef>
#include <cstdint>
#include <sys/ioctl.h>

namespace qv::posix {

// The largest buffer an ioctl number can describe.
inline constexpr std::size_t kMaxIoctlSize = _IOC_SIZEMASK;

inline unsigned long ioctlRequest(std::uint32_t code, std::size_t size) {
    unsigned type = (code >> 16) & 0xFFU;
    unsigned number = (code >> 2) & 0xFFU;
    return _IOC(_IOC_READ | _IOC_WRITE, type, number, static_cast<unsigned>(size));
}

} // namespace qv::posix
