#include "command_send.h"

#include "qv.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qv {

namespace {

constexpr std::size_t kMaxSend = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

} // namespace

std::int32_t sendBytes(std::int32_t port, std::initializer_list<std::uint8_t> bytes) {
    return sendBytes(port, std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

std::int32_t sendBytes(std::int32_t port, std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= kMaxSend)
        return QVSendPort(port, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    // A send's length is a 32-bit count: longer data goes out in pieces.
    std::size_t total = 0;
    while (!bytes.empty()) {
        std::size_t piece = std::min(bytes.size(), kMaxSend);
        total += static_cast<std::size_t>(
            QVSendPort(port, bytes.data(), static_cast<std::int32_t>(piece)));
        bytes = bytes.subspan(piece);
    }
    return static_cast<std::int32_t>(std::min(total, kMaxSend));
}

std::int32_t sendText(std::int32_t port, const char* text) {
    if (text == nullptr || *text == '\0')
        return 0;
    return sendBytes(port,
                     std::span(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)));
}

std::int32_t sendRepeated(std::int32_t port, std::uint8_t byte, std::int32_t n) {
    std::int32_t result = 0;
    for (std::int32_t i = 0; i < n; ++i)
        result = QVSendPort(port, &byte, 1);
    return result;
}

} // namespace qv
