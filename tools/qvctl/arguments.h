#pragma once
// Reading qvctl's command-line arguments: numbers, texts and hex bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvctl {

// A 32-bit number: decimal ("-5", "42") or hexadecimal ("0x1B"); values up
// to 0xFFFFFFFF wrap to their 32-bit pattern. Empty when the text is not one.
std::optional<std::int32_t> parseNumber(std::string_view text);

// Hex bytes: pairs of hex digits, blanks allowed between pairs ("1B40",
// "1B 40"). Empty when a digit is not hex or a pair is incomplete.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

// The bytes of a text or bytes argument: "x:1B40" gives hex bytes, "t:..."
// the text after the prefix as it is, anything else the argument itself.
// Empty when an "x:" argument is not valid hex.
std::optional<std::vector<std::uint8_t>> argumentBytes(std::string_view argument);

} // namespace qvctl
