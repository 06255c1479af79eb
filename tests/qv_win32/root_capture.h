#pragma once
// The X side of the screen tests: the root window of the display named by
// DISPLAY, captured with xwd, as the device player answers the test
// program's "screen" requests.

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

struct RootCapture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, rows top first

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Reads an xwd dump of a true-colour window of 8 bits a colour; false, with
// the reason in error, for anything else.
bool readXwd(const std::vector<std::uint8_t>& dump, RootCapture& out, std::string& error);

// Captures the root window (xwd -root); false, with the reason in error, when
// xwd cannot run or gives no picture.
bool captureRoot(RootCapture& out, std::string& error);

} // namespace qv::test
