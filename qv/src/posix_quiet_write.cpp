#include "posix_quiet_write.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace qv::posix {

ssize_t writeWithoutSigpipe(int fd, const void* data, std::size_t length) {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    // A signal that was pending before the write belongs to the caller.
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    const bool pendingBefore = sigismember(&pending, SIGPIPE) == 1;

    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    ssize_t n = ::write(fd, data, length);
    const int error = errno;
    if (n < 0 && error == EPIPE && !pendingBefore) {
        // The write raised the signal on this thread while it was blocked:
        // take it before the old mask lets it through.
        const timespec now{};
        while (sigtimedwait(&pipeOnly, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return n;
}

} // namespace qv::posix
