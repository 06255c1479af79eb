#include "posix_printer.h"

#include <cerrno>
#include <linux/lp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace qv::posix {
namespace {

constexpr unsigned kUsbCharMajor = 180; // USB printer-class devices
constexpr int kNoBusyNoAck = LP_PBUSY | LP_PACK;

bool isUsbPrinter(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) == kUsbCharMajor;
}

} // namespace

std::uint8_t biosStatusFromLp(int raw, bool usbPrinter) {
    if (usbPrinter)
        raw |= kNoBusyNoAck;
    return static_cast<std::uint8_t>((raw ^ (LP_PACK | LP_PERRORP)) & 0xF8);
}

platform::PrinterStatus readPrinterStatus(int fd, int& error) {
    using Kind = platform::PrinterStatus::Kind;
    int raw = 0;
    if (ioctl(fd, LPGETSTATUS, &raw) == 0)
        return {Kind::Status, biosStatusFromLp(raw, isUsbPrinter(fd))};
    error = errno;
    // Devices that are not printer ports do not know the request.
    if (error == ENOTTY || error == EINVAL)
        return {Kind::NoStatus, 0};
    return {Kind::Failed, 0};
}

} // namespace qv::posix
