#include "arguments.h"

#include <charconv>

namespace qvctl {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> parseNumber(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (negative ? value > 0x80000000ULL : value > 0xFFFFFFFFULL)
        return std::nullopt;
    auto bits = static_cast<std::uint32_t>(negative ? 0 - value : value);
    return static_cast<std::int32_t>(bits);
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            return std::nullopt;
        int high = hexDigit(text[i]);
        int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
        i += 2;
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> argumentBytes(std::string_view argument) {
    if (argument.starts_with("x:"))
        return parseHexBytes(argument.substr(2));
    if (argument.starts_with("t:"))
        argument.remove_prefix(2);
    return std::vector<std::uint8_t>(argument.begin(), argument.end());
}

} // namespace qvctl
