#pragma once
// TCP connections to network printers on Windows (see network_printer.h),
// through Winsock. Connections are kept apart from the file handles of the
// serial and parallel ports, so the backend knows which calls a handle takes.

#include "network_printer.h"
#include "platform.h"

#include <cstddef>
#include <cstdint>

namespace qv::win32 {

// Connects to address without waiting longer than timeoutMs; the connection
// (non-blocking) as a handle, or kNoHandle with the Winsock error as the
// last error (WSAETIMEDOUT when the printer did not answer in time).
platform::Handle connectTcp(const NetworkAddress& address, int timeoutMs);

// True for a handle connectTcp gave that is not closed yet.
bool isConnection(platform::Handle h);

// Sends length bytes, waiting up to timeoutMs for room each time the
// connection is full; the count sent, the Winsock error as the last error
// when short.
std::size_t sendAll(platform::Handle h, const std::uint8_t* data, std::size_t length,
                    int timeoutMs);

// Reads what has arrived without waiting; 0 when nothing has.
std::size_t receiveNow(platform::Handle h, std::uint8_t* buffer, std::size_t length);

bool closeConnection(platform::Handle h);

} // namespace qv::win32
