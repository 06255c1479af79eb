#pragma once
// Conversions between the library's line state and termios settings.

#include "platform.h"

#include <cstdint>
#include <termios.h>

namespace qv::posix {

// Raw mode: no echo, no line editing, no signals, no input or output
// translation, modem lines ignored for opening and reading, reads return at
// once. The line settings (speed, size, parity, stop bits, flow control)
// are left as they are.
void makeRaw(termios& t);

// Writes the line's size, parity, stop bits and flow control into t, and
// its speed when termios has a code for it (see hasSpeedCode; any other
// rate is set afterwards with setCustomRate). False when termios has no
// such character size.
bool applyLineState(termios& t, const platform::LineState& line);

// True when termios has a speed code (B9600 ...) for the rate.
bool hasSpeedCode(std::uint32_t rate);

// The line state t describes; DTR and RTS count as enabled (opening a
// terminal raises both).
platform::LineState lineStateFromTermios(const termios& t);

} // namespace qv::posix
