#pragma once
// Opening and closing ports, and the serial set-up steps shared by the plain
// open and the infrared open.

#include "platform.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

namespace qv {

inline constexpr std::uint32_t kQueueSize = 1024;
inline constexpr const char* kAutoOpenSettings = "9600,N,8,1";

// Held while a port (1 to 13) is opened or closed: one thread at a time
// fills or empties a slot, so two threads opening the same port open its
// device once, and the other finds it open.
std::unique_lock<std::mutex> lockSlot(int port);

// Opens a serial port's device (read/write, exclusive) into its slot; the
// handle, kNoHandle when the device cannot be opened. With lockSlot held.
platform::Handle openSerialSlot(int port);

// Makes reads on h return at once and sets both queues to 1024 bytes.
void setReadsAndQueues(platform::Handle h);

// Writes bytes to a port's slot as they are: no checksum, no readiness check.
std::size_t writeToSlot(int port, const std::uint8_t* data, std::size_t length);

} // namespace qv
