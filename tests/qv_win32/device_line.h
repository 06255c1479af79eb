#pragma once
// The line to the device player: the Linux side of the tests holds the
// pseudo-terminal behind COM1 and plays the device there. This program
// talks to it over a second pseudo-terminal behind COM2, one text line each
// way per request (opened here with the platform's calls, not through
// qv.dll):
//   clear               forget what the device received and every answer
//   answer REQ ANS      once the device has received bytes ending in REQ,
//                       it answers ANS (hexadecimal, no blanks; ANS may be -)
//   take                what the device received since the last take or clear
//   line                the line settings of the device's terminal
//   screen X Y W H      the pixels of that box of the X display's root
//                       window, as xwd captures it now

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;

struct TerminalLine {
    unsigned baud = 0;
    bool twoStopBits = false;
};

class DeviceLine {
public:
    static DeviceLine& instance();

    void clear();
    void answer(const Bytes& request, const Bytes& reply);
    Bytes take();
    TerminalLine line();
    // The box's pixels as 0x00BBGGRR (GetPixel's form), rows top first;
    // empty, and the test fails, when the player cannot capture the screen.
    std::vector<std::uint32_t> screen(int x, int y, int width, int height);

private:
    DeviceLine();
    std::string request(const std::string& command);

    void* m_handle = nullptr;
};

std::string toHex(const Bytes& bytes);
Bytes fromHex(const std::string& text);

} // namespace qv::test
