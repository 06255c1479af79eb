#pragma once
// Writing without the broken-pipe signal: a FIFO whose reader has gone, or a
// socket whose peer has, gives a failed write (errno EPIPE) instead of ending
// the calling program. The caller's signal disposition and mask are left as
// they were, and a broken-pipe signal that was already pending stays pending.

#include <cstddef>
#include <sys/types.h>

namespace qv::posix {

// As write(2); never raises SIGPIPE in the calling process.
ssize_t writeWithoutSigpipe(int fd, const void* data, std::size_t length);

} // namespace qv::posix
