#pragma once
// The library's process-wide state: one instance per loaded library, shared
// by every export. Callers name ports by number; the slots hold the devices.

#include "platform.h"

#include "qv.h"

#include <array>
#include <atomic>
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
    // The line-state record used for configuring each serial port; one per
    // port, so that two threads configuring different ports never share one.
    std::array<platform::LineState, kSlotCount> Dcb{};
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

// SendChk and CurPort are read and changed atomically, as calls on two
// threads may send or open at the same time.
inline std::uint8_t sendChk() {
    return std::atomic_ref(state().SendChk).load(std::memory_order_relaxed);
}
inline void resetSendChk() {
    std::atomic_ref(state().SendChk).store(0, std::memory_order_relaxed);
}
inline void addToSendChk(std::uint8_t bytesXor) {
    std::atomic_ref(state().SendChk).fetch_xor(bytesXor, std::memory_order_relaxed);
}
inline int curPort() {
    return std::atomic_ref(state().CurPort).load(std::memory_order_relaxed);
}
inline void setCurPort(int port) {
    std::atomic_ref(state().CurPort).store(port, std::memory_order_relaxed);
}

// The status buffer as the exports write and read it: each byte is stored
// and loaded atomically, so status calls on two threads never race (the
// buffer then holds whatever each wrote last). sta[i] = v and sta[i] read
// like the array's own bytes.
class StatusBytes {
public:
    class Byte {
    public:
        explicit Byte(std::uint8_t& byte) : m_byte(byte) {}
        Byte& operator=(std::uint8_t value) {
            std::atomic_ref(m_byte).store(value, std::memory_order_relaxed);
            return *this;
        }
        operator std::uint8_t() const {
            return std::atomic_ref(m_byte).load(std::memory_order_relaxed);
        }

    private:
        std::uint8_t& m_byte;
    };

    Byte operator[](std::size_t i) const { return Byte(state().StaBuf[i]); }
    void fill(std::uint8_t value) const {
        for (std::size_t i = 0; i < kStaBufSize; ++i)
            (*this)[i] = value;
    }
    // The buffer itself, for the exports that give its address to callers.
    std::uint8_t* data() const { return state().StaBuf.data(); }
};

inline StatusBytes statusBuffer() {
    return {};
}

// The line-state record of a serial port (1 to 9).
inline platform::LineState& lineRecord(int port) {
    return state().Dcb[static_cast<std::size_t>(port)];
}

// The handle in a port's slot; kNoHandle for an empty slot or a port without
// one. Slots are read and changed atomically: a send on one thread may read
// a slot while another thread opens or closes the port.
inline platform::Handle slotHandle(int port) {
    if (!hasSlot(port))
        return platform::kNoHandle;
    return std::atomic_ref(state().PortTable[static_cast<std::size_t>(port)])
        .load(std::memory_order_acquire);
}

} // namespace qv
