// The LCD customer displays of two or four rows: each row write is the
// selector 1B 71 and a letter naming the row and the form of the write, then
// the text, then 0D. The row number only picks the letter; texts are sent
// whole, whatever the row's width.

#include "command_send.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::uint8_t kEnd = 0x0D;

// Selector, text and 0D without looking at the intermediate results; the
// result of the 0D send.
int32_t writeRow(int32_t port, std::uint8_t letter, const char* text) {
    sendBytes(port, {0x1B, 0x71, letter});
    sendText(port, text);
    return sendBytes(port, {kEnd});
}

// The letter for rows 2, 3 and 4 of a four-row display, and for any other row.
std::uint8_t fourRowLetter(int32_t row, std::uint8_t first) {
    return row >= 2 && row <= 4 ? static_cast<std::uint8_t>(first + row - 1) : first;
}

} // namespace

int32_t Lcd2Row(int32_t port, int32_t row, const char* text) noexcept {
    if (sendBytes(port, {0x1B, 0x71, static_cast<std::uint8_t>(row == 1 ? 0x45 : 0x46)}) < 1)
        return 0;
    sendText(port, text);
    return sendBytes(port, {kEnd});
}

int32_t Lcd2RowIns(int32_t port, int32_t row, const char* text) noexcept {
    return writeRow(port, row == 1 ? 0x4B : 0x4C, text);
}

int32_t Lcd4Row(int32_t port, int32_t row, const char* text) noexcept {
    return writeRow(port, fourRowLetter(row, 0x41), text);
}

int32_t Lcd4RowIns(int32_t port, int32_t row, const char* text) noexcept {
    return writeRow(port, fourRowLetter(row, 0x47), text);
}
