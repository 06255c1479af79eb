#include "sim_options.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace {

template <typename Number> bool toNumber(const std::string& text, Number* number) {
    const char* end = text.data() + text.size();
    const auto [rest, code] = std::from_chars(text.data(), end, *number);
    return code == std::errc() && rest == end;
}

// "2,5" -> {2, 5}; every entry a whole number from 1.
bool toNumberSet(const std::string& text, std::set<long>* numbers) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        long number = 0;
        if (!toNumber(text.substr(start, comma - start), &number) || number < 1)
            return false;
        numbers->insert(number);
        start = comma + 1;
    }
    return !numbers->empty();
}

} // namespace

std::string helpText() {
    return "Usage: lunmark-gateway-sim --port N [options]\n"
           "Plays the SMS gateway on 127.0.0.1 for tests and demonstrations.\n"
           "\n"
           "  --port N          port to listen on; 0 picks a free one\n"
           "  --supp-id V       dealer code requests must carry (rvg2c)\n"
           "  --system-id V     system code requests must carry (vw2a)\n"
           "  --cust-id V       customer account requests must carry (yhy / YHY)\n"
           "  --cust-pwd V      customer password requests must carry (dc2a)\n"
           "  --cust-name V     customer name the credit request and results page carry (at)\n"
           "  --credit N        messages left at start (default 100)\n"
           "  --log FILE        append each received message, decoded, as one JSON line\n"
           "  --delay-ms N      wait N milliseconds before every answer\n"
           "  --slow-messages L only the send requests in the comma-separated list L\n"
           "                    wait (1 is the first to arrive); the message is taken\n"
           "                    and logged after the wait, as a slow gateway would\n"
           "  --status N        answer every request with HTTP status N\n"
           "  --drop            close every connection without a complete answer\n"
           "  --take-then-close take and log each message (its credit too), then close\n"
           "                    the connection without a single answer byte\n"
           "  --utf8-answers    plain answers in UTF-8 (charset=utf-8) instead of Big5\n"
           "  --help            show this text\n"
           "\n"
           "A message costs one credit for each part: 70 characters go in one, a longer\n"
           "text in parts of 67. An empty or non-numeric movetel is refused with\n"
           "\"電話號碼錯誤\", no credit left with \"點數不足\", wrong account values with\n"
           "\"帳號或密碼錯誤\".\n"
           "Account values left out must be empty in the requests. Once listening it\n"
           "prints \"gateway simulator listening on 127.0.0.1:PORT\".\n";
}

std::optional<SimOptions> parseOptions(int argc, char** argv, std::string* error) {
    SimOptions options;
    const std::map<std::string, std::string*> texts = {
        {"--supp-id", &options.suppId},     {"--system-id", &options.systemId},
        {"--cust-id", &options.custId},     {"--cust-pwd", &options.custPwd},
        {"--cust-name", &options.custName}, {"--log", &options.logPath},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            options.help = true;
            return options;
        }
        if (name == "--drop") {
            options.drop = true;
            continue;
        }
        if (name == "--take-then-close") {
            options.takeThenClose = true;
            continue;
        }
        if (name == "--utf8-answers") {
            options.utf8Answers = true;
            continue;
        }
        if (i + 1 >= argc) {
            *error = "missing value after " + name;
            return std::nullopt;
        }
        const std::string value = argv[++i];
        bool ok = true;
        if (const auto text = texts.find(name); text != texts.end())
            *text->second = value;
        else if (name == "--port")
            ok = toNumber(value, &options.port) && options.port >= 0 && options.port <= 65535;
        else if (name == "--credit")
            ok = toNumber(value, &options.credit);
        else if (name == "--delay-ms")
            ok = toNumber(value, &options.delayMs) && options.delayMs >= 0;
        else if (name == "--slow-messages")
            ok = toNumberSet(value, &options.slowMessages);
        else if (name == "--status")
            ok = toNumber(value, &options.errorStatus) && options.errorStatus >= 100 &&
                 options.errorStatus <= 599;
        else {
            *error = "unknown option " + name;
            return std::nullopt;
        }
        if (!ok) {
            *error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    if (!options.slowMessages.empty() && options.delayMs <= 0) {
        *error = "--slow-messages needs --delay-ms";
        return std::nullopt;
    }
    if (options.port < 0) {
        *error = "--port is required";
        return std::nullopt;
    }
    return options;
}
