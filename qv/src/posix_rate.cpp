#include "posix_rate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace qv::posix {

bool setCustomRate(int fd, std::uint32_t rate) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    return ioctl(fd, TCSETS2, &t) == 0;
}

std::optional<std::uint32_t> customRate(int fd) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0 || (t.c_cflag & CBAUD) != BOTHER)
        return std::nullopt;
    return t.c_ospeed;
}

} // namespace qv::posix
