#pragma once
// The wide-print form of a text for printer family P20: every character is
// preceded by 0E. A byte followed by a byte above 7F is a two-byte (Big5)
// character and gets one 0E for the pair: 41 42 becomes 0E 41 0E 42, and
// A4 A4 A4 A5 becomes 0E A4 A4 0E A4 A5. Any length is expanded.

#include <cstdint>
#include <vector>

namespace qv {

// The expanded text; empty for an empty or missing text.
std::vector<std::uint8_t> expandWideText(const char* text);

} // namespace qv
