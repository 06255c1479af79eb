// Printer family 7: printing a raster image from a 1-bit BMP file. The rows
// go top first, one send per row, paced so the printer can keep up: a short
// pause after each row, then the printer's CTS line is checked and, while it
// is held off, polled again in 10 ms steps.

#include "bmp_file.h"
#include "command_send.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::int32_t kCtsHeldOff = -10;
constexpr int kCtsPolls = 200;
constexpr std::int32_t kRowPauseMs = 5;
constexpr std::int32_t kCtsPollMs = 10;

bool ctsOn(int32_t port) {
    GetComSta(port);
    return statusBuffer()[0] != 0;
}

// Waits for the printer to let the next row come; false when it holds CTS
// off for all polls.
bool awaitClearToSend(int32_t port) {
    if (ctsOn(port))
        return true;
    for (int i = 0; i < kCtsPolls; ++i) {
        if (ctsOn(port))
            return true;
        TickWait(kCtsPollMs);
    }
    return false;
}

// The printer's status request is 1B 4F; a 4F that follows a 1B in the image
// (within a row or across two rows) is sent as 4E so the printer never reads
// the request inside the data. prev carries the last byte over to the next row.
void guardEscapes(std::span<std::uint8_t> row, std::uint8_t& prev) {
    for (std::uint8_t& b : row) {
        if (prev == 0x1B && b == 0x4F)
            b = 0x4E;
        prev = b;
    }
}

void storeSize(unsigned width, unsigned height) {
    auto sta = statusBuffer();
    sta[10] = low8(static_cast<std::int32_t>(width));
    sta[11] = low8(static_cast<std::int32_t>(width >> 8));
    sta[12] = low8(static_cast<std::int32_t>(height));
    sta[13] = low8(static_cast<std::int32_t>(height >> 8));
}

} // namespace

int32_t QV7BitMap(int32_t port, int32_t a, int32_t b, const char* fileName) noexcept {
    BmpFile file;
    if (std::int32_t refused = file.open(fileName); refused != 0)
        return refused;
    const unsigned width = file.width();
    const unsigned height = file.height();
    QV7MovCrs(port, a, b);
    sendBytes(port,
              {0x1B, 0x2A, low8(static_cast<std::int32_t>(width)),
               low8(static_cast<std::int32_t>(width >> 8)), low8(static_cast<std::int32_t>(height)),
               low8(static_cast<std::int32_t>(height >> 8))});
    RowBuffer buffer{};
    std::uint8_t prev = 0;
    int32_t written = 0;
    for (unsigned k = 0; k < height; ++k) {
        const auto row = file.dotsRowFromTop(k, buffer);
        guardEscapes(row, prev);
        written = sendBytes(port, row);
        TickWait(kRowPauseMs);
        if (!awaitClearToSend(port))
            return kCtsHeldOff;
    }
    storeSize(width, height);
    return written;
}
