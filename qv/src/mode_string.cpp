#include "mode_string.h"

#include "error_kind.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {
namespace {

using platform::LineControl;
using platform::LineState;
using platform::ParityMode;
using platform::StopBitsMode;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Skips "COMn" or "COMn:" at the start.
std::string_view skipDeviceName(std::string_view s) {
    s = trim(s);
    if (s.size() < 4 || !equalsNoCase(s.substr(0, 3), "com") ||
        !std::isdigit(static_cast<unsigned char>(s[3])))
        return s;
    std::size_t i = 3;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i < s.size() && s[i] == ':')
        ++i;
    return trim(s.substr(i));
}

bool parseBaud(std::string_view s, std::uint32_t& baud) {
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return false;
    // Two-digit abbreviations of the classic rates.
    static constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 8> kShort{{
        {11, 110},
        {30, 300},
        {60, 600},
        {12, 1200},
        {24, 2400},
        {48, 4800},
        {96, 9600},
        {19, 19200},
    }};
    for (auto [abbrev, rate] : kShort) {
        if (value == abbrev)
            value = rate;
    }
    baud = value;
    return true;
}

bool parseParity(std::string_view s, ParityMode& parity) {
    if (s.size() != 1)
        return false;
    switch (lower(s[0])) {
    case 'n':
        parity = ParityMode::None;
        return true;
    case 'o':
        parity = ParityMode::Odd;
        return true;
    case 'e':
        parity = ParityMode::Even;
        return true;
    case 'm':
        parity = ParityMode::Mark;
        return true;
    case 's':
        parity = ParityMode::Space;
        return true;
    default:
        return false;
    }
}

bool parseDataBits(std::string_view s, std::uint8_t& bits) {
    if (s.size() != 1 || s[0] < '5' || s[0] > '8')
        return false;
    bits = static_cast<std::uint8_t>(s[0] - '0');
    return true;
}

bool parseStopBits(std::string_view s, StopBitsMode& stop) {
    if (s == "1")
        stop = StopBitsMode::One;
    else if (s == "1.5")
        stop = StopBitsMode::OnePointFive;
    else if (s == "2")
        stop = StopBitsMode::Two;
    else
        return false;
    return true;
}

bool parseOnOff(std::string_view s, bool& on) {
    if (equalsNoCase(s, "on"))
        on = true;
    else if (equalsNoCase(s, "off"))
        on = false;
    else
        return false;
    return true;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = s.find(separator, start);
        parts.push_back(trim(s.substr(start, at - start)));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

void setShortFormFlow(LineState& line, char handshake) {
    bool xon = handshake == 'x';
    bool hardware = handshake == 'p';
    line.fInX = xon;
    line.fOutX = xon;
    line.fOutxCtsFlow = hardware;
    line.fOutxDsrFlow = hardware;
    line.fDtrControl = hardware ? LineControl::Handshake : LineControl::Enable;
    line.fRtsControl = hardware ? LineControl::Handshake : LineControl::Enable;
}

// Baud, parity, data bits and stop bits, all four, then the handshake letter.
bool parseShortForm(std::string_view s, LineState& line) {
    std::vector<std::string_view> fields = split(s, ',');
    if (fields.size() < 4 || fields.size() > 5)
        return false;
    fields.resize(5);
    if (!parseBaud(fields[0], line.BaudRate) || !parseParity(fields[1], line.Parity) ||
        !parseDataBits(fields[2], line.ByteSize) || !parseStopBits(fields[3], line.StopBits))
        return false;
    if (fields[4].size() > 1)
        return false;
    setShortFormFlow(line, fields[4].empty() ? '\0' : lower(fields[4][0]));
    return true;
}

bool applyLongField(std::string_view key, std::string_view value, LineState& line,
                    bool& stopNamed) {
    bool on = false;
    if (equalsNoCase(key, "baud"))
        return parseBaud(value, line.BaudRate);
    if (equalsNoCase(key, "parity"))
        return parseParity(value, line.Parity);
    if (equalsNoCase(key, "data"))
        return parseDataBits(value, line.ByteSize);
    if (equalsNoCase(key, "stop")) {
        stopNamed = true;
        return parseStopBits(value, line.StopBits);
    }
    if (equalsNoCase(key, "to")) // write time-outs are not part of the line state
        return parseOnOff(value, on);
    if (!parseOnOff(value, on))
        return false;
    // DTR and RTS are switched on or off; handshaking is the short form's p.
    if (equalsNoCase(key, "dtr") || equalsNoCase(key, "rts")) {
        (equalsNoCase(key, "dtr") ? line.fDtrControl : line.fRtsControl) =
            on ? LineControl::Enable : LineControl::Disable;
        return true;
    }
    if (equalsNoCase(key, "xon")) {
        line.fInX = on;
        line.fOutX = on;
    } else if (equalsNoCase(key, "odsr")) {
        line.fOutxDsrFlow = on;
    } else if (equalsNoCase(key, "octs")) {
        line.fOutxCtsFlow = on;
    } else if (equalsNoCase(key, "idsr")) {
        line.fDsrSensitivity = on;
    } else {
        return false;
    }
    return true;
}

bool parseLongForm(std::string_view s, LineState& line) {
    bool stopNamed = false;
    bool baudNamed = false;
    while (!(s = trim(s)).empty()) {
        std::size_t end = 0;
        while (end < s.size() && !isBlank(s[end]))
            ++end;
        std::string_view token = s.substr(0, end);
        s.remove_prefix(end);
        std::size_t eq = token.find('=');
        if (eq == std::string_view::npos)
            return false;
        std::string_view key = token.substr(0, eq);
        baudNamed = baudNamed || equalsNoCase(key, "baud");
        if (!applyLongField(key, token.substr(eq + 1), line, stopNamed))
            return false;
    }
    // Stop bits not named are always set: two at 110 baud, else one.
    if (!stopNamed)
        line.StopBits = baudNamed && line.BaudRate == 110 ? StopBitsMode::Two : StopBitsMode::One;
    return true;
}

} // namespace

bool parseModeString(const char* text, platform::LineState& line) {
    // An empty string, or a device name alone, is a long form naming nothing.
    std::string_view raw = text != nullptr ? std::string_view(text) : std::string_view();
    std::string_view s = text != nullptr ? skipDeviceName(text) : std::string_view();
    bool nothingNamed =
        text != nullptr && s.empty() && (raw.empty() || s.size() != trim(raw).size());
    LineState parsed = line;
    // Like a long form without stop bits, an empty one sets one stop bit.
    if (nothingNamed)
        parsed.StopBits = StopBitsMode::One;
    bool ok = nothingNamed ||
              (!s.empty() && (s.find('=') != std::string_view::npos ? parseLongForm(s, parsed)
                                                                    : parseShortForm(s, parsed)));
    if (ok)
        line = parsed;
    else
        recordError(ErrorKind::RefusedSetting);
    return ok;
}

} // namespace qv
