#include "win32_posix_files.h"

#include <cerrno>
#include <io.h>
#include <windows.h>

namespace {

HANDLE osHandle(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

} // namespace

ssize_t pread(int fd, void* buffer, size_t length, off_t offset) {
    HANDLE h = osHandle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    DWORD got = 0;
    DWORD wanted = length > MAXDWORD ? MAXDWORD : static_cast<DWORD>(length);
    if (ReadFile(h, buffer, wanted, &got, &at) == FALSE)
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : (errno = EIO, -1);
    return static_cast<ssize_t>(got);
}

int flock(int fd, int operation) {
    HANDLE h = osHandle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    OVERLAPPED whole{};
    if ((operation & LOCK_UN) != 0)
        return UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &whole) != FALSE ? 0 : (errno = EBADF, -1);
    DWORD flags = (operation & LOCK_EX) != 0 ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if ((operation & LOCK_NB) != 0)
        flags |= LOCKFILE_FAIL_IMMEDIATELY;
    if (LockFileEx(h, flags, 0, MAXDWORD, MAXDWORD, &whole) == FALSE) {
        errno = EWOULDBLOCK;
        return -1;
    }
    return 0;
}
