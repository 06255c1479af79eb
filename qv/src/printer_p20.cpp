// Printer family P20: commands of ESC, a letter and a closing 0D. A selector
// letter picks where a print, feed or cut applies: R for 1, J for 2, B for
// anything else. The cash box opener is also the LCD display's.

#include "command_send.h"
#include "export_alias.h"
#include "wide_text.h"

#include "qv.h"

#include <cstring>

using namespace qv;

namespace {

constexpr std::uint8_t kEnd = 0x0D;
constexpr std::uint8_t kLineFeed = 0x0A;

std::uint8_t selector(int32_t k) {
    return k == 1 ? 0x52 : k == 2 ? 0x4A : 0x42;
}

std::uint8_t digit(int32_t n) {
    return low8(0x30 + static_cast<int32_t>(low8(n)));
}

std::size_t textLength(const char* text) {
    return text == nullptr ? 0 : std::strlen(text);
}

// The print header, the text as given, then 0D; 0 when the header was not written.
int32_t printLine(int32_t port, int32_t k, int32_t n, std::span<const std::uint8_t> text) {
    if (sendBytes(port, {0x1B, 0x50, selector(k), digit(n)}) < 1)
        return 0;
    if (!text.empty())
        sendBytes(port, text);
    return sendBytes(port, {kEnd});
}

} // namespace

int32_t P20Reset(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x52, kEnd});
}

int32_t P20Open(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x47, kEnd});
}
QV_SAME_FUNCTION_AS(P20Open, LcdOpenBox);

int32_t P20Cut(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x43, kEnd});
}

int32_t P20CutFom(int32_t port, int32_t k) noexcept {
    return sendBytes(port, {0x1B, 0x56, selector(k), kEnd});
}

int32_t P20Stamp(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x53, kEnd});
}

int32_t P20CanHed(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x73, 0x00});
}

int32_t P20LinFed(int32_t port, int32_t k, int32_t n) noexcept {
    return sendBytes(port, {0x1B, 0x4C, selector(k), digit(n), kEnd});
}

int32_t P20Prn(int32_t port, int32_t k, int32_t n, const char* text) noexcept {
    return printLine(port, k, n,
                     std::span(reinterpret_cast<const std::uint8_t*>(text), textLength(text)));
}

int32_t P20PrnBig(int32_t port, int32_t k, int32_t n, const char* text) noexcept {
    const std::vector<std::uint8_t> wide = expandWideText(text);
    return printLine(port, k, n, wide);
}

int32_t P20SetHed(int32_t port, const char* l1, const char* l2, const char* l3, const char* l4,
                  const char* l5) noexcept {
    const char* lines[] = {l1, l2, l3, l4};
    // L counts the bytes that follow it, modulo 256: each of the first four
    // lines and its 0A, and the fifth line with its 0A when it is not empty.
    std::size_t total = 4;
    for (const char* line : lines)
        total += textLength(line);
    if (textLength(l5) > 0)
        total += textLength(l5) + 1;
    if (sendBytes(port, {0x1B, 0x73, static_cast<std::uint8_t>(total & 0xFF)}) < 1)
        return 0;
    int32_t written = 0;
    for (const char* line : lines) {
        sendText(port, line);
        written = sendBytes(port, {kLineFeed});
    }
    if (textLength(l5) > 0) {
        sendText(port, l5);
        written = sendBytes(port, {kLineFeed});
    }
    return written;
}
