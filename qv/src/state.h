#pragma once
// The library's process-wide state: one instance per loaded library, shared
// by every export. Callers name ports by number; the slots hold the devices.

#include "platform.h"

#include "qv.h"

#include <array>
#include <cstdint>

namespace qv {

inline constexpr int kSlotCount = 14; // slots 1 to 13 are used
inline constexpr int kFirstLpt = 10;  // LPT1 to LPT4 are ports 10 to 13
inline constexpr int kLastPort = 13;
inline constexpr int kStaBufSize = 16;

// Device names by port number (entry 0 is never used).
inline constexpr std::array<const char*, kSlotCount> PortName{
    "",     "COM1", "COM2", "COM3", "COM4", "COM5", "COM6",
    "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4",
};

struct State {
    std::array<platform::Handle, kSlotCount> PortTable{};
    int CurPort = 1;          // port of the last QVOpenPort that ran to its end
    int ReplyBase = 2;        // reply time limit, in changes of the seconds field (2 to 7)
    std::uint8_t SendChk = 0; // running XOR of the bytes handed to the sends
    std::array<std::uint8_t, kStaBufSize> StaBuf{};
    int AutoOpnCls = 0; // open before and close after each QVSendPort/QVSendByte
    int DtrFlag = 0;    // force DTR and RTS on when a serial line is configured
    platform::QueueStatus ComStat{};
    platform::LineState Dcb{}; // the one line-state record used for configuring
    QvOsVersionInfo VersionInfo{};
};

// The state; a default-constructed State holds the load-time values.
State& state();

inline bool isSerialPort(int port) {
    return port >= 1 && port <= 9;
}

inline bool isParallelPort(int port) {
    return port >= kFirstLpt && port <= kLastPort;
}

inline bool hasSlot(int port) {
    return port >= 1 && port <= kLastPort;
}

// The handle in a port's slot; kNoHandle for an empty slot or a port without one.
inline platform::Handle slotHandle(int port) {
    return hasSlot(port) ? state().PortTable[static_cast<std::size_t>(port)] : platform::kNoHandle;
}

} // namespace qv
