#include "posix_termios.h"

#include <array>
#include <cstdint>
#include <utility>

namespace qv::posix {
namespace {

using platform::LineState;
using platform::ParityMode;
using platform::StopBitsMode;

constexpr std::array<std::pair<std::uint32_t, speed_t>, 30> kSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

constexpr std::array<std::pair<std::uint8_t, tcflag_t>, 4> kSizes{{
    {5, CS5},
    {6, CS6},
    {7, CS7},
    {8, CS8},
}};

void applyParity(termios& t, ParityMode parity) {
    t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case ParityMode::None:
        break;
    case ParityMode::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case ParityMode::Even:
        t.c_cflag |= PARENB;
        break;
    case ParityMode::Mark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case ParityMode::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
}

ParityMode parityOf(const termios& t) {
    if ((t.c_cflag & PARENB) == 0)
        return ParityMode::None;
    bool odd = (t.c_cflag & PARODD) != 0;
    if ((t.c_cflag & CMSPAR) != 0)
        return odd ? ParityMode::Mark : ParityMode::Space;
    return odd ? ParityMode::Odd : ParityMode::Even;
}

void setFlag(tcflag_t& flags, tcflag_t bit, bool on) {
    if (on)
        flags |= bit;
    else
        flags &= ~bit;
}

} // namespace

void makeRaw(termios& t) {
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IUCLC | IXANY | IMAXBEL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

namespace {

const speed_t* speedCode(std::uint32_t rate) {
    for (const auto& [r, code] : kSpeeds) {
        if (r == rate)
            return &code;
    }
    return nullptr;
}

} // namespace

bool hasSpeedCode(std::uint32_t rate) {
    return speedCode(rate) != nullptr;
}

bool applyLineState(termios& t, const LineState& line) {
    const tcflag_t* size = nullptr;
    for (const auto& [bits, flag] : kSizes) {
        if (bits == line.ByteSize)
            size = &flag;
    }
    if (size == nullptr)
        return false;
    if (const speed_t* speed = speedCode(line.BaudRate)) {
        cfsetispeed(&t, *speed);
        cfsetospeed(&t, *speed);
        // An input rate left from an earlier custom rate would outlive this one.
        t.c_cflag &= ~static_cast<tcflag_t>(CIBAUD);
    }
    t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | *size;
    applyParity(t, line.Parity);
    // Linux sends 1.5 stop bits for 5-bit characters when two are asked for.
    setFlag(t.c_cflag, CSTOPB, line.StopBits != StopBitsMode::One);
    bool hardwareFlow = line.fOutxCtsFlow || line.fRtsControl == platform::LineControl::Handshake;
    setFlag(t.c_cflag, CRTSCTS, hardwareFlow);
    setFlag(t.c_iflag, IXON, line.fOutX);
    setFlag(t.c_iflag, IXOFF, line.fInX);
    return true;
}

LineState lineStateFromTermios(const termios& t) {
    LineState line;
    speed_t speed = cfgetospeed(&t);
    for (const auto& [rate, code] : kSpeeds) {
        if (code == speed)
            line.BaudRate = rate;
    }
    tcflag_t size = t.c_cflag & CSIZE;
    for (const auto& [bits, flag] : kSizes) {
        if (flag == size)
            line.ByteSize = bits;
    }
    line.Parity = parityOf(t);
    line.StopBits = (t.c_cflag & CSTOPB) != 0 ? StopBitsMode::Two : StopBitsMode::One;
    line.fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
    line.fOutX = (t.c_iflag & IXON) != 0;
    line.fInX = (t.c_iflag & IXOFF) != 0;
    return line;
}

} // namespace qv::posix
