#pragma once
// The simplest answer a device gives: one byte.

#include <cstdint>

namespace qv {

// Runs the reply loop on port until the first byte arrives; the byte (0 to
// 255), or -1 when the time limit passes first.
std::int32_t awaitFirstByte(std::int32_t port);

} // namespace qv
