#include "network_printer.h"

#include <charconv>

namespace qv {
namespace {

constexpr std::string_view kScheme = "tcp://";

bool isPortNumber(std::string_view text) {
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
           value >= 1 && value <= 65535;
}

} // namespace

bool isNetworkName(std::string_view deviceName) {
    return deviceName.starts_with(kScheme);
}

std::optional<NetworkAddress> networkAddress(std::string_view deviceName) {
    if (!isNetworkName(deviceName))
        return std::nullopt;
    std::string_view rest = deviceName.substr(kScheme.size());
    if (!rest.empty() && rest.back() == '/')
        rest.remove_suffix(1);
    std::string_view host;
    std::string_view port;
    if (rest.starts_with('[')) {
        std::size_t close = rest.find(']');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return std::nullopt;
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
    } else {
        std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (host.find(':') != std::string_view::npos)
            return std::nullopt; // an IPv6 address needs its brackets
    }
    if (host.empty() || !isPortNumber(port))
        return std::nullopt;
    return NetworkAddress{std::string(host), std::string(port)};
}

} // namespace qv
