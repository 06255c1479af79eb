// A monochrome BMP file sent to the graphic display.

#include "display_bitmap.h"
#include "state.h"

#include "qv.h"

using namespace qv;

int32_t D304Bmp(int32_t port, int32_t a, int32_t b, const char* fileName) noexcept {
    DisplayBitmap bitmap;
    if (int refused = readDisplayBitmap(fileName, bitmap); refused != 0)
        return refused;
    const std::uint8_t header[6] = {kD304Esc,
                                    kD304Command,
                                    static_cast<std::uint8_t>(b & 0xFF),
                                    static_cast<std::uint8_t>(a & 0xFF),
                                    static_cast<std::uint8_t>(bitmap.width & 0xFF),
                                    static_cast<std::uint8_t>(bitmap.height)};
    QVSendPort(port, header, sizeof header);
    int32_t last = 0;
    for (const auto& row : bitmap.rows)
        last = QVSendPort(port, row.data(), bitmap.rowBytes);
    auto& sta = state().StaBuf;
    sta[10] = static_cast<std::uint8_t>(b & 0xFF);
    sta[11] = static_cast<std::uint8_t>(a & 0xFF);
    sta[12] = static_cast<std::uint8_t>(bitmap.width & 0xFF);
    sta[13] = static_cast<std::uint8_t>(bitmap.height);
    return last;
}
