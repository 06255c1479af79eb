#pragma once
// A device command case: an export call, every send that reaches the device
// (one entry per write, so send boundaries count) and the result. The tables
// of cases serve the tests on the in-memory backend and the tests of qv.dll
// under Wine alike.

#include "qv.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv::test {

// Bytes from hexadecimal pairs separated by blanks: "1B 24 02 01".
inline std::vector<std::uint8_t> hex(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}

struct CommandCase {
    const char* name;
    std::function<int32_t(int32_t port)> call;
    std::vector<const char*> sends; // each write's bytes in hexadecimal, in order
    int32_t result;
};

} // namespace qv::test
