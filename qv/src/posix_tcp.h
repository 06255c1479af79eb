#pragma once
// TCP connections to network printers on POSIX (see network_printer.h).

#include "network_printer.h"

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace qv::posix {

// Connects to address without waiting longer than timeoutMs; the socket
// (non-blocking, close-on-exec), or -1 with errno set (ETIMEDOUT when the
// printer did not answer in time).
int connectTcp(const NetworkAddress& address, int timeoutMs);

// Sends length bytes, waiting up to timeoutMs for room each time the
// connection is full; the count sent. A lost connection stops the send with
// errno set (EPIPE or ECONNRESET) and no signal; ETIMEDOUT when the printer
// took nothing in time.
std::size_t sendAll(int fd, const std::uint8_t* data, std::size_t length, int timeoutMs);

} // namespace qv::posix
