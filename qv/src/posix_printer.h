#pragma once
// Printer status through the lp drivers, turned into the PC BIOS layout.

#include "platform.h"

#include <cstdint>

namespace qv::posix {

// The lp driver's status register (busy already inverted, acknowledge and
// error active low) in the BIOS layout: bit 7 not busy, 6 acknowledge, 5 out of
// paper, 4 selected, 3 I/O error. A USB printer has no busy and acknowledge
// lines (bits 7 and 6 read 0) and counts as not busy.
std::uint8_t biosStatusFromLp(int raw, bool usbPrinter);

// Reads the status of the printer open on fd.
platform::PrinterStatus readPrinterStatus(int fd, int& error);

} // namespace qv::posix
