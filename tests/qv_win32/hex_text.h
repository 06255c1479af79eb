#pragma once
// Bytes as the device line carries them: hexadecimal pairs without blanks.
// Used on both sides of the line, in the Windows test program and in the
// Linux device player.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qv::test {

inline std::string hexText(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char pair[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        out += pair;
    }
    return out;
}

inline std::vector<std::uint8_t> bytesOfHexText(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return out;
}

} // namespace qv::test
