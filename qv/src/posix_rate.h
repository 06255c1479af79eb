#pragma once
// Serial rates that have no speed code of their own in termios (14400,
// 56000, 128000, ...), set and read through Linux's termios2 with BOTHER.
// Kept apart because the kernel's termios2 header cannot be included
// beside the C library's <termios.h>.

#include <cstdint>
#include <optional>

namespace qv::posix {

// Sets both directions of the line on fd to rate; false with errno set.
bool setCustomRate(int fd, std::uint32_t rate);

// The output rate of the line on fd when it was set as a custom rate (BOTHER);
// empty for a rate with its own speed code or when the line cannot be read.
std::optional<std::uint32_t> customRate(int fd);

} // namespace qv::posix
