#include "exclusive_file.h"

#include "error_kind.h"
#include "platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

bool ExclusiveFile::open(const char* path) {
    close();
    if (path == nullptr) {
        recordError(ErrorKind::RefusedSetting);
        return false;
    }
    // Non-blocking, so that a FIFO does not wait for a writer.
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        platform::backend().setLastError(static_cast<std::uint32_t>(errno));
        return false;
    }
    struct stat st {};
    bool taken = false;
    if (fstat(fd, &st) != 0)
        platform::backend().setLastError(static_cast<std::uint32_t>(errno));
    else if (!S_ISREG(st.st_mode))
        recordError(S_ISDIR(st.st_mode) ? ErrorKind::Directory : ErrorKind::NotAFile);
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        recordError(ErrorKind::InUse);
    else
        taken = true;
    if (!taken) {
        ::close(fd);
        return false;
    }
    m_handle = fd;
    m_size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void ExclusiveFile::close() {
    if (m_handle != kClosed)
        ::close(static_cast<int>(m_handle));
    m_handle = kClosed;
    m_size = 0;
}

std::size_t ExclusiveFile::readAt(std::uint8_t* buffer, std::size_t length,
                                  std::uint64_t offset) const {
    std::size_t done = 0;
    while (isOpen() && done < length) {
        ssize_t n = pread(static_cast<int>(m_handle), buffer + done, length - done,
                          static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace qv
