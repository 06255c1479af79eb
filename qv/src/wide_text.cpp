#include "wide_text.h"

#include <cstring>

namespace qv {

namespace {

constexpr std::uint8_t kWide = 0x0E;

} // namespace

std::vector<std::uint8_t> expandWideText(const char* text) {
    std::vector<std::uint8_t> out;
    if (text == nullptr)
        return out;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    const std::size_t length = std::strlen(text);
    out.reserve(2 * length);
    for (std::size_t i = 0; i < length;) {
        out.push_back(kWide);
        out.push_back(bytes[i]);
        // bytes[length] is the terminator, never above 7F.
        if (bytes[i + 1] > 0x7F) {
            out.push_back(bytes[i + 1]);
            i += 2;
        } else {
            i += 1;
        }
    }
    return out;
}

} // namespace qv
