// Writing to and reading from ports. Every byte handed to a send for a port
// with a slot enters the running checksum, whether or not the write succeeds.

#include "platform.h"
#include "ports.h"
#include "state.h"

#include "qv.h"

#include <cstring>

using namespace qv;
using platform::backend;

namespace {

constexpr int32_t kLptReady = 0x90;

void addBytesToSendChk(const std::uint8_t* data, std::size_t length) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum ^= data[i];
    addToSendChk(sum);
}

// Runs one send with the automatic open and close around it when that is on.
template <class Send> int32_t withAutoOpenClose(int32_t port, Send send) {
    bool autoOpen = state().AutoOpnCls != 0;
    if (autoOpen)
        QVOpenPort(port, kAutoOpenSettings);
    auto written = static_cast<int32_t>(send(slotHandle(port)));
    backend().flush(slotHandle(port));
    if (autoOpen)
        QVClosePort(port);
    return written;
}

} // namespace

int32_t QVSendPort(int32_t port, const void* data, int32_t length) noexcept {
    if (port >= kFirstLpt && port <= 12 && QVIsLpt(port - 9) != kLptReady)
        return 0;
    if (!hasSlot(port))
        return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t count = bytes != nullptr && length > 0 ? static_cast<std::size_t>(length) : 0;
    return withAutoOpenClose(port, [&](platform::Handle h) -> std::size_t {
        addBytesToSendChk(bytes, count);
        return count > 0 ? backend().write(h, bytes, count) : 0;
    });
}

int32_t QVSendByte(int32_t port, int32_t byte) noexcept {
    // Ports above 13 have no device; the result is 0 with or without a
    // printer check, so only the parallel ports are checked.
    if (isParallelPort(port) && QVIsLpt(port - 9) != kLptReady)
        return 0;
    if (!hasSlot(port))
        return 0;
    auto b = static_cast<std::uint8_t>(byte & 0xFF);
    return withAutoOpenClose(port, [&](platform::Handle h) -> std::size_t {
        std::size_t written = backend().write(h, &b, 1);
        addBytesToSendChk(&b, 1);
        return written;
    });
}

int32_t QVSendStr(int32_t port, const char* text) noexcept {
    if (!hasSlot(port) || text == nullptr)
        return 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    std::size_t length = std::strlen(text);
    std::size_t written = length > 0 ? writeToSlot(port, bytes, length) : 0;
    addBytesToSendChk(bytes, length);
    return static_cast<int32_t>(written);
}

int32_t QVReadByte(int32_t port) noexcept {
    if (!hasSlot(port))
        return -1;
    std::uint8_t b = 0;
    return backend().read(slotHandle(port), &b, 1) == 1 ? b : -1;
}

int32_t QVReadPort(int32_t port, void* buffer, int32_t length) noexcept {
    if (!hasSlot(port) || buffer == nullptr || length <= 0)
        return 0;
    return static_cast<int32_t>(backend().read(slotHandle(port), static_cast<std::uint8_t*>(buffer),
                                               static_cast<std::size_t>(length)));
}

int32_t QVReadStr(int32_t port, char* buffer) noexcept {
    if (buffer == nullptr)
        return 0;
    std::size_t wanted = std::strlen(buffer);
    if (wanted > static_cast<std::size_t>(INT32_MAX))
        wanted = static_cast<std::size_t>(INT32_MAX);
    return QVReadPort(port, buffer, static_cast<int32_t>(wanted));
}
