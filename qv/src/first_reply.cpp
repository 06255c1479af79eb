#include "first_reply.h"

#include "timing.h"

namespace qv {

std::int32_t awaitFirstByte(std::int32_t port) {
    std::int32_t result = -1;
    WaitReply(port, [&](std::int32_t byte) {
        if (byte < 0)
            return false;
        result = byte;
        return true;
    });
    return result;
}

} // namespace qv
