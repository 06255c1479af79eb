// Printer family 71: downloading a raster image from a 1-bit BMP file into
// the printer, which prints it on QV71BitMapDP. The printer takes the image
// in bands of 8 rows, so the rows sent are made up to a multiple of 8 with
// blank rows. Rows go top first, one send per row, without pacing.

#include "bmp_file.h"
#include "command_send.h"
#include "state.h"

#include "qv.h"

#include <vector>

using namespace qv;

int32_t QV71BitMapD(int32_t port, const char* fileName) noexcept {
    BmpFile file;
    if (std::int32_t refused = file.open(fileName); refused != 0)
        return refused;
    const unsigned width = file.width();
    const unsigned height = file.height();
    const unsigned rowBytes = file.rowBytes();
    const unsigned bands = (height + 7) / 8;
    auto sta = statusBuffer();
    sendBytes(port, {0x1F, 0x2A, low8(static_cast<std::int32_t>(rowBytes)),
                     low8(static_cast<std::int32_t>(bands))});
    RowBuffer buffer{};
    if (std::uint8_t mask = paddingMask(width); mask != 0)
        sta[12] = mask;
    for (unsigned k = 0; k < height; ++k)
        sendBytes(port, file.dotsRowFromTop(k, buffer));
    const std::vector<std::uint8_t> blank(rowBytes, 0);
    for (unsigned k = height; k < 8 * bands; ++k)
        sendBytes(port, blank);
    int32_t written = sendBytes(port, {0x1D, 0x25});
    sta[10] = low8(static_cast<std::int32_t>(bands));
    sta[11] = low8(static_cast<std::int32_t>(rowBytes));
    return written;
}
