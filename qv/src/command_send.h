#pragma once
// Building blocks of the device commands: the byte an integer argument
// carries, and the sends every command family uses. All of them go through
// QVSendPort, so the bytes enter the running checksum SendChk and honour the
// parallel readiness check and the automatic open and close.

#include <cstdint>
#include <initializer_list>
#include <span>

namespace qv {

// The byte a command carries for an integer argument: its low 8 bits.
constexpr std::uint8_t low8(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFU);
}

// Sends the bytes with one QVSendPort call; the bytes written.
std::int32_t sendBytes(std::int32_t port, std::initializer_list<std::uint8_t> bytes);

// Sends any number of bytes: one QVSendPort call unless the count exceeds
// what one call can carry. The bytes written, at most INT32_MAX.
std::int32_t sendBytes(std::int32_t port, std::span<const std::uint8_t> bytes);

// Sends a NUL-terminated text without its terminator, in one send. An empty
// or missing text sends nothing and gives 0.
std::int32_t sendText(std::int32_t port, const char* text);

// Sends one byte n times, one send per byte; the result of the last send, 0
// for n <= 0.
std::int32_t sendRepeated(std::int32_t port, std::uint8_t byte, std::int32_t n);

} // namespace qv
