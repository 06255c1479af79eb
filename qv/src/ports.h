#pragma once
// Opening and closing ports, and the serial set-up steps shared by the plain
// open and the infrared open.

#include "platform.h"

#include <cstddef>
#include <cstdint>

namespace qv {

inline constexpr std::uint32_t kQueueSize = 1024;
inline constexpr const char* kAutoOpenSettings = "9600,N,8,1";

// Opens a serial port's device (read/write, exclusive) into its slot; the
// handle, kNoHandle when the device cannot be opened.
platform::Handle openSerialSlot(int port);

// Parses a mode string into line; a string the parser refuses leaves line
// as it was and is recorded as the last error (EINVAL).
void parseSettings(const char* settings, platform::LineState& line);

// Makes reads on h return at once and sets both queues to 1024 bytes.
void setReadsAndQueues(platform::Handle h);

// Writes bytes to a port's slot as they are: no checksum, no readiness check.
std::size_t writeToSlot(int port, const std::uint8_t* data, std::size_t length);

} // namespace qv
