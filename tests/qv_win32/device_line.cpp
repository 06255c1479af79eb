#include "device_line.h"

#include "hex_text.h"

#include <gtest/gtest.h>
#include <sstream>
#include <windows.h>

namespace qv::test {

std::string toHex(const Bytes& bytes) {
    return bytes.empty() ? "-" : hexText(bytes);
}

Bytes fromHex(const std::string& text) {
    return bytesOfHexText(text);
}

DeviceLine& DeviceLine::instance() {
    static DeviceLine line;
    return line;
}

DeviceLine::DeviceLine() {
    HANDLE h =
        CreateFileA("COM2", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "the device player's line COM2 cannot be opened, error " << GetLastError();
        return;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutConstant = 10000; // the player answers within milliseconds
    SetCommTimeouts(h, &timeouts);
    m_handle = h;
}

std::string DeviceLine::request(const std::string& command) {
    if (m_handle == nullptr)
        return {};
    std::string out = command + "\n";
    DWORD written = 0;
    if (WriteFile(m_handle, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) ==
            FALSE ||
        written != out.size()) {
        ADD_FAILURE() << "cannot write to the device player: " << command;
        return {};
    }
    std::string reply;
    for (;;) {
        char c = 0;
        DWORD got = 0;
        if (ReadFile(m_handle, &c, 1, &got, nullptr) == FALSE || got == 0) {
            ADD_FAILURE() << "the device player did not answer: " << command;
            return {};
        }
        if (c == '\n')
            return reply;
        reply += c;
    }
}

void DeviceLine::clear() {
    EXPECT_EQ(request("clear"), "ok");
}

void DeviceLine::answer(const Bytes& request_, const Bytes& reply) {
    EXPECT_EQ(request("answer " + toHex(request_) + " " + toHex(reply)), "ok");
}

Bytes DeviceLine::take() {
    std::string reply = request("take");
    if (reply.rfind("bytes ", 0) != 0) {
        ADD_FAILURE() << "unexpected answer to take: " << reply;
        return {};
    }
    return fromHex(reply.substr(6));
}

TerminalLine DeviceLine::line() {
    std::istringstream in(request("line"));
    std::string word;
    TerminalLine line;
    int stopBits = 0;
    in >> word >> line.baud >> stopBits;
    EXPECT_EQ(word, "line");
    line.twoStopBits = stopBits == 2;
    return line;
}

std::vector<std::uint32_t> DeviceLine::screen(int x, int y, int width, int height) {
    std::ostringstream command;
    command << "screen " << x << ' ' << y << ' ' << width << ' ' << height;
    std::string reply = request(command.str());
    if (reply.rfind("screen ", 0) != 0) {
        ADD_FAILURE() << "the device player cannot capture the screen: " << reply;
        return {};
    }
    Bytes rgb = fromHex(reply.substr(7));
    std::vector<std::uint32_t> pixels;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        pixels.push_back(std::uint32_t{rgb[i]} | std::uint32_t{rgb[i + 1]} << 8 |
                         std::uint32_t{rgb[i + 2]} << 16);
    EXPECT_EQ(pixels.size(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return pixels;
}

} // namespace qv::test
