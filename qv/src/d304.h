#pragma once
// The graphic display of 64 dot rows and at most 240 dots a row, driven with
// command 1B 5A: a header (1B 5A, two caller bytes, the row length, the row
// count), then the rows, most significant bit leftmost, a set bit lit.

#include <cstdint>

namespace qv {

inline constexpr std::uint8_t kD304Esc = 0x1B;
inline constexpr std::uint8_t kD304Command = 0x5A;
inline constexpr int kD304MaxRows = 64;
inline constexpr int kD304MaxDots = 240;

} // namespace qv
