// Text rendered off screen and sent to the graphic display; the dot table of
// the last rendering.

#include "d304.h"
#include "drawing_surface.h"
#include "state.h"
#include "surface_text.h"

#include "qv.h"

#include <algorithm>
#include <array>

using namespace qv;

namespace {

constexpr int kOrigin = 64;          // the text's top-left corner in the picture
constexpr int kLastTableByte = 29;   // a row is scanned into bytes 0 to 29
constexpr int kMaxSentRowBytes = 29; // row bytes sent
constexpr int kNormalWeight = 400;   // the platform's "any weight" draws normal text

using Coord = std::int64_t;

// Scans the rendered text (w + 1 by h dots from the origin) into DotTable.
void fillDotTable(Coord w, Coord h) {
    DrawingState& d = drawing();
    for (auto& row : d.DotTable)
        row.fill(0);
    const Coord xEnd = kOrigin + w;
    const Coord yEnd = kOrigin + h;
    if (yEnd <= kOrigin || xEnd <= kOrigin)
        return;
    for (int r = 0; kOrigin + r < yEnd && r < kD304MaxRows; ++r) {
        const int y = kOrigin + r;
        Coord x = kOrigin;
        auto& row = d.DotTable[static_cast<std::size_t>(r)];
        for (int j = 0; j <= kLastTableByte && x < xEnd; ++j) {
            for (int k = 0; k < 8 && x <= xEnd; ++k, ++x) {
                readSurfacePixel(static_cast<int>(x), y);
                const Rgb& c = d.LastRgb;
                if (c.red == 255 && c.green == 255 && c.blue == 255)
                    row[static_cast<std::size_t>(j)] |= static_cast<std::uint8_t>(0x80U >> k);
            }
        }
    }
}

// Row length in bytes for a text w + 1 dots wide: w / 8, one more for a
// remainder, at most 29.
int rowBytes(Coord w) {
    Coord n = w / 8 + (w % 8 != 0 ? 1 : 0);
    return static_cast<int>(std::min<Coord>(n, kMaxSentRowBytes));
}

} // namespace

int32_t D304Show(int32_t a, int32_t b, int32_t charWidth, int32_t charHeight, const char* face,
                 const char* text, int32_t reinit) noexcept {
    DrawingState& d = drawing();
    // The rendering always goes into a picture of its own, never the screen.
    if (!d.DrawDcReady || reinit == 1 || d.kind == SurfaceKind::Screen)
        makeMemorySurface();
    replaceFontAndPicture(
        Font::create({charHeight, charWidth, kNormalWeight, face != nullptr ? face : ""}));
    const auto drawn = drawSurfaceText(kOrigin, kOrigin, text);
    const TextExtent extent = drawn ? *drawn : measureSurfaceText(text);
    const Coord w = Coord{extent.width} - 1;
    const Coord h = Coord{extent.height} - 1;
    auto sta = statusBuffer();
    sta[0] = static_cast<std::uint8_t>(w & 0xFF);
    sta[1] = static_cast<std::uint8_t>(h & 0xFF);
    fillDotTable(w, h);

    const int n = rowBytes(w);
    const int m = static_cast<int>(std::clamp<Coord>(h, 0, kD304MaxRows));
    const std::array<std::uint8_t, 6> header{kD304Esc,
                                             kD304Command,
                                             static_cast<std::uint8_t>(b & 0xFF),
                                             static_cast<std::uint8_t>(a & 0xFF),
                                             static_cast<std::uint8_t>(n),
                                             static_cast<std::uint8_t>(m)};
    const int32_t port = curPort();
    QVSendPort(port, header.data(), static_cast<int32_t>(header.size()));
    for (int r = 0; r < m; ++r)
        QVSendPort(port, d.DotTable[static_cast<std::size_t>(r)].data(), n);
    return m;
}

int32_t GetD304(int32_t row, int32_t col) noexcept {
    if (row < 0 || row >= kDotRows || col < 0 || col >= kDotRowBytes)
        return 0;
    return drawing().DotTable[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}
