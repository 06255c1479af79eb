#pragma once
// The few POSIX file calls the BMP readers use, on Windows: positioned reads
// and whole-file locks on the C runtime's descriptors, and the open flags
// that have no meaning there. The Windows build puts this header in front of
// those readers.

#include <fcntl.h>
#include <sys/types.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif

#define LOCK_SH 1
#define LOCK_EX 2
#define LOCK_NB 4
#define LOCK_UN 8

// Reads up to length bytes at offset without moving the descriptor's own position.
ssize_t pread(int fd, void* buffer, size_t length, off_t offset);

// Locks or unlocks the whole file, without waiting when LOCK_NB is given;
// 0 on success, -1 (errno EWOULDBLOCK or EBADF) on failure.
int flock(int fd, int operation);
