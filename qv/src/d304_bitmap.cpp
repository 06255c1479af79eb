// A monochrome BMP file sent to the graphic display.

#include "bmp_file.h"
#include "command_send.h"
#include "d304.h"
#include "state.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr BmpLimits kDisplayLimits{static_cast<unsigned>(kD304MaxDots),
                                   static_cast<unsigned>(kD304MaxRows)};

} // namespace

int32_t D304Bmp(int32_t port, int32_t a, int32_t b, const char* fileName) noexcept {
    BmpFile file;
    if (std::int32_t refused = file.open(fileName, kDisplayLimits); refused != 0)
        return refused;
    const unsigned width = file.width();
    const unsigned height = file.height();
    sendBytes(port,
              {kD304Esc, kD304Command, low8(b), low8(a), low8(static_cast<std::int32_t>(width)),
               low8(static_cast<std::int32_t>(height))});
    RowBuffer buffer{};
    int32_t last = 0;
    for (unsigned k = 0; k < height; ++k)
        last = sendBytes(port, file.dotsRowFromTop(k, buffer));
    auto sta = statusBuffer();
    sta[10] = low8(b);
    sta[11] = low8(a);
    sta[12] = low8(static_cast<std::int32_t>(width));
    sta[13] = low8(static_cast<std::int32_t>(height));
    return last;
}
