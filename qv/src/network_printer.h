#pragma once
// Receipt printers on the network: a port whose device is named
// "tcp://HOST:PORT" (HOST a name, an IPv4 address, or an IPv6 address in
// brackets; PORT 1 to 65535, usually 9100) is a raw TCP connection to the
// printer instead of a device file. Each platform's backend makes the
// connection; this file reads the name and holds the time limits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

struct NetworkAddress {
    std::string host;
    std::string service; // the port number as text, for the resolver
};

// The address of a network device name; empty for any other name, or for a
// tcp:// name without a host or with a port that is not 1 to 65535.
std::optional<NetworkAddress> networkAddress(std::string_view deviceName);

// True for names of the tcp:// form, valid or not.
bool isNetworkName(std::string_view deviceName);

// How long the connection and each write may take before the write fails,
// as a serial port's write time-out: a printer that is switched off or
// unplugged gives a failed open or write, never a hung program.
inline constexpr int kNetworkWriteTimeoutMs = 5000;

} // namespace qv
